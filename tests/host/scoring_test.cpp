// How a guess is accepted and answered.
#include <gtest/gtest.h>

#include "game/scoring.h"

TEST(ScoreGuess, AnswersTheTableForSecret1234)
{
    EXPECT_EQ(ScoreGuess("1234", "1234"), "QQQQ");
    EXPECT_EQ(ScoreGuess("1234", "4321"), "CCCC");
    EXPECT_EQ(ScoreGuess("1234", "1243"), "QQCC");
    EXPECT_EQ(ScoreGuess("1234", "5678"), "");
    EXPECT_EQ(ScoreGuess("1234", "0214"), "QQC");
}

TEST(ScoreGuess, BlankInsideTheGuessMatchesNothing)
{
    EXPECT_EQ(ScoreGuess("1234", "1 23"), "QCC");
    EXPECT_EQ(ScoreGuess("1234", " 234"), "QQQ");
}

TEST(ScoreGuess, RepeatedDigitCountsOverTheSecretsDigits)
{
    // Two lines joined by Delete can hold a digit twice.
    EXPECT_EQ(ScoreGuess("1234", "1123"), "QCC");
    EXPECT_EQ(ScoreGuess("1234", "4444"), "Q");
}

TEST(AcceptGuess, TrimsBlanksAndTakesExactlyFourCharacters)
{
    EXPECT_EQ(AcceptGuess("1234"), "1234");
    EXPECT_EQ(AcceptGuess("  1234 "), "1234");
    EXPECT_EQ(AcceptGuess("1 23"), "1 23");
    EXPECT_FALSE(AcceptGuess("123").has_value());
    EXPECT_FALSE(AcceptGuess(" 123  ").has_value());
    EXPECT_FALSE(AcceptGuess("12345").has_value());
    EXPECT_FALSE(AcceptGuess("").has_value());
    EXPECT_FALSE(AcceptGuess("    ").has_value());
}

TEST(MarkTriedDigits, ReplacesEveryDigitOfTheGuess)
{
    std::string untried = MarkTriedDigits("0123456789", "1234");
    untried = MarkTriedDigits(untried, "1567");
    EXPECT_EQ(untried, "0-------89");
    EXPECT_EQ(MarkTriedDigits("0123456789", "0 12"), "---3456789");
}
