#include "game_harness.h"

#include <gtest/gtest.h>
#include <winternl.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <map>

#include "app/entry_win.h"

namespace {

// Made on the game's thread before its window: a window that runs work for
// OnGameThread and counts marks, and hooks that count the input the game takes and
// the names its surfaces tell. The key hook is installed before the game's own,
// which calls the next hook before it acts on a key: once a key is counted, the
// game is handling it.
std::string secret;
Session* session = nullptr;
HWND runner = nullptr;
// The surfaces that told a new name during a Do, and during the last one.
std::vector<HWND> renamed, told;
// Key events and clicks; set `progress` when the input sent has all been seen, or
// a mark: the caller's waits wake on it rather than poll the game, which would
// slow it down.
std::atomic<long> inputSeen{0}, inputSent{0}, marksSeen{0};
const HANDLE progress = CreateEventA(nullptr, FALSE, FALSE, nullptr);
constexpr UINT kRunWork = WM_APP, kMark = WM_APP + 1;

LRESULT CALLBACK RunWork(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kMark) ++marksSeen, SetEvent(progress);
    if (message != kRunWork || session == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return (*reinterpret_cast<const std::function<void(Session&)>*>(lParam))(*session), 0;
}

DWORD WINAPI PlayOnThread(void*)
{
    WNDCLASSA runnerClass{0, RunWork, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "IndovinaHarness"};
    RegisterClassA(&runnerClass);  // fails harmlessly from the second game on
    runner = CreateWindowExA(0, runnerClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const auto countKey = [](int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && ++inputSeen >= inputSent) SetEvent(progress);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    };
    const auto countClick = [](int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && (wParam == WM_LBUTTONUP || wParam == WM_NCLBUTTONUP) && ++inputSeen >= inputSent)
            SetEvent(progress);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    };
    const auto recordRename = [](HWINEVENTHOOK, DWORD, HWND surface, LONG object, LONG, DWORD, DWORD) {
        if (object == OBJID_CLIENT) renamed.push_back(surface);
    };
    const HHOOK keys = SetWindowsHookExA(WH_KEYBOARD, countKey, nullptr, GetCurrentThreadId());
    const HHOOK clicks = SetWindowsHookExA(WH_MOUSE, countClick, nullptr, GetCurrentThreadId());
    const HWINEVENTHOOK names =
        SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, GetModuleHandleA(nullptr), recordRename,
                        GetCurrentProcessId(), 0, WINEVENT_INCONTEXT);
    const int code = RunIndovina(GetModuleHandleA(nullptr), FakeClocks(), [](Session& game) {
        game.game.secret = secret;
        session = &game;
    });
    session = nullptr;
    UnhookWindowsHookEx(keys), UnhookWindowsHookEx(clicks), UnhookWinEvent(names);
    DestroyWindow(runner);
    return DWORD(code);
}

// The program's boxes that are open, each with its text (its control 0xFFFF).
std::map<HWND, std::string> OpenBoxList()
{
    std::map<HWND, std::string> boxes;
    for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", kMessageBoxCaption)) != nullptr;) {
        char text[1024] = {};
        if (IsWindowVisible(box)) boxes[box] = (GetDlgItemTextA(box, 0xFFFF, text, sizeof text), text);
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
    inputSeen = inputSent = 0;
    thread_ = CreateThread(nullptr, 0, PlayOnThread, nullptr, 0, nullptr);
    // Under Wine the window can be the foreground one before its own thread has made
    // it active: keys sent then reach the thread, but Alt+F4 closed nothing.
    bool active = false;
    const auto ready = [&] {
        if ((window = FindWindowA(nullptr, kCaption)) == nullptr || GetForegroundWindow() != window) return false;
        OnGameThread([&](Session&) { renamed.clear(), active = GetActiveWindow() == window && GetFocus(); });
        return active;
    };
    WaitFor(ready, "the game's window to be active on its thread", 20000);
}

Game::~Game()
{
    // Boxes first (the window's close request waits behind them), then the window.
    for (const DWORD start = GetTickCount(); Running() && GetTickCount() - start < 10000;) {
        for (const auto& box : OpenBoxList()) PostMessageA(box.first, WM_COMMAND, IDOK, 0);
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
    WaitFor([this] { return inputSeen >= inputSent || !IsWindow(window); }, "the game to take the input sent");
    // The input has been taken; a message sent now is handled once its handling is
    // done, and one posted then, after what that handling posted (a box, a toggle's
    // command, the window's close request).
    OnGameThread([](Session&) {});
    const long mark = marksSeen + 1;
    const auto settled = [&] { return marksSeen >= mark || !Running(); };
    if (PostMessageA(runner, kMark, 0, 0)) WaitFor(settled, "the game to handle what the input brought");
}

INPUT Game::Key(WORD virtualKey, bool up, bool extended)
{
    // Wine's map has no scan code for the keypad's digits.
    const WORD scan = virtualKey == VK_NUMPAD2 ? 0x50 : WORD(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    return {INPUT_KEYBOARD,
            {.ki = {virtualKey, scan, (extended ? KEYEVENTF_EXTENDEDKEY : 0u) | (up ? KEYEVENTF_KEYUP : 0u), 0, 0}}};
}

void Game::SendKeys(const std::vector<INPUT>& events)
{
    inputSent += long(events.size());
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
            const WORD modifier = step.key.starts_with("Ctrl") ? VK_CONTROL : step.key.starts_with("Alt") ? VK_MENU : 0;
            if (modifier != 0) typed.push_back(Key(modifier, false));
            for (int down = 0; down < step.number; ++down) typed.push_back(Key(key, false, Extended(key)));
            typed.push_back(Key(key, true, Extended(key)));
            if (modifier != 0) typed.push_back(Key(modifier, true));
            continue;
        }
        if (!typed.empty()) SendKeys(std::exchange(typed, {}));
        if (step.kind == Step::Tick) Tick(step.number);
        if (step.kind == Step::TimeOfDay) SetTimeOfDay(step.number);
        if (step.kind == Step::OK && !OpenBoxText("").empty()) {  // a box is open, or the wait fails
            for (const auto& box : OpenBoxList()) PostMessageA(box.first, WM_COMMAND, IDOK, 0);
            WaitUntilHandled();
        }
        const int clicked[] = {kRowFieldBase, kCrossOutToggleBase, kHighlightToggleBase};  // Row, Strike, Green
        if (step.kind >= Step::Row && step.kind <= Step::Green) Click(clicked[step.kind - Step::Row] + step.number);
        if (step.kind == Step::Close) {
            // The middle of the caption's last button, where the window says it is.
            RECT frame{};
            GetWindowRect(window, &frame);
            POINT point{frame.right - GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXSIZE) / 2,
                        frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYSIZE) / 2};
            ScreenToClient(window, &point);
            Click(0, point.x, point.y);
        }
    }
    if (!typed.empty()) SendKeys(typed);
    OnGameThread([](Session&) { told = std::exchange(renamed, {}); });
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
    ++inputSent;
    SendInput(3, inputs, sizeof(INPUT));
    WaitUntilHandled();
}

void Game::Tick(int milliseconds)
{
    AdvanceClocks(milliseconds);
    OnGameThread([this](Session&) { SendMessageA(window, WM_TIMER, kClockTimer, 0); });
}

void Game::OnGameThread(const std::function<void(Session&)>& work)
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

// The surface paints itself into a bitmap of the screen's kind (WM_PRINTCLIENT).
Bitmap Game::Pixels(int controlId)
{
    HWND surface = GetDlgItem(window, controlId);
    RECT r{};
    GetClientRect(surface, &r);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ original = SelectObject(dc, CreateBitmap(r.right, r.bottom, 1, 32, nullptr));
    SendMessageA(surface, WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT);
    Bitmap shown{r.right, r.bottom, {}};
    for (int i = 0; i < r.right * r.bottom; ++i) shown.pixels.push_back(GetPixel(dc, i % r.right, i / r.right));
    DeleteObject(SelectObject(dc, original)), DeleteDC(dc);
    return shown;
}

std::string Game::OpenBoxText(const std::string& text)
{
    std::string found;
    const auto open = [&] {
        for (const auto& box : OpenBoxList()) found = text.empty() || box.second == text ? box.second : found;
        return !found.empty();
    };
    return WaitFor(open, "a message box" + (text.empty() ? "" : " saying \"" + text + "\"")), found;
}

int Game::OpenBoxes() { return int(OpenBoxList().size()); }

void Game::Check(const std::string& what, int n, std::string& seen)
{
    const int surface = what.starts_with("told") ? SurfaceId(what.substr(4), n) : 0;
    if (surface != 0) seen = std::to_string(std::count(told.begin(), told.end(), GetDlgItem(window, surface)));
    SIZE size{};  // BM_GETCHECK takes no argument
    const UINT asked = what == "toggle" ? BM_GETCHECK : what == "ideal" ? BCM_GETIDEALSIZE : 0;
    if (asked != 0) seen = std::to_string(SendDlgItemMessageA(window, n, asked, 0, LPARAM(&size)));
}

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

std::string ExecutableFolder()
{
    char path[MAX_PATH] = {};
    return GetModuleFileNameA(nullptr, path, MAX_PATH), std::filesystem::path(path).parent_path().string();
}
