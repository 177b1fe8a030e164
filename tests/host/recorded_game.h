// A game whose front end records what the session asks of it: the pictures drawn,
// the boxes (kept open until the test closes them) and the end of the window;
// with clocks that the tests move on, and keys by letter.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <ranges>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/session.h"

using Events = std::vector<std::string>;

inline LocalTime timeOfDay;
inline double steadyClock = 0;

// A new game with the secret 4153, its row 1 holding the lines given as "12|34",
// opened at 10:20:30.456, in a fixed-pitch face with a cell of 19 by 38 at 24
// points, so that each field is 76 by 38 pixels: 4 columns, 1 line.
struct RecordedGame {
    Session session;
    GameState& game = session.game;
    Events events;  // "box <text>", "end", in order
    std::vector<std::pair<int, Picture>> draws;
    std::vector<std::function<void()>> openBoxes;
    std::function<int(int)> cellWidth = [](int points) { return (19 * points + 23) / 24; };

    explicit RecordedGame(const std::string& row1 = "", const std::function<void(Session&)>& prepare = {})
    {
        std::tie(timeOfDay, steadyClock) = std::pair(LocalTime{2026, 3, 5, 10, 20, 30, 456}, 1000.0);
        FrontEnd front;
        front.draw = [this](int id, const Picture& picture) { draws.emplace_back(id, picture); };
        front.measure = {[](const FontSpec&, const std::string& t) { return PixelSize{8 * int(t.size()), 16}; },
                         [this](const FontSpec& f) { return FontCell{cellWidth(f.size), (38 * f.size + 23) / 24}; }};
        front.showBox = [this](const std::string& text, std::function<void()> closed) {
            events.push_back("box " + text), openBoxes.push_back(std::move(closed));
        };
        front.closeWindow = [this] { events.push_back("end"); };
        front.clocks = {[] { return timeOfDay; }, [] { return steadyClock; }};
        PrepareSession(session, front);
        game.secret = "4153";
        for (int line = 1; const char c : row1) c == '|' ? void(++line) : void(game.rowText[1][line] += c);
        if (prepare) prepare(session);
        OpenBoard(session);
    }
    // Key presses by letter: H Home, E End, L Left, R Right, U Up, D Down, P Page Up,
    // N Page Down, B Backspace, X Delete, I Insert, T Tab, + and - the left Ctrl with
    // keypad plus and minus, ~ Enter's default command, "\r" Enter (the key, then the
    // window's command). A digit or "a" is typed; "#4L" is keypad 4 with Num Lock
    // on: the digit and the key under it.
    RecordedGame& Keys(const std::string& keys)
    {
        using P = KeyPosition;
        const std::string letters = "HELRUDPNBXIT+-\r";
        const P positions[] = {P::Home, P::End, P::Left, P::Right, P::Up, P::Down, P::PageUp, P::PageDown,
                               P::Backspace, P::Delete, P::Insert, P::Tab, P::KeypadPlus, P::KeypadMinus, P::Enter};
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const char keypadDigit = keys[i] == '#' ? keys[i + 1] : 0;
            const char c = keys[i += keypadDigit != 0 ? 2 : 0];
            if (c == '~') {
                DefaultCommand(session);
                continue;
            }
            const auto named = letters.find(c);
            GameKey key{named != letters.npos ? positions[named] : P::Other, named != letters.npos ? keypadDigit : c,
                        c == '+' || c == '-'};
            PressKey(session, key);
            WindowKey(session, key);
        }
        return *this;
    }
    // Closes the box opened first of those still open.
    RecordedGame& CloseBox()
    {
        auto closed = openBoxes.at(0);
        openBoxes.erase(openBoxes.begin());
        closed();
        return *this;
    }
    // The ids drawn, in order, from first to last.
    std::vector<int> Drawn(int first = kRowFieldBase + 1, int last = kRowFieldBase + kRowCount) const
    {
        std::vector<int> ids;
        for (const auto& [id, picture] : draws) id >= first && id <= last ? ids.push_back(id) : void();
        return ids;
    }
    // The picture a surface shows, by default the current row's field; and in that
    // field the last operation of a kind (the caret's background, place and character).
    const Picture& Last(int id = 0) const
    {
        id = id != 0 ? id : kRowFieldBase + session.game.currentAttempt;
        const auto last = std::find_if(draws.rbegin(), draws.rend(), [id](const auto& d) { return d.first == id; });
        return last != draws.rend() ? last->second : throw std::runtime_error("never drawn: " + std::to_string(id));
    }
    const DrawOp* LastOp(DrawOpKind kind) const
    {
        const auto op = std::ranges::find(Last().ops | std::views::reverse, kind, &DrawOp::kind);
        return op != std::ranges::end(Last().ops | std::views::reverse) ? &*op : nullptr;
    }
};
