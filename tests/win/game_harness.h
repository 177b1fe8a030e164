// Plays the real game inside the calling process, for the Windows tests and the
// benchmark. The game runs RunIndovina on a thread of its own, exactly as
// indovina.exe runs it, with the fake clocks that only the caller moves; the caller
// types and clicks through SendInput (so the keys pass the game's keyboard hook, as
// a player's do) and reads back what the board shows.
//
//     Game game("1234");                   // started, its window shown
//     game.Do("5678{Enter}");              // typed; returns once the game has handled it
//     EXPECT_EQ(game.Name(kAnswerSurfaceBase + 1), "nessuna cifra giusta");
//
// Every wait has a deadline; a wait that runs out fails the running test, saying
// what it waited for. Whatever a test leaves open (a box, the window) is closed when
// the Game goes, so one failure cannot hang the run. One Game at a time.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/board_constants.h"
#include "scenario_runner.h"

// The folder of the running executable, where indovina.exe, q.bmp and c.bmp lie.
std::string ExecutableFolder();

class Game : public ScenarioGame {
public:
    explicit Game(const std::string& secret, const std::string& start = "2026-03-05 10:00:00.000");
    ~Game() override;

    // Keys go in one SendInput, up to a step of another kind, with the scan codes a
    // keyboard sends; a clock tick is a WM_TIMER 20 sent and waited for (the timer's
    // own ticks show the same times); {OK} posts OK to the box that is open.
    void Do(const std::string& steps) override;
    void Tick(int milliseconds = kClockPeriodMs);  // {+milliseconds}
    // A key event with the scan code a keyboard sends, and key events sent in one
    // SendInput call; it returns once the game has handled them.
    static INPUT Key(WORD virtualKey, bool up, bool extended = false);
    void SendKeys(const std::vector<INPUT>& events);

    // The surface's window text, and its picture as the control paints it.
    std::string Name(int controlId) override;
    Bitmap Pixels(int controlId) override;
    std::string ProgramFolder() override { return ExecutableFolder(); }
    void OnGameThread(const std::function<void(Session&)>& work) override;
    std::string OpenBoxText(const std::string& text) override;
    int OpenBoxes() override;
    int ExitCode() override;
    bool Running();
    // toldX: how many new names the surface X (field, answer, digits, clock, elapsed
    // with its number) told a reader that follows events during the last Do;
    // toggleN: 1 when control N is pressed; idealN: 1 when control N is a button of
    // common controls 6 (only they know BCM_GETIDEALSIZE).
    void Check(const std::string& what, int n, std::string& seen) override;

    HWND window = nullptr;

private:
    void Click(int controlId, int x = 4, int y = 4);
    void WaitUntilHandled();
    HANDLE thread_ = nullptr;
};

// Polls until done() holds; fails the test, naming `what`, after the deadline.
bool WaitFor(const std::function<bool()>& done, const std::string& what, DWORD milliseconds = 5000);

// GDI objects the process holds, counted outside the code under test (under Wine
// from the process's GDI handle table, as GetGuiResources answers 0 there).
long GdiObjectCount();
