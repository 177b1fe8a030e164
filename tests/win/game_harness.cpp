#include "game_harness.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <map>

#include "app/entry_win.h"

namespace {

using Work = std::function<void(Session&)>;
std::string secret;
Session* session = nullptr;
std::vector<HWND> renamed, told;      // the surfaces that told a new name during a Do, and during the last one
std::atomic<long> sent{0}, taken{0};  // key events and clicks sent, and taken by the game's thread
constexpr UINT kRunWork = WM_APP + 0x3FFF;

// Sees every message the game's thread takes from its queue, in any loop (its own,
// a menu's, a box's), after the game's own keyboard hook has acted on it: counts
// the input and runs the work posted to the thread.
LRESULT CALLBACK Watch(int code, WPARAM removed, LPARAM lParam)
{
    const MSG& message = *reinterpret_cast<const MSG*>(lParam);
    const UINT input[] = {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_LBUTTONUP, WM_NCLBUTTONUP};
    const bool takes = code == HC_ACTION && removed == PM_REMOVE;
    if (takes) taken += std::ranges::count(input, message.message);
    if (takes && message.message == kRunWork) (*reinterpret_cast<Work*>(message.lParam))(*session);
    return CallNextHookEx(nullptr, code, removed, lParam);
}

// The game's thread, with hooks that go with it.
DWORD WINAPI PlayOnThread(void*)
{
    const auto recordRename = [](HWINEVENTHOOK, DWORD, HWND surface, LONG object, LONG, DWORD, DWORD) {
        if (object == OBJID_CLIENT) renamed.push_back(surface);
    };
    SetWindowsHookExA(WH_GETMESSAGE, Watch, nullptr, GetCurrentThreadId());
    SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, GetModuleHandleA(nullptr), recordRename,
                    GetCurrentProcessId(), GetCurrentThreadId(), WINEVENT_INCONTEXT);
    return DWORD(RunIndovina(GetModuleHandleA(nullptr), FakeClocks(),
                             [](Session& game) { game.game.secret = secret, session = &game; }));
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

// Keys by name; those named after Ctrl or Alt are pressed with it.
const std::map<std::string, int> kNamedKeys{
    {"Enter", VK_RETURN}, {"Down", VK_DOWN}, {"KP2", VK_NUMPAD2}, {"Ins", VK_INSERT},    {"BS", VK_BACK},
    {"Del", VK_DELETE},   {"Left", VK_LEFT}, {"Right", VK_RIGHT}, {"Home", VK_HOME},     {"End", VK_END},
    {"PgUp", VK_PRIOR},   {"PgDn", VK_NEXT}, {"Tab", VK_TAB},     {"Esc", VK_ESCAPE},    {"F10", VK_F10},
    {"Space", VK_SPACE},  {"AltF4", VK_F4},  {"Ctrl+", VK_ADD},   {"Ctrl-", VK_SUBTRACT}};

}  // namespace

void AddChord(std::vector<INPUT>& events, const std::vector<int>& keys, int downs)
{
    const auto add = [&](int key, DWORD up) {
        // Wine's map has no scan code for the keypad's digits.
        // kExtended, shifted down, is KEYEVENTF_EXTENDEDKEY.
        const WORD vk = key & 0xFF, scan = vk == VK_NUMPAD2 ? 0x50 : MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
        events.push_back({INPUT_KEYBOARD, {.ki = {vk, scan, DWORD(key >> 8) | up, 0, 0}}});
    };
    for (const int key : keys) add(key, 0);
    for (int repeat = 1; repeat < downs; ++repeat) add(keys.back(), 0);
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) add(*key, KEYEVENTF_KEYUP);
}

bool WaitFor(const std::function<bool()>& done, const std::string& what, DWORD milliseconds)
{
    for (const DWORD start = GetTickCount(); !done(); Sleep(1))
        if (GetTickCount() - start > milliseconds) return ADD_FAILURE() << "gave up waiting for " << what, false;
    return true;
}

Game::Game(const std::string& gameSecret, const std::string& start)
{
    SetFakeClocks(start);
    secret = gameSecret, sent = taken = 0;
    thread = CreateThread(nullptr, 0, PlayOnThread, nullptr, 0, nullptr);
    // Under Wine the window can be the foreground one before its own thread has made
    // it active: keys sent then reach the thread, but Alt+F4 closed nothing.
    const auto ready = [this] {
        bool active = false;
        if ((window = FindWindowA(nullptr, kCaption)) != nullptr && GetForegroundWindow() == window)
            OnGameThread([&](Session&) { renamed.clear(), active = GetActiveWindow() == window && GetFocus(); });
        return active;
    };
    WaitFor(ready, "the game's window to be active on its thread", 20000);
}

Game::~Game()
{
    // Boxes first (the window's close request waits behind them), then the window.
    const auto ended = [this] {
        for (const auto& box : OpenBoxList()) PostMessageA(box.first, WM_COMMAND, IDOK, 0);
        return PostMessageA(window, WM_CLOSE, 0, 0), WaitForSingleObject(thread, 50) != WAIT_TIMEOUT;
    };
    if (!WaitFor(ended, "the game to end once its boxes and window were closed", 10000)) TerminateThread(thread, 99);
    CloseHandle(thread);
}

int Game::ExitCode()
{
    DWORD code = 0;  // STILL_ACTIVE when the wait fails
    WaitFor([this] { return !Running(); }, "the game to end", 10000);
    return GetExitCodeThread(thread, &code), int(code);
}

void Game::Send(std::vector<INPUT> input)
{
    for (const INPUT& event : input) sent += event.type == INPUT_KEYBOARD || (event.mi.dwFlags & MOUSEEVENTF_LEFTUP);
    SendInput(UINT(input.size()), input.data(), sizeof(INPUT));
    WaitFor([this] { return taken >= sent || !Running(); }, "the game to take the input sent");
    // Work posted now runs once the last event has been handled, and work posted
    // then, after what that handling posted (a box, a toggle's command, the closing).
    OnGameThread([](Session&) {}), OnGameThread([](Session&) {});
}

void Game::Do(const std::string& steps)
{
    std::vector<INPUT> typed;
    for (const Step& step : ParseSteps(steps)) {
        const int key = kNamedKeys.contains(step.key) ? kNamedKeys.at(step.key) : VkKeyScanA(step.key[0]) & 0xFF;
        const int held = step.key.starts_with("Ctrl") ? VK_CONTROL : step.key.starts_with("Alt") ? VK_MENU : 0;
        if (step.kind == Step::Key)
            AddChord(typed, held != 0 ? std::vector{held, key} : std::vector{key}, step.number);
        else if (!typed.empty())
            Send(std::exchange(typed, {}));  // keys go in one SendInput, up to a step of another kind
        if (step.kind == Step::Tick) AdvanceClocks(step.number), PostMessageA(window, WM_TIMER, kClockTimer, 0);
        if (step.kind == Step::TimeOfDay) SetTimeOfDay(step.number);
        if (step.kind == Step::OK && !OpenBoxText("").empty())  // a box is open, or the wait fails
            for (const auto& box : OpenBoxList()) PostMessageA(box.first, WM_COMMAND, IDOK, 0);
        // A click near a control's top left corner, or in the middle of the caption's
        // last button, where the window says it is.
        const bool close = step.kind == Step::Close;
        if (RECT r{}; close || step.control != 0) {
            GetWindowRect(close ? window : GetDlgItem(window, step.control), &r);
            const int x = close ? r.right - GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXSIZE) / 2 : r.left + 4;
            const int y = close ? r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYSIZE) / 2 : r.top + 4;
            const LONG dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
            const LONG dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
            const DWORD at = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
            typed = {{INPUT_MOUSE, {.mi = {dx, dy, 0, at | MOUSEEVENTF_LEFTDOWN, 0, 0}}},
                     {INPUT_MOUSE, {.mi = {dx, dy, 0, at | MOUSEEVENTF_LEFTUP, 0, 0}}}};
        }
        if (step.kind != Step::Key) Send(std::exchange(typed, {}));  // a click, or none
    }
    if (!typed.empty()) Send(typed);
    OnGameThread([](Session&) { told = std::exchange(renamed, {}); });
}

void Game::OnGameThread(const std::function<void(Session&)>& work)
{
    // A game that has ended has no thread to run it on: nothing is run.
    std::atomic<bool> ran = false;
    Work run = [&](Session& s) { work(s), ran = true; };
    if (PostThreadMessageA(GetThreadId(thread), kRunWork, 0, LPARAM(&run)))
        WaitFor([&] { return ran || !Running(); }, "the game's thread to run the work given");
}

std::string Game::Name(int controlId)
{
    char text[2048] = {};
    return GetWindowTextA(GetDlgItem(window, controlId), text, sizeof text), text;
}

// The surface paints itself into a bitmap of the screen's kind (WM_PRINTCLIENT).
Bitmap Game::Pixels(int controlId)
{
    RECT r{};
    GetClientRect(GetDlgItem(window, controlId), &r);
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ original = SelectObject(dc, CreateBitmap(r.right, r.bottom, 1, 32, nullptr));
    SendDlgItemMessageA(window, controlId, WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT);
    Bitmap shown{r.right, r.bottom, {}};
    for (int i = 0; i < r.right * r.bottom; ++i) shown.pixels.push_back(GetPixel(dc, i % r.right, i / r.right));
    return DeleteObject(SelectObject(dc, original)), DeleteDC(dc), shown;
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
    if (surface != 0) seen = std::to_string(std::ranges::count(told, GetDlgItem(window, surface)));
    SIZE size{};  // BM_GETCHECK takes no argument
    const UINT asked = what == "toggle" ? BM_GETCHECK : what == "ideal" ? BCM_GETIDEALSIZE : 0;
    if (asked != 0) seen = std::to_string(SendDlgItemMessageA(window, n, asked, 0, LPARAM(&size)));
}
