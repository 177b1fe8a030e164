#include "input/shell_win.h"

#include "base/dialog_win.h"

Shell shell;

void MarkStartup(const char* phase)
{
    if (shell.startupMark != nullptr) shell.startupMark(phase);
}

namespace {

HWND Control(int id)
{
    const auto found = shell.controls.find(id);
    return found != shell.controls.end() ? found->second : GetDlgItem(shell.mainWindow, id);
}

HWND Field(int row) { return Control(kRowFieldBase + row); }

FieldSlots ReadSlots(int row)
{
    HWND field = Field(row);
    return {ControlSlot(field, kTopLineSlot), ControlSlot(field, kLeftColumnSlot), ControlSlot(field, kCaretLineSlot),
            ControlSlot(field, kCaretColumnSlot), ControlSlot(field, kRowNumberSlot)};
}

void WriteSlots(int row, const FieldSlots& slots)
{
    HWND field = Field(row);
    SetControlSlot(field, kTopLineSlot, slots.topLine);
    SetControlSlot(field, kLeftColumnSlot, slots.leftColumn);
    SetControlSlot(field, kCaretLineSlot, slots.caretLine);
    SetControlSlot(field, kCaretColumnSlot, slots.caretColumn);
}

bool Checked(int id) { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

void ReadToggles()
{
    for (int digit = 0; digit <= 9; ++digit) {
        const auto d = static_cast<std::size_t>(digit);
        shell.toggles.crossedOut[d] = Checked(kCrossOutToggleBase + digit);
        shell.toggles.highlighted[d] = Checked(kHighlightToggleBase + digit);
    }
}

BoardPlatform Win32Platform(const Clocks& clocks)
{
    BoardPlatform platform;
    platform.draw = [](int id, const Picture& picture) { PlayPicture(Control(id), picture); };
    platform.surfaceSize = [](int id) { return SurfaceSize(Control(id)); };
    // Through the record, not bound to a book: the book is made with the window.
    platform.measure = {[](const FontSpec& font, const std::string& text) {
                            return MeasureWith(*shell.fonts).text(font, text);
                        },
                        [](const FontSpec& font) { return MeasureWith(*shell.fonts).cell(font); }};
    platform.readSlots = ReadSlots;
    platform.writeSlots = WriteSlots;
    platform.toggles = [] { return shell.toggles; };
    platform.showBox = ShowMessageBox;
    platform.windowAlive = [] { return IsDialogAlive(shell.mainWindow); };
    platform.endWindow = [] { EndDialogWindow(shell.mainWindow); };
    // The dialog turns the close request into the cancel command, which ends it.
    platform.requestClose = [] { PostMessageA(shell.mainWindow, WM_CLOSE, 0, 0); };
    // Posted: handled from the message loop, after the key that is being handled.
    platform.deferEndOfGame = [] { PostMessageA(shell.mainWindow, kEndOfGameMessage, 0, 0); };
    platform.clocks = clocks;
    return platform;
}
