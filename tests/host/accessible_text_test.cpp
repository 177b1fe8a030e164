// The words a screen reader finds on the board's surfaces.
#include "render/accessible_text.h"

#include <gtest/gtest.h>

#include "app/control_ids.h"

namespace {

TEST(AccessibleText, AnswerCountsSquaresThenCirclesWithItalianPlurals)
{
    EXPECT_EQ(AnswerInWords("QQC", true), "2 quadrati, 1 cerchio");
    EXPECT_EQ(AnswerInWords("Q", true), "1 quadrato");
    EXPECT_EQ(AnswerInWords("CCC", true), "3 cerchi");
    EXPECT_EQ(AnswerInWords("QCCC", true), "1 quadrato, 3 cerchi");
    EXPECT_EQ(AnswerInWords("QQQQ", true), "4 quadrati");
    // Whatever order the letters come in, the words say what the box shows.
    EXPECT_EQ(AnswerInWords("CQ", false), "1 quadrato, 1 cerchio");
}

TEST(AccessibleText, AnswerWithoutMarksIsNamedOnlyOnceScored)
{
    EXPECT_EQ(AnswerInWords("", true), "nessuna cifra giusta");
    EXPECT_EQ(AnswerInWords("", false), "");
}

TEST(AccessibleText, AnswerCountsOnlyMarksTheBoxDraws)
{
    // Lower case and other letters draw nothing; a fifth mark falls outside the box.
    EXPECT_EQ(AnswerInWords("qcx", true), "nessuna cifra giusta");
    EXPECT_EQ(AnswerInWords("qcx", false), "");
    EXPECT_EQ(AnswerInWords("QxCc", true), "1 quadrato, 1 cerchio");
    EXPECT_EQ(AnswerInWords("QQQQC", true), "4 quadrati");
}

TEST(AccessibleText, FieldReadsEachCharacterOfItsGuessLine)
{
    EXPECT_EQ(FieldName("Tentativo 03", "1234"), "Tentativo 03: 1 2 3 4");
    EXPECT_EQ(FieldName("Tentativo 14", "7"), "Tentativo 14: 7");
    EXPECT_EQ(FieldName("Tentativo 03", ""), "Tentativo 03: vuoto");
    EXPECT_EQ(FieldName("Tentativo 03", "    "), "Tentativo 03: vuoto");
}

TEST(AccessibleText, FieldSaysLeadingAndInnerBlanksButNotTrailingOnes)
{
    EXPECT_EQ(FieldName("Tentativo 01", "12 7 "), "Tentativo 01: 1 2 spazio 7");
    EXPECT_EQ(FieldName("Tentativo 01", " 5"), "Tentativo 01: spazio 5");
}

TEST(AccessibleText, TextPanelJoinsItsLinesAndLeavesEmptyOnesOut)
{
    EXPECT_EQ(TextPanelName("Tentativo 03", ""), "Tentativo 03");
    EXPECT_EQ(TextPanelName("Scrivi.\r\nIl quadrato.\r\nIl cerchio.\r\n", ""), "Scrivi. Il quadrato. Il cerchio.");
    EXPECT_EQ(TextPanelName("", ""), "");
    // Only CR LF ends a line, as in the drawing.
    EXPECT_EQ(TextPanelName("a\r\n\r\nb", ""), "a b");
    EXPECT_EQ(TextPanelName("Tentativo 02", "x"), "Tentativo 02, nota: x");
    EXPECT_EQ(TextPanelName("", "x"), "nota: x");
}

TEST(AccessibleText, DigitPanelListsTheDigitsNotYetTried)
{
    EXPECT_EQ(InfoPanelName(kDigitPanel, "05-03-2026", "0-------89"), "05-03-2026, cifre non provate: 0 8 9");
    EXPECT_EQ(InfoPanelName(kDigitPanel, "05-03-2026", "0123456789"),
              "05-03-2026, cifre non provate: 0 1 2 3 4 5 6 7 8 9");
    EXPECT_EQ(InfoPanelName(kDigitPanel, "05-03-2026", "----------"), "05-03-2026, cifre non provate: nessuna");
}

TEST(AccessibleText, ClockPanelsSayTheTimeAndTheSecondsInWords)
{
    EXPECT_EQ(InfoPanelName(kClockPanel, " 14:05:09 ", "input # 3"), "ore 14:05:09, input # 3");
    EXPECT_EQ(InfoPanelName(kElapsedPanel, "12.3 s", "secondi"), "12.3 secondi");
    EXPECT_EQ(InfoPanelName(999, " a ", "b"), "a, b");
    EXPECT_EQ(InfoPanelName(999, "a", ""), "a");
}

}  // namespace
