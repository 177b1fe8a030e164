#include "app/window_events_win.h"

#include <utility>

#include "app/main_window_win.h"
#include "base/dialog_win.h"

namespace {

void OnInitDialog(Shell& shell)
{
    SetTimer(shell.window, kClockTimer, kClockPeriodMs, nullptr);
    OpenBoard(shell.session);
    shell.hook.pressed = [&session = shell.session](const GameKey& key) { PressKey(session, key); };
    InstallKeyboardHook(shell.hook);
    MarkStartup(shell, "every field drawn and the current one activated");
}

// The notification code in the high word is ignored: a double click on a row's
// field selects it as a click does.
void OnCommand(Shell& shell, int id)
{
    Session& session = shell.session;
    const int group = id / 100 * 100;
    if ((group == 600 || group == 700) && id % 100 >= 1 && id % 100 <= 10) {
        // Enter comes as the command of the default toggle, 710, which it leaves as
        // it was: a toggle that did not change is Enter.
        const bool pressed = SendDlgItemMessageA(shell.window, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
        const auto& notes = group == 600 ? session.notes.crossedOut : session.notes.highlighted;
        if (notes[static_cast<std::size_t>(id % 100 - 1)] == pressed) {
            DefaultCommand(session);
        } else {
            NoteToggled(session, id, pressed);
        }
    } else if (id == 600 || id == 700) {
        DefaultCommand(session);
    } else if (id > kRowFieldBase && id <= kRowFieldBase + kRowCount) {
        RowClicked(session, id - kRowFieldBase);
    } else if (id == kAuthorCommand) {
        AuthorChosen(session);
    } else if (id == kCancelCommand) {
        CloseAsked(session);
    }
}

// The box the session asked for, from the message loop. It runs its own loop, in
// which keys, clicks and ticks go on reaching the session.
void ShowBox(Shell& shell)
{
    ShowMessageBox(shell.boxText);
    if (shell.boxClosed) std::exchange(shell.boxClosed, {})();
}

}  // namespace

bool MainWindowEvents(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Shell* shell = ShellOf(window);
    if (shell == nullptr) return false;
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(*shell); break;
    case WM_TIMER:
        if (wParam == kClockTimer) ClockTicked(shell->session);
        break;
    case WM_COMMAND: OnCommand(*shell, LOWORD(wParam)); break;
    case kShowBoxMessage: ShowBox(*shell); break;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const auto found = shell->surfaces.find(static_cast<int>(item.CtlID));
        if (found == shell->surfaces.end()) return false;
        PaintSurface(found->second, item.hDC);
        return true;
    }
    case WM_DESTROY:
        // The hook goes first, so no key can arrive into a half-dismantled window.
        RemoveKeyboardHook(shell->hook);
        KillTimer(window, kClockTimer);
        break;
    default: break;
    }
    return false;
}
