// Prints the median time of one information panel and of one answer box with four
// marks, each drawn and shown as the game does it, in microseconds.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "render/answer_marks_win.h"
#include "render/panels_win.h"
#include "render/surface_win.h"

namespace {

constexpr int kInfoId = 112;
constexpr int kAnswerId = 501;
constexpr int kRounds = 1000;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM && PaintSurfaceItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
    return DefWindowProcA(window, message, wParam, lParam);
}

void PumpMessages()
{
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

template <class Draw>
double MedianMicroseconds(Draw draw)
{
    draw(0);  // the first call makes the system's cached objects
    std::vector<double> times;
    times.reserve(kRounds);
    for (int i = 0; i < kRounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        draw(i);
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        if (i % 50 == 0) PumpMessages();
    }
    std::nth_element(times.begin(), times.begin() + kRounds / 2, times.end());
    return times[kRounds / 2];
}

// The marks are read from the current directory: the game's images lie beside us.
void EnterOwnFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    folder.erase(folder.find_last_of("\\/") + 1);
    SetCurrentDirectoryA(folder.c_str());
}

}  // namespace

int main()
{
    EnterOwnFolder();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = "IndovinaRenderBench";
    RegisterClassA(&windowClass);
    HWND host = CreateWindowExA(0, windowClass.lpszClassName, "bench", WS_POPUP | WS_VISIBLE, 20, 20, 400, 120,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
    CreateSurface(host, kInfoId, 0, 0, 130, 40, 0);
    CreateSurface(host, kAnswerId, 0, 50, 4 * 38, 38, 0);
    PumpMessages();

    const double info = MedianMicroseconds([host](int i) {
        DrawInfoPanel(host, kInfoId, " 12:34:" + std::to_string(10 + i % 50) + " ", "input #  3");
    });
    const double marks = MedianMicroseconds([host](int) { DrawAnswerMarks(host, kAnswerId, "QQCC"); });

    std::printf("DrawInfoPanel: %.1f us (median of %d)\n", info, kRounds);
    std::printf("DrawAnswerMarks, four marks: %.1f us (median of %d)\n", marks, kRounds);
    DestroyWindow(host);
    return 0;
}
