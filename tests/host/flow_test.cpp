// The game's flow on a board that records what the game asks of its window: keys,
// turns, the end of the game, clicks, commands, clock ticks and the editor's errors.
#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "fake_board.h"

namespace {

using std::tuple;

bool Shows(const Picture& p, const std::string& text) { return std::ranges::count(p.ops, text, &DrawOp::text) > 0; }
// The caret is the only text on a solid background.
bool HasCaret(const Picture& p) { return std::ranges::count(p.ops, DrawOpKind::SetBackSolid, &DrawOp::kind) > 0; }

const std::string bravo = "box Bravo. Hai indovinato !", fine = "box Fine. Il numero era 4153 !";

}  // namespace

TEST(TurnFlow, AGuessIsAnsweredThenMovesOnOrEndsWithItsBoxesOnceTheKeyIsHandled)
{
    // Row and guess; then the answer's words (none drawn: nullptr), the events after
    // the end boxes, and the row current at the end.
    const tuple<int, const char*, const char*, Events, int> cases[] = {
        {1, "4153", "4 quadrati", {"defer", bravo, "close"}, 2},
        {14, "4153", "4 quadrati", {"defer", bravo, "close", fine, "close"}, 14},
        {14, "4135", "2 quadrati, 2 cerchi", {"defer", fine, "close"}, 14},
        {5, "4135", "2 quadrati, 2 cerchi", {}, 6},
        {3, "413", nullptr, {}, 3}};
    for (const auto& [row, guess, answer, events, rowAfter] : cases) {
        SCOPED_TRACE(guess + std::string(" in row ") + std::to_string(row));
        FakeBoard b;
        HandleCommand(b.board, kRowFieldBase + row);
        b.Keys(guess);
        b.draws.clear();
        b.Keys("\r");
        EXPECT_EQ(b.events, events.empty() ? Events{} : Events{"defer"});  // no box while the key is handled
        const std::vector<int> fields = b.Drawn();
        EXPECT_EQ(std::set<int>(fields.begin(), fields.end()).size(), answer ? 14u : 0u);  // every field, or none
        if (answer != nullptr) {
            EXPECT_TRUE(Shows(b.Last(kDigitPanel), "0-2---6789"));  // 1, 3, 4 and 5 struck
            const Picture& marks = b.Last(kAnswerSurfaceBase + row);
            EXPECT_EQ(tuple(marks.name, marks.nameEvent), tuple(answer, NameEvent::Always));
        }
        ShowEndOfGame(b.board);
        EXPECT_EQ(tuple(b.events, gameState.currentAttempt), tuple(events, rowAfter));
        EXPECT_TRUE(!answer || HasCaret(b.Last()));
    }
}

TEST(TurnFlow, OnceTheGameIsOverClicksAndKeysChangeNeitherTheRowNorTheEnding)
{
    FakeBoard b;
    b.Keys("4153\r");
    b.draws.clear();
    HandleCommand(b.board, kRowFieldBase + 14);
    b.Keys("12\r");
    EXPECT_EQ(tuple(gameState.currentAttempt, b.draws.size()), tuple(1, 0u));
    tuple<int, std::size_t> inBox;  // the current row, and what was drawn while the box was open
    b.whileBoxOpen = [&] {
        const std::size_t atOpening = b.draws.size();
        HandleCommand(b.board, kRowFieldBase + 14);
        b.Keys("9\r");
        // The box's own guard, with the game's flag down: the Enter that closes the box must not submit.
        gameState.gameOver = 0;
        b.Keys("9\r");
        gameState.gameOver = 1;
        inBox = tuple(gameState.currentAttempt, b.draws.size() - atOpening);
    };
    ShowEndOfGame(b.board);
    EXPECT_EQ(tuple(inBox, b.events, gameState.currentAttempt),
              tuple(tuple(1, 0u), Events{"defer", bravo, "close"}, 2));
}

TEST(WindowFlow, ClockPanelsAreDrawnOnlyWhenTheirTextsChangeAndTheSecondsStopWithTheGame)
{
    FakeBoard b;
    // What happens, the milliseconds the clocks then move on; how often the clock
    // panel and the elapsed panel are drawn at the next tick.
    const tuple<const char*, std::function<void()>, int, std::size_t, std::size_t> steps[] = {
        {"the first tick", {}, 0, 1, 1}, {"the same time again", {}, 0, 0, 0},
        {"a tenth later, in the same second", {}, 100, 0, 1}, {"the next second", {}, 500, 1, 1},
        {"another row", [&b] { HandleCommand(b.board, kRowFieldBase + 3); }, 0, 1, 0},
        {"the game is over", [&b] { b.Keys("4153\r"); }, 1000, 1, 0}, {"and stays over", {}, 1000, 1, 0}};
    for (const auto& [what, action, ms, clockDrawn, elapsedDrawn] : steps) {
        if (action) action();
        timeOfDay.second += (timeOfDay.millisecond + ms) / 1000;
        timeOfDay.millisecond = (timeOfDay.millisecond + ms) % 1000;
        steadyClock += ms / 1000.0;
        b.draws.clear();
        ClockTick(b.board);
        EXPECT_EQ(tuple(b.Drawn(112, 112).size(), b.Drawn(113, 113).size()), tuple(clockDrawn, elapsedDrawn)) << what;
    }
    EXPECT_EQ(b.Last(kClockPanel).name, "ore 10:20:33, input # 3");
}

TEST(WindowFlow, TheOpeningTogglesAndEnterDrawEveryFieldThenTheCurrentRowWithTheCaret)
{
    FakeBoard b;
    EXPECT_EQ(tuple(b.Last(309).name, b.Last(509).name, b.Drawn(111, 111).size(), b.Drawn(1300, 1300).size()),
              tuple("Tentativo 09", "", 1u, 1u));
    std::vector<int> everyField;
    for (int row = 1; row <= kRowCount + 1; ++row) everyField.push_back(kRowFieldBase + (row > kRowCount ? 1 : row));
    EXPECT_EQ(b.Drawn(), everyField);
    HandleCommand(b.board, kRowFieldBase + 6);
    everyField.back() = kRowFieldBase + 6;
    for (const int id : {600, 601, 605, 610, 700, 701, 710, 611, 711, 400, 415, 999}) {
        b.draws.clear();
        HandleCommand(b.board, id);
        const bool toggle = id % 100 <= 10 && id / 100 >= 6;
        EXPECT_EQ(tuple(b.Drawn(), b.draws.size(), gameState.currentAttempt),
                  tuple(toggle ? everyField : std::vector<int>{}, toggle ? 15u : 0u, 6)) << id;
        EXPECT_TRUE(!toggle || (!HasCaret(b.draws.front().second) && HasCaret(b.draws.back().second))) << id;
    }
    HandleCommand(b.board, kAuthorCommand);
    HandleCommand(b.board, kCancelCommand);
    EXPECT_EQ(b.events, (Events{"box " + std::string(kAuthorText), "end"}));
}

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
