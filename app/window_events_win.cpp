#include "app/window_events_win.h"

#include <string>

#include "app/control_ids.h"
#include "app/dialog_win.h"
#include "app/main_window_win.h"
#include "game/field_editor_win.h"
#include "game/game_state.h"
#include "input/keyboard_hook_win.h"
#include "render/panels_win.h"

GameClock gameClock;

namespace {

// What SetTimer returned for the clock: its id, or 0 when it did not start.
UINT_PTR clockTimer = 0;

// Draws the current row's field with its caret, so typing goes there.
void ActivateCurrentRow()
{
    const int row = gameState.currentAttempt;
    LoadRow(row);
    std::int32_t key = 0;
    EditField(key, "", gameState.editBuffer, mainWindow, kRowFieldBase + row, gameState.fieldStyle[row].fontSize);
}

void Initialise(HWND window)
{
    clockTimer = SetTimer(window, kClockTimer, kClockPeriodMs, nullptr);
    RedrawAllFields();
    ActivateCurrentRow();
    InstallKeyboardHook();
    // The clock starts after all the drawing above.
    gameClock = StartGameClock(SecondsSinceMidnight(CurrentLocalTime()), SteadySeconds());
}

void ClockTick()
{
    const LocalTime now = CurrentLocalTime();
    DrawInfoPanel(mainWindow, kClockPanel, ClockTopText(now), AttemptCaption(gameState.currentAttempt));
    if (gameState.gameOver == 0) {
        const double elapsed = ElapsedSeconds(gameClock, SecondsSinceMidnight(now), SteadySeconds());
        DrawInfoPanel(mainWindow, kElapsedPanel, ElapsedText(elapsed), "secondi");
    }
}

void SelectRow(int row)
{
    RedrawAllFields();
    gameState.currentAttempt = row;
    DrawHelpPanel(row);
    ActivateCurrentRow();
}

void Command(HWND window, int id)
{
    if ((id >= 600 && id <= 610) || (id >= 700 && id <= 710)) {
        // A toggle flipped (or Enter came as the default command 710): every field
        // shows the notes anew and the current row is made active again.
        RedrawAllFields();
        ActivateCurrentRow();
    } else if (id > kRowFieldBase && id <= kRowFieldBase + kRowCount) {
        SelectRow(id - kRowFieldBase);
    } else if (id == kAuthorCommand) {
        // The main window stays enabled: ticks, clicks and keys go on while it is up.
        ShowMessageBox(AuthorText());
    } else if (id == kCancelCommand) {
        EndDialogWindow(window);
    }
}

}  // namespace

std::string AuthorText()
{
    return std::string("Squadra di Indovina il numero\r\n") + "Via dell'Esempio 1\r\n" + "00100 Paese di Prova\r\n" +
           "\r\n" + "email autore@example.com\r\n" + "email giochi@example.org\r\n" + "sito www.example.net";
}

void MainWindowEvents(HWND window, UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (message) {
    case WM_INITDIALOG: Initialise(window); break;
    case WM_TIMER:
        if (wParam == kClockTimer) ClockTick();
        break;
    case WM_COMMAND: Command(window, LOWORD(wParam)); break;
    case WM_DESTROY:
        // The hook goes first, so no key can arrive into a half-dismantled window.
        RemoveKeyboardHook();
        if (clockTimer != 0) KillTimer(window, clockTimer);
        clockTimer = 0;
        break;
    default: break;
    }
}
