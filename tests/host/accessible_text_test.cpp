// The words a screen reader finds on the board's surfaces.
#include "render/accessible_text.h"

#include <gtest/gtest.h>

#include "app/control_ids.h"

TEST(AccessibleText, AnswerCountsTheMarksTheBoxShowsWithItalianPlurals)
{
    EXPECT_EQ(AnswerInWords("Q", true), "1 quadrato");
    EXPECT_EQ(AnswerInWords("QQC", true), "2 quadrati, 1 cerchio");
    EXPECT_EQ(AnswerInWords("CCC", true), "3 cerchi");
    // Squares first whatever the order; marks are named scored or not.
    EXPECT_EQ(AnswerInWords("CQ", false), "1 quadrato, 1 cerchio");
    // Only upper-case Q and C in the four cells draw a mark.
    EXPECT_EQ(AnswerInWords("QxCc", true), "1 quadrato, 1 cerchio");
    EXPECT_EQ(AnswerInWords("QQQQC", true), "4 quadrati");
    // No mark at all: said once scored, silent before.
    EXPECT_EQ(AnswerInWords("qcx", true), "nessuna cifra giusta");
    EXPECT_EQ(AnswerInWords("", false), "");
}

TEST(AccessibleText, FieldSpellsOutItsGuessLineUpToItsLastCharacter)
{
    EXPECT_EQ(FieldName("Tentativo 03", "1234"), "Tentativo 03: 1 2 3 4");
    EXPECT_EQ(FieldName("Tentativo 01", " 12 7 "), "Tentativo 01: spazio 1 2 spazio 7");
    EXPECT_EQ(FieldName("Tentativo 03", "    "), "Tentativo 03: vuoto");
}

TEST(AccessibleText, PanelsSayWhatTheyShowInWords)
{
    // Lines end only at CR LF, as drawn; empty ones are left out.
    EXPECT_EQ(TextPanelName(" Scrivi.\r\n\r\nIl quadrato.\nIl cerchio.\r\n", ""), "Scrivi. Il quadrato.\nIl cerchio.");
    EXPECT_EQ(TextPanelName("Tentativo 02", "x"), "Tentativo 02, nota: x");
    EXPECT_EQ(TextPanelName("", "x"), "nota: x");
    EXPECT_EQ(InfoPanelName(kDigitPanel, "05-03-2026", "0-------89"), "05-03-2026, cifre non provate: 0 8 9");
    EXPECT_EQ(InfoPanelName(kDigitPanel, "05-03-2026", "----------"), "05-03-2026, cifre non provate: nessuna");
    EXPECT_EQ(InfoPanelName(kClockPanel, " 14:05:09 ", "input # 3"), "ore 14:05:09, input # 3");
    EXPECT_EQ(InfoPanelName(kElapsedPanel, "12.3 s", "secondi"), "12.3 secondi");
    EXPECT_EQ(InfoPanelName(999, " a ", "b"), "a, b");
    EXPECT_EQ(InfoPanelName(999, "a", ""), "a");
}
