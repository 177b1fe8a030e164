// The input field editor: keys, caret, scrolling, note marks and the picture it draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <tuple>

#include "game/field_editor.h"

namespace {

using namespace fieldKey;

// A fixed-pitch face whose cell grows with the size: 19 by 38 pixels at 24 points.
FontCell Measure(std::int32_t size) { return {(19 * size + 23) / 24, (38 * size + 23) / 24}; }

// Row 1's field as the game builds it (76 by 38 pixels: 4 columns, 1 line at 24
// points), drawn once by the opening redraw and then activated.
struct Field {
    GameState game;
    FieldSlots slots{0, 0, 0, 0, 1};
    NoteToggles toggles;
    FontMeasure measure = Measure;
    std::int32_t height = 38;
    FieldEditResult last;
    std::int32_t keyAfter = 0;

    explicit Field(bool drawn = true)
    {
        game.currentAttempt = 1;
        for (int r = 1; r <= kRowCount; ++r) {
            game.rowAllowedChars[r] = "0123456789";
            game.fieldStyle[r] = FieldStyle{1, 4, 0, 24, 0x191919, 0xD7D7D7, 1};
        }
        if (drawn) Press(kRedrawOnly).Press(kActivate);
    }
    // One key as the keyboard flow hands it over: load the row, edit, store back.
    Field& Press(std::int32_t key, const std::string& ch = "")
    {
        TextLines buffer;
        EXPECT_EQ(LoadRow(buffer, game.rowText, game.currentAttempt), "");
        keyAfter = key;
        last = EditFieldCore(game, keyAfter, ch, buffer, 1, 400 + game.currentAttempt,
                             game.fieldStyle[game.currentAttempt].fontSize, slots, 76, height, toggles, measure);
        game.rowText[game.currentAttempt] = buffer;
        return *this;
    }
    Field& Type(const std::string& text)
    {
        for (const char c : text) Press(c == '0' ? 11 : c >= '1' && c <= '9' ? c - '0' + 1 : 30, std::string(1, c));
        return *this;
    }
    std::string Line(int i) const { return game.rowText[1][i]; }
    std::string Shown() const { return Prints(0x191919); }
    // The texts printed in ink, one per Print joined by "|", up to the next change of ink.
    std::string Prints(Colour ink) const
    {
        std::string out;
        bool inGroup = false;
        bool first = true;
        for (const DrawOp& op : last.picture) {
            if (op.kind == DrawOpKind::SetInk) {
                if (inGroup) break;
                inGroup = op.colour == ink;
            } else if (op.kind == DrawOpKind::Print && inGroup) {
                out += (first ? "" : "|") + op.text;
                first = false;
            }
        }
        return out;
    }
    std::vector<DrawOp> Ops(DrawOpKind kind) const
    {
        std::vector<DrawOp> found;
        std::copy_if(last.picture.begin(), last.picture.end(), std::back_inserter(found),
                     [kind](const DrawOp& op) { return op.kind == kind; });
        return found;
    }
    // The solid background of the caret, or -1 when no caret was drawn.
    std::int64_t CaretBack() const
    {
        const auto backs = Ops(DrawOpKind::SetBackSolid);
        return backs.empty() ? std::int64_t{-1} : std::int64_t{backs.front().colour};
    }
};

TEST(EditLine, OverwritesInsertsAndDeletesAtAColumn)
{
    std::string line = "12";
    EXPECT_EQ(EditLine(line, 5, "7", 0), "12  7");
    EXPECT_EQ(line, "12  7 ");
    line = "1234";
    EXPECT_EQ(EditLine(line, 4, "56", 0), "1235");
    EXPECT_EQ(EditLine(line, 2, "9", 1), "19235");
    line = "1234";
    EXPECT_EQ(EditLine(line, 2, "", -1), "134");
    line = "1";
    EXPECT_EQ(EditLine(line, 4, "", -1), "1");
    EXPECT_EQ(line, "1  ");
}

TEST(FieldEditor, OverwriteKeepsCaretOnLastColumnAndBackspaceRemovesTheDigitBeforeIt)
{
    Field f;
    f.Type("1234");
    EXPECT_EQ(f.slots.caretColumn, 4);
    EXPECT_EQ(f.Prints(0xFFFFFF), "4");
    f.Type("5");
    EXPECT_EQ(f.Line(1), "1235");
    f.Press(kBackspace);
    EXPECT_EQ(f.keyAfter, kDelete);
    EXPECT_EQ(f.Line(1), "125");
    f.Press(kHome).Press(kBackspace);
    EXPECT_EQ(f.last.outcome, EditOutcome::Drawn);
    EXPECT_EQ(f.Line(1), "125");
    EXPECT_EQ(f.slots.leftColumn, 1);
}

TEST(FieldEditor, DrawsOneLineMoreThanFitsWithHalfLinesRoundedToEven)
{
    for (const auto& [height, linesDrawn] : {std::pair{57, 3}, std::pair{95, 3}, std::pair{96, 4}}) {
        Field f;
        f.height = height;
        f.Press(kPageDown);
        const auto moves = f.Ops(DrawOpKind::MoveTo);
        ASSERT_EQ(moves.size(), 3u * linesDrawn + 1);  // text, red and green per line; the caret
        EXPECT_EQ(moves[3 * (linesDrawn - 1)].y, 38 * (linesDrawn - 1));
        EXPECT_EQ(f.slots.topLine, linesDrawn);  // Page Down moves by the lines that fit
    }
}

TEST(FieldEditor, NavigationScrollsSidewaysAndBetweenLines)
{
    Field f;
    f.Type("1234").Press(kRight);  // Right at the last column scrolls
    EXPECT_EQ(f.Shown(), "234 ");
    f.Type("5");
    EXPECT_EQ(f.Line(1), "12345");
    f.Press(kHome);
    EXPECT_EQ(f.Shown(), "1234");
    f.Press(kEnd).Press(kEnd);  // after the last character, End goes to line 100
    EXPECT_EQ(std::pair(f.slots.caretLine, f.slots.topLine), std::pair(100, 100));
    f.Type("7");
    EXPECT_EQ(f.Line(100), "7");
    f.Press(kHome).Press(kHome);  // Home twice: back to line 1
    EXPECT_EQ(f.slots.caretLine, 1);
    f.Press(kPageDown);
    EXPECT_EQ(f.Shown(), "    ");
    f.Press(kPageUp);
    EXPECT_EQ(f.Shown(), "1234");
    f.Press(kPageDown).Press(kUp);  // the caret above the top line scrolls it into view
    EXPECT_EQ(f.slots.topLine, 1);
}

TEST(FieldEditor, DeleteAfterTheLineEndJoinsTheNextLineAndPadsTheLastLine)
{
    Field f;
    f.game.rowText[1][1] = "12";
    f.game.rowText[1][2] = "23";
    f.game.rowText[1][3] = "9";
    f.Press(kEnd).Press(kDelete);
    EXPECT_EQ(f.Line(1), "1223");
    EXPECT_EQ(f.Line(2), "9");
    EXPECT_EQ(f.Line(3), "");
    f.Press(kEnd).Press(kEnd).Press(kRight).Press(kRight).Press(kDelete);
    EXPECT_EQ(f.slots.caretLine, 100);
    EXPECT_EQ(f.Line(100), "  ");
}

TEST(FieldEditor, TabJumpsToTheNextWordOrEndsEarlyTouchingNothing)
{
    Field f;
    f.game.rowText[1][1] = "12 4";
    f.Press(kTab, "\t");
    EXPECT_EQ(f.last.outcome, EditOutcome::Drawn);
    EXPECT_EQ(f.slots.caretColumn, 4);
    const FieldSlots before = f.slots;
    f.Press(kTab, "\t");
    EXPECT_EQ(f.last.outcome, EditOutcome::EndedEarly);
    EXPECT_TRUE(f.last.picture.empty());
    EXPECT_EQ(f.slots, before);
}

TEST(FieldEditor, FontKeysStopAt72And1AndKeepTheRowsSize)
{
    Field f;
    for (int i = 0; i < 50; ++i) f.Press(kFontLarger);
    EXPECT_EQ(f.game.fieldStyle[1].fontSize, 72);
    EXPECT_EQ(f.last.picture[1].size, 72);
    EXPECT_EQ(f.Shown().size(), 1u);  // a larger cell in the same control shows fewer columns
    for (int i = 0; i < 80; ++i) f.Press(kFontSmaller);
    EXPECT_EQ(f.game.fieldStyle[1].fontSize, 1);
    EXPECT_EQ(f.last.picture[1].size, 1);
    f.game.currentAttempt = f.slots.fieldRow = 2;  // activating another row starts from its own size
    f.Press(kActivate).Press(kFontLarger);
    EXPECT_EQ(f.game.fieldStyle[2].fontSize, 25);
}

TEST(FieldEditor, KeypadDigitsEnterTheDigitThenMoveAndRejectedCharactersOnlyRedraw)
{
    Field f;
    f.Type("12").Press(kLeft, "4");  // keypad 4 with Num Lock on
    EXPECT_EQ(f.Line(1), "124");
    EXPECT_EQ(f.slots.caretColumn, 3);
    for (const char* ch : {"a", "1", ""}) {
        f.Press(30, ch);
        EXPECT_EQ(f.Line(1), "124");
        EXPECT_EQ(f.last.outcome, EditOutcome::Drawn);
    }
    f.Press(kHome, "7");  // keypad 7: the digit, then Home
    EXPECT_EQ(f.Line(1), "127");
    EXPECT_EQ(f.slots.caretColumn, 1);
}

TEST(FieldEditor, CaretGreyInOverwriteRedInInsertAndNoneOnARedraw)
{
    Field f;
    EXPECT_EQ(f.CaretBack(), 0x808080);
    f.Type("12").Press(kHome).Press(kInsert);
    EXPECT_EQ(f.CaretBack(), 0x0000FF);
    f.Type("3");
    EXPECT_EQ(f.Line(1), "312");
    EXPECT_EQ(f.Ops(DrawOpKind::MoveTo).back().x, 19);  // the caret, on column 2
    f.Press(kInsert).Press(kRight).Press(kPageDown).Press(kRedrawOnly);
    EXPECT_EQ(f.CaretBack(), -1);
    EXPECT_EQ(std::tuple(f.slots.leftColumn, f.slots.caretColumn, f.slots.caretLine), std::tuple(1, 1, 2));
}

TEST(FieldEditor, NoteMarksFallOnTheirCharacters)
{
    Field f;
    f.game.rowText[1][1] = "15 4";
    f.toggles.crossedOut[5] = true;
    f.toggles.highlighted[4] = true;
    f.Press(kRedrawOnly);
    EXPECT_EQ(f.Prints(0x0000FF), " |/| | ");
    EXPECT_EQ(f.Prints(0x006400), " | | |4");
    f.toggles.crossedOut[0] = true;  // a blank counts as the digit 0
    f.Press(kRedrawOnly);
    EXPECT_EQ(f.Prints(0x0000FF), " |/|/| ");
}

TEST(FieldEditor, BadFieldRowAndRuntimeErrorsDrawAndWriteNothing)
{
    Field bad(false);
    for (const auto& [row, message] : {std::pair{0, " 0"}, std::pair{-3, "-3"}}) {
        bad.slots = FieldSlots{5, 5, 5, 5, row};
        bad.Press(kActivate);
        EXPECT_EQ(bad.last.outcome, EditOutcome::BadFieldRow);
        EXPECT_EQ(bad.last.message, std::string("problemi con il numero del campo!") + message);
        EXPECT_TRUE(bad.last.picture.empty());
        EXPECT_EQ(bad.slots.topLine, 5);
    }
    Field never(false);
    never.Type("5");
    EXPECT_EQ(never.last.outcome, EditOutcome::RuntimeError);
    EXPECT_EQ(never.last.message, "Subscript out of range 9 in EditField");
    EXPECT_EQ(never.slots.caretLine, 0);
    Field zero;
    zero.measure = [](std::int32_t) { return FontCell{0, 38}; };
    zero.Press(kRight);
    EXPECT_EQ(zero.last.message, "Division by zero 11 in EditField");
    EXPECT_EQ(zero.slots.caretColumn, 1);
    TextLines buffer;
    EXPECT_EQ(LoadRow(buffer, zero.game.rowText, 15), "Subscript out of range 9 in LoadRow");
}

// A player who keeps scrolling, padding and joining lines: no line grows past 2000
// characters, while short lines still join and pad as before.
TEST(FieldEditorLimits, RepeatedEndPageDownDigitPageUpDeleteNoLongerDoublesALine)
{
    Field f;
    f.Press(2, "1");
    // End puts the caret after line 1; Page Down shows line 2 with the same sideways
    // scroll, where a digit pads line 2 to that length; back on line 1, Delete after
    // its end joins line 2 on. Each round once doubled the line: 16 rounds made it
    // 131071 characters long, and a few more took gigabytes.
    bool allDrawn = true;
    for (int round = 0; round < 16; ++round) {
        for (const auto& [key, ch] : {std::pair{kHome, ""}, {kEnd, ""}, {kPageDown, ""}, {6, "5"}, {kPageUp, ""},
                                      {kDelete, ""}}) {
            f.Press(key, ch);
            allDrawn = allDrawn && f.last.outcome == EditOutcome::Drawn;
        }
    }
    EXPECT_TRUE(allDrawn) << f.last.message;
    std::size_t longest = 0;
    for (int l = 1; l <= kLineCount; ++l) longest = std::max(longest, f.Line(l).size());
    EXPECT_LE(longest, 2000u);
    EXPECT_GE(longest, 1000u);  // the line did grow as far as it may
}

TEST(FieldEditorLimits, ShortLinesStillJoinAndPadButNothingPassesTwoThousandCharacters)
{
    Field join;
    join.game.rowText[1][1] = "12";
    join.game.rowText[1][2] = "34";
    join.slots.caretColumn = 3;
    join.Press(kDelete);
    EXPECT_EQ(join.Line(1), "1234");

    Field far;
    far.slots.leftColumn = 1500;
    far.Press(8, "7");
    EXPECT_EQ(far.Line(1).size(), 1500u);
    EXPECT_EQ(far.Line(1).back(), '7');

    Field tooLong;
    tooLong.game.rowText[1][1] = std::string(1200, ' ') + "1";
    tooLong.game.rowText[1][2] = std::string(900, ' ') + "2";
    tooLong.slots.leftColumn = 1300;
    tooLong.Press(kDelete);
    EXPECT_EQ(tooLong.Line(1).size(), 1201u);
    EXPECT_EQ(tooLong.Line(2).size(), 901u);

    Field type;
    type.slots.leftColumn = 2000;
    type.Press(8, "7");
    EXPECT_EQ(type.Line(1), "");

    Field pad;
    pad.slots.caretLine = pad.slots.topLine = kLineCount;
    pad.slots.leftColumn = 5000;
    pad.Press(kDelete);
    EXPECT_EQ(pad.Line(kLineCount), "");
    for (const Field* g : {&join, &far, &tooLong, &type, &pad}) EXPECT_EQ(g->last.outcome, EditOutcome::Drawn);
}

}  // namespace
