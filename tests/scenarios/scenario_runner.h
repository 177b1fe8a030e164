// Whole games as a player plays them, written once as tables (games.txt) and played
// against each front end through a harness of its own: the Win32 game under Wine or
// Windows (tests/win), the GTK game under X (tests/gtk). Portable: a harness brings
// the platform, this file the step language, the checks and the fake clocks.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/session.h"
#include "base/board_constants.h"
#include "game/clock.h"
#include "render/bitmap_file.h"

// A surface's pixels row by row from the top left, each 0x00BBGGRR.
using Bitmap = RgbImage;

// One step of a table's line: "1234{Enter}{BS*3}{+500}{=01:00:00}{Row7}{OK}".
struct Step {
    enum Kind { Key, Tick, TimeOfDay, Row, Strike, Green, OK, Close } kind = Key;
    // Key: a character typed on the main keyboard ("1", "a"), or a key's name: Enter
    // Down KP2 Ins BS Del Left Right Home End PgUp PgDn Tab Esc F10 Space, Ctrl+ and
    // Ctrl- (the left Ctrl with the keypad's + or -), AltF4.
    std::string key;
    // Key: key-downs before the key-up ({BS*3}: held for three); Tick: milliseconds;
    // TimeOfDay: seconds since midnight; Row, Strike, Green: the row or the digit.
    int number = 1;
    int control = 0;  // Row, Strike, Green: the id of the control clicked
};
// The steps of "keys"; an unknown {name} fails the running test.
std::vector<Step> ParseSteps(const std::string& keys);

// What a front end's harness does for the tables. Every wait it makes has a
// deadline that fails the running test.
class ScenarioGame {
public:
    virtual ~ScenarioGame() = default;
    // Plays the steps (ParseSteps) through the display server as a player would
    // and returns once the game has handled them. {+ms} moves both clocks
    // (AdvanceClocks) and delivers one clock tick; {=HH:MM:SS} sets the wall clock's
    // time of day alone; {RowN} clicks row N's field, {StrikeN} and {GreenN} the
    // toggles of digit N; {OK} presses OK in the box that is open; {Close} the
    // window's close box.
    virtual void Do(const std::string& steps) = 0;
    // What a screen reader reads for a surface ("Tentativo 01: 1 2").
    virtual std::string Name(int controlId) = 0;
    virtual Bitmap Pixels(int controlId) = 0;
    // Runs work on the game's thread between two of its events, where the game's
    // session may be read; once the game has ended, nothing is run.
    virtual void OnGameThread(const std::function<void(Session&)>& work) = 0;
    // The text of the open box, of the one with that text when one is given
    // (waited for); "" once the wait has failed.
    virtual std::string OpenBoxText(const std::string& text) = 0;
    virtual int OpenBoxes() = 0;
    virtual int ExitCode() = 0;  // waits for the game to end
    // The folder of the program, where the marks' q.bmp and c.bmp lie.
    virtual std::string ProgramFolder() = 0;
    // A check only this front end can make (see See in scenario_runner.cpp): what it
    // saw, when it knows `what`.
    virtual void Check(const std::string& /*what*/, int /*n*/, std::string& /*seen*/) {}
};

// Starts a game with that secret ("abcd" is never guessed) and the wall clock at
// start ("YYYY-MM-DD HH:MM:SS.mmm", local time), its window shown.
using GameStarter = std::function<std::unique_ptr<ScenarioGame>(const std::string& secret, const std::string& start)>;

// The named scenarios of games.txt, in order.
std::vector<std::string> ScenarioNames();
// Plays every game of the named scenario that runs on this front end ("windows",
// "gtk"), each step followed by its checks; the test is skipped when none does.
void PlayScenario(const std::string& name, const std::string& frontEnd, const GameStarter& start);

// The fake clocks both harnesses give the game: read on the game's thread, moved
// only by the test.
Clocks FakeClocks();
void SetFakeClocks(const std::string& start);  // "YYYY-MM-DD HH:MM:SS.mmm"; steady at 1000 s
void AdvanceClocks(int milliseconds);
void SetTimeOfDay(int seconds);  // keeps the milliseconds

// The control id of a surface as the checks name it: field, answer (with row n),
// digits, clock, elapsed, help; 0 for any other word.
int SurfaceId(const std::string& word, int n);
