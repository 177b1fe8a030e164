#include "base/board.h"

CommandKind ClassifyCommand(int id)
{
    for (const int first : kToggleCommandsFirst) {
        if (id >= first && id < first + kToggleCommandsCount) return CommandKind::Toggle;
    }
    // 400 itself names no row.
    if (id > kRowFieldBase && id <= kRowFieldBase + kRowCount) return CommandKind::SelectRow;
    if (id == kAuthorCommand) return CommandKind::Author;
    if (id == kCancelCommand) return CommandKind::Cancel;
    return CommandKind::None;
}
