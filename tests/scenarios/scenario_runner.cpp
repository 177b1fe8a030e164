#include "scenario_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "foreign_images.h"  // kForeign_q, kForeign_c: a PNG and an 8-bit bitmap, made by CMake
#include "game/game_state.h"
#include "render/bitmap_file.h"
#include "scenario_tables.h"  // kScenarioTables: games.txt, made into a string by CMake

namespace {

using namespace std::chrono;

// Local wall time in milliseconds since 1970-01-01, and a steady clock.
std::atomic<std::int64_t> wallMs{0}, steadyMs{0};
constexpr std::int64_t kDayMs = 86400000;

LocalTime FakeLocalTime() { return LocalTimeOfMilliseconds(wallMs.load()); }
double FakeSteadySeconds() { return double(steadyMs.load()) / 1000; }

// A game of a table: "game SECRET [at YYYY-MM-DD HH:MM:SS.mmm] [from an empty folder]
// [only on FRONTEND...]", then its lines of "keys => checks".
struct TableGame {
    std::string secret, start = "2026-03-05 10:00:00.000", only;
    std::string folder;  // "empty", or "own" (a player's own images): the current directory
    std::vector<std::string> lines;
};
struct Tables {
    std::vector<std::string> names;
    std::map<std::string, std::vector<TableGame>> games;
};

// "(5678{Enter})*3 " is the keys in brackets three times over.
std::string Expanded(std::string line)
{
    static const std::regex repeated(R"(\(([^)]*)\)\*(\d+) ?)");
    for (std::smatch m; std::regex_search(line, m, repeated);) {
        std::string keys;
        for (int i = std::stoi(m[2]); i > 0; --i) keys += m[1];
        line.replace(std::size_t(m.position()), std::size_t(m.length()), keys);
    }
    return line;
}

const Tables& ReadTables()
{
    static const Tables tables = [] {
        Tables read;
        std::istringstream text(kScenarioTables);
        for (std::string line; std::getline(text, line);) {
            if (line.empty() || line[0] == '#') continue;
            if (line[0] == '[') {
                read.names.push_back(line.substr(1, line.find(']') - 1));
            } else if (line.starts_with("game ")) {
                TableGame game;
                std::istringstream words(line.substr(5));
                words >> game.secret;
                for (std::string word; words >> word;) {
                    if (word == "at") words >> game.start >> word, game.start += " " + word;
                    if (word == "empty" || word == "own") game.folder = word;
                    if (word == "on") std::getline(words, game.only);
                }
                read.games[read.names.back()].push_back(game);
            } else {
                read.games[read.names.back()].back().lines.push_back(line);
            }
        }
        return read;
    }();
    return tables;
}

// The ink of a mark's image file: the first colour along its middle row that is
// not its corner's, the background.
Colour InkOf(const std::optional<RgbImage>& image)
{
    Colour ink = image ? image->At(0, 0) : 0;
    for (int x = 0; image && x < image->width && ink == image->At(0, 0); ++x) ink = image->At(x, image->height / 2);
    return ink;
}

// Makes a fresh empty folder the current directory until the result goes; then the
// folder goes too.
std::shared_ptr<void> InScratchFolder()
{
    namespace fs = std::filesystem;
    // A name of its own for each run, so that two runs at once do not share one.
    const auto stamp = std::to_string(steady_clock::now().time_since_epoch().count());
    const fs::path previous = fs::current_path(), path = fs::temp_directory_path() / ("indovina-scratch-" + stamp);
    fs::remove_all(path);
    fs::create_directory(path);
    fs::current_path(path);
    std::error_code ignored;
    return {nullptr, [=](void*) mutable { fs::current_path(previous, ignored), fs::remove_all(path, ignored); }};
}

// Each cell of a row's answer box as a letter: '-' plain, 'Q' a square (its ink in
// the middle), 'C' a circle (its ink, and not the square's); '?' anything else, and
// any cell whose corners are not of the box's colour.
std::string Marks(ScenarioGame& game, int row)
{
    const std::string folder = game.ProgramFolder() + "/";
    const Colour squareInk = InkOf(ReadBmpFile(folder + kSquareImage)),
                 circleInk = InkOf(ReadBmpFile(folder + kCircleImage));
    const Bitmap box = game.Pixels(kAnswerSurfaceBase + row);
    const int cell = box.width / 4, right = cell - 2, low = box.height - 2;
    std::string shown;
    for (int left = 0; left < 4 * cell; left += cell) {
        const auto at = [&](int x, int y) { return box.At(left + x, y); };
        std::set<Colour> colours;
        for (int i = 0; i < cell * box.height; ++i) colours.insert(at(i % cell, i / cell));
        const std::set<Colour> plain{kAnswerSurfaceColour}, corners{at(1, 1), at(right, 1), at(1, low), at(right, low)};
        const bool square = at(cell / 2, box.height / 2) == squareInk;
        const bool circle = colours.contains(circleInk) && !colours.contains(squareInk);
        const char mark = colours == plain ? '-' : square ? 'Q' : circle ? 'C' : '?';
        shown += corners == plain ? mark : '?';
    }
    return shown;
}

// The rows whose field shows a colour, as "2 3 4"; with `block`, only in a block
// of 2 x 2 pixels, such as the caret's, which smoothed text makes of no colour.
std::string RowsShowing(ScenarioGame& game, Colour colour, bool block)
{
    std::string rows;
    for (int row = 1; row <= kRowCount; ++row) {
        const Bitmap field = game.Pixels(kRowFieldBase + row);
        const auto is = [&](int i) { return i < int(field.pixels.size()) && field.pixels[std::size_t(i)] == colour; };
        bool shown = false;
        for (int i = 0; i < int(field.pixels.size()) && !shown; ++i) {
            shown =
                is(i) &&
                (!block || (is(i + 1) && is(i + field.width) && is(i + field.width + 1) && (i + 1) % field.width != 0));
        }
        if (shown) rows += (rows.empty() ? "" : " ") + std::to_string(row);
    }
    return rows;
}

// A check after a step, what=expected:
//   fieldN, answerN, digits, clock, elapsed, help: the surface's name;
//   box: a box with that text is open (waited for); lines: the open box's line count;
//   boxes: how many boxes are open; row: the current row; fontN: row N's font size;
//   marksN: row N's answer box in pixels (Marks); strike, green, caret: the rows whose
//   field shows the strike-out's red, the highlight's green, the overwrite caret;
//   exit: the game's exit code; anything else, the front end's own (Check).
void See(ScenarioGame& game, const std::string& check)
{
    const std::size_t equals = check.find('='), digits = check.find_first_of("0123456789");
    const std::string what = check.substr(0, std::min(equals, digits)), expected = check.substr(equals + 1);
    const int n = digits < equals ? std::stoi(check.substr(digits)) : 0;
    const std::map<std::string, Colour> inks = {
        {"strike", kCrossOutInk}, {"green", kHighlightInk}, {"caret", kOverwriteCaret}};
    std::string seen = "(no such check)";
    if (SurfaceId(what, n) != 0) seen = game.Name(SurfaceId(what, n));
    const std::string box = what == "box" || what == "lines" ? game.OpenBoxText(what == "box" ? expected : "") : "";
    if (what == "box") seen = box;
    if (what == "lines") seen = std::to_string(std::count(box.begin(), box.end(), '\n') + 1);
    if (what == "boxes") seen = std::to_string(game.OpenBoxes());
    if (what == "row") game.OnGameThread([&](Session& s) { seen = std::to_string(s.game.currentAttempt); });
    if (what == "font") game.OnGameThread([&](Session& s) { seen = std::to_string(s.game.fieldStyle[n].fontSize); });
    if (what == "exit") seen = std::to_string(game.ExitCode());
    if (what == "marks") seen = Marks(game, n);
    if (inks.contains(what)) seen = RowsShowing(game, inks.at(what), what == "caret");
    game.Check(what, n, seen);
    EXPECT_EQ(seen, expected) << check;
}

void PlayGame(const TableGame& table, const GameStarter& start)
{
    SCOPED_TRACE("game " + table.secret);
    const std::shared_ptr<void> folder = table.folder.empty() ? nullptr : InScratchFolder();
    if (table.folder == "own") {
        const auto write = [](const char* name, const unsigned char* bytes, std::size_t size) {
            std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes), std::streamsize(size));
        };
        write(kSquareImage, kForeign_q, sizeof kForeign_q), write(kCircleImage, kForeign_c, sizeof kForeign_c);
    }
    const std::unique_ptr<ScenarioGame> game = start(table.secret, table.start);
    for (const std::string& line : table.lines) {
        SCOPED_TRACE(line);
        const std::size_t arrow = std::min(line.find(" => "), line.size());
        game->Do(Expanded(line.substr(0, arrow)));
        for (std::size_t from = arrow + 4, bar = 0; from <= line.size(); from = bar + 1) {
            bar = std::min(line.find('|', from), line.size());
            See(*game, line.substr(from, bar - from));
        }
    }
}

}  // namespace

std::vector<Step> ParseSteps(const std::string& keys)
{
    static const std::regex step(
        R"(\{(Enter|Down|KP2|Ins|BS|Del|Left|Right|Home|End|PgUp|PgDn|Tab|Esc|F10|Space|Ctrl\+|Ctrl-|AltF4)(?:\*(\d+))?\})"
        R"(|\{\+(\d+)\}|\{=(\d+):(\d+):(\d+)\}|\{(Row|Strike|Green)(\d+)\}|\{(OK|Close)\}|([^{])|(.+))");
    std::vector<Step> steps;
    for (std::sregex_iterator m(keys.begin(), keys.end(), step), end; m != end; ++m) {
        const std::smatch& g = *m;
        const auto number = [&g](int k) { return std::stoi(g[k]); };
        if (g[1].matched) steps.push_back({Step::Key, g[1], g[2].matched ? number(2) : 1});
        if (g[3].matched) steps.push_back({Step::Tick, "", number(3)});
        if (g[4].matched) steps.push_back({Step::TimeOfDay, "", (number(4) * 60 + number(5)) * 60 + number(6)});
        const Step::Kind click = g[7] == "Row" ? Step::Row : g[7] == "Strike" ? Step::Strike : Step::Green;
        const int first[] = {kRowFieldBase, kCrossOutToggleBase, kHighlightToggleBase};  // by click
        if (g[7].matched) steps.push_back({click, "", number(8), first[click - Step::Row] + number(8)});
        if (g[9].matched) steps.push_back({g[9] == "OK" ? Step::OK : Step::Close, "", 1});
        if (g[10].matched) steps.push_back({Step::Key, g[10]});
        if (g[11].matched) ADD_FAILURE() << "no such step: " << g[11];
    }
    return steps;
}

std::vector<std::string> ScenarioNames() { return ReadTables().names; }

int SurfaceId(const std::string& word, int n)
{
    const std::map<std::string, int> surfaces = {{"field", kRowFieldBase + n},
                                                 {"answer", kAnswerSurfaceBase + n},
                                                 {"digits", kDigitPanel},
                                                 {"clock", kClockPanel},
                                                 {"elapsed", kElapsedPanel},
                                                 {"help", kHelpPanel}};
    return surfaces.contains(word) ? surfaces.at(word) : 0;
}

void PlayScenario(const std::string& name, const std::string& frontEnd, const GameStarter& start)
{
    const auto found = ReadTables().games.find(name);
    ASSERT_NE(found, ReadTables().games.end()) << "no scenario " << name;
    int played = 0;
    for (const TableGame& game : found->second) {
        if (game.only.empty() || (game.only + " ").find(" " + frontEnd + " ") != std::string::npos)
            PlayGame(game, start), ++played;
    }
    if (played == 0) GTEST_SKIP() << "no game of " << name << " runs on " << frontEnd;
}

Clocks FakeClocks() { return {FakeLocalTime, FakeSteadySeconds}; }

void SetFakeClocks(const std::string& start)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
    std::sscanf(start.c_str(), "%d-%d-%d %d:%d:%d.%d", &y, &mo, &d, &h, &mi, &s, &ms);
    const std::int64_t timeOfDay = ((h * 60LL + mi) * 60 + s) * 1000 + ms;
    wallMs = sys_time<milliseconds>{sys_days{year{y} / mo / d}}.time_since_epoch().count() + timeOfDay;
    steadyMs = 1000000;
}

void AdvanceClocks(int milliseconds)
{
    wallMs += milliseconds;
    steadyMs += milliseconds;
}

void SetTimeOfDay(int seconds) { wallMs = wallMs - wallMs % kDayMs + seconds * 1000LL + wallMs % 1000; }
