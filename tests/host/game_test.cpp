// A new game's secret, how a guess is answered and what a submitted guess does.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "game/scoring.h"
#include "game/turn_rule.h"

using std::tuple;

// The golden secrets were worked out apart from this code, with Python's struct
// module: 10:20:30.456 is 37230.456 s, whose single-precision pattern is
// 0x47116E75; stepping state*134775813+1 mod 2^32 and taking
// int(((state>>1)/2^31)*10) with rejection of a leading 0 and of repeats gives 4153.
// Midnight seeds the state 0 and gives 8263; 23:59:59.999 seeds 0x47A8C000 and gives 4170.
TEST(DrawSecret, GoldenSecretsAndAlwaysFourDifferentDigitsNotStartingWithZero)
{
    const auto secretAt = [](int h, int m, int s, int ms) {
        std::uint32_t random = 0;
        return InitGame(random, {2026, 3, 5, h, m, s, ms}).secret;
    };
    EXPECT_EQ(secretAt(10, 20, 30, 456), "4153");
    EXPECT_EQ(secretAt(0, 0, 0, 0), "8263");
    EXPECT_EQ(secretAt(23, 59, 59, 999), "4170");
    // After 65536 s the float steps by 1/128 s: these two starts share their seed.
    EXPECT_EQ(secretAt(20, 0, 0, 1), secretAt(20, 0, 0, 3));
    std::set<char> firstDigits;
    std::set<std::size_t> zeroPlaces;
    for (int ms = 0; ms < 86400000; ms += 997 * 7) {
        std::uint32_t random = 0;
        SeedRandom(random, ms / 1000.0);
        const std::string s = DrawSecret(random, 0, 9, 4);
        ASSERT_TRUE(std::set<char>(s.begin(), s.end()).size() == 4 && s.find_first_not_of("0123456789") == s.npos) << s;
        firstDigits.insert(s[0]);
        zeroPlaces.insert(s.find('0') + 1);  // 0 when there is none
    }
    EXPECT_EQ(tuple(firstDigits.size(), *firstDigits.begin(), zeroPlaces),
              tuple(9u, '1', std::set<std::size_t>{0, 2, 3, 4}));
}

TEST(SubmitTurn, ScoresAFourCharacterGuessAndEndsTheGameOnARightGuessOrInTheLastRow)
{
    // A blank matches nothing; two lines joined by Delete can hold a digit twice.
    const tuple<const char*, const char*> scores[] = {{"1234", "QQQQ"}, {"4321", "CCCC"}, {"1243", "QQCC"},
        {"5678", ""}, {"0214", "QQC"}, {"1 23", "QCC"}, {" 234", "QQQ"}, {"1123", "QCC"}, {"4444", "Q"}};
    for (const auto& [guess, answer] : scores) EXPECT_EQ(ScoreGuess("1234", guess), answer) << guess;
    const std::pair<const char*, std::optional<std::string>> lines[] = {{"1234", "1234"}, {"  1234 ", "1234"},
        {"1 23", "1 23"}, {"123", {}}, {" 123  ", {}}, {"12345", {}}, {"", {}}, {"    ", {}}};
    for (const auto& [line, guess] : lines) EXPECT_EQ(AcceptGuess(line), guess) << line;
    EXPECT_EQ(MarkTriedDigits(MarkTriedDigits("0123456789", "1234"), "1567"), "0-------89");
    const std::string bravo = "Bravo. Hai indovinato !", fine = "Fine. Il numero era 4153 !";
    // Row, line 1; then scored, answer, digits not tried, end boxes and next row.
    const tuple<int, const char*, bool, const char*, const char*, std::vector<std::string>, int> turns[] = {
        {1, "4153", true, "QQQQ", "0-2---6789", {bravo}, 2},
        {14, "4153", true, "QQQQ", "0-2---6789", {bravo, fine}, 14},
        {14, "1234", true, "CCC", "0----56789", {fine}, 14}, {7, " 4135  ", true, "QQCC", "0-2---6789", {}, 8},
        {3, "0 12", true, "C", "---3456789", {}, 4}, {13, "5678", true, "C", "01234----9", {}, 14},
        // Not four characters once the blanks are trimmed: nothing changes, even in row 14.
        {2, "123", false, "", "0123456789", {}, 0}, {14, "12345", false, "", "0123456789", {}, 0},
        {5, "    ", false, "", "0123456789", {}, 0}};
    for (const auto& [row, line1, scored, answer, untried, endTexts, nextRow] : turns) {
        std::uint32_t random = 0;
        GameState game = InitGame(random, {});
        std::tie(game.secret, game.currentAttempt, game.rowText[row][1]) = tuple("4153", row, line1);
        const TurnOutcome out = SubmitTurn(game);
        EXPECT_EQ(std::tie(out.scored, out.answer, out.endTexts, out.nextRow, game.untriedDigits),
                  std::tie(scored, answer, endTexts, nextRow, untried)) << line1;
        // The flow moves the current row on once the answer is shown.
        EXPECT_EQ(tuple(out.row, game.gameOver, game.currentAttempt),
                  tuple(scored ? row : out.row, endTexts.empty() ? 0 : 1, row)) << line1;
    }
}
