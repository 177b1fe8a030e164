// The session with no platform under it: a front end that keeps what the session
// asks of it (the surfaces drawn and the names they told, the boxes, the end of the
// window), played by the shared tables as the front end "session" and by the cases
// that need a look inside. Its face is fixed-pitch, 19 by 38 pixels at 24 points,
// so a field of 76 by 38 holds 4 columns and 1 line.
#pragma once

#include <gtest/gtest.h>

#include <map>

#include "scenario_runner.h"

struct SessionGame : ScenarioGame {
    Session session;
    GameState& game = session.game;
    std::vector<int> drawn;  // the surfaces drawn during the last Do, in order
    std::map<int, int> told;  // how many new names each of them told then
    std::map<int, std::string> names;  // what each surface last told
    std::vector<std::pair<std::string, std::function<void()>>> boxes;  // those open, oldest first
    int closes = 0;
    std::function<int(int)> cellWidth = [](int points) { return (19 * points + 23) / 24; };

    explicit SessionGame(const std::string& secret, const std::string& start = "2026-03-05 10:00:00.000")
    {
        SetFakeClocks(start);
        FrontEnd front{.draw = [this](int id, const Picture& picture) {
                           const std::string before = std::exchange(names[id], picture.name);
                           drawn.push_back(id);
                           told[id] += picture.nameEvent == NameEvent::Always ||
                                       (picture.nameEvent == NameEvent::WhenChanged && picture.name != before);
                       },
            .measure = {[](const FontSpec&, const std::string& t) { return PixelSize{8 * int(t.size()), 16}; },
                        [this](const FontSpec& f) { return FontCell{cellWidth(f.size), (38 * f.size + 23) / 24}; }},
            .showBox = [this](const std::string& text, auto closed) { boxes.emplace_back(text, closed); },
            .closeWindow = [this] { ++closes; },
            .clocks = FakeClocks()};
        PrepareSession(session, front);
        game.secret = secret;
        OpenBoard(session);
    }
    void Do(const std::string& steps) override
    {
        using P = KeyPosition;
        static const std::map<std::string, GameKey> named{{"Enter", {P::Enter, '\r'}}, {"Down", {P::Down}},
            {"KP2", {P::Down, '2'}}, {"Ins", {P::Insert}}, {"BS", {P::Backspace}}, {"Del", {P::Delete}},
            {"Left", {P::Left}}, {"Right", {P::Right}}, {"Home", {P::Home}}, {"End", {P::End}}, {"PgUp", {P::PageUp}},
            {"PgDn", {P::PageDown}}, {"Tab", {P::Tab}}, {"Esc", {P::Escape, 27}}, {"Ctrl+", {P::KeypadPlus, '+', true}},
            {"Ctrl-", {P::KeypadMinus, '-', true}}};
        drawn.clear(), told.clear();
        for (const Step& step : ParseSteps(steps)) {
            const GameKey key = named.contains(step.key) ? named.at(step.key) : GameKey{P::Other, step.key[0]};
            for (int down = 0; step.kind == Step::Key && down < step.number; ++down) PressKey(session, key);
            if (step.kind == Step::Key) WindowKey(session, key);
            if (step.kind == Step::Tick) AdvanceClocks(step.number), ClockTicked(session);
            if (step.kind == Step::TimeOfDay) SetTimeOfDay(step.number);
            if (step.kind == Step::Row) RowClicked(session, step.number);
            const auto& notes = step.kind == Step::Strike ? session.notes.crossedOut : session.notes.highlighted;
            if (step.kind == Step::Strike || step.kind == Step::Green) NoteToggled(session, step.control, !notes[step.number]);
            if (step.kind == Step::OK && !boxes.empty()) {
                const auto closed = boxes.front().second;
                boxes.erase(boxes.begin()), closed();
            }
            if (step.kind == Step::Close) CloseAsked(session);
        }
    }
    std::string Name(int id) override { return session.shown[id].name; }
    Bitmap Pixels(int) override { return {}; }
    void OnGameThread(const std::function<void(Session&)>& work) override { work(session); }
    std::string OpenBoxText(const std::string& text) override
    {
        return boxes.empty() || (!text.empty() && boxes.front().first != text) ? "" : boxes.front().first;
    }
    int OpenBoxes() override { return int(boxes.size()); }
    int ExitCode() override { return closes == 1 ? 0 : -1; }
    std::string ProgramFolder() override { return ""; }
    // drew: the surfaces drawn during the last Do ("field1 answer1"); toldX: how
    // many new names surface X told then; view: the current field's top line, left
    // column, caret line and column; textN: row N's lines that are not empty, as
    // "1[12] 100[7]"; lengthsN: the lengths of row N's lines 1, 2 and 100; toggleN:
    // 1 when control N is pressed.
    void Check(const std::string& what, int n, std::string& seen) override
    {
        const auto word = [](int id) {
            const std::string row = std::to_string(id % 100);
            return id == kDigitPanel ? "digits" : id == kClockPanel ? "clock" : id == kElapsedPanel ? "elapsed"
                : id / 100 == kRowFieldBase / 100 ? "field" + row : "answer" + row;
        };
        std::string drew;
        for (const int id : drawn) drew += (drew.empty() ? "" : " ") + word(id);
        if (what == "drew") seen = drew;
        if (what.starts_with("told")) seen = std::to_string(told[SurfaceId(what.substr(4), n)]);
        const FieldView& v = session.fields[game.currentAttempt];
        const auto number = [](int k) { return std::to_string(k); };
        if (what == "view") seen = number(v.topLine) + " " + number(v.leftColumn) + " " + number(v.caretLine) + " " + number(v.caretColumn);
        const auto length = [&](int line) { return number(int(game.rowText[n][line].size())); };
        if (what == "lengths") seen = length(1) + " " + length(2) + " " + length(kLineCount);
        if (what == "text") seen = "";
        for (int line = 1; what == "text" && line <= kLineCount; ++line) {
            const std::string& text = game.rowText[n][line];
            seen += text.empty() ? "" : (seen.empty() ? "" : " ") + number(line) + "[" + text + "]";
        }
        const auto& notes = n / 100 == kCrossOutToggleBase / 100 ? session.notes.crossedOut : session.notes.highlighted;
        if (what == "toggle") seen = std::to_string(notes[std::size_t(n % 100 - 1)]);
    }
};
