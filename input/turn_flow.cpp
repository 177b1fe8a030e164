#include "input/turn_flow.h"

#include <utility>

#include "game/game_state.h"
#include "game/turn_rule.h"
#include "render/accessible_text.h"
#include "render/board_pictures.h"

namespace {

// A run-time error in the editor: the box, then the window closes.
void EndWithEditorError(Board& board, const std::string& message)
{
    board.platform.showBox(message);
    board.platform.endWindow();
}

// The editor on the field of row `row`, with editBuffer as its lines.
void EditField(Board& board, int row, std::int32_t key, const std::string& character)
{
    BoardPlatform& platform = board.platform;
    const int id = kRowFieldBase + row;
    FieldKey in;
    in.key = key;
    in.character = character;
    in.fontSize = gameState.fieldStyle[row].fontSize;
    in.slots = platform.readSlots(row);
    in.surface = platform.surfaceSize(id);
    in.toggles = platform.toggles();
    TextLines& lines = gameState.editBuffer;
    FieldEditResult result = EditFieldCore(gameState, board.state.editorMemory, lines, in, platform.measure);
    switch (result.outcome) {
    case EditOutcome::BadFieldRow: platform.showBox(result.message); return;
    case EditOutcome::RuntimeError: EndWithEditorError(board, result.message); return;
    case EditOutcome::EndedEarly:
        // The field keeps its picture exactly as it was.
        return;
    case EditOutcome::Drawn: break;
    }
    // Named after its row and its guess, line 1, whichever line the field shows.
    const int fieldRow = result.slots.fieldRow;
    const bool rowKnown = fieldRow >= 1 && fieldRow <= kRowCount;
    Picture picture{std::move(result.picture), FieldName(rowKnown ? gameState.rowLabel[fieldRow] : "", lines[1])};
    platform.draw(id, picture);
    platform.writeSlots(row, result.slots);
}

}  // namespace

void HandleKey(Board& board, const KeyEvent& key)
{
    FlowState& state = board.state;
    KeyGuards guards;
    guards.gameOver = gameState.gameOver != 0;
    guards.endBoxOpen = state.endBoxOpen;
    guards.hookBusy = state.handlingKey;
    const KeyRoute route = RouteKey(key.keyCode, key.virtualKey,
                                    gameState.fieldStyle[gameState.currentAttempt].submitOnEnter, key.handledPress,
                                    guards);
    if (route == KeyRoute::PassOnly) return;
    state.handlingKey = true;
    if (route == KeyRoute::Submit) {
        SubmitGuess(board);
    } else {
        EditRow(board, gameState.currentAttempt, key.keyCode, key.character);
    }
    state.handlingKey = false;
}

void EditRow(Board& board, int row, std::int32_t key, const std::string& character)
{
    // After a run-time error has ended the window, the callers' loops may still be
    // running: there is no field left to draw, and no box to show about it.
    if (!board.platform.windowAlive()) return;
    const std::string error = LoadRow(gameState.editBuffer, gameState.rowText, row);
    if (!error.empty()) {
        EndWithEditorError(board, error);
        return;
    }
    EditField(board, row, key, character);
    // The row is taken once: the text goes back into the row it came from.
    if (gameState.fieldStyle[row].lines > 0) gameState.rowText[row] = gameState.editBuffer;
}

void ActivateRow(Board& board, int row) { EditRow(board, row, fieldKey::kActivate, ""); }

void RedrawAllFields(Board& board)
{
    for (int row = 1; row <= kRowCount && board.platform.windowAlive(); ++row) {
        EditRow(board, row, fieldKey::kRedrawOnly, "");
    }
}

void MoveToRow(Board& board, int row)
{
    gameState.currentAttempt = row;
    DrawHelpPanel(board, row);
    ActivateRow(board, row);
}

void SubmitGuess(Board& board)
{
    const TurnOutcome outcome = SubmitTurn(gameState);
    if (!outcome.scored) return;
    DrawDigitPanel(board);
    DrawAnswer(board, outcome.row, outcome.answer, true);
    RedrawAllFields(board);
    if (outcome.endTexts.empty()) {
        MoveToRow(board, outcome.nextRow);
        return;
    }
    // The boxes wait until the key that submitted the guess has been handled. A box
    // opened while the key is being handled runs its loop while that key event may
    // still be queued where the platform keeps it (Wine leaves it there until its
    // keyboard hook returns), so an Enter would close its own box at once. Telling
    // that stale copy from the next genuine event is guesswork (a held key's
    // repeats carry the same key data), so nothing is taken out of the queue: the
    // boxes come once the key is gone. The game is over already, so no key or
    // click can change the ending in between.
    board.state.endTexts = outcome.endTexts;
    board.state.rowAfterEnd = outcome.nextRow;
    board.platform.deferEndOfGame();
}

void ShowEndOfGame(Board& board)
{
    const std::vector<std::string> texts = std::exchange(board.state.endTexts, {});
    if (texts.empty()) return;
    // While the boxes are open the board shows the answer and no caret, as when
    // the guess was scored: the Enter handled since may have activated a row.
    RedrawAllFields(board);
    for (const std::string& text : texts) {
        // The close request is handled once the box has returned to the message
        // loop. After a right guess in the last row the first request may be handled
        // inside the second box, so the window can be gone by its end.
        board.state.endBoxOpen = true;
        board.platform.showBox(text);
        board.state.endBoxOpen = false;
        if (board.platform.windowAlive()) board.platform.requestClose();
    }
    if (board.platform.windowAlive()) MoveToRow(board, board.state.rowAfterEnd);
}

void DrawDigitPanel(Board& board)
{
    BoardPlatform& platform = board.platform;
    platform.draw(kDigitPanel,
                  InfoPanelPicture(kDigitPanel, DateText(platform.clocks.localTime()), gameState.untriedDigits,
                                   platform.surfaceSize(kDigitPanel), platform.measure));
}

void DrawHelpPanel(Board& board, int attempt)
{
    BoardPlatform& platform = board.platform;
    if (const auto picture = HelpPanelPicture(gameState, attempt, platform.surfaceSize(kHelpPanel), platform.measure)) {
        platform.draw(kHelpPanel, *picture);
    }
}

void DrawAnswer(Board& board, int row, const std::string& answer, bool scored)
{
    const int id = kAnswerSurfaceBase + row;
    board.platform.draw(id, AnswerMarksPicture(answer, scored, board.platform.surfaceSize(id)));
}
