#include "app/window_events_win.h"

#include "app/window_flow.h"
#include "base/board_constants.h"
#include "input/keyboard_hook_win.h"
#include "input/shell_win.h"
#include "input/turn_flow.h"

namespace {

void OnInitDialog(HWND window)
{
    shell.clockTimer = SetTimer(window, kClockTimer, kClockPeriodMs, nullptr);
    DrawAllFieldsAndActivate(shell.board);
    InstallKeyboardHook();
    // The clock starts after all the drawing above.
    StartClock(shell.board);
    MarkStartup("every field drawn and the current one activated");
}

void OnTimer(WPARAM timer)
{
    if (timer == kClockTimer) ClockTick(shell.board);
}

void OnCommand(WPARAM wParam)
{
    // The notification code in the high word is ignored: a double click on a row's
    // field selects it as a click does.
    const int id = LOWORD(wParam);
    if (ClassifyCommand(id) == CommandKind::Toggle) ReadToggles();
    HandleCommand(shell.board, id);
}

void OnDestroy(HWND window)
{
    // The hook goes first, so no key can arrive into a half-dismantled window.
    RemoveKeyboardHook();
    if (shell.clockTimer != 0) KillTimer(window, shell.clockTimer);
    shell.clockTimer = 0;
}

}  // namespace

void MainWindowEvents(HWND window, UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(window); break;
    case WM_TIMER: OnTimer(wParam); break;
    case WM_COMMAND: OnCommand(wParam); break;
    case kEndOfGameMessage: ShowEndOfGame(shell.board); break;
    case WM_DESTROY: OnDestroy(window); break;
    default: break;
    }
}
