#include "game/scoring.h"

#include <algorithm>

std::string ScoreGuess(const std::string& secret, const std::string& guess)
{
    int squares = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        if (i < secret.size() && i < guess.size() && secret[i] == guess[i]) ++squares;
    }
    // Counted over the secret's characters: each is looked up once in the whole guess.
    int common = 0;
    for (const char c : secret) {
        if (guess.find(c) != std::string::npos) ++common;
    }
    const int circles = std::max(common - squares, 0);
    return std::string(static_cast<std::size_t>(squares), 'Q') + std::string(static_cast<std::size_t>(circles), 'C');
}

std::optional<std::string> AcceptGuess(const std::string& line1)
{
    const auto first = line1.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    const auto last = line1.find_last_not_of(' ');
    std::string trimmed = line1.substr(first, last - first + 1);
    if (trimmed.size() != 4) return std::nullopt;
    return trimmed;
}

std::string MarkTriedDigits(std::string untried, const std::string& guess)
{
    for (const char c : guess) std::replace(untried.begin(), untried.end(), c, '-');
    return untried;
}
