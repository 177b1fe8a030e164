// The board as a screen reader finds it: each surface's name read through the
// system's accessibility interface, and the name-change events a reader follows.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/clock.h"
#include "app/control_ids.h"
#include "app/main_window_win.h"
#include "game/game_state.h"
#include "game_driver.h"
#include "render/surface_win.h"
#include "win_test_support.h"

namespace {

// COM for the thread that reads names, for the scope.
struct ComScope {
    ComScope() { CoInitialize(nullptr); }
    ~ComScope() { CoUninitialize(); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
};

struct ComReleaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
struct BstrFreer {
    void operator()(wchar_t* text) const { SysFreeString(text); }
};

// The name of a control's client object, as a screen reader asks for it. Calls
// from another thread than the control's go through the control's message queue.
std::string AccessibleName(HWND control)
{
    IAccessible* raw = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&raw))) ||
        raw == nullptr) {
        return "<no accessible object>";
    }
    const std::unique_ptr<IAccessible, ComReleaser> object(raw);
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR rawName = nullptr;
    const HRESULT result = object->get_accName(self, &rawName);
    const std::unique_ptr<wchar_t, BstrFreer> name(rawName);
    if (FAILED(result)) return "<no name>";
    if (!name) return "";  // S_FALSE: the object has no name
    const int length = static_cast<int>(SysStringLen(name.get()));
    std::string text(static_cast<std::size_t>(length) * 2, '\0');
    text.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_ACP, 0, name.get(), length, text.data(), static_cast<int>(text.size()), nullptr,
                            nullptr)));
    return text;
}

std::string NameOf(int controlId) { return AccessibleName(GetDlgItem(mainWindow, controlId)); }

// Listens, as a reader does, out of the process's context on a thread of its own,
// for the name changes of client objects.
struct NameChangeListener {
    NameChangeListener()
    {
        listening = this;
        std::atomic<bool> ready{false};
        thread = std::thread([this, &ready] {
            MSG message{};
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here
            threadId = GetCurrentThreadId();
            HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, Record,
                                                 GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
            ready = true;
            while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
            UnhookWinEvent(hook);
        });
        while (!ready) Sleep(1);
    }
    ~NameChangeListener()
    {
        PostThreadMessageA(threadId, WM_QUIT, 0, 0);
        thread.join();
        listening = nullptr;
    }
    NameChangeListener(const NameChangeListener&) = delete;
    NameChangeListener& operator=(const NameChangeListener&) = delete;

    int Count(HWND control)
    {
        const std::lock_guard<std::mutex> lock(guard);
        int count = 0;
        for (HWND seen : changed) count += seen == control;
        return count;
    }

    // Whether the control's name changes reach the count in the time given.
    bool WaitForCount(HWND control, int count, DWORD timeoutMs)
    {
        const DWORD start = GetTickCount();
        while (Count(control) < count) {
            if (GetTickCount() - start > timeoutMs) return false;
            Sleep(5);
        }
        return true;
    }

    static void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
    {
        if (event != EVENT_OBJECT_NAMECHANGE || object != OBJID_CLIENT || child != CHILDID_SELF) return;
        const std::lock_guard<std::mutex> lock(listening->guard);
        listening->changed.push_back(window);
    }

    static inline NameChangeListener* listening = nullptr;
    std::thread thread;
    DWORD threadId = 0;
    std::mutex guard;
    std::vector<HWND> changed;
};

void SecretIs1234() { gameState.secret = "1234"; }

void Submit(const std::string& guess)
{
    TypeText(guess);
    PressKey(VK_RETURN);
}

// Clocks the test moves by hand, read and moved on the game's thread.
LocalTime fakeNow;
double fakeSteady = 0;
LocalTime FakeClock() { return fakeNow; }
double FakeSteady() { return fakeSteady; }

int drawItemsSeen = 0;
HHOOK drawItemHook = nullptr;
LRESULT CALLBACK CountDrawItems(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && reinterpret_cast<const CWPSTRUCT*>(lParam)->message == WM_DRAWITEM) ++drawItemsSeen;
    return CallNextHookEx(drawItemHook, code, wParam, lParam);
}

}  // namespace

TEST(Accessibility, NamingASurfaceNeitherRepaintsNorShowsAndSaysEachNewNameOnce)
{
    ComScope com;
    NameChangeListener listener;
    SurfaceHost host{40, 40, 200, 100};
    constexpr int kWidth = 48;
    constexpr int kHeight = 24;
    HWND control = CreateSurface(host.window, 11, 10, 10, kWidth, kHeight, 0);
    SelectSurface(host.window, 11);
    DrawBox(0, 0, kWidth, kHeight, 0, 0x0000FF, 0xC8D4D4, 0);
    SetFont("Times New Roman", 12, 0);
    SetInkColour(0);
    SetTextBackColour(kTransparent);
    PrintText("W");
    ShowSurface();
    PumpMessages();
    const std::vector<Colour> bitmap = SurfacePixels();

    drawItemsSeen = 0;
    drawItemHook = SetWindowsHookExA(WH_CALLWNDPROC, CountDrawItems, nullptr, GetCurrentThreadId());
    EXPECT_TRUE(SetSurfaceName("Tentativo 03: 1 2"));
    PumpMessages();
    EXPECT_EQ(drawItemsSeen, 0) << "naming the surface repainted it";
    EXPECT_FALSE(GetUpdateRect(control, nullptr, FALSE)) << "naming the surface left it to repaint";
    UnhookWindowsHookEx(drawItemHook);
    EXPECT_EQ(AccessibleName(control), "Tentativo 03: 1 2");

    // Repainted in full, the control shows its bitmap and nothing of its name.
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    PumpMessages();
    std::vector<Colour> screen;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) screen.push_back(ScreenPixel(control, x, y));
    }
    EXPECT_EQ(screen, bitmap);

    EXPECT_TRUE(listener.WaitForCount(control, 1, 2000));
    EXPECT_FALSE(SetSurfaceName("Tentativo 03: 1 2"));
    EXPECT_TRUE(SetSurfaceName(""));
    EXPECT_EQ(AccessibleName(control), "");
    EXPECT_TRUE(listener.WaitForCount(control, 2, 2000));
    Sleep(100);
    EXPECT_EQ(listener.Count(control), 2) << "an unchanged name was announced";
}

TEST(Accessibility, ScoredGuessNamesItsAnswerBoxInWordsAndAnnouncesIt)
{
    NameChangeListener listener;
    PlayInProcess(SecretIs1234, [&] {
        ComScope com;
        HWND rowOne = GetDlgItem(mainWindow, kAnswerSurfaceBase + 1);
        HWND rowTwo = GetDlgItem(mainWindow, kAnswerSurfaceBase + 2);
        EXPECT_EQ(NameOf(kAnswerSurfaceBase + 1), "");
        Submit("1243");
        EXPECT_EQ(NameOf(kAnswerSurfaceBase + 1), "2 quadrati, 2 cerchi");
        EXPECT_TRUE(listener.WaitForCount(rowOne, 1, 2000));
        Submit("5678");
        // Scored without a right digit is not the same as not scored yet.
        EXPECT_EQ(NameOf(kAnswerSurfaceBase + 2), "nessuna cifra giusta");
        EXPECT_TRUE(listener.WaitForCount(rowTwo, 1, 2000));
        EXPECT_EQ(NameOf(kAnswerSurfaceBase + 3), "");
        // Row 1 played again with its guess: the same answer, told again.
        ClickControl(kRowFieldBase + 1, 5, 5);
        PressKey(VK_RETURN);
        EXPECT_EQ(NameOf(kAnswerSurfaceBase + 1), "2 quadrati, 2 cerchi");
        EXPECT_TRUE(listener.WaitForCount(rowOne, 2, 2000));
    });
}

TEST(Accessibility, FieldNamesFollowTypingAndEveryRedraw)
{
    PlayInProcess(SecretIs1234, [&] {
        ComScope com;
        EXPECT_EQ(NameOf(kRowFieldBase + 1), "Tentativo 01: vuoto");
        TypeText("12");
        EXPECT_EQ(NameOf(kRowFieldBase + 1), "Tentativo 01: 1 2");
        PressKey(VK_BACK);
        EXPECT_EQ(NameOf(kRowFieldBase + 1), "Tentativo 01: 1");
        Submit("567");
        EXPECT_EQ(NameOf(kRowFieldBase + 1), "Tentativo 01: 1 5 6 7");
        EXPECT_EQ(NameOf(kRowFieldBase + 2), "Tentativo 02: vuoto");
        // A field drawn only as one of all the fields, when a toggle is clicked.
        RunOnGameThread([] { gameState.rowText[9][1] = "98"; });
        ClickControl(kCrossOutToggleBase + 5, 10, 10);
        EXPECT_EQ(NameOf(kRowFieldBase + 9), "Tentativo 09: 9 8");
    });
}

TEST(Accessibility, PanelsNameWhatTheyShowAndFollowTheClock)
{
    fakeNow = LocalTime{2026, 3, 5, 10, 0, 0, 0};
    fakeSteady = 500;
    SetLocalTimeSource(FakeClock);
    SetSteadyClockSource(FakeSteady);
    NameChangeListener listener;
    PlayInProcess(SecretIs1234, [&] {
        ComScope com;
        Sleep(250);
        EXPECT_EQ(NameOf(kDigitPanel), "03-05-2026, cifre non provate: 0 1 2 3 4 5 6 7 8 9");
        EXPECT_EQ(NameOf(kClockPanel), "ore 10:00:00, input # 1");
        EXPECT_EQ(NameOf(kElapsedPanel), "0.0 secondi");
        EXPECT_EQ(NameOf(kRowLabelBase + 3), "Tentativo 03");
        EXPECT_EQ(NameOf(kRowLabelBase + 14), "Tentativo 14");
        EXPECT_EQ(NameOf(kHelpPanel),
                  std::string(kHelpSentence1) + " " + kHelpSentence2 + " " + kHelpSentence3);
        EXPECT_EQ(NameOf(kHighlightToggleBase + 5), "5");

        // Redrawn ten times a second with the same time: the name stays, silently.
        HWND clock = GetDlgItem(mainWindow, kClockPanel);
        HWND elapsed = GetDlgItem(mainWindow, kElapsedPanel);
        const int clockChanges = listener.Count(clock);
        const int elapsedChanges = listener.Count(elapsed);
        Sleep(400);
        EXPECT_EQ(listener.Count(clock), clockChanges);
        EXPECT_EQ(listener.Count(elapsed), elapsedChanges);
        RunOnGameThread([] {
            fakeNow.second = 7;
            fakeNow.millisecond = 300;
            fakeSteady += 7.3;
        });
        // The elapsed panel is drawn last in a tick: once its change is told, the
        // tick has named both panels.
        EXPECT_TRUE(listener.WaitForCount(clock, clockChanges + 1, 2000));
        EXPECT_TRUE(listener.WaitForCount(elapsed, elapsedChanges + 1, 2000));
        EXPECT_EQ(NameOf(kClockPanel), "ore 10:00:07, input # 1");
        EXPECT_EQ(NameOf(kElapsedPanel), "7.3 secondi");

        Submit("5678");
        Sleep(250);
        EXPECT_EQ(NameOf(kDigitPanel), "03-05-2026, cifre non provate: 0 1 2 3 4 9");
        EXPECT_EQ(NameOf(kClockPanel), "ore 10:00:07, input # 2");
    });
    SetLocalTimeSource(nullptr);
    SetSteadyClockSource(nullptr);
}
