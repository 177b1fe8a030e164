// The game's flow on a board that records what the game asks of its window: the
// editor's errors, which no player's keys can bring about. Turns, clicks, commands,
// clock ticks and the end of the game are played on both front ends by the shared
// tables (tests/scenarios).
#include <gtest/gtest.h>

#include <limits>

#include "fake_board.h"

using std::tuple;

TEST(TurnFlow, AnEditorErrorShowsItsBoxAndEndsTheWindowOnce)
{
    const std::string noWidth = "box Division by zero 11 in EditField";
    const std::string badRow = "box problemi con il numero del campo! 0";
    const auto truncated = [](int points) { return 19 * points / 24; };  // no width at all at 1 point
    const tuple<const char*, std::function<void(FakeBoard&)>, Events, std::vector<int>> cases[] = {
        {"a row whose face has no width, met while every field is redrawn",
         [&](FakeBoard& b) {
             b.cellWidth = truncated, gameState.fieldStyle[5].fontSize = 1, HandleCommand(b.board, 601);
         },
         {noWidth, "end"}, {401, 402, 403, 404}},
        {"a font key that takes the row's face down to no width",
         [&](FakeBoard& b) { b.cellWidth = truncated, gameState.fieldStyle[1].fontSize = 2, b.Keys("!-"); },
         {noWidth, "end"}, {401}},
        {"a digit in a field never drawn", [](FakeBoard& b) { b.slots[1] = {0, 0, 0, 0, 1}, b.Keys("5"); },
         {"box Subscript out of range 9 in EditField", "end"}, {}},
        {"a field scrolled to the end of the 32-bit range",
         [](FakeBoard& b) { b.slots[1] = {1, std::numeric_limits<std::int32_t>::max(), 1, 4, 1}, b.Keys("R"); },
         {"box Overflow 6 in EditField", "end"}, {}},
        {"a row outside the board", [](FakeBoard& b) { EditRow(b.board, 15, fieldKey::kActivate, ""); },
         {"box Subscript out of range 9 in LoadRow", "end"}, {}},
        {"a field whose slots name no row: a box, and the window stays",
         [](FakeBoard& b) { b.slots[3].fieldRow = 0, HandleCommand(b.board, kRowFieldBase + 3); },
         {badRow, badRow}, {401, 402, 404, 405, 406, 407, 408, 409, 410, 411, 412, 413, 414}}};
    for (const auto& [what, act, events, fieldsDrawn] : cases) {
        FakeBoard b;
        b.draws.clear();
        act(b);
        EXPECT_EQ(tuple(b.events, b.Drawn()), tuple(events, fieldsDrawn)) << what;
        if (b.alive) continue;
        b.draws.clear();
        HandleCommand(b.board, kCrossOutToggleBase);
        b.Keys("1\r");
        EXPECT_EQ(tuple(b.events, b.draws.size()), tuple(events, 0u)) << what;  // nothing more once the window is gone
    }
}
