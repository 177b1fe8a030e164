// The shared tables (tests/scenarios/games.txt) played against the browser game: the
// built site in headless Chromium, driven by page_bridge.py, which runs this test and
// takes its commands over a pipe: real keys and clicks through WebDriver, and the
// page's scripts to read back the canvases, their names and the boxes. The page runs
// in its test mode (?test): the clocks are the test's, and the clock ticks only when
// the test says.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "scenario_runner.h"

namespace {

// Asks the bridge that runs this test (page_bridge.py), which reads the pipe named in
// WEB_BRIDGE and answers on the standard input; its "\n" are new lines again, and an
// error fails the test. "js EXPRESSION" is its value, "poll EXPRESSION" its value once
// true (an error after the deadline).
std::string Ask(const std::string& command)
{
    static const char* const commands = std::getenv("WEB_BRIDGE");
    static std::ofstream toBridge(std::string("/dev/fd/") + (commands != nullptr ? commands : "none"));
    std::string said;
    if (!(toBridge << command << std::endl) || !std::getline(std::cin, said))
        return ADD_FAILURE() << command << ": no bridge: run me through page_bridge.py", "";
    for (std::size_t at; (at = said.find("\\n")) != std::string::npos;) said.replace(at, 2, "\n");
    if (said.starts_with("error")) ADD_FAILURE() << command << ": " << said;
    return said;
}

std::string Selector(int id) { return "[data-id='" + std::to_string(id) + "']"; }
std::string Control(int id) { return "document.querySelector(\"" + Selector(id) + "\")"; }

class WebGame : public ScenarioGame {
public:
    // A player's own images are the current folder's, which the bridge serves as all others.
    WebGame(const std::string& secret, const std::string& start)
    {
        const std::string folder = std::filesystem::current_path().string() + "/";
        const bool own = std::filesystem::exists("q.bmp");
        Ask("get ?test&secret=" + secret + "&start=" + start + (own ? "&images=" + folder : ""));
        EXPECT_EQ(Ask("poll Indovina.state().ready || Indovina.state().status"), "True");
    }
    void Do(const std::string& steps) override
    {
        const std::map<Step::Kind, int> clicked{
            {Step::Row, kRowFieldBase}, {Step::Strike, kCrossOutToggleBase}, {Step::Green, kHighlightToggleBase}};
        for (const Step& step : ParseSteps(steps)) {
            const std::string n = std::to_string(step.number);
            if (step.kind == Step::Key) Ask("key " + step.key + " " + n);
            const std::string tick = "js Indovina.advance(" + n + ") || Indovina.tick()";
            if (step.kind == Step::Tick) AdvanceClocks(step.number), Ask(tick);
            if (step.kind == Step::TimeOfDay) SetTimeOfDay(step.number), Ask("js Indovina.setTimeOfDay(" + n + ")");
            if (clicked.contains(step.kind)) Ask("click " + Selector(clicked.at(step.kind) + step.number));
            if (step.kind == Step::OK) OpenBoxText(""), Ask("click dialog.box:last-of-type button");
            if (step.kind == Step::Close) Ask("click #close");
        }
    }
    std::string Name(int controlId) override { return Ask("js " + Control(controlId) + ".ariaLabel"); }
    // Each pixel a little-endian RGBA word: its low three bytes are 0x00BBGGRR.
    Bitmap Pixels(int controlId) override
    {
        std::istringstream said(Ask("js (c => [c.width, c.height, ...new Uint32Array(c.getContext('2d')"
            ".getImageData(0, 0, c.width, c.height).data.buffer).map(p => p & 0xFFFFFF)].join(' '))(" +
            Control(controlId) + ")"));
        Bitmap bitmap;
        said >> bitmap.width >> bitmap.height;
        for (Colour pixel = 0; said >> pixel;) bitmap.pixels.push_back(pixel);
        return bitmap;
    }
    // The session as far as the page tells it: its current row and the rows' font sizes.
    void OnGameThread(const std::function<void(Session&)>& work) override
    {
        std::istringstream said(Ask("js (s => [+s.ended, s.row, ...s.fonts.slice(1)].join(' '))(Indovina.state())"));
        int ended = 1;
        Session snapshot;
        said >> ended >> snapshot.game.currentAttempt;
        for (int row = 1; row <= kRowCount; ++row) said >> snapshot.game.fieldStyle[row].fontSize;
        if (ended == 0) work(snapshot);
    }
    // The tables' box texts hold no quote.
    std::string OpenBoxText(const std::string& text) override
    {
        return Ask("poll Indovina.state().boxes.find(b => b === '" + text + "' || !'" + text + "')");
    }
    int OpenBoxes() override { return std::stoi(Ask("js Indovina.state().boxes.length")); }
    int ExitCode() override { return Ask("poll Indovina.state().ended") == "True" ? 0 : -1; }
    std::string ProgramFolder() override { return SITE; }
    void Check(const std::string& what, int n, std::string& seen) override  // toggleN: 1 when pressed
    {
        if (what == "toggle") seen = Ask("js " + Control(n) + ".ariaPressed === 'true' ? 1 : 0");
    }
};

}  // namespace

class Scenarios : public testing::TestWithParam<std::string> {};
TEST_P(Scenarios, Play)
{
    PlayScenario(GetParam(), "web", [](const std::string& secret, const std::string& start) {
        return std::make_unique<WebGame>(secret, start);
    });
}
INSTANTIATE_TEST_SUITE_P(Shared, Scenarios, testing::ValuesIn(ScenarioNames()),
                         [](const testing::TestParamInfo<std::string>& scenario) { return scenario.param; });
