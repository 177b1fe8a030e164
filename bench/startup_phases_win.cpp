// Where the game's own start-up time goes: the game runs in this process, from its
// entry to its first picture on the screen, and the shell tells the moments between
// its phases (RunIndovina's startupMark). The last phase, the show and the first painting,
// ends when the game's message loop takes its first message.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/entry_win.h"
#include "base/board_constants.h"
#include "timing_win.h"

namespace {

struct Mark {
    std::string phase;
    double at;
};
std::vector<Mark> marks;
HHOOK loopHook = nullptr;

// Set only once the opening is done, so that it costs nothing before.
LRESULT CALLBACK NoteFirstMessage(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && loopHook != nullptr) {
        marks.push_back({"shown and painted", Now()});
        PostMessageA(FindWindowA(nullptr, kCaption), WM_CLOSE, 0, 0);
        HHOOK hook = loopHook;
        loopHook = nullptr;
        UnhookWindowsHookEx(hook);
        return 0;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void NoteMark(const char* phase)
{
    marks.push_back({phase, Now()});
    if (marks.back().phase.starts_with("every field")) {
        loopHook = SetWindowsHookExA(WH_GETMESSAGE, NoteFirstMessage, nullptr, GetCurrentThreadId());
    }
}

}  // namespace

int main()
{
    constexpr int kWarmUps = 2;  // the first runs load the faces and warm the caches
    constexpr int kRuns = 9;
    std::vector<std::string> phases;
    std::vector<std::vector<double>> spans;
    std::vector<double> totals;
    for (int run = 0; run < kWarmUps + kRuns; ++run) {
        marks.clear();
        marks.push_back({"", Now()});
        RunIndovina(GetModuleHandleA(nullptr), PlatformClocks(), {}, NoteMark);
        if (run < kWarmUps) continue;
        if (phases.empty()) {
            for (std::size_t m = 1; m < marks.size(); ++m) phases.push_back(marks[m].phase);
            spans.resize(phases.size());
        }
        for (std::size_t m = 1; m < marks.size() && m <= phases.size(); ++m) {
            spans[m - 1].push_back(marks[m].at - marks[m - 1].at);
        }
        totals.push_back(marks.back().at - marks.front().at);
    }
    std::printf("| Phase of the game's own start-up (median of %d) | ms |\n| --- | ---: |\n", kRuns);
    for (std::size_t p = 0; p < phases.size(); ++p) std::printf("| %s | %.2f |\n", phases[p].c_str(), Median(spans[p]) * 1e3);
    std::printf("| **entry to the first picture on the screen** | **%.2f** |\n", Median(totals) * 1e3);
    return 0;
}
