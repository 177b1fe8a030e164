#include "input/turn_flow_win.h"

#include <algorithm>
#include <string>

#include <windows.h>

#include "app/control_ids.h"
#include "app/dialog_win.h"
#include "app/main_window_win.h"
#include "game/field_editor_win.h"
#include "game/game_state.h"
#include "game/scoring.h"
#include "render/answer_marks_win.h"
#include "render/panels_win.h"

namespace {

bool endBoxOpen = false;

// The end box, then the request to close the window. The request is posted: it is
// handled once the key's handling has returned to the message loop.
void EndGame(const std::string& text)
{
    gameState.gameOver = 1;
    endBoxOpen = true;
    ShowMessageBox(text);
    endBoxOpen = false;
    if (IsDialogAlive(mainWindow)) PostMessageA(mainWindow, WM_CLOSE, 0, 0);
}

}  // namespace

bool EndBoxOpen() { return endBoxOpen; }

void SubmitGuess()
{
    const auto guess = AcceptGuess(gameState.editBuffer[1]);
    if (!guess) return;
    const std::string answer = ScoreGuess(gameState.secret, *guess);
    gameState.untriedDigits = MarkTriedDigits(gameState.untriedDigits, *guess);
    DrawInfoPanel(mainWindow, kDigitPanel, DateText(CurrentLocalTime()), gameState.untriedDigits);
    DrawScoredAnswerMarks(mainWindow, kAnswerSurfaceBase + gameState.currentAttempt, answer);
    RedrawAllFields();

    if (answer == "QQQQ") EndGame("Bravo. Hai indovinato !");
    // The window stays clickable while a box is open, so the row is read afresh.
    if (gameState.currentAttempt == kRowCount) EndGame("Fine. Il numero era " + gameState.secret + " !");
    // After a right guess in the last row the first close request can be handled
    // inside the second box: the window is gone and nothing more may be drawn.
    if (!IsDialogAlive(mainWindow)) return;

    gameState.currentAttempt = std::min(gameState.currentAttempt + 1, kRowCount);
    DrawHelpPanel(gameState.currentAttempt);
    LoadRow(gameState.currentAttempt);
    std::int32_t key = 0;
    EditField(key, "", gameState.editBuffer, mainWindow, kRowFieldBase + gameState.currentAttempt,
              gameState.fieldStyle[gameState.currentAttempt].fontSize);
}
