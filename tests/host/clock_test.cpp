#include "app/clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ClockRounding, ExactHalvesGoToTheEvenNeighbourOnBothSides)
{
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(std::nextafter(2.5, 3.0)), 3);
    EXPECT_EQ(RoundHalfEven(std::nextafter(-0.5, 0.0)), 0);
    EXPECT_EQ(RoundHalfEven(-1.7), -2);
    EXPECT_EQ(RoundHalfEven(1e12), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

TEST(ClockPanelTexts, TimeIsZeroPaddedAndCaptionHasTheBlankOfTheNumberText)
{
    EXPECT_EQ(ClockTopText(LocalTime{2024, 3, 1, 14, 5, 9, 999}), " 14:05:09 ");
    EXPECT_EQ(TimeText(LocalTime{2024, 3, 1, 0, 0, 0, 0}), "00:00:00");
    EXPECT_EQ(AttemptCaption(3), "input # 3");
    EXPECT_EQ(AttemptCaption(14), "input # 14");
}

TEST(ElapsedText, WritesOneDecimalWithSignAndAllDigits)
{
    EXPECT_EQ(ElapsedText(0), "0.0 s");
    EXPECT_EQ(ElapsedText(0.4), "0.4 s");
    EXPECT_EQ(ElapsedText(12.34), "12.3 s");
    EXPECT_EQ(ElapsedText(12.36), "12.4 s");
    EXPECT_EQ(ElapsedText(-0.3), "-0.3 s");
    EXPECT_EQ(ElapsedText(-0.04), "-0.0 s");
    EXPECT_EQ(ElapsedText(-1e-300), "-0.0 s");
    EXPECT_EQ(ElapsedText(-0.0), "0.0 s");
    EXPECT_EQ(ElapsedText(9999.96), "10000.0 s");
    EXPECT_EQ(ElapsedText(123456.7), "123456.7 s");
    EXPECT_EQ(ElapsedText(std::ldexp(1.0, 70)), "1180591620717411303424.0 s");
}

TEST(ElapsedText, RoundsTheStoredValueAndOnlyTrueHalvesToEven)
{
    EXPECT_EQ(ElapsedText(12.25), "12.2 s");  // stored exactly: a true half
    EXPECT_EQ(ElapsedText(12.75), "12.8 s");
    EXPECT_EQ(ElapsedText(-0.25), "-0.2 s");
    EXPECT_EQ(ElapsedText(std::nextafter(0.25, 1.0)), "0.3 s");
    EXPECT_EQ(ElapsedText(0.05), "0.1 s");  // stored just above 0.05
    EXPECT_EQ(ElapsedText(0.15), "0.1 s");  // stored just below, though 0.15 * 10 == 1.5 in doubles
    EXPECT_EQ(ElapsedText(0.35), "0.3 s");
}

TEST(GameClock, StartAtHalfSecondRoundsToTheEvenSecond)
{
    EXPECT_EQ(StartGameClock(100.5, 7.0).startTime, 100);
    EXPECT_EQ(StartGameClock(101.5, 7.0).startTime, 102);
    GameClock clock = StartGameClock(101.5, 7.0);
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

TEST(GameClock, KeepsRisingAcrossMidnight)
{
    GameClock clock = StartGameClock(86390.0, 0.0);
    double previous = 0;
    for (int tick = 1; tick <= 200; ++tick) {
        const double wall = std::fmod(86390.0 + tick * 0.1, 86400.0);
        const double shown = ElapsedSeconds(clock, wall, tick * 0.1 + 0.003 * (tick % 5));
        EXPECT_NEAR(shown - previous, 0.1, 1e-6) << "tick " << tick;
        previous = shown;
    }
    EXPECT_EQ(previous, (10.0 + 86400.0) - 86390.0);  // the day folded away exactly
}

TEST(GameClock, WallClockChangesDoNotShow)
{
    GameClock clock = StartGameClock(7200.0, 0.0);
    EXPECT_NEAR(ElapsedSeconds(clock, 7210.0, 10.0), 10.0, 1e-9);
    EXPECT_NEAR(ElapsedSeconds(clock, 10810.1, 10.1), 10.1, 1e-9);  // summer time starts
    EXPECT_NEAR(ElapsedSeconds(clock, 10820.0, 20.0), 20.0, 1e-9);
    EXPECT_NEAR(ElapsedSeconds(clock, 7220.1, 20.1), 20.1, 1e-9);  // and ends
    EXPECT_NEAR(ElapsedSeconds(clock, 7093.3, 20.2), 20.2, 1e-9);  // set back by hand
    EXPECT_NEAR(ElapsedSeconds(clock, 7103.2, 30.1), 30.1, 1e-9);
}
