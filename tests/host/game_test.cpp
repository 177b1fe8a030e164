// A new game's secret, and how a guess is answered.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "game/scoring.h"
#include "game/game_state.h"

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

TEST(Scoring, AFourCharacterGuessIsScoredAndOnlyIt)
{
    // A blank matches nothing; two lines joined by Delete can hold a digit twice.
    const tuple<const char*, const char*> scores[] = {{"1234", "QQQQ"}, {"4321", "CCCC"}, {"1243", "QQCC"},
        {"5678", ""}, {"0214", "QQC"}, {"1 23", "QCC"}, {" 234", "QQQ"}, {"1123", "QCC"}, {"4444", "Q"}};
    for (const auto& [guess, answer] : scores) EXPECT_EQ(ScoreGuess("1234", guess), answer) << guess;
    const std::pair<const char*, std::optional<std::string>> lines[] = {{"1234", "1234"}, {"  1234 ", "1234"},
        {"1 23", "1 23"}, {"123", {}}, {" 123  ", {}}, {"12345", {}}, {"", {}}, {"    ", {}}};
    for (const auto& [line, guess] : lines) EXPECT_EQ(AcceptGuess(line), guess) << line;
}
