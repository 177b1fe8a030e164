// The new game: the record InitGame fills and the secret the random source draws.
#include <gtest/gtest.h>

#include <set>

#include "game/game_state.h"

namespace {

LocalTime fixedTime;
LocalTime FixedClock() { return fixedTime; }

LocalTime At(int h, int m, int s, int ms)
{
    LocalTime t;
    t.year = 2026;
    t.month = 3;
    t.day = 5;
    t.hour = h;
    t.minute = m;
    t.second = s;
    t.millisecond = ms;
    return t;
}

std::string SecretAt(const LocalTime& t)
{
    fixedTime = t;
    SetLocalTimeSource(FixedClock);
    InitGame();
    SetLocalTimeSource(nullptr);
    return gameState.secret;
}

bool IsValidSecret(const std::string& s)
{
    if (s.size() != 4 || s[0] == '0') return false;
    std::set<char> digits(s.begin(), s.end());
    if (digits.size() != 4) return false;
    for (const char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

TEST(InitGame, FillsEveryRowAlike)
{
    SecretAt(At(9, 30, 0, 0));
    const GameState& g = gameState;
    EXPECT_EQ(g.currentAttempt, 1);
    EXPECT_EQ(g.gameOver, 0);
    EXPECT_EQ(g.untriedDigits, "0123456789");
    EXPECT_EQ(g.inkColour, 0x191919u);
    EXPECT_EQ(g.fieldColour, 0xD7D7D7u);
    EXPECT_EQ(g.labelInkColour, 0x191919u);
    EXPECT_EQ(g.panelColour, 0xCDCDCDu);
    for (int row = 1; row <= kRowCount; ++row) {
        const FieldStyle& f = g.fieldStyle[row];
        EXPECT_EQ(f.lines, 1);
        EXPECT_EQ(f.columns, 4);
        EXPECT_EQ(f.insertMode, 0);
        EXPECT_EQ(f.fontSize, 24);
        EXPECT_EQ(f.textColour, 0x191919);
        EXPECT_EQ(f.backColour, 0xD7D7D7);
        EXPECT_EQ(f.submitOnEnter, 1);
        EXPECT_EQ(g.rowAllowedChars[row], "0123456789");
        EXPECT_TRUE(g.rowNote[row].empty());
        for (int line = 1; line <= kLineCount; ++line) EXPECT_TRUE(g.rowText[row][line].empty());
    }
    for (int line = 1; line <= kLineCount; ++line) EXPECT_TRUE(g.editBuffer[line].empty());
}

TEST(InitGame, LabelsHaveTwoDigitRowNumbers)
{
    SecretAt(At(9, 30, 0, 0));
    EXPECT_EQ(gameState.rowLabel[1], "Tentativo 01");
    EXPECT_EQ(gameState.rowLabel[9], "Tentativo 09");
    EXPECT_EQ(gameState.rowLabel[10], "Tentativo 10");
    EXPECT_EQ(gameState.rowLabel[14], "Tentativo 14");
}

TEST(InitGame, HelpTextIsThreeSentencesEachEndingInOneLineBreak)
{
    SecretAt(At(9, 30, 0, 0));
    const std::string expected =
        "Scrivi il numero senza ripetere le cifre e senza iniziare con 0, poi batti Enter.\r\n"
        "Il quadrato significa cifra giusta al posto giusto.\r\n"
        "Il cerchio significa cifra giusta al posto sbagliato.\r\n";
    for (int row = 1; row <= kRowCount; ++row) {
        EXPECT_EQ(gameState.rowHelpText[row], expected) << "row " << row;
    }
}

// The golden secret was worked out apart from this code, with Python's struct
// module: 10:20:30.456 is 37230.456 s, whose single-precision pattern is
// 0x47116E75; stepping state*134775813+1 mod 2^32 and taking
// int(((state>>1)/2^31)*10) with rejection of a leading 0 and of repeats gives 4153.
// Midnight seeds the state 0 and gives 8263; 23:59:59.999 seeds 0x47A8C000 and gives 4170.
TEST(DrawSecret, GoldenSecretsForFixedTimesOfDay)
{
    EXPECT_EQ(SecretAt(At(10, 20, 30, 456)), "4153");
    EXPECT_EQ(SecretAt(At(0, 0, 0, 0)), "8263");
    EXPECT_EQ(SecretAt(At(23, 59, 59, 999)), "4170");
}

TEST(SeedRandom, StateIsTheSinglePrecisionBitPattern)
{
    SeedRandom(37230.456);
    EXPECT_EQ(randomState, 0x47116E75u);
    SeedRandom(1.0);
    EXPECT_EQ(randomState, 0x3F800000u);
}

TEST(RandomInt, StepsTheGeneratorAndAcceptsBoundsInEitherOrder)
{
    randomState = 0;
    // One step from 0 gives 1; u = 0, so the low bound comes out.
    EXPECT_EQ(RandomInt(9, 3), 3);
    EXPECT_EQ(randomState, 1u);
    randomState = 0xFFFFFFFFu;
    // 0xFFFFFFFF * 134775813 + 1 = -134775812 mod 2^32 = 0xF7F77BFC: u close to 0.97.
    EXPECT_EQ(RandomInt(0, 9), 9);
    EXPECT_EQ(randomState, 0xF7F77BFCu);
    for (int i = 0; i < 10000; ++i) {
        const int v = RandomInt(-3, 3);
        ASSERT_GE(v, -3);
        ASSERT_LE(v, 3);
    }
}

TEST(DrawSecret, AlwaysFourDifferentDigitsWithEveryFirstDigitAndZeroLaterReachable)
{
    std::set<char> firstDigits;
    std::set<int> zeroPositions;
    // A whole day of starts, one every 997 ms, covers very different seeds.
    for (int ms = 0; ms < 86400000; ms += 997 * 7) {
        SeedRandom(static_cast<double>(ms) / 1000.0);
        const std::string s = DrawSecret(0, 9, 4);
        ASSERT_TRUE(IsValidSecret(s)) << s << " at " << ms;
        firstDigits.insert(s[0]);
        for (int i = 1; i < 4; ++i) {
            if (s[static_cast<std::size_t>(i)] == '0') zeroPositions.insert(i + 1);
        }
    }
    EXPECT_EQ(firstDigits, (std::set<char>{'1', '2', '3', '4', '5', '6', '7', '8', '9'}));
    EXPECT_EQ(zeroPositions, (std::set<int>{2, 3, 4}));
}

TEST(DrawSecret, StartsThatShareTheirFloatSeedShareTheirSecret)
{
    // After 65536 s the float steps by 1/128 s: 20:00:00.001 and 20:00:00.003 are
    // the same float, so they must draw the same secret.
    const std::string a = SecretAt(At(20, 0, 0, 1));
    const std::string b = SecretAt(At(20, 0, 0, 3));
    EXPECT_EQ(static_cast<float>(72000.001), static_cast<float>(72000.003));
    EXPECT_EQ(a, b);
    // Early in the day the steps are fine enough to tell milliseconds apart.
    EXPECT_NE(static_cast<float>(3600.001), static_cast<float>(3600.003));
}

TEST(DateText, MonthDayYearWithLeadingZeros)
{
    EXPECT_EQ(DateText(At(0, 0, 0, 0)), "03-05-2026");
    LocalTime t = At(0, 0, 0, 0);
    t.month = 12;
    t.day = 31;
    t.year = 999;
    EXPECT_EQ(DateText(t), "12-31-0999");
}

TEST(NumberText, BlankBeforeNonNegativeNumbersSignBeforeNegative)
{
    EXPECT_EQ(NumberText(0), " 0");
    EXPECT_EQ(NumberText(14), " 14");
    EXPECT_EQ(NumberText(-3), "-3");
}
