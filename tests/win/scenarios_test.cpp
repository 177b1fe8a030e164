// The shared tables (tests/scenarios/games.txt) played against the Win32 game, with
// the checks only Windows can make; then what only the Windows build delivers.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>  // after windows.h

#include <algorithm>
#include <string>
#include <vector>

#include "game_harness.h"

namespace {

// The surfaces that told a reader of a new name during the step being checked,
// recorded in the context of the game's thread as each tells it.
std::vector<HWND> renamed, told;
void CALLBACK RecordRename(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD)
{
    if (object == OBJID_CLIENT) renamed.push_back(window);
}

// The game with what Windows alone can tell of it:
//   toldX: how many new names the surface X (field, answer, digits, clock, elapsed
//   with its number) told during the step; toggleN: 1 when control N is pressed;
//   idealN: 1 when control N is a button of common controls 6 (only they know
//   BCM_GETIDEALSIZE).
class WindowsGame : public Game {
public:
    using Game::Game;
    ~WindowsGame() override { UnhookWinEvent(listening_); }
    void Do(const std::string& steps) override
    {
        OnGameThread([] { renamed.clear(); });
        Game::Do(steps);
        OnGameThread([] { told = std::exchange(renamed, {}); });
    }
    void Check(const std::string& what, int n, std::string& seen) override
    {
        const int surface = what.starts_with("told") ? SurfaceId(what.substr(4), n) : 0;
        if (surface != 0) seen = std::to_string(std::count(told.begin(), told.end(), GetDlgItem(window, surface)));
        SIZE size{};
        HWND control = GetDlgItem(window, n);
        if (what == "toggle") seen = std::to_string(SendMessageA(control, BM_GETCHECK, 0, 0));
        if (what == "ideal") seen = std::to_string(SendMessageA(control, BCM_GETIDEALSIZE, 0, LPARAM(&size)));
    }

private:
    HWINEVENTHOOK listening_ =
        SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, GetModuleHandleA(nullptr), RecordRename,
                        GetCurrentProcessId(), 0, WINEVENT_INCONTEXT);
};

std::unique_ptr<ScenarioGame> StartGame(const std::string& secret, const std::string& start)
{
    return std::make_unique<WindowsGame>(secret, start);
}

}  // namespace

class Scenarios : public testing::TestWithParam<std::string> {};
TEST_P(Scenarios, Play) { PlayScenario(GetParam(), "windows", StartGame); }
INSTANTIATE_TEST_SUITE_P(Shared, Scenarios, testing::ValuesIn(ScenarioNames()),
                         [](const testing::TestParamInfo<std::string>& scenario) { return scenario.param; });

// The rows are laid out from the face that stands in for Lucida Console under Wine
// (scripts/lib/wine.sh): with too tall a cell the last rows and the help text would
// fall below the window.
TEST(Delivery, AllFourteenRowsAndTheHelpTextFitTheWindow)
{
    Game game("1234");
    RECT client{}, box{};  // on the screen
    GetClientRect(game.window, &client);
    MapWindowPoints(game.window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    for (int row = 1; row <= kRowCount; ++row) {
        GetWindowRect(GetDlgItem(game.window, kAnswerSurfaceBase + row), &box);
        EXPECT_LE(box.bottom, client.bottom) << "row " << row;
    }
    // Three sentences of rules, a line each, all three inked above the window's bottom.
    const Bitmap help = game.Pixels(kHelpPanel);
    int lines = 0, lastInked = 0;
    for (int y = 0, inked = 0, above = 0; y < help.height; ++y, above = inked) {
        const auto row = help.pixels.begin() + y * help.width;
        inked = std::find(row, row + help.width, kHelpInkColour) != row + help.width;
        lines += inked && !above ? 1 : 0;
        lastInked = inked ? y : lastInked;
    }
    GetWindowRect(GetDlgItem(game.window, kHelpPanel), &box);
    EXPECT_EQ(lines, 3);
    EXPECT_LT(box.top + lastInked, client.bottom);
}
