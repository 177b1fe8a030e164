// A board whose platform records what the game asks of its window: the pictures
// drawn, the boxes, the requests to close, the end of the window; with clocks that
// the tests move on, and the keys of the current row's field by letter.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <ranges>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/window_flow.h"
#include "input/turn_flow.h"

using Events = std::vector<std::string>;

inline LocalTime timeOfDay;
inline double steadyClock = 0;

// A new game with the secret 4153, its row 1 holding the lines given as "12|34",
// opened at 10:20:30.456 as a shell opens it, on a window whose fields are 76 by 38
// pixels in a fixed-pitch face with a cell of 19 by 38 at 24 points: 4 columns, 1 line.
struct FakeBoard {
    Board board;
    Events events;  // "box <text>", "close", "defer", "end", in order
    std::vector<std::pair<int, Picture>> draws;
    std::map<int, FieldSlots> slots;
    bool alive = true;
    PixelSize fieldSize{76, 38};
    NoteToggles toggles;
    std::function<int(int)> cellWidth = [](int points) { return (19 * points + 23) / 24; };

    explicit FakeBoard(const std::string& row1 = "")
    {
        std::tie(timeOfDay, steadyClock) = std::pair(LocalTime{2026, 3, 5, 10, 20, 30, 456}, 1000.0);
        InitGame(timeOfDay);
        gameState.secret = "4153";
        for (int line = 1; const char c : row1) c == '|' ? void(++line) : void(gameState.rowText[1][line] += c);
        for (int row = 1; row <= kRowCount; ++row) slots[row].fieldRow = row;
        BoardPlatform& p = board.platform;
        p.draw = [this](int id, const Picture& picture) { draws.emplace_back(id, picture); };
        p.surfaceSize = [this](int id) { return id / 100 == 4 ? fieldSize : PixelSize{180, 40}; };
        p.measure = {[](const FontSpec&, const std::string& t) { return PixelSize{8 * int(t.size()), 16}; },
                     [this](const FontSpec& f) { return FontCell{cellWidth(f.size), (38 * f.size + 23) / 24}; }};
        p.readSlots = [this](int row) { return slots[row]; };
        p.writeSlots = [this](int row, const FieldSlots& s) { slots[row] = s; };
        p.toggles = [this] { return toggles; };
        p.showBox = [this](const std::string& text) { events.push_back("box " + text); };
        p.windowAlive = [this] { return alive; };
        p.endWindow = [this] { events.push_back("end"), alive = false; };
        p.requestClose = [this] { events.push_back("close"); };
        p.deferEndOfGame = [this] { events.push_back("defer"); };
        p.clocks = {[] { return timeOfDay; }, [] { return steadyClock; }};
        DrawFirstPicture(board), DrawAllFieldsAndActivate(board), StartClock(board);
    }
    // Key presses by letter: H Home, E End, L Left, R Right, U Up, D Down, P Page Up,
    // N Page Down, B Backspace, X Delete, I Insert, T Tab, + and - left Ctrl with keypad
    // plus and minus, ~ a redraw, ! an activation, "\r" Enter. A digit or "a" is typed;
    // "#4L" is keypad 4 with Num Lock on: the digit and the key under it.
    FakeBoard& Keys(const std::string& keys)
    {
        using namespace fieldKey;
        const std::string letters = "HELRUDPNBXIT+-~!";
        const std::int32_t codes[] = {kHome, kEnd, kLeft, kRight, kUp, kDown, kPageUp, kPageDown, kBackspace,
                                      kDelete, kInsert, kTab, kFontLarger, kFontSmaller, kRedrawOnly, kActivate};
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const std::string keypadDigit = keys[i] == '#' ? keys.substr(i + 1, 1) : "";
            const char c = keys[i += keypadDigit.size() * 2];
            const auto named = letters.find(c);
            const std::int32_t typed = c == '\r' ? 28 : c == '0' ? 11 : c <= '9' ? c - '0' + 1 : 30;
            const std::int32_t code = named != letters.npos ? codes[named] : typed;
            const std::string character = named != letters.npos ? keypadDigit : std::string{c};
            // Down submits, as Enter does: for its move the editor itself is asked.
            if (code == kDown) EditRow(board, gameState.currentAttempt, code, character);
            if (code != kDown) HandleKey(board, {code, std::uint8_t(c == '\r' ? kVkReturn : 0), character, true});
        }
        return *this;
    }
    // The ids drawn, in order, from first to last.
    std::vector<int> Drawn(int first = kRowFieldBase + 1, int last = kRowFieldBase + kRowCount) const
    {
        std::vector<int> ids;
        for (const auto& [id, picture] : draws) id >= first && id <= last ? ids.push_back(id) : void();
        return ids;
    }
    // The last picture of a surface, by default the current row's field; and in that
    // field the last operation of a kind (the caret's background, place and character).
    const Picture& Last(int id = 0) const
    {
        id = id != 0 ? id : kRowFieldBase + gameState.currentAttempt;
        const auto last = std::find_if(draws.rbegin(), draws.rend(), [id](const auto& d) { return d.first == id; });
        return last != draws.rend() ? last->second : throw std::runtime_error("never drawn: " + std::to_string(id));
    }
    const DrawOp* LastOp(DrawOpKind kind) const
    {
        const auto op = std::ranges::find(Last().ops | std::views::reverse, kind, &DrawOp::kind);
        return op != std::ranges::end(Last().ops | std::views::reverse) ? &*op : nullptr;
    }
};
