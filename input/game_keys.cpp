#include "input/game_keys.h"

#include <iterator>

#include "game/field_editor.h"

std::int32_t EditorKeyOf(const GameKey& key)
{
    using namespace fieldKey;
    // By position, in the order of KeyPosition: keypad + and - are the font keys
    // only with the left Ctrl, so without it they are their plain scan codes.
    constexpr std::int32_t kCodes[] = {kTyped,  kBackspace,   kTab,          kHome,  kUp,       kPageUp,
                                       kLeft,   kRight,       kEnd,          kDown,  kPageDown, kInsert,
                                       kDelete, -kFontLarger, -kFontSmaller, kTyped, kTyped};
    static_assert(std::size(kCodes) == static_cast<std::size_t>(KeyPosition::Escape) + 1);
    const std::int32_t code = kCodes[static_cast<std::size_t>(key.position)];
    return key.leftCtrl ? -code : code;
}

bool IsSubmitKey(const GameKey& key)
{
    return key.position == KeyPosition::Enter || (key.position == KeyPosition::Down && !key.leftCtrl);
}
