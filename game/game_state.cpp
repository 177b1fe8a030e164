#include "game/game_state.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "base/text.h"

double SecondsSinceMidnight(const LocalTime& t)
{
    const std::int64_t ms = std::int64_t{t.hour} * 3600000 + std::int64_t{t.minute} * 60000 +
                            std::int64_t{t.second} * 1000 + t.millisecond;
    return static_cast<double>(ms) / 1000.0;
}

std::string DateText(const LocalTime& t)
{
    std::string year = std::to_string(t.year);
    while (year.size() < 4) year.insert(year.begin(), '0');
    return TwoDigits(t.month) + "-" + TwoDigits(t.day) + "-" + year;
}

void SeedRandom(std::uint32_t& state, double seconds)
{
    // The state is the bit pattern of the time as a single-precision number, so two
    // starts that round to the same float draw the same secret.
    const float asFloat = static_cast<float>(seconds);
    static_assert(sizeof(float) == sizeof(std::uint32_t));
    std::memcpy(&state, &asFloat, sizeof state);
}

std::int32_t RandomInt(std::uint32_t& state, std::int32_t boundA, std::int32_t boundB)
{
    const std::int64_t low = boundA < boundB ? boundA : boundB;
    const std::int64_t high = boundA < boundB ? boundB : boundA;
    state = state * 134775813u + 1u;
    const double u = static_cast<double>(state >> 1) / 2147483648.0;
    const double value = u * static_cast<double>(high - low + 1) + static_cast<double>(low);
    return static_cast<std::int32_t>(std::trunc(value));
}

std::string DrawSecret(std::uint32_t& state, std::int32_t low, std::int32_t high, std::int32_t count)
{
    std::vector<std::int32_t> chosen;
    std::string text;
    for (std::int32_t position = 1; position <= count; ++position) {
        for (;;) {
            const std::int32_t d = RandomInt(state, low, high);
            if (position == 1 && d == 0) continue;
            bool repeated = false;
            for (const std::int32_t earlier : chosen) repeated = repeated || earlier == d;
            if (repeated) continue;
            chosen.push_back(d);
            text += std::to_string(d);
            break;
        }
    }
    return text;
}

GameState InitGame(std::uint32_t& randomState, const LocalTime& now)
{
    GameState g;
    g.inkColour = kInkColour;
    g.fieldColour = kFieldColour;
    g.labelInkColour = kLabelInkColour;
    g.panelColour = kPanelColour;
    g.untriedDigits = "0123456789";

    SeedRandom(randomState, SecondsSinceMidnight(now));
    g.secret = DrawSecret(randomState, 0, 9, kDigitCount);

    // Every row alike: the rules as its help, a field of one line of four digits
    // in 24 points that submits on Enter, in overwrite mode; no note.
    const std::string help = std::string(kHelpSentence1) + kLineBreak + kHelpSentence2 + kLineBreak + kHelpSentence3;
    for (int row = 1; row <= kRowCount; ++row) {
        g.rowHelpText[row] = help + kLineBreak;
        g.rowLabel[row] = "Tentativo " + TwoDigits(row);
        g.rowAllowedChars[row] = "0123456789";
        g.fieldStyle[row] = {1, kDigitCount, 0, 24, static_cast<std::int32_t>(g.inkColour),
                             static_cast<std::int32_t>(g.fieldColour), 1};
    }
    g.currentAttempt = 1;
    return g;
}
