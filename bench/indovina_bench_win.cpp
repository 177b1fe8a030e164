// Measures the game against the platform, side by side in one run on one machine, and
// prints a table: the cost of a key from the hook to the field shown against the
// system's EDIT control, a clock tick, the idle CPU share, the start-up against an
// empty window of the same build, and the footprint. The game is played in this
// process through the tests' harness, and started as whole processes.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "base/board_constants.h"
#include "base/gdi_win.h"
#include "game_harness.h"
#include "render/board_layout.h"
#include "timing_win.h"

namespace {

std::string ExecutableFolder()
{
    char path[MAX_PATH] = {};
    const std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return program.substr(0, program.find_last_of("\\/"));
}

bool IsDigitPress(WPARAM wParam, LPARAM lParam) { return wParam >= '0' && wParam <= '9' && (lParam & 0xC0000000) == 0; }

// --- Key to screen: the game's field ------------------------------------------

HHOOK timingHook = nullptr;
std::vector<double> gameKeyTimes;

// Installed after the game's hook, so it is called first: the time around the rest
// of the chain is the game's whole handling of the key, up to the field shown.
LRESULT CALLBACK TimeGameKey(int code, WPARAM wParam, LPARAM lParam)
{
    const bool digitPress = code == HC_ACTION && IsDigitPress(wParam, lParam);
    const double start = Now();
    const LRESULT result = CallNextHookEx(timingHook, code, wParam, lParam);
    if (digitPress) gameKeyTimes.push_back(Now() - start);
    return result;
}

struct GameFigures {
    double keyMedian = 0;
    double tickMedian = 0;       // a tick that draws both panels
    double quietTickMedian = 0;  // a tick whose texts are the ones shown
};

GameFigures MeasureGameInProcess()
{
    GameFigures figures;
    Game game("abcd");
    game.OnGameThread([](Session&) { timingHook = SetWindowsHookExA(WH_KEYBOARD, TimeGameKey, nullptr, GetCurrentThreadId()); });
    // Four digits fill the field; Home and four Deletes empty it again.
    for (int round = 0; round < 100; ++round) game.Do("1234{Home}{Del}{Del}{Del}{Del}");
    game.OnGameThread([](Session&) { UnhookWindowsHookEx(timingHook); });

    std::vector<double> ticks;
    for (int i = 0; i < 500; ++i) {
        const double start = Now();
        AdvanceClocks(100);
        game.OnGameThread([&](Session&) { SendMessageA(game.window, WM_TIMER, kClockTimer, 0); });
        ticks.push_back(Now() - start);
    }
    figures.tickMedian = Median(ticks);
    std::vector<double> quietTicks;
    game.OnGameThread([&](Session&) {
        for (int i = 0; i < 2000; ++i) {
            const double start = Now();
            SendMessageA(game.window, WM_TIMER, kClockTimer, 0);
            quietTicks.push_back(Now() - start);
        }
    });
    figures.quietTickMedian = Median(quietTicks);
    game.Do("{Esc}");
    game.ExitCode();
    figures.keyMedian = Median(gameKeyTimes);
    return figures;
}

// --- Key to screen: the system's EDIT control -----------------------------------

HHOOK editHook = nullptr;
double editKeyArrived = 0;
std::vector<double> editKeyTimes;
std::atomic<long> editCharsHandled{0};

LRESULT CALLBACK NoteEditKey(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && IsDigitPress(wParam, lParam)) editKeyArrived = Now();
    return CallNextHookEx(editHook, code, wParam, lParam);
}

double MeasureEditControl(HFONT font, int width, int height)
{
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, width + 40, height + 40, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_LEFT | ES_AUTOHSCROLL, 20, 20, width, height,
                                host, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SetForegroundWindow(host);
    SetFocus(edit);
    UpdateWindow(host);
    editHook = SetWindowsHookExA(WH_KEYBOARD, NoteEditKey, nullptr, GetCurrentThreadId());

    std::atomic<bool> done{false};
    std::thread typist([&] {
        for (int round = 0; round < 100; ++round) {
            for (const WORD digit : {'1', '2', '3', '4'}) {
                const long before = editCharsHandled;
                std::vector<INPUT> press;
                AddChord(press, {digit});
                SendInput(UINT(press.size()), press.data(), sizeof(INPUT));
                for (int i = 0; i < 500 && editCharsHandled == before; ++i) Sleep(1);
            }
            SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        }
        done = true;
        PostMessageA(host, WM_NULL, 0, 0);
    });
    MSG message{};
    while (!done && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (message.message == WM_CHAR && message.hwnd == edit) {
            // The character is in; the control paints it now, as it would next.
            UpdateWindow(edit);
            editKeyTimes.push_back(Now() - editKeyArrived);
            ++editCharsHandled;
        }
    }
    typist.join();
    UnhookWindowsHookEx(editHook);
    DestroyWindow(host);
    return Median(editKeyTimes);
}

// --- Start-up and footprint of whole processes ----------------------------------

struct ProcessFigures {
    double toVisible = 0;
    std::size_t peakWorkingSet = 0;
    double idleCpuShare = -1;
};

double ProcessCpuSeconds(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

struct FindShown {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindShownWindow(HWND window, LPARAM data)
{
    auto* find = reinterpret_cast<FindShown*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == find->processId && IsWindowVisible(window)) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

ProcessFigures RunProcess(const std::string& exe, const std::string& arguments, double idleSeconds = 0)
{
    ProcessFigures figures;
    std::string commandLine = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = Now();
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        ExecutableFolder().c_str(), &startup, &process)) {
        return figures;
    }
    FindShown find{process.dwProcessId, nullptr};
    while (find.found == nullptr && Now() - start < 20) {
        EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&find));
        if (find.found == nullptr) Sleep(0);
    }
    figures.toVisible = Now() - start;
    Sleep(300);  // let it settle before its footprint is read
    if (idleSeconds > 0) {
        const double cpuBefore = ProcessCpuSeconds(process.hProcess);
        const double wallBefore = Now();
        Sleep(static_cast<DWORD>(idleSeconds * 1000));
        figures.idleCpuShare = (ProcessCpuSeconds(process.hProcess) - cpuBefore) / (Now() - wallBefore);
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters)) {
        figures.peakWorkingSet = counters.PeakWorkingSetSize;
    }
    PostMessageA(find.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return figures;
}

}  // namespace

int main()
{
    SetCurrentDirectoryA(ExecutableFolder().c_str());
    const std::string game = ExecutableFolder() + "\\indovina.exe";
    const std::string empty = ExecutableFolder() + "\\empty_window.exe";

    // The EDIT control first, before any game has run in this process, with the
    // field's face and size: "Lucida console" at 24 points, four columns wide.
    std::fprintf(stderr, "indovina_bench: the EDIT control\n");
    WindowDc screen(nullptr);
    HFONT font = CreateFontA(-MulDiv(24, GetDeviceCaps(screen.dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                             DEFAULT_CHARSET, 0, 0, 0, 0, kFieldFace);
    const double editMedian = MeasureEditControl(font, 80, 40);
    DeleteObject(font);

    std::fprintf(stderr, "indovina_bench: the game in this process\n");
    const GameFigures figures = MeasureGameInProcess();
    std::fprintf(stderr, "indovina_bench: whole processes\n");
    const std::string size = std::to_string(kClientWidth) + " " + std::to_string(kClientHeight);
    const ProcessFigures idle = RunProcess(game, "", 10);  // also warms the caches before timing
    RunProcess(empty, size);
    std::vector<double> gameStarts, emptyStarts;
    std::size_t peak = 0;
    for (int run = 0; run < 9; ++run) {
        const ProcessFigures g = RunProcess(game, "");
        gameStarts.push_back(g.toVisible);
        peak = std::max(peak, g.peakWorkingSet);
        emptyStarts.push_back(RunProcess(empty, size).toVisible);
    }
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    GetFileAttributesExA(game.c_str(), GetFileExInfoStandard, &attributes);
    const double exeBytes = static_cast<double>(attributes.nFileSizeLow);

    const double gameStart = Median(gameStarts);
    const double emptyStart = Median(emptyStarts);
    std::printf("| Figure | Game | Platform yardstick | Ratio | Goal |\n");
    std::printf("| --- | ---: | ---: | ---: | --- |\n");
    std::printf("| Key to screen, a digit into a field (median of %zu) | %.3f ms | %.3f ms (EDIT control, %zu chars) "
                "| %.2f | at most 1.0 |\n",
                gameKeyTimes.size(), figures.keyMedian * 1e3, editMedian * 1e3, editKeyTimes.size(),
                editMedian > 0 ? figures.keyMedian / editMedian : 0.0);
    std::printf("| Clock tick that draws both panels (median of 500, with the harness's round trip) | %.3f ms | | | |\n",
                figures.tickMedian * 1e3);
    std::printf("| Clock tick with nothing new to show (median of 2000) | %.4f ms | | | |\n",
                figures.quietTickMedian * 1e3);
    std::printf("| CPU while idle for 10 s, indovina.exe | %.2f %% of one core | | | under 0.3 %% |\n",
                idle.idleCpuShare * 100);
    std::printf("| Start-up, process start to window visible (median of 9) | %.1f ms | %.1f ms (empty window, same "
                "build) | %.2f | within 1.10 |\n",
                gameStart * 1e3, emptyStart * 1e3, emptyStart > 0 ? gameStart / emptyStart : 0.0);
    std::printf("| Peak working set of indovina.exe | %.1f MiB | | | |\n", static_cast<double>(peak) / 1048576.0);
    std::printf("| Size of indovina.exe (static) | %.0f KiB | | | under 1024 KiB |\n", exeBytes / 1024.0);
    return 0;
}
