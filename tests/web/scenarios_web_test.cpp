// The shared tables (tests/scenarios/games.txt) played against the browser game: the
// built site in headless Chromium, driven by page_bridge.py, which runs this test and
// takes its commands over a pipe: real keys and clicks through WebDriver, and the
// page's scripts to read back the canvases, their names and the boxes. The page runs in its test mode (?test): the
// clocks are the test's, and the clock ticks only when the test says.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>

#include "scenario_runner.h"

namespace {

// The bridge that runs this test (page_bridge.py): its pipes' ends are in WEB_BRIDGE.
struct Bridge {
    const char* ends = std::getenv("WEB_BRIDGE");  // "COMMANDS ANSWERS": the pipes' descriptors
    FILE* to = ends != nullptr ? fdopen(std::atoi(ends), "w") : nullptr;
    FILE* from = ends != nullptr ? fdopen(std::atoi(std::strchr(ends, ' ')), "r") : nullptr;
    std::string Ask(const std::string& command)
    {
        std::string said;
        if (to == nullptr || std::fputs((command + "\n").c_str(), to) < 0 || std::fflush(to) != 0)
            return ADD_FAILURE() << "no bridge: run me through page_bridge.py", "";
        int c = 0;
        while ((c = std::fgetc(from)) != EOF && c != '\n') said += char(c);
        for (std::size_t at; (at = said.find("\\n")) != std::string::npos;) said.replace(at, 2, "\n");
        if (c == EOF || said.starts_with("error")) ADD_FAILURE() << command << ": " << (c == EOF ? "no bridge" : said);
        return said;
    }
    std::string Js(const std::string& expression) { return Ask("js " + expression); }
    // The expression's value once it is true; an error (a failure) after the deadline.
    std::string Poll(const std::string& expression) { return Ask("poll " + expression); }
};
Bridge& bridge = *new Bridge;

std::string Control(int id) { return "document.querySelector(\"[data-id='" + std::to_string(id) + "']\")"; }
class WebGame : public ScenarioGame {
public:
    WebGame(const std::string& secret, const std::string& start)
    {
        const bool own = std::filesystem::exists("q.bmp");  // a player's own images, served as /own/
        bridge.Ask("get " + (own ? std::filesystem::current_path().string() : "-") + " ?test&secret=" + secret +
                   "&start=" + start + (own ? "&images=own/" : ""));
        EXPECT_EQ(bridge.Poll("Indovina.state().ready || Indovina.state().status"), "True");
    }
    void Do(const std::string& steps) override
    {
        for (const Step& step : ParseSteps(steps)) {
            const std::string n = std::to_string(step.number);
            const std::map<Step::Kind, int> clicked{
                {Step::Row, kRowFieldBase}, {Step::Strike, kCrossOutToggleBase}, {Step::Green, kHighlightToggleBase}};
            if (step.kind == Step::Key) bridge.Ask("key " + step.key + " " + n);
            if (step.kind == Step::Tick)
                AdvanceClocks(step.number), bridge.Js("Indovina.advance(" + n + ") || Indovina.tick()");
            if (step.kind == Step::TimeOfDay) SetTimeOfDay(step.number), bridge.Js("Indovina.setTimeOfDay(" + n + ")");
            if (clicked.contains(step.kind))
                bridge.Ask("click [data-id='" + std::to_string(clicked.at(step.kind) + step.number) + "']");
            if (step.kind == Step::OK) OpenBoxText(""), bridge.Ask("click dialog.box:last-of-type button");
            if (step.kind == Step::Close) bridge.Ask("click #close");
        }
    }
    std::string Name(int controlId) override { return bridge.Js(Control(controlId) + ".ariaLabel"); }
    Bitmap Pixels(int controlId) override
    {
        std::istringstream said(bridge.Js(
            "(c => { const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;"
            "let s = c.width + ' ' + c.height + ' '; for (let i = 0; i < d.length; i += 4)"
            "s += ((d[i + 2] << 16 | d[i + 1] << 8 | d[i]) + 0x1000000).toString(16).slice(1); return s; })(" +
            Control(controlId) + ")"));
        Bitmap bitmap;
        std::string hex;
        said >> bitmap.width >> bitmap.height >> hex;
        for (std::size_t i = 0; i + 6 <= hex.size(); i += 6)
            bitmap.pixels.push_back(Colour(std::stoul(hex.substr(i, 6), nullptr, 16)));
        return bitmap;
    }
    // The session as far as the page tells it: its current row and the rows' font sizes.
    void OnGameThread(const std::function<void(Session&)>& work) override
    {
        std::istringstream said(bridge.Js("(s => [+s.ended, s.row, ...s.fonts.slice(1)].join(' '))(Indovina.state())"));
        int ended = 1;
        Session snapshot;
        said >> ended >> snapshot.game.currentAttempt;
        for (int row = 1; row <= kRowCount; ++row) said >> snapshot.game.fieldStyle[row].fontSize;
        if (ended == 0) work(snapshot);
    }
    // The tables' box texts hold no quote.
    std::string OpenBoxText(const std::string& text) override
    {
        return bridge.Poll("Indovina.state().boxes.find(b => b === '" + text + "' || !'" + text + "')");
    }
    int OpenBoxes() override { return std::stoi(bridge.Js("Indovina.state().boxes.length")); }
    int ExitCode() override { return bridge.Poll("Indovina.state().ended") == "True" ? 0 : -1; }
    std::string ProgramFolder() override { return SITE; }
    void Check(const std::string& what, int n, std::string& seen) override  // toggleN: 1 when pressed
    {
        if (what == "toggle") seen = bridge.Js(Control(n) + ".ariaPressed === 'true' ? 1 : 0");
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
