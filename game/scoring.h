// What a guess must be and how the game answers it. Portable.
#pragma once

#include <optional>
#include <string>

// The answer: "Q" once per right digit in the right place, then "C" once per
// right digit in the wrong place. "QQQQ" is a right guess.
std::string ScoreGuess(const std::string& secret, const std::string& guess);

// Line 1 of a row with its leading and trailing blanks removed, when that is
// exactly four characters long; nothing otherwise.
std::optional<std::string> AcceptGuess(const std::string& line1);

// The digit panel's text after a scored guess: every character of the guess
// that stands in untried becomes "-".
std::string MarkTriedDigits(std::string untried, const std::string& guess);
