// A whole game through the session, on a front end that records what it is asked
// to draw and show: which surfaces each event draws, the boxes and the end of the
// window. The same games are played on the real front ends by the shared tables
// (tests/scenarios); these are the cases that need a count of what was drawn, or a
// fault no player's keys can bring about.
#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "recorded_game.h"
#include "render/accessible_text.h"

using std::tuple;
using Act = std::function<void(RecordedGame&)>;

TEST(Session, EachEventDrawsOnlyTheSurfacesItChangedAndEachOnce)
{
    const auto tick = [](int ms) { return [ms](RecordedGame& g) { steadyClock += ms / 1000.0, timeOfDay.millisecond += ms, ClockTicked(g.session); }; };
    // What happens before (not counted), then the event; the surfaces it draws, in order.
    const tuple<const char*, Act, Act, std::vector<int>> cases[] = {
        {"a scored guess: digits, its answer, its field, the next row's",
         [](RecordedGame& g) { g.Keys("5678"); }, [](RecordedGame& g) { g.Keys("\r"); }, {111, 401, 402, 501}},
        {"a refused guess: the caret back to the first column", [](RecordedGame& g) { g.Keys("567"); },
         [](RecordedGame& g) { g.Keys("\r"); }, {401}},
        {"a key that changes nothing", [](RecordedGame& g) { g.Keys("5"); }, [](RecordedGame& g) { g.Keys("5"); }, {}},
        {"a Tab past the end of the line", [](RecordedGame& g) { g.Keys("12"); }, [](RecordedGame& g) { g.Keys("T"); }, {}},
        {"the first tick: both clocks", [](RecordedGame&) {}, tick(0), {112, 113}},
        {"a tick within the same second and tenth", tick(0), tick(10), {}},
        {"a tick a tenth later: the elapsed seconds only", tick(0), tick(100), {113}},
        {"a click on row 7: its field, row 1's, then the clock's row on the next tick",
         [&](RecordedGame& g) { tick(0)(g), g.Keys("1"); }, [&](RecordedGame& g) { RowClicked(g.session, 7), tick(0)(g); },
         {401, 407, 112}},
        {"a note toggle: every field that shows the digit", [](RecordedGame& g) { g.Keys("1567\r2678\r"); },
         [](RecordedGame& g) { NoteToggled(g.session, kCrossOutToggleBase + 1, true); }, {401}},
        {"Enter's default command: every field redrawn, none changed", [](RecordedGame& g) { g.Keys("15"); },
         [](RecordedGame& g) { NoteToggled(g.session, kHighlightToggleBase + 9, false); }, {401}},
        {"a right guess: no caret while its box is up, the clock's elapsed time frozen",
         [&](RecordedGame& g) { tick(0)(g), g.Keys("4153"); }, [&](RecordedGame& g) { g.Keys("\r"), tick(500)(g); },
         {111, 401, 501}}};
    for (const auto& [what, before, event, drawn] : cases) {
        RecordedGame g;
        before(g);
        g.draws.clear();
        event(g);
        EXPECT_EQ(g.Drawn(0, 9999), drawn) << what;
    }
}

TEST(Session, TheEndBoxesComeInOrderAndTheWindowEndsWithTheLast)
{
    const std::string bravo = "box Bravo. Hai indovinato !", fine = "box Fine. Il numero era 4153 !";
    const auto inRow = [](int row) { return [row](RecordedGame& g) { RowClicked(g.session, row); }; };
    // Before the guess; the guess; what comes while the first box is open; the
    // boxes and the end, as each box is closed; and the row then current.
    const tuple<const char*, Act, const char*, Act, std::vector<Events>, int> cases[] = {
        {"right in row 1", [](RecordedGame&) {}, "4153\r", [](RecordedGame&) {}, {{bravo}, {bravo, "end"}}, 1},
        {"wrong in row 14", inRow(14), "5678\r", [](RecordedGame&) {}, {{fine}, {fine, "end"}}, 14},
        {"right in row 14: both boxes", inRow(14), "4153\r", [](RecordedGame&) {},
         {{bravo}, {bravo, fine}, {bravo, fine, "end"}}, 14},
        {"keys and the Enter that closes the box do nothing", [](RecordedGame&) {}, "4153\r",
         [](RecordedGame& g) { g.Keys("9XBI8D\r~"); }, {{bravo}, {bravo, "end"}}, 1},
        {"a click on a row changes nothing of the ending", inRow(14), "4153\r",
         [](RecordedGame& g) { RowClicked(g.session, 6); }, {{bravo}, {bravo, fine}, {bravo, fine, "end"}}, 14}};
    for (const auto& [what, before, guess, whileOpen, events, row] : cases) {
        RecordedGame g;
        before(g);
        g.Keys(guess);
        g.draws.clear();
        whileOpen(g);
        EXPECT_EQ(tuple(g.events, g.draws.size(), g.game.currentAttempt), tuple(events[0], 0u, row)) << what;
        for (std::size_t k = 1; k < events.size(); ++k) EXPECT_EQ(g.CloseBox().events, events[k]) << what;
    }
}

TEST(Session, KeysTheAuthorBoxAndTheWindowsCommands)
{
    // The events; then the boxes and the end, the current row, rows 1 and 2, row 1's font.
    const tuple<const char*, Act, Events, int, const char*, int> cases[] = {
        {"keys reach the game while the author box is open, and its Enter submits",
         [](RecordedGame& g) { AuthorChosen(g.session), g.Keys("5678\r"); }, {"box " + std::string(kAuthorText)}, 2,
         "5678|", 24},
        {"Down and keypad 2 submit, the left Ctrl makes them editing keys",
         [](RecordedGame& g) {
             g.Keys("5678D");
             PressKey(g.session, {KeyPosition::Down, '2', true});
             RowClicked(g.session, 1), PressKey(g.session, {KeyPosition::Down, '2', false});
         },
         {}, 2, "5678|2", 24},
        {"the left Ctrl with keypad + and - sizes the row's digits",
         [](RecordedGame& g) { g.Keys("12++-"), PressKey(g.session, {KeyPosition::KeypadPlus, '+', false}); }, {}, 1,
         "12|", 25},
        {"Escape ends the window", [](RecordedGame& g) { g.Keys("1"), PressKey(g.session, {KeyPosition::Escape, 27, false}),
                                                         WindowKey(g.session, {KeyPosition::Escape, 27, false}); },
         {"end"}, 1, "1|", 24},
        {"the close box ends it too", [](RecordedGame& g) { CloseAsked(g.session); }, {"end"}, 1, "|", 24}};
    for (const auto& [what, act, events, row, text, font] : cases) {
        RecordedGame g;
        act(g);
        const std::string rows = g.game.rowText[1][1] + "|" + g.game.rowText[2][1];
        EXPECT_EQ(tuple(g.events, g.game.currentAttempt, rows, g.game.fieldStyle[1].fontSize),
                  tuple(events, row, text, font)) << what;
    }
}

TEST(Session, ARunTimeErrorShowsItsBoxThenEndsTheWindowAndNothingMoreIsDrawn)
{
    const auto truncated = [](int points) { return 19 * points / 24; };  // no width at all at 1 point
    const std::string noWidth = "box Division by zero 11 in EditField";
    const tuple<const char*, Act, const char*> cases[] = {
        {"a row whose face has no width, met when a toggle redraws every field",
         [&](RecordedGame& g) { g.cellWidth = truncated, g.game.fieldStyle[5].fontSize = 1, NoteToggled(g.session, 601, true); },
         "box Division by zero 11 in EditField"},
        {"a font key that takes the row's face down to no width",
         [&](RecordedGame& g) { g.cellWidth = truncated, g.game.fieldStyle[1].fontSize = 2, g.Keys("~-"); }, noWidth.c_str()},
        {"a field scrolled to the end of the 32-bit range",
         [](RecordedGame& g) { g.session.fields[1] = {1, std::numeric_limits<std::int32_t>::max(), 1, 4}, g.Keys("R"); },
         "box Overflow 6 in EditField"},
        {"an exception that escapes a front end's drawing",
         [](RecordedGame& g) { g.session.frontEnd.draw = [](int, const Picture&) { throw std::out_of_range("x"); }, g.Keys("1"); },
         "box Subscript out of range 9 in KeyboardHookProc"}};
    for (const auto& [what, act, box] : cases) {
        RecordedGame g;
        act(g);
        g.draws.clear();
        g.Keys("1\r"), RowClicked(g.session, 3), NoteToggled(g.session, 602, true);
        EXPECT_EQ(tuple(g.events, g.draws.size()), tuple(Events{box}, 0u)) << what;
        g.CloseBox();
        ClockTicked(g.session), g.Keys("2");
        EXPECT_EQ(tuple(g.events, g.draws.size()), tuple(Events{box, "end"}, 0u)) << what;
    }
}

TEST(Session, AnEventThatComesWhileAnotherIsHandledIsDropped)
{
    // A platform that runs its message loop while it draws would hand the session
    // the next key in the middle of this one.
    RecordedGame g;
    bool nested = false;
    g.session.frontEnd.draw = [&](int, const Picture&) {
        if (!std::exchange(nested, true)) PressKey(g.session, {KeyPosition::Other, '9', false});
    };
    g.Keys("1");
    EXPECT_EQ(g.game.rowText[1][1], "1");
}

TEST(GameKeys, EditorKeysComeFromThePositionAndTheLeftCtrl)
{
    using P = KeyPosition;
    const tuple<GameKey, std::int32_t, bool> cases[] = {{{P::Other, '5', false}, fieldKey::kTyped, false},
        {{P::Home, '7', false}, fieldKey::kHome, false}, {{P::KeypadPlus, '+', true}, fieldKey::kFontLarger, false},
        {{P::KeypadMinus, '-', true}, fieldKey::kFontSmaller, false}, {{P::KeypadPlus, '+', false}, 78, false},
        {{P::Down, '2', false}, fieldKey::kDown, true}, {{P::Down, '2', true}, -fieldKey::kDown, false},
        {{P::Enter, '\r', true}, -fieldKey::kTyped, true}, {{P::Escape, 27, true}, -fieldKey::kTyped, false}};
    for (const auto& [key, code, submits] : cases) {
        EXPECT_EQ(tuple(EditorKeyOf(key), IsSubmitKey(key)), tuple(code, submits)) << int(key.position);
    }
}
