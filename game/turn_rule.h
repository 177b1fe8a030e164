// The rule of a turn: what a submitted guess does to the game, apart from any
// drawing or box. The session draws the outcome and shows its end texts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/game_state.h"

constexpr const char* kWinText = "Bravo. Hai indovinato !";

// "Fine. Il numero era 4153 !"
std::string LostText(const std::string& secret);

struct TurnOutcome {
    bool scored = false;                // false: no guess of four characters; nothing changed
    std::int32_t row = 0;               // the row whose guess was scored
    std::string answer;                 // its answer: "Q"s, then "C"s
    std::vector<std::string> endTexts;  // the end boxes, in order; empty while the game goes on
    std::int32_t nextRow = 0;           // the row that becomes current once the answer is shown
};

// Submits line 1 of row currentAttempt as its guess. A guess of four
// characters (blanks trimmed) is scored: its digits are marked tried in
// untriedDigits and, when the guess is right or the row is the last, the game is
// over (gameOver is set) with "Bravo" first and then "Fine" for a right guess in
// the last row. The ending is decided here, from the row scored, so nothing that
// happens while the boxes are open can change it. currentAttempt is left alone:
// the session moves it to nextRow once the answer is on the board.
TurnOutcome SubmitTurn(GameState& game);
