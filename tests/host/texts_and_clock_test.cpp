// The texts the program writes, its rounding and the clocks' figures.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "base/runtime_error.h"
#include "game/clock.h"
#include "game/game_state.h"

// The error box's text for an exception thrown during an operation.
template <class Thrown>
std::string BoxFor(const Thrown& thrown) try { throw thrown; } catch (...) { return CurrentExceptionText("EditField"); }

// The other texts (numbers, times, captions, lines) are checked by the names the
// shared tables read on every front end.
TEST(Texts, ErrorBoxesAndDatesBeforeTheYear1000)
{
    const std::pair<std::string, std::string> cases[] = {{DateText({999, 12, 31, 0, 0, 0, 0}), "12-31-0999"},
        {BoxFor(std::bad_alloc()), "Out of memory 7 in EditField"},
        {BoxFor(std::length_error("x")), "Out of memory 7 in EditField"},
        {BoxFor(42), "Internal error 51 in EditField"}};
    for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}

TEST(Texts, HalvesRoundToEvenAndSecondsKeepOneDecimal)
{
    const std::pair<double, std::int32_t> rounded[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-1.7, -2}, {std::nextafter(2.5, 3.0), 3}};
    for (const auto& [value, whole] : rounded) EXPECT_EQ(RoundHalfEven(value), whole) << value;
    // 12.25 is an exact half and goes to the even tenth; 0.15 is stored just below
    // 0.15 although 0.15 * 10 == 1.5; 0.05 just above 0.05.
    const std::pair<double, const char*> seconds[] = {{0, "0.0 s"}, {-0.0, "0.0 s"}, {12.34, "12.3 s"},
        {12.36, "12.4 s"}, {-0.3, "-0.3 s"}, {-0.04, "-0.0 s"}, {9999.96, "10000.0 s"}, {12.25, "12.2 s"}, {12.75, "12.8 s"}, {0.05, "0.1 s"},
        {0.15, "0.1 s"}};
    for (const auto& [value, text] : seconds) EXPECT_EQ(ElapsedText(value), text) << value;
}

TEST(GameClock, GivesTheTimeOfDayDifferenceWithoutMidnightOrClockChanges)
{
    EXPECT_EQ(StartGameClock(100.5, 7.0).startTime, 100);  // the start to the even second
    GameClock clock = StartGameClock(101.5, 7.0);
    EXPECT_EQ(ElapsedText(ElapsedSeconds(clock, 101.6, 7.1)), "-0.4 s");
    // Ten hours of ticks; the monotonic clock steps in 16 ms units and runs 100 ppm fast.
    clock = StartGameClock(45296.789, 1000.0);
    for (int tick = 1; tick <= 360000; ++tick) {
        const double wall = (45296789 + 100 * tick) / 1000.0;
        ASSERT_EQ(ElapsedSeconds(clock, wall, 1000.0 + std::floor(tick * 0.1 * 1.0001 / 0.016) * 0.016), wall - 45297);
    }
    clock = StartGameClock(86390.0, 0.0);  // over midnight, the steady clock read a little late now and then
    for (int tick = 1; tick <= 200; ++tick) {
        const double wall = std::fmod(86390.0 + tick * 0.1, 86400.0);
        EXPECT_NEAR(ElapsedSeconds(clock, wall, tick * 0.1 + 0.003 * (tick % 5)), tick * 0.1, 1e-6) << tick;
    }
    // The clock changes and a clock set back by hand are the shared tables' (ClocksAcross...).
}
