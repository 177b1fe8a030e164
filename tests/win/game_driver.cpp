#include "game_driver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/dialog_win.h"
#include "app/entry_win.h"
#include "app/main_window_win.h"
#include "input/keyboard_hook_win.h"
#include "render/surface_win.h"
#include "win_test_support.h"

namespace {

std::atomic<long> keyEventsSeen{0};
std::atomic<long> keyEventsSent{0};
std::atomic<bool> gameRunning{false};
void (*userPrepare)() = nullptr;
HHOOK countingHook = nullptr;

// Installed before the game's own hook, so the game's hook passes each event here
// first (it calls the next hook before anything else) and then handles it.
LRESULT CALLBACK CountKeyEvents(int code, WPARAM wParam, LPARAM lParam)
{
    // The game's hook may look at the event it is handling once more while it is
    // still busy with it (to take a stale copy out of the queue): that is not a new
    // event. Nor are peeks that leave the event in the queue.
    static WPARAM lastWParam = 0;
    static LPARAM lastLParam = 0;
    const bool again = KeyboardHookBusy() && wParam == lastWParam && lParam == lastLParam;
    if (code == HC_ACTION && !again) {
        ++keyEventsSeen;
        lastWParam = wParam;
        lastLParam = lParam;
    }
    return CallNextHookEx(countingHook, code, wParam, lParam);
}

HWND gameThreadRunner = nullptr;
constexpr UINT kRunWork = WM_APP + 1;

LRESULT CALLBACK RunnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRunWork) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void PrepareGame()
{
    WNDCLASSA runnerClass{};
    runnerClass.lpfnWndProc = RunnerProc;
    runnerClass.hInstance = GetModuleHandleA(nullptr);
    runnerClass.lpszClassName = "IndovinaTestRunner";
    RegisterClassA(&runnerClass);
    gameThreadRunner = CreateWindowExA(0, "IndovinaTestRunner", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    countingHook = SetWindowsHookExA(WH_KEYBOARD, CountKeyEvents, nullptr, GetCurrentThreadId());
    if (userPrepare != nullptr) userPrepare();
}

BOOL CALLBACK CloseBox(HWND window, LPARAM)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") == 0 && window != mainWindow && IsWindowVisible(window)) {
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return TRUE;
}

// Ends whatever the scenario left running: boxes first, then the window.
void CloseEverything()
{
    for (int i = 0; i < 200 && gameRunning; ++i) {
        EnumWindows(CloseBox, 0);
        if (mainWindow != nullptr && IsWindow(mainWindow)) PostMessageA(mainWindow, WM_CLOSE, 0, 0);
        Sleep(50);
    }
}

INPUT KeyInput(WORD virtualKey, bool extended, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    // The keypad and the grey keys share scan codes; these are the ones a real
    // keyboard sends for the virtual keys the tests use.
    switch (virtualKey) {
    case VK_NUMPAD0: input.ki.wScan = 0x52; break;
    case VK_NUMPAD1: input.ki.wScan = 0x4F; break;
    case VK_NUMPAD2: input.ki.wScan = 0x50; break;
    case VK_NUMPAD3: input.ki.wScan = 0x51; break;
    case VK_NUMPAD4: input.ki.wScan = 0x4B; break;
    case VK_NUMPAD5: input.ki.wScan = 0x4C; break;
    case VK_NUMPAD6: input.ki.wScan = 0x4D; break;
    case VK_NUMPAD7: input.ki.wScan = 0x47; break;
    case VK_NUMPAD8: input.ki.wScan = 0x48; break;
    case VK_NUMPAD9: input.ki.wScan = 0x49; break;
    case VK_SUBTRACT: input.ki.wScan = 0x4A; break;
    case VK_ADD: input.ki.wScan = 0x4E; break;
    case VK_RSHIFT: input.ki.wScan = 0x36; break;
    default: break;
    }
    input.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0u) | (up ? KEYEVENTF_KEYUP : 0u);
    return input;
}

void Send(std::vector<INPUT> inputs)
{
    keyEventsSent += static_cast<long>(inputs.size());
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    WaitUntilIdle();
}

}  // namespace

int PlayInProcess(void (*prepare)(), const std::function<void()>& scenario)
{
    keyEventsSeen = 0;
    keyEventsSent = 0;
    userPrepare = prepare;
    mainWindow = nullptr;
    gameRunning = true;
    std::thread driver([&scenario] {
        // A scenario that never ran must not pass for one that did.
        if (WaitForGameWindow(20000) != nullptr) {
            scenario();
        } else {
            ADD_FAILURE() << "the game's window never appeared";
        }
        CloseEverything();
    });
    const int result = RunIndovina(GetModuleHandleA(nullptr), PrepareGame);
    gameRunning = false;
    driver.join();
    UnhookWindowsHookEx(countingHook);
    countingHook = nullptr;
    DestroyWindow(gameThreadRunner);
    gameThreadRunner = nullptr;
    return result;
}

HWND WaitForGameWindow(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND window = mainWindow;
        if (window != nullptr && IsWindowVisible(window)) {
            WaitUntilIdle();
            return window;
        }
        Sleep(10);
    }
    return nullptr;
}

void WaitUntilIdle()
{
    const DWORD start = GetTickCount();
    while (gameRunning && keyEventsSeen < keyEventsSent && GetTickCount() - start < 5000) Sleep(1);
    HWND window = mainWindow;
    DWORD_PTR ignored = 0;
    if (window != nullptr && IsWindow(window)) {
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    }
}

void PressKey(WORD virtualKey, bool extended)
{
    Send({KeyInput(virtualKey, extended, false), KeyInput(virtualKey, extended, true)});
}

void SendKeyEvents(const std::vector<INPUT>& inputs) { Send(inputs); }

void KeyDown(WORD virtualKey, bool extended) { Send({KeyInput(virtualKey, extended, false)}); }

void KeyUp(WORD virtualKey, bool extended) { Send({KeyInput(virtualKey, extended, true)}); }

void TypeText(const std::string& text)
{
    for (const char c : text) PressKey(static_cast<WORD>(static_cast<unsigned char>(c)));
}

void HoldKey(WORD virtualKey, int repeats)
{
    std::vector<INPUT> inputs;
    for (int i = 0; i <= repeats; ++i) inputs.push_back(KeyInput(virtualKey, false, false));
    inputs.push_back(KeyInput(virtualKey, false, true));
    Send(inputs);
}

void ClickControl(int controlId, int x, int y)
{
    HWND control = GetDlgItem(mainWindow, controlId);
    POINT point{x, y};
    ClientToScreen(control, &point);
    // Absolute coordinates on the primary screen, 0..65535, carried by every event.
    const LONG ax = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    const LONG ay = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    INPUT inputs[3] = {};
    const DWORD flags[3] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = ax;
        inputs[i].mi.dy = ay;
        inputs[i].mi.dwFlags = flags[i] | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    SendInput(3, inputs, sizeof(INPUT));
    // A click reaches the window as hardware input and then as a posted command:
    // give both their turn.
    for (int i = 0; i < 5; ++i) {
        Sleep(20);
        WaitUntilIdle();
    }
}

HWND WaitForMessageBox(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND box = FindWindowA("#32770", kMessageBoxCaption);
        if (box != nullptr && box != mainWindow && IsWindowVisible(box)) return box;
        Sleep(10);
    }
    return nullptr;
}

std::string MessageBoxText(HWND box)
{
    // The box's text is its one static control that holds text (the icon's static,
    // when there is one, holds none).
    std::string text;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM found) -> BOOL {
            char className[16] = {};
            GetClassNameA(child, className, sizeof className);
            char childText[512] = {};
            GetWindowTextA(child, childText, sizeof childText);
            if (lstrcmpiA(className, "Static") == 0 && childText[0] != 0) {
                *reinterpret_cast<std::string*>(found) = childText;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

void CloseMessageBox(HWND box)
{
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    const DWORD start = GetTickCount();
    while (IsWindow(box) && GetTickCount() - start < 5000) Sleep(5);
    WaitUntilIdle();
}

int OpenMessageBoxCount()
{
    int count = 0;
    HWND box = nullptr;
    while ((box = FindWindowExA(nullptr, box, "#32770", kMessageBoxCaption)) != nullptr) {
        if (box != mainWindow && IsWindowVisible(box)) ++count;
    }
    return count;
}

COLORREF ScreenPixel(int controlId, int x, int y) { return ScreenPixel(GetDlgItem(mainWindow, controlId), x, y); }

long KeyEventsSeen() { return keyEventsSeen; }

void RunOnGameThread(const std::function<void()>& work)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(gameThreadRunner, kRunWork, 0, reinterpret_cast<LPARAM>(&work), SMTO_NORMAL, 10000,
                        &ignored);
}

COLORREF SurfacePixel(int controlId, int x, int y)
{
    COLORREF colour = CLR_INVALID;
    RunOnGameThread([&] {
        SelectSurface(mainWindow, controlId);
        colour = ReadPixel(x, y);
    });
    return colour;
}
