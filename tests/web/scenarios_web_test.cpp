// The shared tables (tests/scenarios/games.txt) played against the browser game: the
// built site in headless Chromium, driven by page_bridge.py, which runs this test and
// takes its commands: real keys and clicks through WebDriver (a held key's repeats as
// a held key makes them), the names a screen reader gets from Chromium's
// accessibility tree, and scripts on the page to read back the canvases, the boxes
// and what its live region told. The page runs in its test mode (?test): the clocks
// are the test's, and the clock ticks only when the test says.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include <unistd.h>

#include "scenario_runner.h"

// Asks the bridge that runs this test (page_bridge.py) over the standard input, a
// socket: a command a line, its answer up to a NUL; an error fails the test. "js
// EXPRESSION" is its value, "poll EXPRESSION" its value once true (an error after
// the deadline); an element is a JavaScript expression too.
static std::string Ask(const std::string& command)
{
    std::string line = command + '\n';
    if (write(0, line.data(), line.size()) < 1 || !std::getline(std::cin, line, '\0') || line.starts_with("error"))
        ADD_FAILURE() << command << ": " << (line.empty() ? "no bridge: run me through page_bridge.py" : line);
    return line;
}

static std::string Control(int id) { return "document.querySelector(\"[data-id='" + std::to_string(id) + "']\")"; }

struct WebGame : ScenarioGame {
    // A player's own images are the current folder's, which the bridge serves as all
    // others. Each text the page's live region gets is counted on the canvas it names
    // (told; the first of that name, as the region tells texts, not surfaces), and the
    // last key-down is kept for the bridge to repeat (held).
    WebGame(const std::string& secret, const std::string& start)
    {
        const std::string own = "&images=" + std::filesystem::current_path().string() + "/";
        Ask("get ?test&secret=" + secret + "&start=" + start + (std::filesystem::exists("q.bmp") ? own : ""));
        EXPECT_EQ(Ask("poll Indovina.state().ready || Indovina.state().status"), "True");
        Ask("js new MutationObserver(m => m.forEach(r => r.addedNodes.forEach(p => document.querySelector(`[aria-label="
            "'${p.textContent}']`).told++))).observe($('announcements'), {childList: 1}), addEventListener('keydown', "
            "e => held = {type: 'rawKeyDown', autoRepeat: true, key: e.key, code: e.code, modifiers: 2 * e.ctrlKey})");
    }
    void Do(const std::string& steps) override
    {
        Ask("js document.querySelectorAll('canvas').forEach(c => c.told = 0)");
        for (const Step& step : ParseSteps(steps)) {
            if (step.kind == Step::Key) Ask("key " + step.key + " " + std::to_string(step.number));
            if (step.kind == Step::Tick) Ask("js Indovina.tick(Indovina.advance(" + std::to_string(step.number) + "))");
            if (step.kind == Step::TimeOfDay) Ask("js Indovina.setTimeOfDay(" + std::to_string(step.number) + ")");
            if (step.control != 0) Ask("click " + Control(step.control));
            if (step.kind == Step::OK) Ask("click document.querySelector('dialog.box:last-of-type button')");
            if (step.kind == Step::Close) Ask("click $('close')");
        }
    }
    std::string Name(int controlId) override { return Ask("name " + Control(controlId)); }
    // The canvas's pixels as bytes of red, green, blue and alpha.
    Bitmap Pixels(int controlId) override
    {
        std::istringstream said(Ask(
            "js ((c = " + Control(controlId) +
            ") => [c.width, c.height, ...c.getContext('2d').getImageData(0, 0, c.width, c.height).data].join(' '))()"));
        Bitmap bitmap;
        said >> bitmap.width >> bitmap.height;
        for (Colour r, g, b, a; said >> r >> g >> b >> a;) bitmap.pixels.push_back(r | g << 8 | b << 16);
        return bitmap;
    }
    // The session as far as the page tells it: the rows' font sizes and its current
    // row, which the page no longer has once the game has ended (only a 0).
    void OnGameThread(const std::function<void(Session&)>& work) override
    {
        std::istringstream said(Ask("js (s => [...s.fonts.slice(1), s.row].join(' '))(Indovina.state())"));
        Session snapshot;
        for (FieldStyle& style : snapshot.game.fieldStyle.items) said >> style.fontSize;
        if (said >> snapshot.game.currentAttempt && snapshot.game.currentAttempt > 0) work(snapshot);
    }
    // The tables' box texts hold no quote.
    std::string OpenBoxText(const std::string& text) override
    {
        return Ask("poll Indovina.state().boxes.find(b => b == '" + text + "' || !'" + text + "')");
    }
    int OpenBoxes() override { return std::stoi(Ask("js Indovina.state().boxes.length")); }
    int ExitCode() override { return Ask("poll Indovina.state().ended") == "True" ? 0 : -1; }
    std::string ProgramFolder() override { return SITE; }
    // toggleN: 1 when control N is pressed; toldX: the live region's texts during the
    // step that name surface X.
    void Check(const std::string& what, int n, std::string& seen) override
    {
        if (what == "toggle") seen = Ask("js +(" + Control(n) + ".ariaPressed == 'true')");
        if (what.starts_with("told")) seen = Ask("js " + Control(SurfaceId(what.substr(4), n)) + ".told");
    }
};

class Scenarios : public testing::TestWithParam<std::string> {};
TEST_P(Scenarios, Play)
{
    PlayScenario(GetParam(), "web", [](auto& secret, auto& start) { return std::make_unique<WebGame>(secret, start); });
}
INSTANTIATE_TEST_SUITE_P(Shared, Scenarios, testing::ValuesIn(ScenarioNames()), [](auto& s) { return s.param; });
