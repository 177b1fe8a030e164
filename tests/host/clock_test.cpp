#include "app/clock.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ClockTexts, RoundingTimeAndCaption)
{
    for (const auto& [value, rounded] : {std::pair{0.5, 0}, {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-1.7, -2}}) {
        EXPECT_EQ(RoundHalfEven(value), rounded) << value;
    }
    EXPECT_EQ(RoundHalfEven(std::nextafter(2.5, 3.0)), 3);
    EXPECT_EQ(ClockTopText(LocalTime{2024, 3, 1, 14, 5, 9, 999}), " 14:05:09 ");
    EXPECT_EQ(AttemptCaption(3), "input # 3");
}

TEST(ElapsedText, OneDecimalWithSignGrowingPastTheMask)
{
    const std::pair<double, const char*> cases[] = {
        {0, "0.0 s"},      {12.34, "12.3 s"},       {12.36, "12.4 s"},        {-0.3, "-0.3 s"},
        {-0.04, "-0.0 s"}, {9999.96, "10000.0 s"},  {123456.7, "123456.7 s"}, {0.4, "0.4 s"},
        // The stored value decides: 12.25 is an exact half and goes to the even
        // tenth; 0.15 is stored just below 0.15 although 0.15 * 10 == 1.5.
        {12.25, "12.2 s"}, {12.75, "12.8 s"},       {0.05, "0.1 s"},          {0.15, "0.1 s"},
    };
    for (const auto& [seconds, text] : cases) EXPECT_EQ(ElapsedText(seconds), text) << seconds;
}

TEST(GameClock, StartAtHalfSecondRoundsToTheEvenSecond)
{
    EXPECT_EQ(StartGameClock(100.5, 7.0).startTime, 100);
    GameClock clock = StartGameClock(101.5, 7.0);
    EXPECT_EQ(clock.startTime, 102);
    EXPECT_EQ(ElapsedText(ElapsedSeconds(clock, 101.6, 7.1)), "-0.4 s");
}

TEST(GameClock, NormalGameGivesExactlyTheTimeOfDayDifference)
{
    // Ten hours of ticks; the monotonic clock steps in 16 ms units and runs 100 ppm
    // fast, as a real one may.
    GameClock clock = StartGameClock(45296.789, 1000.0);
    for (int tick = 1; tick <= 360000; ++tick) {
        const double wall = (45296789 + 100 * tick) / 1000.0;
        const double steady = 1000.0 + std::floor(tick * 0.1 * 1.0001 / 0.016) * 0.016;
        ASSERT_EQ(ElapsedSeconds(clock, wall, steady), wall - 45297) << "tick " << tick;
    }
}

TEST(GameClock, MidnightAndClockChangesDoNotShow)
{
    GameClock clock = StartGameClock(86390.0, 0.0);
    double previous = 0;
    for (int tick = 1; tick <= 200; ++tick) {
        const double wall = std::fmod(86390.0 + tick * 0.1, 86400.0);
        const double shown = ElapsedSeconds(clock, wall, tick * 0.1 + 0.003 * (tick % 5));
        EXPECT_NEAR(shown - previous, 0.1, 1e-6) << "tick " << tick;
        previous = shown;
    }
    clock = StartGameClock(7200.0, 0.0);
    EXPECT_NEAR(ElapsedSeconds(clock, 10810.1, 10.1), 10.1, 1e-9);  // summer time starts
    EXPECT_NEAR(ElapsedSeconds(clock, 7220.1, 20.1), 20.1, 1e-9);   // and ends
    EXPECT_NEAR(ElapsedSeconds(clock, 7093.3, 20.2), 20.2, 1e-9);   // set back by hand
    EXPECT_NEAR(ElapsedSeconds(clock, 7103.2, 30.1), 30.1, 1e-9);
}
