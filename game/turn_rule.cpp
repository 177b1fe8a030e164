#include "game/turn_rule.h"

#include <algorithm>

#include "game/scoring.h"

std::string LostText(const std::string& secret) { return "Fine. Il numero era " + secret + " !"; }

TurnOutcome SubmitTurn(GameState& game)
{
    TurnOutcome outcome;
    const auto guess = AcceptGuess(game.rowText[game.currentAttempt][1]);
    if (!guess) return outcome;
    outcome.scored = true;
    outcome.row = game.currentAttempt;
    outcome.answer = ScoreGuess(game.secret, *guess);
    game.untriedDigits = MarkTriedDigits(game.untriedDigits, *guess);
    if (outcome.answer == "QQQQ") outcome.endTexts.emplace_back(kWinText);
    if (outcome.row == kRowCount) outcome.endTexts.push_back(LostText(game.secret));
    if (!outcome.endTexts.empty()) game.gameOver = 1;
    outcome.nextRow = std::min(outcome.row + 1, kRowCount);
    return outcome;
}
