// The new game: the record InitGame fills and the secret the random source draws.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "game/game_state.h"

namespace {

LocalTime fixedTime;

std::string SecretAt(int h, int m, int s, int ms)
{
    fixedTime = LocalTime{2026, 3, 5, h, m, s, ms};
    SetLocalTimeSource(+[] { return fixedTime; });
    InitGame();
    SetLocalTimeSource(nullptr);
    return gameState.secret;
}

}  // namespace

TEST(InitGame, FillsTheRecordWithEveryRowAlike)
{
    SecretAt(9, 30, 0, 0);
    const GameState& g = gameState;
    EXPECT_EQ(g.currentAttempt, 1);
    EXPECT_EQ(g.untriedDigits, "0123456789");
    EXPECT_EQ(g.panelColour, 0xCDCDCDu);
    const std::string help =
        "Scrivi il numero senza ripetere le cifre e senza iniziare con 0, poi batti Enter.\r\n"
        "Il quadrato significa cifra giusta al posto giusto.\r\n"
        "Il cerchio significa cifra giusta al posto sbagliato.\r\n";
    for (int row = 1; row <= kRowCount; ++row) {
        const FieldStyle& f = g.fieldStyle[row];
        EXPECT_EQ(std::tie(f.lines, f.columns, f.insertMode, f.fontSize, f.textColour, f.backColour,
                           f.submitOnEnter),
                  std::make_tuple(1, 4, 0, 24, 0x191919, 0xD7D7D7, 1));
        EXPECT_EQ(g.rowAllowedChars[row], "0123456789");
        EXPECT_EQ(g.rowHelpText[row], help) << row;
    }
    EXPECT_EQ(g.rowLabel[1], "Tentativo 01");
    EXPECT_EQ(g.rowLabel[9], "Tentativo 09");
    EXPECT_EQ(g.rowLabel[10], "Tentativo 10");
}

// The golden secrets were worked out apart from this code, with Python's struct
// module: 10:20:30.456 is 37230.456 s, whose single-precision pattern is
// 0x47116E75; stepping state*134775813+1 mod 2^32 and taking
// int(((state>>1)/2^31)*10) with rejection of a leading 0 and of repeats gives 4153.
// Midnight seeds the state 0 and gives 8263; 23:59:59.999 seeds 0x47A8C000 and gives 4170.
TEST(DrawSecret, GoldenSecretsForFixedTimesOfDay)
{
    EXPECT_EQ(SecretAt(10, 20, 30, 456), "4153");
    EXPECT_EQ(SecretAt(0, 0, 0, 0), "8263");
    EXPECT_EQ(SecretAt(23, 59, 59, 999), "4170");
    // After 65536 s the float steps by 1/128 s: these two starts share their seed.
    EXPECT_EQ(SecretAt(20, 0, 0, 1), SecretAt(20, 0, 0, 3));
}

TEST(RandomInt, StepsTheGeneratorAndAcceptsBoundsInEitherOrder)
{
    randomState = 0;
    EXPECT_EQ(RandomInt(9, 3), 3);  // one step from 0 gives 1: u = 0, the low bound
    randomState = 0xFFFFFFFFu;
    EXPECT_EQ(RandomInt(0, 9), 9);  // the state becomes 0xF7F77BFC: u close to 0.97
    EXPECT_EQ(randomState, 0xF7F77BFCu);
}

TEST(DrawSecret, AlwaysFourDifferentDigitsWithEveryFirstDigitAndZeroLaterReachable)
{
    std::set<char> firstDigits;
    std::set<std::size_t> zeroPositions;
    for (int ms = 0; ms < 86400000; ms += 997 * 7) {
        SeedRandom(ms / 1000.0);
        const std::string s = DrawSecret(0, 9, 4);
        ASSERT_EQ(std::set<char>(s.begin(), s.end()).size(), 4u) << s;
        ASSERT_EQ(s.find_first_not_of("0123456789"), std::string::npos) << s;
        ASSERT_NE(s[0], '0');
        firstDigits.insert(s[0]);
        if (s.find('0') != std::string::npos) zeroPositions.insert(s.find('0') + 1);
    }
    EXPECT_EQ(firstDigits.size(), 9u);
    EXPECT_EQ(zeroPositions, (std::set<std::size_t>{2, 3, 4}));
}

TEST(Texts, DateAndNumberText)
{
    EXPECT_EQ(DateText(LocalTime{999, 12, 31, 0, 0, 0, 0}), "12-31-0999");
    EXPECT_EQ(DateText(LocalTime{2026, 3, 5, 0, 0, 0, 0}), "03-05-2026");
    EXPECT_EQ(NumberText(0), " 0");
    EXPECT_EQ(NumberText(-3), "-3");
}
