// The session on its own: the shared tables (tests/scenarios/games.txt) played
// through a front end that keeps what it is asked to draw and show, then the
// faults no player's keys can bring about.
#include <algorithm>
#include <limits>
#include <stdexcept>

#include "session_game.h"

class Tables : public testing::TestWithParam<std::string> {};
TEST_P(Tables, Play)
{
    PlayScenario(GetParam(), "session", [](const std::string& secret, const std::string& start) {
        return std::make_unique<SessionGame>(secret, start);
    });
}
INSTANTIATE_TEST_SUITE_P(Session, Tables, testing::ValuesIn(ScenarioNames()),
                         [](const testing::TestParamInfo<std::string>& scenario) { return scenario.param; });

TEST(Session, ARunTimeErrorShowsItsBoxThenEndsTheWindowAndNothingMoreIsDrawn)
{
    const auto noWidthAt1Point = [](SessionGame& g) { g.cellWidth = [](int points) { return 19 * points / 24; }; };
    const std::tuple<const char*, std::function<void(SessionGame&)>, const char*, const char*> cases[] = {
        {"a row whose face has no width, met when a toggle redraws every field",
         [&](SessionGame& g) { noWidthAt1Point(g), g.game.fieldStyle[5].fontSize = 1; }, "{Strike0}",
         "Division by zero 11 in EditField"},
        {"a field scrolled to the end of the 32-bit range",
         [](SessionGame& g) { g.session.fields[1] = {1, std::numeric_limits<std::int32_t>::max(), 1, 4}; }, "{Right}",
         "Overflow 6 in EditField"},
        {"an exception that escapes a front end's drawing",
         [](SessionGame& g) { g.session.frontEnd.draw = [](int, const Picture&) { throw std::out_of_range("x"); }; }, "1",
         "Subscript out of range 9 in KeyboardHookProc"}};
    for (const auto& [what, setUp, keys, box] : cases) {
        SessionGame g("1234");
        setUp(g);
        g.Do(keys);
        g.Do("1{Enter}{Row3}{Strike2}");
        EXPECT_EQ(std::tuple(g.boxes, g.draws.size(), g.closes), std::tuple(std::vector<std::string>{box}, 0u, 0)) << what;
        g.Do("{OK}{+100}2{Esc}");
        EXPECT_EQ(std::tuple(g.boxes.size(), g.draws.size(), g.closes), std::tuple(0u, 0u, 1)) << what;
    }
}

TEST(Session, AnEventThatComesWhileAnotherIsHandledIsDropped)
{
    // A platform that runs its message loop while it draws would hand the session
    // the next key in the middle of this one.
    SessionGame g("1234");
    bool nested = false;
    g.session.frontEnd.draw = [&](int, const Picture&) {
        if (!std::exchange(nested, true)) PressKey(g.session, {KeyPosition::Other, '9', false});
    };
    g.Do("1");
    EXPECT_EQ(g.game.rowText[1][1], "1");
}

TEST(Session, ALineTakesEveryChangeThatKeepsItWithinTwoThousandCharacters)
{
    const std::string blanks(999, ' ');
    // Lines 1 and 2 at the start, the view, the keys; then the lengths of lines 1, 2 and 100.
    const std::tuple<const char*, std::string, std::string, FieldView, const char*, std::tuple<int, int, int>> cases[] = {
        {"a digit far to the right pads the line up to it", "", "", {1, 1999, 1, 1}, "7", {1999, 0, 0}},
        {"one column further is refused", "", "", {1, 2000, 1, 1}, "7", {0, 0, 0}},
        {"two lines that fit together join", blanks + "1", blanks + "2", {1, 1001, 1, 1}, "{Del}", {2000, 0, 0}},
        {"two that would not stay apart", blanks + "1", blanks + " 2", {1, 1001, 1, 1}, "{Del}", {1000, 1001, 0}},
        {"Delete pads the last line up to the limit", "", "", {100, 2001, 100, 1}, "{Del}", {0, 0, 2000}},
        {"and no further", "", "", {100, 2002, 100, 1}, "{Del}", {0, 0, 0}}};
    for (const auto& [what, line1, line2, view, keys, lengths] : cases) {
        SessionGame g("1234");
        std::tie(g.game.rowText[1][1], g.game.rowText[1][2], g.session.fields[1]) = std::tie(line1, line2, view);
        g.Do(keys);
        const TextLines& lines = g.game.rowText[1];
        EXPECT_EQ(std::tuple(g.boxes.size(), int(lines[1].size()), int(lines[2].size()), int(lines[100].size())),
                  std::tuple_cat(std::tuple(0u), lengths)) << what;
    }
    // End after line 1, Page Down to line 2 with the same sideways scroll, a digit that
    // pads line 2 to that length, back up, and Delete after the end joins line 2 on:
    // each round once doubled the line, and a few dozen rounds took gigabytes.
    SessionGame g("1234");
    g.Do("1");
    for (int round = 0; round < 16; ++round) g.Do("{Home}{End}{PgDn}5{PgUp}{Del}");
    const auto longest = std::ranges::max(g.game.rowText[1].items, {}, &std::string::size).size();
    EXPECT_TRUE(g.boxes.empty() && longest >= 1000 && longest <= 2000) << longest;  // grown as far as a line may
}
