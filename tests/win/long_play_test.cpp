// An hour of play, driven faster than real time: the clock ticks and the keys of a
// long game leave the process holding the same GDI and USER objects and the same
// memory as after its first minutes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "app/clock.h"
#include "app/control_ids.h"
#include "app/main_window_win.h"
#include "app/window_events_win.h"
#include "fake_clock.h"
#include "game_driver.h"
#include "process_counts.h"
#include "win_test_support.h"

namespace {

void UnguessableSecret() { gameState.secret = "abcd"; }

struct Held {
    long gdi = 0;
    long user = 0;
    std::size_t privateBytes = 0;
};

Held HeldNow()
{
    Held held;
    RunOnGameThread([&] {
        held.gdi = GdiObjectCount();
        held.user = ThreadUserObjectCount();
        held.privateBytes = PrivateBytes();
    });
    return held;
}

// Ticks of the game clock as the timer delivers them, each 100 ms of fake time later.
// A hundred at a time, so that each visit to the game's thread ends well within the
// time RunOnGameThread waits for it.
void Ticks(int count)
{
    for (int done = 0; done < count; done += 100) {
        RunOnGameThread([] {
            for (int i = 0; i < 100; ++i) {
                fakeClock::Advance(100);
                SendMessageA(mainWindow, WM_TIMER, kClockTimer, 0);
            }
        });
    }
}

INPUT Key(WORD vk, WORD scan, bool extended, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    input.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0u) | (up ? KEYEVENTF_KEYUP : 0u);
    return input;
}

// Key presses of a player who types, corrects, moves and changes the font size, and
// never submits (no Enter, no scan code 80): the game goes on for the whole hour.
void Keys(std::mt19937& random, int presses)
{
    struct K {
        WORD vk;
        WORD scan;
        bool extended;
    };
    const K keys[] = {{'1', 0x02, false},      {'2', 0x03, false},      {'5', 0x06, false},
                      {'9', 0x0A, false},      {'0', 0x0B, false},      {VK_BACK, 0x0E, false},
                      {VK_DELETE, 0x53, true}, {VK_LEFT, 0x4B, true},   {VK_RIGHT, 0x4D, true},
                      {VK_HOME, 0x47, true},   {VK_END, 0x4F, true},    {VK_INSERT, 0x52, true},
                      {VK_PRIOR, 0x49, true},  {VK_NEXT, 0x51, true},   {VK_TAB, 0x0F, false},
                      {VK_ADD, 0x4E, false},   {VK_SUBTRACT, 0x4A, false}};
    std::vector<INPUT> batch;
    for (int i = 0; i < presses; ++i) {
        const K& k = keys[random() % std::size(keys)];
        const bool font = k.vk == VK_ADD || k.vk == VK_SUBTRACT;
        if (font) batch.push_back(Key(VK_LCONTROL, 0x1D, false, false));
        batch.push_back(Key(k.vk, k.scan, k.extended, false));
        batch.push_back(Key(k.vk, k.scan, k.extended, true));
        if (font) batch.push_back(Key(VK_LCONTROL, 0x1D, false, true));
        if (batch.size() >= 200 || i + 1 == presses) {
            SendKeyEvents(batch);
            batch.clear();
        }
    }
}

}  // namespace

TEST(LongPlay, AnHourOfTicksAndTenThousandKeysHoldNoMoreObjectsOrMemory)
{
    fakeClock::Start(15, 0, 0, 0);
    std::mt19937 random(2026);
    Held first;
    Held last;
    std::string elapsedAtEnd;
    bool stillPlaying = false;
    const int result = PlayInProcess(UnguessableSecret, [&] {
        // Ten rounds of six minutes' ticks and a thousand keys; the first is the warm-up.
        for (int round = 0; round < 10; ++round) {
            Ticks(3600);
            Keys(random, 1000);
            if (round == 0) first = HeldNow();
            if (std::getenv("INDOVINA_LONG_PLAY_TRACE") != nullptr) {
                const Held now = HeldNow();
                std::size_t chars = 0;
                int size = 0;
                RunOnGameThread([&] {
                    size = gameState.fieldStyle[gameState.currentAttempt].fontSize;
                    for (int line = 1; line <= kLineCount; ++line) chars += gameState.rowText[gameState.currentAttempt][line].size();
                });
                std::printf("round %d: %ld GDI, %ld USER, %zu private bytes; font size %d, %zu characters in the row\n",
                            round + 1, now.gdi, now.user, now.privateBytes, size, chars);
            }
        }
        last = HeldNow();
        RunOnGameThread([&] {
            stillPlaying = gameState.gameOver == 0 && IsWindow(mainWindow);
            GameClock copy = gameClock;
            elapsedAtEnd = ElapsedText(ElapsedSeconds(copy, SecondsSinceMidnight(CurrentLocalTime()), SteadySeconds()));
        });
    });
    fakeClock::Stop();
    std::printf("after round 1: %ld GDI, %ld USER, %zu private bytes; after round 10: %ld GDI, %ld USER, %zu bytes\n",
                first.gdi, first.user, first.privateBytes, last.gdi, last.user, last.privateBytes);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(stillPlaying);
    EXPECT_EQ(elapsedAtEnd, "3600.0 s");
    ASSERT_GT(first.gdi, 0);
    ASSERT_GT(first.user, 60);  // the window, its controls and its menus
    ASSERT_GT(first.privateBytes, 0u);
    EXPECT_EQ(last.gdi, first.gdi);
    EXPECT_EQ(last.user, first.user);
    EXPECT_LT(last.privateBytes, first.privateBytes + 1024 * 1024);
}
