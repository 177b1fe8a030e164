// The board as a screen reader finds it: each surface's name read through the
// system's accessibility interface, and the name-change events a reader follows.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "app/control_ids.h"
#include "app/main_window_win.h"
#include "game/game_state.h"
#include "game_driver.h"
#include "render/surface_win.h"
#include "win_test_support.h"

namespace {

// The name of a control's client object, as a screen reader asks for it; from
// another thread than the control's, the call goes through the control's queue.
// The interface is asked for by __uuidof: with the IID_IAccessible of the MinGW
// libraries the call fails with E_NOINTERFACE under Wine.
std::wstring NameOf(int controlId, HWND parent = mainWindow)
{
    CoInitialize(nullptr);
    IAccessible* object = nullptr;
    BSTR name = nullptr;
    VARIANT self{};
    self.vt = VT_I4;  // lVal 0: CHILDID_SELF, the client object itself
    HRESULT result = AccessibleObjectFromWindow(GetDlgItem(parent, controlId), static_cast<DWORD>(OBJID_CLIENT),
                                                __uuidof(IAccessible), reinterpret_cast<void**>(&object));
    if (SUCCEEDED(result)) result = object->get_accName(self, &name);  // S_FALSE, no text: no name
    if (object) object->Release();
    const std::wstring text = FAILED(result) ? L"<no name>" : std::wstring(name ? name : L"", SysStringLen(name));
    SysFreeString(name);
    CoUninitialize();
    return text;
}

// The controls whose client object announced a new name. Out of context, as a
// reader listens, the events queue up for the listening thread, which takes them
// as it handles its messages.
std::vector<HWND> renamed;
void CALLBACK RecordRename(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (object == OBJID_CLIENT && child == CHILDID_SELF) renamed.push_back(window);
}

// How many new names a control of the main window announced, once at least
// `atLeast` or after two seconds.
std::ptrdiff_t Renames(int controlId, std::ptrdiff_t atLeast = 0)
{
    for (const DWORD start = GetTickCount();; Sleep(5)) {
        PumpMessages();
        const auto count = std::count(renamed.begin(), renamed.end(), GetDlgItem(mainWindow, controlId));
        if (count >= atLeast || GetTickCount() - start > 2000) return count;
    }
}

using WinEventHook = std::unique_ptr<std::remove_pointer_t<HWINEVENTHOOK>, decltype(&UnhookWinEvent)>;
using WindowsHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, decltype(&UnhookWindowsHookEx)>;

void SecretIs1234() { gameState.secret = "1234"; }

int drawItemsSeen = 0;
LRESULT CALLBACK CountDrawItems(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && reinterpret_cast<const CWPSTRUCT*>(lParam)->message == WM_DRAWITEM) ++drawItemsSeen;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The time of day as the test sets it, read and moved on the game's thread.
LocalTime fakeNow{2026, 3, 5, 10, 0, 0, 0};

}  // namespace

using AccessibilityTest = RenderTest;

TEST_F(AccessibilityTest, NamingASurfaceNeitherRepaintsItNorShowsTheName)
{
    HWND control = GetDlgItem(host, kPlain.id);
    SelectSurface(host, kPlain.id);
    DrawBox(0, 0, kPlain.width, kPlain.height, 0, 0x0000FF, 0xC8D4D4, 0);
    ShowSurface();
    PumpMessages();
    const WindowsHook hook(SetWindowsHookExA(WH_CALLWNDPROC, CountDrawItems, nullptr, GetCurrentThreadId()),
                           UnhookWindowsHookEx);
    SetSurfaceName("Tentativo 03: 1 2");
    PumpMessages();
    EXPECT_EQ(drawItemsSeen, 0) << "naming the surface repainted it";
    EXPECT_EQ(NameOf(kPlain.id, host), L"Tentativo 03: 1 2");
    // Repainted in full, the control shows its bitmap and nothing of its name.
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    PumpMessages();
    EXPECT_TRUE(PixelsMatch(kPlain, [&](int x, int y) { return ScreenPixel(control, x, y); }));
}

TEST(Accessibility, SurfacesAreNamedAfterWhatTheyShowAndTellEachNewName)
{
    SetLocalTimeSource([] { return fakeNow; });
    PlayInProcess(SecretIs1234, [] {
        const WinEventHook listener(SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
                                                    RecordRename, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT),
                                    UnhookWinEvent);
        Sleep(250);  // a clock tick or two
        EXPECT_EQ(NameOf(kRowLabelBase + 3), L"Tentativo 03");
        EXPECT_EQ(NameOf(kClockPanel), L"ore 10:00:00, input # 1");
        // Redrawn ten times a second with the same time: the name stays, silently.
        const auto clockRenames = Renames(kClockPanel);
        Sleep(400);
        EXPECT_EQ(Renames(kClockPanel), clockRenames) << "an unchanged name was announced";
        RunOnGameThread([] { fakeNow.second = 7; });
        EXPECT_EQ(Renames(kClockPanel, clockRenames + 1), clockRenames + 1);
        EXPECT_EQ(NameOf(kClockPanel), L"ore 10:00:07, input # 1");

        TypeText("12");
        EXPECT_EQ(NameOf(kRowFieldBase + 1), L"Tentativo 01: 1 2");
        EXPECT_EQ(NameOf(kAnswerSurfaceBase + 1), L"");
        TypeText("43");
        PressKey(VK_RETURN);
        EXPECT_EQ(NameOf(kAnswerSurfaceBase + 1), L"2 quadrati, 2 cerchi");
        EXPECT_EQ(Renames(kAnswerSurfaceBase + 1, 1), 1);
        TypeText("5678");
        PressKey(VK_RETURN);
        // Scored without a right digit is not the same as not scored yet.
        EXPECT_EQ(NameOf(kAnswerSurfaceBase + 2), L"nessuna cifra giusta");
        // Row 1 played again with its guess: the same answer, told again.
        ClickControl(kRowFieldBase + 1, 5, 5);
        PressKey(VK_RETURN);
        EXPECT_EQ(Renames(kAnswerSurfaceBase + 1, 2), 2);
    });
    SetLocalTimeSource(nullptr);
}
