// Whole games as a player plays them, written as tables: the secret, then steps of
// keys, clicks and clock ticks (Game::Do), each followed by what must be seen, in
// words (the surfaces' names, the boxes) or, where only they tell, in pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>  // after windows.h

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "game_harness.h"

namespace {

// The surfaces that told a reader of a new name during the step being checked,
// recorded in the context of the game's thread as each tells it.
std::vector<HWND> renamed, told;
void CALLBACK RecordRename(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD)
{
    if (object == OBJID_CLIENT) renamed.push_back(window);
}

// The ink of a mark's image file beside the tests: the first colour along its middle
// row that is not its corner's, the background.
Colour InkOf(const char* file)
{
    const std::string path = ExecutableFolder() + "\\" + file;
    HBITMAP image = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ original = SelectObject(dc, image);
    BITMAP size{};
    GetObjectA(image, sizeof size, &size);
    Colour ink = GetPixel(dc, 0, 0);
    for (int x = 0; x < size.bmWidth && ink == GetPixel(dc, 0, 0); ++x) ink = GetPixel(dc, x, size.bmHeight / 2);
    SelectObject(dc, original);
    DeleteDC(dc);
    DeleteObject(image);
    return ink;
}
const Colour kSquareInk = InkOf(kSquareImage), kCircleInk = InkOf(kCircleImage);

// Each cell of a row's answer box as a letter: '-' plain, 'Q' a square (its ink in
// the middle), 'C' a circle (its ink, and not the square's); '?' anything else, and
// any cell whose corners are not of the box's colour.
std::string Marks(Game& game, int row)
{
    const Game::Bitmap box = game.Pixels(kAnswerSurfaceBase + row);
    const int cell = box.width / 4, right = cell - 2, low = box.height - 2;
    std::string shown;
    for (int left = 0; left < 4 * cell; left += cell) {
        const auto at = [&](int x, int y) { return box.pixels[std::size_t(y * box.width + left + x)]; };
        std::set<Colour> colours;
        for (int i = 0; i < cell * box.height; ++i) colours.insert(at(i % cell, i / cell));
        const std::set<Colour> plain{kAnswerSurfaceColour}, corners{at(1, 1), at(right, 1), at(1, low), at(right, low)};
        const bool square = at(cell / 2, box.height / 2) == kSquareInk;
        const bool circle = colours.contains(kCircleInk) && !colours.contains(kSquareInk);
        const char mark = colours == plain ? '-' : square ? 'Q' : circle ? 'C' : '?';
        shown += corners == plain ? mark : '?';
    }
    return shown;
}

// The rows whose field shows a colour, as "2 3 4".
std::string RowsShowing(Game& game, Colour colour)
{
    std::string rows;
    for (int row = 1; row <= kRowCount; ++row) {
        const std::vector<Colour> field = game.Pixels(kRowFieldBase + row).pixels;
        if (std::count(field.begin(), field.end(), colour) > 0) rows += (rows.empty() ? "" : " ") + std::to_string(row);
    }
    return rows;
}

// After a step, checks separated by '|', each what=expected:
//   fieldN, answerN, digits, clock, elapsed: the surface's name; toldX: how many new
//   names the surface X (one of those) told during the step;
//   box: a box with that text is open (waited for); lines: the open box's line count;
//   boxes: how many boxes are open; row: the current row; fontN: row N's font size;
//   marksN: row N's answer box in pixels (Marks); strike, green, caret: the rows whose
//   field shows the strike-out's red, the highlight's green, the overwrite caret;
//   same: 1 when the current row's field has the pixels it had before the step;
//   toggleN: 1 when control N is pressed; idealN: 1 when control N is a button of
//   common controls 6 (only they know BCM_GETIDEALSIZE); exit: the game's exit code.
void See(Game& game, const std::string& check, const std::vector<Colour>& before)
{
    const std::size_t equals = check.find('='), digits = check.find_first_of("0123456789");
    const std::string what = check.substr(0, std::min(equals, digits)), expected = check.substr(equals + 1);
    const int n = digits < equals ? std::stoi(check.substr(digits)) : 0;
    const std::map<std::string, int> surfaces = {{"field", kRowFieldBase + n},
                                                 {"answer", kAnswerSurfaceBase + n},
                                                 {"digits", kDigitPanel},
                                                 {"clock", kClockPanel},
                                                 {"elapsed", kElapsedPanel}};
    const std::map<std::string, Colour> inks = {
        {"strike", kCrossOutInk}, {"green", kHighlightInk}, {"caret", kOverwriteCaret}};
    std::string seen = surfaces.contains(what) ? game.Name(surfaces.at(what)) : "(no such check)";
    if (what.starts_with("told") && surfaces.contains(what.substr(4))) {
        HWND surface = GetDlgItem(game.window, surfaces.at(what.substr(4)));
        seen = std::to_string(std::count(told.begin(), told.end(), surface));
    }
    const bool boxCheck = what == "box" || what == "lines";
    const std::string box = boxCheck ? Game::BoxText(game.WaitForBox(what == "box" ? expected : "")) : "";
    if (what == "box") seen = box;
    if (what == "lines") seen = std::to_string(std::count(box.begin(), box.end(), '\n') + 1);
    if (what == "boxes") seen = std::to_string(game.OpenBoxes());
    if (what == "row") seen = std::to_string(game.Row());
    if (what == "exit") seen = std::to_string(game.ExitCode());
    if (what == "marks") seen = Marks(game, n);
    if (inks.contains(what)) seen = RowsShowing(game, inks.at(what));
    if (what == "same") seen = std::to_string(game.Pixels(kRowFieldBase + game.Row()).pixels == before);
    SIZE size{};
    HWND control = GetDlgItem(game.window, n);
    if (what == "toggle") seen = std::to_string(SendMessageA(control, BM_GETCHECK, 0, 0));
    if (what == "ideal") seen = std::to_string(SendMessageA(control, BCM_GETIDEALSIZE, 0, LPARAM(&size)));
    if (what == "font") game.OnGameThread([&] { seen = std::to_string(gameState.fieldStyle[n].fontSize); });
    EXPECT_EQ(seen, expected) << check;
}

// A game: its secret (and after a blank the wall clock's start, when it is not the
// harness's), then its steps, each "keys => checks".
void Play(const std::vector<std::string>& lines)
{
    const std::size_t blank = std::min(lines[0].find(' '), lines[0].size());
    const std::string start = blank < lines[0].size() ? lines[0].substr(blank + 1) : "2026-03-05 10:00:00.000";
    Game game(lines[0].substr(0, blank), start);
    const auto listening = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, GetModuleHandleA(nullptr),
                                           RecordRename, GetCurrentProcessId(), 0, WINEVENT_INCONTEXT);
    for (const std::string& line : std::vector<std::string>(lines.begin() + 1, lines.end())) {
        SCOPED_TRACE(line);
        const std::size_t arrow = line.find(" => ");
        const bool same = line.find("same=") != std::string::npos;
        const std::vector<Colour> before =
            same ? game.Pixels(kRowFieldBase + game.Row()).pixels : std::vector<Colour>{};
        game.OnGameThread([] { renamed.clear(); });
        game.Do(line.substr(0, arrow));
        game.OnGameThread([] { told = std::exchange(renamed, {}); });
        for (std::size_t from = arrow + 4, bar = 0; from <= line.size(); from = bar + 1) {
            bar = std::min(line.find('|', from), line.size());
            See(game, line.substr(from, bar - from), before);
        }
    }
    UnhookWinEvent(listening);
}

std::string Repeat(const std::string& keys, int times) { return times == 0 ? "" : keys + Repeat(keys, times - 1); }

const std::string kBravo = "box=Bravo. Hai indovinato !", kFine = "box=Fine. Il numero era 1234 !";

}  // namespace

TEST(Scenarios, WinsLossesAndTheWaysToSubmit)
{
    Play({"1234",  // a win in row 5
          "5678{Enter} => answer1=nessuna cifra giusta|field1=Tentativo 01: 5 6 7 8|row=2|"
          "digits=03-05-2026, cifre non provate: 0 1 2 3 4 9",
          "9012{Enter} => answer2=2 cerchi|digits=03-05-2026, cifre non provate: 3 4",
          "1243{Enter}4321{Enter} => answer3=2 quadrati, 2 cerchi|answer4=4 cerchi|row=5",
          "1234{Enter} => answer5=4 quadrati|" + kBravo + "|boxes=1", "{OK} => exit=0"});
    Play({"1234",  // lost: Enter, Down and keypad 2 submit, three digits do not
          "567{Enter} => row=1|answer1=|digits=03-05-2026, cifre non provate: 0 1 2 3 4 5 6 7 8 9",
          // The caret is back on the first column, where a digit the row holds is refused.
          "5{End}8{Down} => row=2|answer1=nessuna cifra giusta|field1=Tentativo 01: 5 6 7 8",
          "1567{KP2} => row=3|answer2=1 quadrato",
          Repeat("9056{Enter}", 10) + "9012{Enter} => row=14|answer12=nessuna cifra giusta|answer13=2 cerchi",
          "4321{Enter} => answer14=4 cerchi|" + kFine + "|boxes=1", "{OK} => exit=0"});
    Play({"1234",  // right in row 14: both boxes, in order
          Repeat("5678{Enter}", 13) + "1234{Enter} => answer14=4 quadrati|" + kBravo + "|boxes=1",
          "{OK} => " + kFine + "|boxes=1", "{OK} => exit=0"});
}

TEST(Scenarios, RowsMenuClosingAndKeysThatMustDoNothing)
{
    Play({"1234",  // the author box: keys reach the game while it is open, and its Enter submits
          "{F10}{Down}{Enter} => lines=7|boxes=1|row=1", "5678 => field1=Tentativo 01: 5 6 7 8|boxes=1",
          "{Enter} => boxes=0|row=2|answer1=nessuna cifra giusta",
          "{Row7}{+1000} => row=7|clock=ore 10:00:01, input # 7",
          "95 => field7=Tentativo 07: 9 5|field2=Tentativo 02: vuoto", "{Esc} => exit=0"});
    Play({"1234", "{Close} => exit=0"});
    Play({"1234", "{AltF4} => exit=0"});
    Play({"1234", "1234{Enter} => " + kBravo,  // keys while an end box is open
          "9{Del}{BS}{Ins}8{Down} => boxes=1|field1=Tentativo 01: 1 2 3 4|field2=Tentativo 02: vuoto",
          "{OK} => exit=0"});
    Play({"1234", "1234{F10}{BS} => field1=Tentativo 01: 1 2 4", "{Esc}{Esc} => exit=0"});
}

TEST(Scenarios, ClocksAcrossMidnightAClockChangeAndTheEnd)
{
    Play({"1234 2026-03-05 23:59:59.000", "{+500} => elapsed=0.5 secondi|clock=ore 23:59:59, input # 1",
          "{+1000} => elapsed=1.5 secondi|clock=ore 00:00:00, input # 1",
          "{=01:00:00}{+100} => elapsed=1.6 secondi|clock=ore 01:00:00, input # 1",
          "{=00:59:00}{+100}{+100} => elapsed=1.8 secondi|clock=ore 00:59:00, input # 1",
          "1234{Enter} => " + kBravo + "|digits=03-06-2026, cifre non provate: 0 5 6 7 8 9",
          "{+5000} => elapsed=1.8 secondi|clock=ore 00:59:05, input # 1", "{OK} => exit=0"});
}

TEST(Scenarios, EveryEditorKey)
{
    Play({"abcd", "1234 => field1=Tentativo 01: 1 2 3 4", "{Home}{Del} => field1=Tentativo 01: 2 3 4",
          "{End}{BS} => field1=Tentativo 01: 2 3", "{Home}{Right}{Ins}5 => field1=Tentativo 01: 2 5 3",
          "{Left}{Left}{Ins}6 => field1=Tentativo 01: 6 5 3", "{PgDn}7 => field1=Tentativo 01: 6 5 3",
          "{PgUp}{Home}{Right}{Right}{Right}8 => field1=Tentativo 01: 6 5 3 8",
          "{Ctrl+}{Ctrl+}{Ctrl+}{Ctrl-} => font1=26|field1=Tentativo 01: 6 5 3 8",
          "{Enter} => row=2|answer1=nessuna cifra giusta|font2=24"});
}

// The marks, found beside the program when it is started from another folder (from a
// shortcut elsewhere); the notes' inks in every field; the caret only on the current
// row; a Tab past the end of the line, which changes neither the picture nor the caret.
TEST(Pixels, MarksNotesCaretAndTabPastTheEnd)
{
    EXPECT_GT(kSquareInk >> 8 & 0xFF, std::max(kSquareInk & 0xFF, kSquareInk >> 16)) << "the square is not green";
    EXPECT_GT(kCircleInk >> 16, std::max(kCircleInk & 0xFF, kCircleInk >> 8 & 0xFF)) << "the circle is not blue";
    const auto empty = InScratchFolder();
    Play({"1234", "5678{Enter}9012{Enter}1243{Enter} => marks1=----|marks2=CC--|marks3=QQCC|marks4=----",
          // After a click the caret is on the first column, where a digit shows in the caret's ink.
          "02{Strike2}{Green5} => strike=2 3 4|green=1|caret=4", "{Strike2}{Green5}{Row7} => strike=|green=|caret=7",
          "12 => field7=Tentativo 07: 1 2", "{Tab} => same=1", "3 => field7=Tentativo 07: 1 2 3"});
}

// Once a guess has ended the game, the ending is the one of the row scored,
// whatever row a click makes current while the boxes are open. Key-downs of a held
// key come with the repeat bit set: each is one Backspace.
TEST(PlayerFaults, ClicksOnRowsWhileAnEndBoxIsOpenChangeNoEndingAndAHeldKeyActsOncePerKeyDown)
{
    Play({"abcd", "1234{BS*3} => field1=Tentativo 01: 4"});
    Play({"1234", Repeat("5678{Enter}", 5) + "1234{Enter} => " + kBravo,
          "{Row14}{+100} => row=6|clock=ore 10:00:00, input # 6|boxes=1", "{OK} => boxes=0|exit=0"});
    Play({"1234", Repeat("5678{Enter}", 13) + "1234{Enter} => " + kBravo, "{Row3}{+100} => row=14|boxes=1",
          "{OK} => " + kFine + "|boxes=1", "{OK} => exit=0"});
}

// Ten times a second, a reader that follows name changes would hear nothing else.
TEST(PlayerFaults, TickingClocksTellNoNewNameButAScoredGuessDoes)
{
    Play({"1234", Repeat("{+1000}", 100) + " => toldclock=0|toldelapsed=0|clock=ore 10:01:40, input # 1",
          "{+100} => elapsed=100.1 secondi|toldelapsed=0",
          "1243{Enter} => toldanswer1=1|tolddigits=1|answer1=2 quadrati, 2 cerchi"});
}

// The tests carry the game's manifest: its toggles are buttons of common controls 6,
// which must still latch when clicked.
TEST(Delivery, TogglesOfCommonControls6StillLatch)
{
    Play({"1234", "{Strike3}{Green7} => ideal604=1|ideal708=1|toggle604=1|toggle708=1",
          "{Strike3}{Green7} => toggle604=0|toggle708=0"});
}

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
    const Game::Bitmap help = game.Pixels(kHelpPanel);
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
