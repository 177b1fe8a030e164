// The input fields' editor, applied as the turn flow applies it to the current row:
// every key, the caret, scrolling, the note marks and the limits on a line.
#include <gtest/gtest.h>

#include "recorded_game.h"

namespace {

using std::tuple;

// Colours as a player tells them apart (0x00BBGGRR).
bool IsGrey(Colour c) { return c % 256 == (c >> 8) % 256 && c % 256 == c >> 16 && c != 0 && c != 0xFFFFFF; }
bool IsRed(Colour c) { return c < 256 && c != 0; }
bool IsGreen(Colour c) { return c % 256 == 0 && c >> 16 == 0 && c != 0; }

// Row 1's lines that are not empty: "1[12] 100[7]".
std::string Text(const RecordedGame& g)
{
    std::string text;
    for (int l = 1; l <= kLineCount; ++l) {
        const std::string& line = g.game.rowText[1][l];
        text += line.empty() ? "" : (text.empty() ? "" : " ") + std::to_string(l) + "[" + line + "]";
    }
    return text;
}

// What the current field prints in an ink that passes the test (by default the
// row's own ink), by the y of each line, the prints of a line joined by "|".
std::map<double, std::string> Printed(const RecordedGame& b, std::function<bool(Colour)> inkTest = {})
{
    if (!inkTest) inkTest = [&b](Colour c) { return c == Colour(b.game.fieldStyle[1].textColour); };
    std::map<double, std::string> shown;
    Colour ink = 0;
    double y = 0;
    for (const DrawOp& op : b.Last().ops) {
        ink = op.kind == DrawOpKind::SetInk ? op.colour : ink;
        y = op.kind == DrawOpKind::MoveTo ? op.y : y;
        if (op.kind == DrawOpKind::Print && inkTest(ink)) shown[y] += (shown.contains(y) ? "|" : "") + op.text;
    }
    return shown;
}

std::string Shown(const RecordedGame& b) { return Printed(b).empty() ? "" : Printed(b).begin()->second; }

}  // namespace

TEST(FieldEditor, KeysEditMoveAndScrollTheField)
{
    // Where the caret and the scroll end up, which the shared tables' every-key game
    // does not show. What, the lines at the start, the keys; then the lines, the view
    // (top line, left column, caret line and column) and the first line shown.
    const tuple<const char*, const char*, const char*, const char*, tuple<int, int, int, int>, const char*> cases[] = {
        {"overwrite stays on the last column", "", "12345", "1[1235]", {1, 1, 1, 4}, "1235"},
        {"Backspace deletes before the caret", "", "12345B", "1[125]", {1, 1, 1, 3}, "125 "},
        {"Backspace at the first column does nothing", "125", "B", "1[125]", {1, 1, 1, 1}, "125 "},
        {"Right at the last column scrolls", "", "1234R5", "1[12345]", {1, 2, 1, 4}, "2345"},
        {"Left at the first column scrolls back", "", "1234RLLLLL", "1[1234]", {1, 1, 1, 1}, "1234"},
        {"End goes after the last digit", "12", "E", "1[12]", {1, 1, 1, 3}, "12  "},
        {"End scrolls to the place after a long line", "12345", "E", "1[12345]", {1, 3, 1, 4}, "345 "},
        {"End after the last digit goes to the last line", "12", "EE7", "1[12] 100[7]", {100, 1, 100, 2}, "7   "},
        {"Home twice comes back to line 1", "12", "EE7HH", "1[12] 100[7]", {1, 1, 1, 1}, "12  "},
        {"Page Down shows the next line", "12", "N", "1[12]", {2, 1, 2, 1}, "    "},
        {"Up above the top line scrolls it into view", "12", "NNU", "1[12]", {2, 1, 2, 1}, "    "},
        {"Down goes to the next line", "12", "D", "1[12]", {2, 1, 2, 1}, "    "},
        {"Down on the last line stays there", "12", "EEDD", "1[12]", {100, 1, 100, 1}, "    "},
        {"Insert twice is overwrite again", "12", "II3", "1[32]", {1, 1, 1, 2}, "32  "},
        {"a keypad digit goes in, then its key moves", "12", "E#4L", "1[124]", {1, 1, 1, 3}, "124 "},
        {"keypad 7 gives the digit and Home", "12", "E#7H", "1[127]", {1, 1, 1, 1}, "127 "},
        {"a letter or a digit the line holds is refused", "12", "Ea1", "1[12]", {1, 1, 1, 3}, "12  "},
        {"Delete after a line's end joins the next", "12|23|9", "EX", "1[1223] 2[9]", {1, 1, 1, 3}, "1223"},
        {"Delete after the last line's end pads it", "", "ERRX", "100[  ]", {100, 1, 100, 3}, "    "},
        {"Tab goes to the next word", "12 4", "T", "1[12 4]", {1, 1, 1, 4}, "12 4"},
        {"a redraw puts the columns back", "", "1234RN~", "1[1234]", {2, 1, 2, 1}, "    "}};
    // Down only moves where the row does not submit on Enter; in the game it submits.
    const auto noSubmit = [](Session& s) { s.game.fieldStyle[1].submitOnEnter = 0; };
    for (const auto& [what, start, keys, lines, view, shown] : cases) {
        RecordedGame b(start, noSubmit);
        const FieldView& s = b.Keys(keys).session.fields[1];
        EXPECT_EQ(tuple(b.events, Text(b), Shown(b), tuple(s.topLine, s.leftColumn, s.caretLine, s.caretColumn)),
                  tuple(Events{}, lines, shown, view)) << what;
    }
    // A Tab that runs past the end of the line does nothing at all.
    for (const auto& [start, keysBefore] : {std::pair{"1234", ""}, {"", ""}, {"12  ", ""}, {"12 4", "T"}}) {
        RecordedGame b(start);
        const std::string before = Text(b);
        b.Keys(keysBefore).draws.clear();
        const int column = b.Keys("T").session.fields[1].caretColumn;
        EXPECT_EQ(tuple(b.draws.size(), Text(b), column), tuple(0u, before, *keysBefore ? 4 : 1)) << start;
    }
}

TEST(FieldEditor, CaretNoteMarksAndTheLinesDrawnAsThePlayerSeesThem)
{
    RecordedGame b("15 4");
    ASSERT_TRUE(b.LastOp(DrawOpKind::SetBackSolid));
    EXPECT_TRUE(IsGrey(b.LastOp(DrawOpKind::SetBackSolid)->colour));  // overwrite
    EXPECT_EQ(b.LastOp(DrawOpKind::Print)->text, "1");
    EXPECT_TRUE(IsRed(b.Keys("IR").LastOp(DrawOpKind::SetBackSolid)->colour));  // insert
    EXPECT_EQ(tuple(b.LastOp(DrawOpKind::MoveTo)->x, b.LastOp(DrawOpKind::Print)->text), tuple(19, "5"));
    b.Keys("B1");
    NoteToggled(b.session, kCrossOutToggleBase + 5, true), NoteToggled(b.session, kHighlightToggleBase + 4, true);
    EXPECT_EQ(Printed(b, IsRed)[0], " |/| | ");
    EXPECT_EQ(Printed(b, IsGreen)[0], " | | |4");
    NoteToggled(b.session, kCrossOutToggleBase, true);  // a blank on the line is marked as the digit 0 is
    EXPECT_EQ(Printed(b, IsRed)[0], " |/|/| ");
    // One line more than fits is drawn; 57 and 95 pixels hold 1.5 and 2.5 lines of
    // 38, a half going to the even count; Page Down moves by the lines that fit.
    for (const auto& [height, fit] : {std::pair{38, 1}, {57, 2}, {95, 2}, {96, 3}}) {
        RecordedGame g("1|2|3|4|5|6", [height](Session& s) { s.surfaceSizes[kRowFieldBase + 1].height = height; });
        std::map<double, std::string> expected;
        for (int k = 0, line = 1 + fit; k <= fit; ++k, ++line) {
            expected[38.0 * k] = line <= 6 ? std::to_string(line) + "   " : "    ";  // lines 1 to 6 hold their number
        }
        EXPECT_EQ(Printed(g.Keys("N")), expected) << height;
    }
}

TEST(FieldEditor, FontKeysStepTheRowsSizeWithin1To72FromTheSizeAtActivation)
{
    RecordedGame b("1234");
    const int& size = b.game.fieldStyle[1].fontSize;
    b.Keys(std::string(50, '+'));
    EXPECT_EQ(tuple(b.LastOp(DrawOpKind::SetFont)->size, size), tuple(72, 72));
    EXPECT_EQ(Shown(b), "1");  // the field keeps its size: a 57-pixel cell leaves one column
    b.Keys(std::string(80, '-'));
    EXPECT_EQ(tuple(b.LastOp(DrawOpKind::SetFont)->size, size), tuple(1, 1));
    EXPECT_EQ(Shown(b), "1234" + std::string(72, ' '));  // 1-pixel cells: 76 columns
    RowClicked(b.session, 2);
    b.Keys("+");
    EXPECT_EQ(tuple(size, b.game.fieldStyle[2].fontSize), tuple(1, 25));
}

TEST(FieldEditor, ALineTakesEveryChangeThatKeepsItWithinTwoThousandCharacters)
{
    const std::string blanks(999, ' ');
    // Lines at the start, the view, the keys; then the lengths of lines 1, 2 and 100.
    const tuple<const char*, std::string, FieldView, const char*, tuple<int, int, int>> cases[] = {
        {"a digit far to the right pads the line up to it", "", {1, 1999, 1, 1}, "7", {1999, 0, 0}},
        {"one column further is refused", "", {1, 2000, 1, 1}, "7", {0, 0, 0}},
        {"two lines that fit together join", blanks + "1|" + blanks + "2", {1, 1001, 1, 1}, "X", {2000, 0, 0}},
        {"two that would not stay apart", blanks + "1|" + blanks + " 2", {1, 1001, 1, 1}, "X", {1000, 1001, 0}},
        {"Delete pads the last line up to the limit", "", {100, 2001, 100, 1}, "X", {0, 0, 2000}},
        {"and no further", "", {100, 2002, 100, 1}, "X", {0, 0, 0}}};
    for (const auto& [what, start, view, keys, lengths] : cases) {
        RecordedGame b(start);
        b.session.fields[1] = view;
        b.Keys(keys);
        const TextLines& lines = b.game.rowText[1];
        EXPECT_EQ(tuple(b.events, tuple(int(lines[1].size()), int(lines[2].size()), int(lines[100].size()))),
                  tuple(Events{}, lengths)) << what;
    }
    // End after line 1, Page Down to line 2 with the same sideways scroll, a digit that
    // pads line 2 to that length, back up, and Delete after the end joins line 2 on:
    // each round once doubled the line, and a few dozen rounds took gigabytes.
    RecordedGame b("1");
    for (int round = 0; round < 16; ++round) b.Keys("HEN5PX");
    const auto longest = std::ranges::max(b.game.rowText[1].items, {}, &std::string::size).size();
    EXPECT_TRUE(b.events.empty() && longest >= 1000 && longest <= 2000) << longest;  // grown as far as a line may
}

TEST(EditLine, OverwritesInsertsAndDeletesAtAColumnPaddingAShortLine)
{
    const tuple<const char*, std::int32_t, const char*, std::int32_t, const char*, const char*> cases[] = {
        {"12", 5, "7", 0, "12  7", "12  7 "}, {"1234", 4, "56", 0, "1235", "1235"},
        {"1234", 2, "9", 1, "19234", "19234"}, {"1234", 2, "", -1, "134", "134"}, {"1", 4, "", -1, "1", "1  "}};
    for (std::string line; const auto& [before, column, text, mode, result, after] : cases) {
        EXPECT_EQ(tuple(EditLine(line = before, column, text, mode), line), tuple(result, after)) << before;
    }
    std::string line = "12";
    EXPECT_THROW(EditLine(line, 0, "1", 0), std::out_of_range);  // a column before the first names no place
}
