#include "app/window_flow.h"

#include <string>

#include "game/game_state.h"
#include "input/turn_flow.h"
#include "render/board_pictures.h"

namespace {

// Draws a clock panel when its texts differ from the ones it shows: a tick in
// which they stay the same would put the same pixels on the screen.
void DrawClockPanel(Board& board, int id, std::string& shown, const std::string& top, const std::string& bottom)
{
    std::string texts = top + '\n' + bottom;
    if (texts == shown) return;
    BoardPlatform& platform = board.platform;
    platform.draw(id, InfoPanelPicture(id, top, bottom, platform.surfaceSize(id), platform.measure));
    shown = std::move(texts);
}

void SelectRow(Board& board, int row)
{
    if (gameState.gameOver != 0) return;
    RedrawAllFields(board);
    MoveToRow(board, row);
}

}  // namespace

void DrawFirstPicture(Board& board)
{
    BoardPlatform& platform = board.platform;
    DrawHelpPanel(board, gameState.currentAttempt);
    for (int row = 1; row <= kRowCount; ++row) {
        const int label = kRowLabelBase + row;
        platform.draw(label, RowLabelPicture(gameState, row, platform.surfaceSize(label), platform.measure));
        DrawAnswer(board, row, "", false);
    }
    DrawDigitPanel(board);
}

void DrawAllFieldsAndActivate(Board& board)
{
    RedrawAllFields(board);
    ActivateRow(board, gameState.currentAttempt);
}

void StartClock(Board& board)
{
    const Clocks& clocks = board.platform.clocks;
    board.state.gameClock = StartGameClock(SecondsSinceMidnight(clocks.localTime()), clocks.steadySeconds());
}

void ClockTick(Board& board)
{
    const Clocks& clocks = board.platform.clocks;
    FlowState& state = board.state;
    const LocalTime now = clocks.localTime();
    DrawClockPanel(board, kClockPanel, state.clockShown, ClockTopText(now), AttemptCaption(gameState.currentAttempt));
    if (gameState.gameOver == 0) {
        const double elapsed = ElapsedSeconds(state.gameClock, SecondsSinceMidnight(now), clocks.steadySeconds());
        DrawClockPanel(board, kElapsedPanel, state.elapsedShown, ElapsedText(elapsed), kElapsedCaption);
    }
}

void HandleCommand(Board& board, int id)
{
    switch (ClassifyCommand(id)) {
    case CommandKind::Toggle:
        RedrawAllFields(board);
        ActivateRow(board, gameState.currentAttempt);
        break;
    case CommandKind::SelectRow: SelectRow(board, id - kRowFieldBase); break;
    case CommandKind::Author:
        // The window stays enabled: ticks, clicks and keys go on while it is up.
        board.platform.showBox(kAuthorText);
        break;
    case CommandKind::Cancel: board.platform.endWindow(); break;
    case CommandKind::None: break;
    }
}
