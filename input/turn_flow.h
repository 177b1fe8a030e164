// The flow of keys and turns on any platform: a key goes to the current row's
// field or submits its guess; a submitted guess is answered on the board and
// either moves the game to the next row or ends it with its boxes.
#pragma once

#include <cstdint>
#include <string>

#include "input/board_platform.h"

// A key event as every shell gives it: the key code for the field editor (the
// scan code, negative with the left Ctrl), the event's own virtual key (Enter is
// 13), its one-character translation (or the character 0), and whether it is a
// press the game handles (IsHandledKeyPress).
struct KeyEvent {
    std::int32_t keyCode = 0;
    std::uint8_t virtualKey = 0;
    std::string character;
    bool handledPress = false;
};

// Routes a key (RouteKey, with the guards of the game's state) and acts on it.
void HandleKey(Board& board, const KeyEvent& key);

// Applies one key to a row: its text is loaded into editBuffer, edited and drawn in
// its field, and stored back into the row. A run-time error of the editor shows
// its box and ends the window.
void EditRow(Board& board, int row, std::int32_t key, const std::string& character);

// Draws a row's field with its caret, so typing goes there.
void ActivateRow(Board& board, int row);

// Redraws the fields of all rows without a caret; editBuffer then holds row 14.
// Stops when the window has gone (an editor error ends it).
void RedrawAllFields(Board& board);

// The row becomes the current one: its help text, and its field with the caret.
void MoveToRow(Board& board, int row);

// Enter (or scan code 80) in a row that submits on Enter: the turn rule, then the
// answer, the tried digits and all fields drawn; then the next row, or, when the
// game is over, the end boxes once the key has been handled (ShowEndOfGame).
void SubmitGuess(Board& board);

// The end boxes of the game that a guess ended, in order, each followed by the
// request to close the window; then the next row, while the window is there.
void ShowEndOfGame(Board& board);

// The board's pictures from the game state.
void DrawDigitPanel(Board& board);
void DrawHelpPanel(Board& board, int attempt);
void DrawAnswer(Board& board, int row, const std::string& answer, bool scored);
