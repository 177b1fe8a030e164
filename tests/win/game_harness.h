// Plays the real game inside the calling process, for the Windows tests and the
// benchmark. The game runs RunIndovina on a thread of its own, exactly as
// indovina.exe runs it, with the fake clocks that only the caller moves; the caller
// types and clicks through SendInput (so the keys pass the game's keyboard hook, as
// a player's do) and reads back what the board shows.
//
//     Game game("1234");                   // started, its window active
//     game.Do("5678{Enter}");              // typed; returns once the game has handled it
//     EXPECT_EQ(game.Name(kAnswerSurfaceBase + 1), "nessuna cifra giusta");
//
// Every wait has a deadline; a wait that runs out fails the running test, saying
// what it waited for. Whatever a test leaves open (a box, the window) is closed when
// the Game goes, so one failure cannot hang the run. One Game at a time.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "scenario_runner.h"

// A virtual key with this bit is sent as an extended key: the right Ctrl, AltGr.
constexpr int kExtended = KEYEVENTF_EXTENDEDKEY << 8;

// Appends the key events of a chord, with the scan codes a keyboard sends: the keys
// pressed in order, the last one `downs` times (a held key's repeats), then
// released in the reverse order.
void AddChord(std::vector<INPUT>& events, const std::vector<int>& keys, int downs = 1);

// Polls until done() holds; fails the test, naming `what`, after the deadline.
bool WaitFor(const std::function<bool()>& done, const std::string& what, DWORD milliseconds = 5000);

struct Game : ScenarioGame {
    explicit Game(const std::string& secret, const std::string& start = "2026-03-05 10:00:00.000");
    ~Game() override;
    // Keys go in one SendInput, up to a step of another kind; a clock tick is a
    // WM_TIMER (the timer's own ticks show the same times); {OK} is the command of
    // the open box's button.
    void Do(const std::string& steps) override;
    // Sends the input and returns once the game has taken its key events and clicks
    // and has handled what they brought (a box, a toggle's command, the closing).
    void Send(std::vector<INPUT> input);
    std::string Name(int controlId) override;  // the surface's window text
    Bitmap Pixels(int controlId) override;     // as the control paints itself
    std::string ProgramFolder() override { return std::filesystem::path(_pgmptr).parent_path().string(); }
    void OnGameThread(const std::function<void(Session&)>& work) override;
    std::string OpenBoxText(const std::string& text) override;
    int OpenBoxes() override;
    int ExitCode() override;
    // toldX: how many new names surface X told a reader that follows events during
    // the last Do; toggleN: 1 when control N is pressed; idealN: 1 when control N is
    // a button of common controls 6 (only they know BCM_GETIDEALSIZE).
    void Check(const std::string& what, int n, std::string& seen) override;
    bool Running() { return WaitForSingleObject(thread, 0) == WAIT_TIMEOUT; }

    HWND window = nullptr;
    HANDLE thread = nullptr;
};
