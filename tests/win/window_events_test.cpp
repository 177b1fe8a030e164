// The window's machinery: its start, the clock panels, the editor on the screen.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "app/control_ids.h"
#include "app/dialog_win.h"
#include "app/main_window_win.h"
#include "game/game_state.h"
#include "game_driver.h"
#include "input/keyboard_hook_win.h"

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool visible;
};
std::vector<Seen> seen;
HHOOK callHook = nullptr;

LRESULT CALLBACK RecordCalls(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    // Recorded from the initialisation on: the sizing while the window is built
    // happens before the handler is attached.
    const bool started = !seen.empty() || call->message == WM_INITDIALOG;
    if (code == HC_ACTION && started && call->hwnd == mainWindow && mainWindow != nullptr &&
        (call->message == WM_INITDIALOG || call->message == WM_SIZE)) {
        seen.push_back({call->message, call->wParam, call->lParam, IsWindowVisible(call->hwnd) != FALSE});
    }
    return CallNextHookEx(callHook, code, wParam, lParam);
}

// A snapshot of a surface's bitmap, read on the game's thread.
std::vector<COLORREF> Snapshot(int id)
{
    std::vector<COLORREF> pixels;
    RECT r{};
    GetClientRect(GetDlgItem(mainWindow, id), &r);
    for (int y = 0; y < r.bottom; y += 2) {
        for (int x = 0; x < r.right; x += 2) pixels.push_back(SurfacePixel(id, x, y));
    }
    return pixels;
}

// A clock the test moves by hand: the game reads the local time through it.
LocalTime fakeNow;
LocalTime FakeClock() { return fakeNow; }

}  // namespace

TEST(WindowEvents, InitialisationAndOneSizeEventComeBeforeTheWindowIsVisible)
{
    seen.clear();
    PlayInProcess(+[] { callHook = SetWindowsHookExA(WH_CALLWNDPROC, RecordCalls, nullptr, GetCurrentThreadId()); },
                  [] {
                      EXPECT_NE(keyboardHook, nullptr);
                  });
    UnhookWindowsHookEx(callHook);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_INITDIALOG));
    EXPECT_FALSE(seen[0].visible);
    EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_SIZE));
    EXPECT_FALSE(seen[1].visible);
    // The client size, the menu bar's height taken out of 610.
    EXPECT_EQ(LOWORD(seen[1].lParam), 460);
    EXPECT_LT(HIWORD(seen[1].lParam), 610);
    EXPECT_GT(HIWORD(seen[1].lParam), 550);
    // The hook was removed with the window.
    EXPECT_EQ(keyboardHook, nullptr);
}

TEST(WindowEvents, ClockPanelsTickFollowTheRowAndTheElapsedPanelFreezesAtTheEnd)
{
    fakeNow = LocalTime{2026, 3, 5, 10, 0, 0, 0};
    SetLocalTimeSource(FakeClock);
    PlayInProcess(+[] { gameState.secret = "1234"; }, [] {
        Sleep(250);
        EXPECT_EQ(SurfacePixel(kClockPanel, 1, 1), 0x1E321Eu);
        EXPECT_EQ(SurfacePixel(kElapsedPanel, 1, 1), 0x1E321Eu);
        // With the time of day standing still, only the row caption can change.
        const auto rowOne = Snapshot(kClockPanel);
        ClickControl(kRowFieldBase + 7, 5, 5);
        Sleep(250);
        EXPECT_NE(Snapshot(kClockPanel), rowOne);
        ClickControl(kRowFieldBase + 1, 5, 5);

        fakeNow.second = 5;
        Sleep(250);
        const auto elapsed = Snapshot(kElapsedPanel);
        const auto clock = Snapshot(kClockPanel);
        TypeText("1234");
        PressKey(VK_RETURN);
        HWND box = WaitForMessageBox(5000);
        ASSERT_NE(box, nullptr);
        // While the end box is open the time of day goes on, the elapsed time does not.
        fakeNow.second = 9;
        Sleep(300);
        EXPECT_EQ(Snapshot(kElapsedPanel), elapsed);
        EXPECT_NE(Snapshot(kClockPanel), clock);
        CloseMessageBox(box);
    });
    SetLocalTimeSource(nullptr);
}

TEST(WindowEvents, TabPastTheEndOfTheLineLeavesTheFieldAsItWas)
{
    PlayInProcess(nullptr, [] {
        TypeText("12");
        const auto typed = Snapshot(kRowFieldBase + 1);
        PressKey(VK_TAB);
        EXPECT_EQ(Snapshot(kRowFieldBase + 1), typed);
        // Repainting the field from its bitmap shows the digits, not an empty field.
        HWND field = GetDlgItem(mainWindow, kRowFieldBase + 1);
        RedrawWindow(field, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        WaitUntilIdle();
        bool inked = false;
        RECT r{};
        GetClientRect(field, &r);
        for (int x = 0; x < r.right / 2 && !inked; ++x) {
            for (int y = 0; y < r.bottom && !inked; ++y) inked = ScreenPixel(kRowFieldBase + 1, x, y) == 0x191919u;
        }
        EXPECT_TRUE(inked);
    });
}

TEST(WindowEvents, FontKeysStopAt72AndKeepTheFieldsSize)
{
    PlayInProcess(nullptr, [] {
        RECT before{};
        GetWindowRect(GetDlgItem(mainWindow, kRowFieldBase + 1), &before);
        for (const auto& [key, presses, expected] : {std::tuple{VK_ADD, 50, 72}, std::tuple{VK_SUBTRACT, 80, 1}}) {
            KeyDown(VK_CONTROL);
            for (int i = 0; i < presses; ++i) PressKey(static_cast<WORD>(key));
            KeyUp(VK_CONTROL);
            int size = 0;
            RunOnGameThread([&] { size = gameState.fieldStyle[1].fontSize; });
            EXPECT_EQ(size, expected);
        }
        RECT after{};
        GetWindowRect(GetDlgItem(mainWindow, kRowFieldBase + 1), &after);
        EXPECT_TRUE(EqualRect(&before, &after));
    });
}

TEST(WindowEvents, EditorRunTimeErrorShowsItsBoxAndClosesTheWindow)
{
    std::string text;
    const int result = PlayInProcess(nullptr, [&] {
        // A caret on line 0 names no line of the field: the key cannot be applied.
        RunOnGameThread([] { SetControlSlot(GetDlgItem(mainWindow, kRowFieldBase + 1), 3, 0); });
        KeyDown('5');
        HWND box = WaitForMessageBox(5000);
        ASSERT_NE(box, nullptr);
        text = MessageBoxText(box);
        CloseMessageBox(box);
        for (int i = 0; i < 100 && IsWindow(mainWindow); ++i) Sleep(20);
        EXPECT_FALSE(IsWindow(mainWindow));
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(text, "Subscript out of range 9 in EditField");
}

TEST(WindowEvents, KeyTypedWhileTheMenuIsOpenActsOnce)
{
    std::string line;
    PlayInProcess(nullptr, [&] {
        TypeText("1234");
        // The menu's loop peeks at a key before it takes it: one Backspace must
        // still remove one digit, the third, on which the caret stands after "4".
        PressKey(VK_F10);
        PressKey(VK_BACK);
        RunOnGameThread([&] { line = gameState.rowText[1][1]; });
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(line, "124");
}
