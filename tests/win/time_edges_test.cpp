// The game clock at the edges of the day and of the second, in the running game with
// a clock the test moves: what the elapsed panel shows after each tick is compared
// with the panel drawn afresh from the figure it must show.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/clock.h"
#include "app/control_ids.h"
#include "app/main_window_win.h"
#include "app/window_events_win.h"
#include "fake_clock.h"
#include "game_driver.h"
#include "render/panels_win.h"
#include "render/surface_win.h"
#include "win_test_support.h"

namespace {

std::vector<Colour> SurfacePixels()
{
    const PixelSize size = SurfaceSize();
    std::vector<Colour> pixels;
    for (int i = 0; i < size.width * size.height; ++i) pixels.push_back(ReadPixel(i % size.width, i / size.width));
    return pixels;
}

// One tick at the current fake time; then whether the elapsed panel shows exactly
// what it shows when drawn with the text given.
bool TickShows(const std::string& expected)
{
    bool same = false;
    RunOnGameThread([&] {
        SendMessageA(mainWindow, WM_TIMER, kClockTimer, 0);
        SelectSurface(mainWindow, kElapsedPanel);
        const std::vector<Colour> shown = SurfacePixels();
        DrawInfoPanel(mainWindow, kElapsedPanel, expected, "secondi");
        SelectSurface(mainWindow, kElapsedPanel);
        same = SurfacePixels() == shown;
    });
    return same;
}

std::int32_t StartTime()
{
    std::int32_t start = -1;
    RunOnGameThread([&] { start = gameClock.startTime; });
    return start;
}

}  // namespace

TEST(TimeEdges, ElapsedPanelKeepsCountingAcrossMidnight)
{
    fakeClock::Start(23, 59, 58, 0);
    bool played = false;
    const int result = PlayInProcess(nullptr, [&] {
        played = true;
        EXPECT_EQ(StartTime(), 86398);
        for (int tick = 1; tick <= 40; ++tick) {
            fakeClock::Advance(100);
            char text[16];
            std::snprintf(text, sizeof text, "%d.%d s", tick / 10, tick % 10);
            if (tick % 5 == 0 || (tick >= 18 && tick <= 22)) {
                EXPECT_TRUE(TickShows(text)) << "tick " << tick;
            }
        }
        EXPECT_EQ(fakeClock::Local().hour, 0);  // the wall clock is past midnight now
    });
    fakeClock::Stop();
    EXPECT_TRUE(played);
    EXPECT_EQ(result, 0);
}

TEST(TimeEdges, StartAtHalfASecondRoundsToTheEvenSecond)
{
    // 10:00:00.5 rounds down to the even 36000, 10:00:01.5 up to the even 36002: a tick
    // at the same moment shows +0.5 and -0.5.
    int played = 0;
    fakeClock::Start(10, 0, 0, 500);
    PlayInProcess(nullptr, [&] {
        ++played;
        EXPECT_EQ(StartTime(), 36000);
        EXPECT_TRUE(TickShows("0.5 s"));
    });
    fakeClock::Start(10, 0, 1, 500);
    PlayInProcess(nullptr, [&] {
        ++played;
        EXPECT_EQ(StartTime(), 36002);
        EXPECT_TRUE(TickShows("-0.5 s"));
        fakeClock::Advance(100);
        EXPECT_TRUE(TickShows("-0.4 s"));
    });
    fakeClock::Stop();
    EXPECT_EQ(played, 2);
}

TEST(TimeEdges, StartsWithinAHundredTwentyEighthOfASecondLateInTheDayDrawTheSameSecret)
{
    // From 18:12:16 (65536 s) on, the seed's single-precision time of day steps by
    // 1/128 s and a time is rounded to the nearest step: 18:12:16.004 and .011 both
    // become 65536 + 1/128 and play the same game; .000 is a step of its own.
    const auto secretAt = [](int hour, int minute, int second, int ms) {
        fakeClock::Start(hour, minute, second, ms);
        InitGame();
        return std::make_pair(gameState.secret, randomState);
    };
    const auto at4 = secretAt(18, 12, 16, 4);
    const auto at11 = secretAt(18, 12, 16, 11);
    const auto at0 = secretAt(18, 12, 16, 0);
    // Earlier in the day the same 7 ms are told apart.
    const auto early4 = secretAt(9, 0, 0, 4);
    const auto early11 = secretAt(9, 0, 0, 11);
    fakeClock::Stop();
    EXPECT_EQ(at4.first, at11.first);
    EXPECT_EQ(at4.second, at11.second);
    EXPECT_NE(at0.second, at4.second);
    EXPECT_NE(early4.second, early11.second);
}
