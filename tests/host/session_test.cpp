// The session on its own: the shared tables (tests/scenarios/games.txt) played
// through a front end that keeps what it is asked to draw and show, then the
// faults no player's keys can bring about.
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
        EXPECT_EQ(std::tuple(g.OpenBoxText(""), g.boxes.size(), g.drawn.size(), g.closes), std::tuple(box, 1u, 0u, 0)) << what;
        g.Do("{OK}{+100}2{Esc}");
        EXPECT_EQ(std::tuple(g.boxes.size(), g.drawn.size(), g.closes), std::tuple(0u, 0u, 1)) << what;
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
