#include "game_harness.h"

#include <gtest/gtest.h>
#include <psapi.h>
#include <winternl.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <map>

#include "app/entry_win.h"
#include "game/game_state.h"
#include "render/surface_win.h"

namespace {

// Made on the game's thread before its window: the secret, a window that runs work
// for OnGameThread and counts marks, and hooks that count the input the game takes.
// The key hook is installed before the game's own, which calls the next hook before
// it acts on a key: once a key is counted, the game is handling it.
std::string secret;
HWND runner = nullptr;
HHOOK keyCounter = nullptr, mouseCounter = nullptr;
std::atomic<long> keysSeen{0}, keysSent{0}, clicksSeen{0}, marksSeen{0};
// Set when the keys sent have all been seen, a click or a mark: the caller's waits
// wake on it rather than poll the game, which would slow it down.
const HANDLE progress = CreateEventA(nullptr, FALSE, FALSE, nullptr);
constexpr UINT kRunWork = WM_APP, kMark = WM_APP + 1;

LRESULT CALLBACK CountKey(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && ++keysSeen >= keysSent) SetEvent(progress);
    return CallNextHookEx(keyCounter, code, wParam, lParam);
}
LRESULT CALLBACK CountClick(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && (wParam == WM_LBUTTONUP || wParam == WM_NCLBUTTONUP)) ++clicksSeen, SetEvent(progress);
    return CallNextHookEx(mouseCounter, code, wParam, lParam);
}
LRESULT CALLBACK RunWork(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kMark) ++marksSeen, SetEvent(progress);
    if (message != kRunWork) return DefWindowProcA(window, message, wParam, lParam);
    return (*reinterpret_cast<const std::function<void()>*>(lParam))(), 0;
}

void Prepare()
{
    gameState.secret = secret;
    WNDCLASSA runnerClass{};
    runnerClass.lpfnWndProc = RunWork;
    runnerClass.lpszClassName = "IndovinaHarness";
    RegisterClassA(&runnerClass);  // fails harmlessly from the second game on
    runner = CreateWindowExA(0, runnerClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    keyCounter = SetWindowsHookExA(WH_KEYBOARD, CountKey, nullptr, GetCurrentThreadId());
    mouseCounter = SetWindowsHookExA(WH_MOUSE, CountClick, nullptr, GetCurrentThreadId());
}

DWORD WINAPI PlayOnThread(void*)
{
    const int code = RunIndovina(GetModuleHandleA(nullptr), FakeClocks(), Prepare);
    UnhookWindowsHookEx(keyCounter);
    UnhookWindowsHookEx(mouseCounter);
    DestroyWindow(runner);
    return DWORD(code);
}

std::vector<HWND> OpenBoxList(HWND mainWindow)
{
    std::vector<HWND> boxes;
    for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", kMessageBoxCaption)) != nullptr;) {
        if (box != mainWindow && IsWindowVisible(box)) boxes.push_back(box);
    }
    return boxes;
}

// Keys by name; those named after Ctrl or Alt are pressed with it. The grey keys
// from Page Up to Down arrow, Insert and Delete are the extended ones.
const std::map<std::string, WORD> kNamedKeys{
    {"Enter", VK_RETURN}, {"Down", VK_DOWN}, {"KP2", VK_NUMPAD2}, {"Ins", VK_INSERT},    {"BS", VK_BACK},
    {"Del", VK_DELETE},   {"Left", VK_LEFT}, {"Right", VK_RIGHT}, {"Home", VK_HOME},     {"End", VK_END},
    {"PgUp", VK_PRIOR},   {"PgDn", VK_NEXT}, {"Tab", VK_TAB},     {"Esc", VK_ESCAPE},    {"F10", VK_F10},
    {"Space", VK_SPACE},  {"AltF4", VK_F4},  {"Ctrl+", VK_ADD},   {"Ctrl-", VK_SUBTRACT}};
bool Extended(WORD key) { return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE; }

}  // namespace

bool WaitFor(const std::function<bool()>& done, const std::string& what, DWORD milliseconds)
{
    for (const DWORD start = GetTickCount(); !done(); WaitForSingleObject(progress, 20)) {
        if (GetTickCount() - start > milliseconds) return ADD_FAILURE() << "gave up waiting for " << what, false;
    }
    return true;
}

Game::Game(const std::string& gameSecret, const std::string& start)
{
    SetFakeClocks(start);
    secret = gameSecret;
    keysSeen = keysSent = 0;
    thread_ = CreateThread(nullptr, 0, PlayOnThread, nullptr, 0, nullptr);
    const auto shown = [this] { return (window = FindWindowA(nullptr, kCaption)) && GetForegroundWindow() == window; };
    WaitFor(shown, "the game's window to show in the foreground", 20000);
    // Under Wine the window can be the foreground one before its own thread has made
    // it active: keys sent then reach the thread, but Alt+F4 closed nothing (about one
    // run in four on a loaded machine).
    const auto active = [this] {
        return Read<bool>([this] { return GetActiveWindow() == window && GetFocus() != nullptr; });
    };
    WaitFor(active, "the game's window to be active on its thread", 20000);
}

Game::~Game()
{
    // Boxes first (the window's close request waits behind them), then the window.
    for (const DWORD start = GetTickCount(); Running() && GetTickCount() - start < 10000;) {
        for (HWND box : OpenBoxList(window)) PostMessageA(box, WM_COMMAND, IDOK, 0);
        if (IsWindow(window)) PostMessageA(window, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread_, 50);
    }
    EXPECT_FALSE(Running()) << "the game did not end when its boxes and window were closed";
    if (Running()) TerminateThread(thread_, 99);
    CloseHandle(thread_);
}

bool Game::Running() { return WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT; }

int Game::ExitCode()
{
    DWORD code = DWORD(-1);
    if (WaitFor([this] { return !Running(); }, "the game to end", 10000)) GetExitCodeThread(thread_, &code);
    return int(code);
}

void Game::WaitUntilHandled()
{
    WaitFor([this] { return keysSeen >= keysSent || !IsWindow(window); }, "the game to take the keys sent");
    // The input has been taken; a message sent now is handled once its handling is
    // done, and one posted then, after what that handling posted (the end of the
    // game's boxes, a toggle's command, the window's close request).
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(runner, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    const long mark = marksSeen + 1;
    const auto settled = [&] { return marksSeen >= mark || !Running(); };
    if (PostMessageA(runner, kMark, 0, 0)) WaitFor(settled, "the game to handle what the input brought");
}

INPUT Game::Key(WORD virtualKey, bool up, bool extended)
{
    // Wine's map has no scan code for the keypad's digits.
    const WORD scan = virtualKey == VK_NUMPAD2 ? 0x50 : WORD(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    INPUT input{INPUT_KEYBOARD, {}};
    input.ki = {virtualKey, scan, (extended ? KEYEVENTF_EXTENDEDKEY : 0u) | (up ? KEYEVENTF_KEYUP : 0u), 0, 0};
    return input;
}

void Game::SendKeys(const std::vector<INPUT>& events)
{
    keysSent += long(events.size());
    SendInput(UINT(events.size()), const_cast<INPUT*>(events.data()), sizeof(INPUT));
    WaitUntilHandled();
}

void Game::Do(const std::string& steps)
{
    std::vector<INPUT> typed;  // keys go in one SendInput, up to a step of another kind
    for (const Step& step : ParseSteps(steps)) {
        if (step.kind == Step::Key) {
            const auto named = kNamedKeys.find(step.key);
            const WORD key = named != kNamedKeys.end() ? named->second : LOBYTE(VkKeyScanA(step.key[0]));
            const WORD modifier = step.key[0] == 'C' ? VK_CONTROL : step.key[0] == 'A' ? VK_MENU : 0;
            if (named != kNamedKeys.end() && modifier != 0) typed.push_back(Key(modifier, false));
            for (int down = 0; down < step.number; ++down) typed.push_back(Key(key, false, Extended(key)));
            typed.push_back(Key(key, true, Extended(key)));
            if (named != kNamedKeys.end() && modifier != 0) typed.push_back(Key(modifier, true));
            continue;
        }
        if (!typed.empty()) SendKeys(std::exchange(typed, {}));
        if (step.kind == Step::Tick) Tick(step.number);
        if (step.kind == Step::TimeOfDay) SetTimeOfDay(step.number);
        if (step.kind == Step::Row) Click(kRowFieldBase + step.number);
        if (step.kind == Step::Strike) Click(kCrossOutToggleBase + step.number);
        if (step.kind == Step::Green) Click(kHighlightToggleBase + step.number);
        if (step.kind == Step::OK) CloseBox(WaitForBox());
        if (step.kind == Step::Close) {
            // The middle of the caption's last button, where the window says it is.
            RECT frame{};
            GetWindowRect(window, &frame);
            POINT point{frame.right - GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXSIZE) / 2,
                        frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYSIZE) / 2};
            ASSERT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)), HTCLOSE) << "no close box";
            ScreenToClient(window, &point);
            Click(0, point.x, point.y);
        }
    }
    if (!typed.empty()) SendKeys(typed);
}

void Game::Click(int controlId, int x, int y)
{
    POINT at{x, y};
    ClientToScreen(controlId != 0 ? GetDlgItem(window, controlId) : window, &at);
    at.x = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    at.y = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    const DWORD move = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    INPUT inputs[3] = {{INPUT_MOUSE, {{at.x, at.y, 0, move, 0, 0}}},
                       {INPUT_MOUSE, {{at.x, at.y, 0, move | MOUSEEVENTF_LEFTDOWN, 0, 0}}},
                       {INPUT_MOUSE, {{at.x, at.y, 0, move | MOUSEEVENTF_LEFTUP, 0, 0}}}};
    const long before = clicksSeen;
    SendInput(3, inputs, sizeof(INPUT));
    WaitFor([&] { return clicksSeen > before || !IsWindow(window); }, "the game to take a click");
    WaitUntilHandled();
}

void Game::Tick(int milliseconds)
{
    AdvanceClocks(milliseconds);
    DWORD_PTR ignored = 0;
    const bool ticked = SendMessageTimeoutA(window, WM_TIMER, kClockTimer, 0, SMTO_NORMAL, 5000, &ignored);
    EXPECT_TRUE(ticked || !IsWindow(window)) << "a clock tick was not handled within 5 s";
}

void Game::OnGameThread(const std::function<void()>& work)
{
    // A game that has just ended has no thread to run it on: nothing is run.
    DWORD_PTR ignored = 0;
    const bool done = SendMessageTimeoutA(runner, kRunWork, 0, LPARAM(&work), SMTO_NORMAL, 10000, &ignored);
    EXPECT_TRUE(done || GetLastError() != ERROR_TIMEOUT) << "the game's thread did not run the work given in 10 s";
}

std::string Game::Name(int controlId)
{
    char text[2048] = {};
    return GetWindowTextA(GetDlgItem(window, controlId), text, sizeof text), text;
}

Bitmap Game::Pixels(int controlId)
{
    HWND surface = GetDlgItem(window, controlId);
    RECT r{};
    GetClientRect(surface, &r);
    Bitmap bitmap{r.right, r.bottom, {}};
    OnGameThread([&] {
        for (int y = 0; y < r.bottom; ++y) {
            for (int x = 0; x < r.right; ++x) bitmap.pixels.push_back(SurfacePixel(surface, x, y));
        }
    });
    return bitmap;
}

long Game::GdiObjects() { return Read<long>(GdiObjectCount); }
HWND Game::WaitForBox(const std::string& text)
{
    HWND found = nullptr;
    const auto open = [&] {
        for (HWND box : OpenBoxList(window)) found = text.empty() || BoxText(box) == text ? box : found;
        return found != nullptr;
    };
    return WaitFor(open, "a message box" + (text.empty() ? "" : " saying \"" + text + "\"")), found;
}

std::string Game::BoxText(HWND box)
{
    char text[1024] = {};
    return GetDlgItemTextA(box, 0xFFFF, text, sizeof text), text;  // a message box's text is control 0xFFFF
}

void Game::CloseBox(HWND box)
{
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitFor([box] { return !IsWindow(box); }, "a message box to close");
    WaitUntilHandled();
}

int Game::OpenBoxes() { return int(OpenBoxList(window).size()); }

// Under Wine, the live entries of the process's GDI handle table, which the 64-bit
// PEB points to at 0xF8 (GdiSharedHandleTable, past its documented part): 0x10000
// entries of 24 bytes, whose type byte (offset 14) is 0 when the entry is free.
long GdiObjectCount()
{
    if (const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return long(reported);
    using Query = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return -1;
    const unsigned char* table = nullptr;
    std::memcpy(&table, reinterpret_cast<const unsigned char*>(basic.PebBaseAddress) + 0xF8, sizeof table);
    long live = 0;
    for (std::size_t i = 0; table != nullptr && i < 0x10000; ++i) live += table[i * 24 + 14] != 0 ? 1 : 0;
    return table != nullptr ? live : -1;
}

std::size_t PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    // Wine leaves PrivateUsage at 0; its commit charge is the same figure.
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

std::string ExecutableFolder()
{
    char path[MAX_PATH] = {};
    return GetModuleFileNameA(nullptr, path, MAX_PATH), std::filesystem::path(path).parent_path().string();
}
