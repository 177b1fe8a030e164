// How a text panel's text falls into lines, and which line sets its pitch.
#include "render/panel_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_state.h"

namespace {

using Lines = std::vector<std::string>;

TEST(PanelLines, OnlyCrLfPairsSplitAndATrailingPairLeavesAnEmptyLastLine)
{
    EXPECT_EQ(SplitPanelLines("a\r\nbcd\r\n"), (Lines{"a", "bcd", ""}));
    EXPECT_EQ(SplitPanelLines("one"), (Lines{"one"}));
    EXPECT_EQ(SplitPanelLines(""), (Lines{""}));
    EXPECT_EQ(SplitPanelLines("\r\n"), (Lines{"", ""}));
    EXPECT_EQ(SplitPanelLines("\r\n\r\nx"), (Lines{"", "", "x"}));
}

TEST(PanelLines, LoneCrOrLfOrAReversedPairStaysInsideItsLine)
{
    EXPECT_EQ(SplitPanelLines("a\nb"), (Lines{"a\nb"}));
    EXPECT_EQ(SplitPanelLines("a\rb"), (Lines{"a\rb"}));
    EXPECT_EQ(SplitPanelLines("a\n\rb"), (Lines{"a\n\rb"}));
    // The CR that ends a line may follow another CR; an LF may follow the pair.
    EXPECT_EQ(SplitPanelLines("a\r\r\nb\r\n\nc"), (Lines{"a\r", "b", "\nc"}));
}

TEST(PanelLines, TheGamesHelpTextHasFourLinesTheLastEmpty)
{
    InitGame();
    const Lines lines = SplitPanelLines(gameState.rowHelpText[14]);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], kHelpSentence1);
    EXPECT_EQ(lines[2], kHelpSentence3);
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(LongestLineIndex(lines), 0u);
}

TEST(LongestPanelLine, CountsCharactersAndTheFirstOfEquallyLongLinesWins)
{
    EXPECT_EQ(LongestLineIndex({"ab", "cd"}), 0u);
    EXPECT_EQ(LongestLineIndex({"a", "bcd", "efg", "hi"}), 1u);
    EXPECT_EQ(LongestLineIndex({"", "", "x"}), 2u);
    // Characters, not pixels: three narrow letters beat two wide ones.
    EXPECT_EQ(LongestLineIndex({"WW", "iii"}), 1u);
    EXPECT_EQ(LongestLineIndex({""}), 0u);
    EXPECT_EQ(LongestLineIndex({}), 0u);
}

}  // namespace
