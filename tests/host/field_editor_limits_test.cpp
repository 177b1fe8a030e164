// The field editor under a player who keeps scrolling, padding and joining lines: no
// line grows past 2000 characters, while short lines still join and pad as before.
#include <gtest/gtest.h>

#include <string>

#include "game/field_editor.h"

namespace {

using namespace fieldKey;

FontCell Measure(std::int32_t size) { return {(19 * size + 23) / 24, (38 * size + 23) / 24}; }

struct Field {
    GameState game;
    FieldSlots slots{1, 1, 1, 1, 1};
    FieldEditResult last;

    Field()
    {
        game.currentAttempt = 1;
        for (int r = 1; r <= kRowCount; ++r) {
            game.rowAllowedChars[r] = "0123456789";
            game.fieldStyle[r] = FieldStyle{1, 4, 0, 24, 0x191919, 0xD7D7D7, 1};
        }
    }
    Field& Press(std::int32_t key, const std::string& ch = "")
    {
        TextLines buffer;
        LoadRow(buffer, game.rowText, 1);
        last = EditFieldCore(game, key, ch, buffer, 1, 401, game.fieldStyle[1].fontSize, slots, 76, 38,
                             NoteToggles{}, Measure);
        game.rowText[1] = buffer;
        EXPECT_EQ(last.outcome, EditOutcome::Drawn) << last.message;
        return *this;
    }
    std::size_t Longest() const
    {
        std::size_t longest = 0;
        for (int l = 1; l <= kLineCount; ++l) longest = std::max(longest, game.rowText[1][l].size());
        return longest;
    }
};

}  // namespace

TEST(FieldEditorLimits, RepeatedEndPageDownDigitPageUpDeleteNoLongerDoublesALine)
{
    Field field;
    field.Press(2, "1");
    // End puts the caret after line 1; Page Down shows line 2 with the same sideways
    // scroll, where a digit pads line 2 to that length; back on line 1, Delete after
    // its end joins line 2 on. Each round once doubled the line: 16 rounds made it
    // 131071 characters long, and a few more took gigabytes.
    for (int round = 0; round < 16; ++round) {
        field.Press(kHome).Press(kEnd).Press(kPageDown).Press(6, "5").Press(kPageUp).Press(kDelete);
    }
    EXPECT_LE(field.Longest(), 2000u);
    EXPECT_GE(field.Longest(), 1000u);  // the line did grow as far as it may
}

TEST(FieldEditorLimits, ShortLinesStillJoinAndTypingFarRightStillPads)
{
    Field field;
    field.game.rowText[1][1] = "12";
    field.game.rowText[1][2] = "34";
    field.slots.caretColumn = 3;
    field.Press(kDelete);
    EXPECT_EQ(field.game.rowText[1][1], "1234");

    Field far;
    far.slots.leftColumn = 1500;
    far.Press(8, "7");
    EXPECT_EQ(far.game.rowText[1][1].size(), 1500u);
    EXPECT_EQ(far.game.rowText[1][1].back(), '7');
}

TEST(FieldEditorLimits, ChangesThatWouldPassTwoThousandCharactersAreRefused)
{
    Field join;
    join.game.rowText[1][1] = std::string(1200, ' ') + "1";
    join.game.rowText[1][2] = std::string(900, ' ') + "2";
    join.slots.leftColumn = 1300;
    join.Press(kDelete);
    EXPECT_EQ(join.game.rowText[1][1].size(), 1201u);
    EXPECT_EQ(join.game.rowText[1][2].size(), 901u);

    Field type;
    type.slots.leftColumn = 2000;
    type.Press(8, "7");
    EXPECT_EQ(type.game.rowText[1][1], "");

    Field pad;
    pad.slots.caretLine = kLineCount;
    pad.slots.topLine = kLineCount;
    pad.slots.leftColumn = 5000;
    pad.Press(kDelete);
    EXPECT_EQ(pad.game.rowText[1][kLineCount], "");
}
