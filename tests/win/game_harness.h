// Plays the real game inside the calling process, for the Windows tests and the
// benchmark. The game runs RunIndovina on a thread of its own, exactly as
// indovina.exe runs it, with a fake wall clock and a fake steady clock that only the
// caller moves; the caller types and clicks through SendInput (so the keys pass the
// game's keyboard hook, as a player's do) and reads back what the board shows.
//
//     Game game("1234");                   // started, its window shown
//     game.Do("5678{Enter}");              // typed; returns once the game has handled it
//     EXPECT_EQ(game.Name(kAnswerSurfaceBase + 1), "nessuna cifra giusta");
//     game.Do("1234{Enter}");
//     game.CloseBox(game.WaitForBox("Bravo. Hai indovinato !"));
//     EXPECT_EQ(game.ExitCode(), 0);
//
// Every wait has a deadline; a wait that runs out fails the running test, saying
// what it waited for. Whatever a test leaves open (a box, the window) is closed when
// the Game goes, so one failure cannot hang the run. One Game at a time.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/board.h"
#include "scenario_runner.h"

// The folder of the running executable, where indovina.exe, q.bmp and c.bmp lie.
std::string ExecutableFolder();

class Game : public ScenarioGame {
public:
    // Starts a game whose secret is `secret` ("abcd" is never guessed, so such a
    // game ends only in row 14), with the wall clock at `start`
    // ("YYYY-MM-DD HH:MM:SS.mmm", local time), and waits for its window.
    explicit Game(const std::string& secret, const std::string& start = "2026-03-05 10:00:00.000");
    ~Game() override;

    // Plays steps in order (ParseSteps) and returns once the game has handled them.
    // Keys go in one SendInput, up to a step of another kind, with the scan codes a
    // keyboard sends; a clock tick is a WM_TIMER 20 sent and waited for (the timer's
    // own ticks show the same times); {OK} posts OK to the box that is open.
    void Do(const std::string& steps) override;
    // {+milliseconds}: moves both clocks, then delivers one clock tick and waits for it.
    void Tick(int milliseconds = kClockPeriodMs);
    // A key event with the scan code a keyboard sends, for SendInput.
    static INPUT Key(WORD virtualKey, bool up, bool extended = false);

    // What a screen reader reads for a surface: its window text ("Tentativo 01: 1 2").
    std::string Name(int controlId) override;
    // A surface's bitmap, read with SurfacePixel on the game's thread.
    Bitmap Pixels(int controlId) override;
    std::string ProgramFolder() override { return ExecutableFolder(); }
    // GdiObjectCount(), taken on the game's thread between two messages, so no
    // drawing is half done.
    long GdiObjects();
    // Runs work on the game's thread between two of its messages: the game's own
    // records (gameState, shell) may be read there without a race. Once the game
    // has ended, nothing is run.
    void OnGameThread(const std::function<void()>& work) override;

    // The program's message box that is open, with that text when one is given.
    HWND WaitForBox(const std::string& text = "");
    static std::string BoxText(HWND box);
    void CloseBox(HWND box);  // its OK button
    std::string OpenBoxText(const std::string& text) override { return BoxText(WaitForBox(text)); }
    int OpenBoxes() override;
    // Waits for the game to end; what RunIndovina returned.
    int ExitCode() override;
    bool Running();

    HWND window = nullptr;

private:
    template <class T>
    T Read(const std::function<T()>& read)
    {
        T value{};
        return OnGameThread([&] { value = read(); }), value;
    }
    // Key events in one SendInput call, with the scan codes a keyboard sends.
    void SendKeys(const std::vector<INPUT>& events);
    // A left click at (x, y) of a control of the main window (0: of the window).
    void Click(int controlId, int x = 4, int y = 4);
    void WaitUntilHandled();
    HANDLE thread_ = nullptr;
};

// Polls until done() holds; fails the test, naming `what`, after the deadline.
bool WaitFor(const std::function<bool()>& done, const std::string& what, DWORD milliseconds = 5000);

// GDI objects the process holds, counted outside the code under test (under Wine
// from the process's GDI handle table, as GetGuiResources answers 0 there).
long GdiObjectCount();
// Memory the process alone has committed.
std::size_t PrivateBytes();
