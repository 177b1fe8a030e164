// The text panels of the board, checked pixel by pixel on their surfaces. How a
// text splits into lines and which line is measured is checked on the portable
// core (tests/host/panel_text_test.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "render/panels_win.h"
#include "render/surface_win.h"
#include "win_test_support.h"

namespace {

constexpr Colour kGrey = 0x00CDCDCD;

class PanelTest : public RenderTest {};

TEST_F(PanelTest, TextPanelStartsALineAtEachCrLfOnePitchBelowTheLast)
{
    SelectSurface(host, kText.id);
    SetFont("Times New Roman", 16, 0);
    const int pitch = MeasureText("A").height;
    ASSERT_GE(kText.height, 4 * pitch);
    // The text, its lines (each with the note at its start), the lines with text of their own.
    for (const auto& [text, lines, inked] : {std::tuple{"AAAA\r\nBBBBBBB\r\n", 3, 2}, {"AAAA\nBBB\rCC", 1, 1}}) {
        DrawTextPanel(host, kText.id, text, "Times New Roman", 16, kBlack, kGrey, 0, "M");
        const std::vector<Colour> p = Pixels(kText);
        // The top row of line k's band that holds colour c, or -1.
        const auto topRowOf = [&p, pitch](int k, Colour c) {
            for (int y = k * pitch; y < (k + 1) * pitch; ++y) {
                const auto row = p.begin() + y * kText.width;
                if (std::find(row, row + kText.width, c) != row + kText.width) return y;
            }
            return -1;
        };
        const int firstNote = topRowOf(0, noteColour);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(topRowOf(k, noteColour), k < lines ? firstNote + k * pitch : -1) << text << ", line " << k;
            EXPECT_EQ(topRowOf(k, kBlack) >= 0, k < inked) << text << ", line " << k;
        }
    }
}

int HalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

TEST_F(PanelTest, InfoPanelCentresItsTextsAsMeasuredOnADarkUpperAndABorderedLowerHalf)
{
    // A text alone on a surface of the panel's size, at the centre of its half as
    // measured: (w - tw) / 2 across, (h / 2 - th) / 2 down.
    const auto alone = [this](const std::string& text, int size, int style, Colour ink, Colour back, int top) {
        SelectSurface(host, kPlain.id);
        ClearSurface(back, 0);
        SetFont("OCR-B 10 BT", size, style);
        SetInkColour(ink);
        const PixelSize measured = MeasureText(text);
        MoveTo(HalfEven((kPlain.width - measured.width) / 2.0), HalfEven(top + (20 - measured.height) / 2.0));
        PrintText(text);
        return Pixels(kPlain);
    };
    for (const std::string bottom : {"input # 14", ""}) {
        const std::vector<Colour> upper = alone("12-31-2024", 14, 1, infoTopInkColour, infoTopColour, 0);
        const std::vector<Colour> lower = alone(bottom, 12, 0, infoBottomInkColour, infoBottomFillColour, 20);
        DrawInfoPanel(host, kInfo.id, "12-31-2024", bottom);
        const auto panel = [&](int x, int y) {
            const auto at = static_cast<std::size_t>(y * kInfo.width + x);
            if (y < 20) return upper[at];
            return (y == 20 || y == 39 || x == 0 || x == kInfo.width - 1) ? infoBorderColour : lower[at];
        };
        EXPECT_TRUE(PixelsMatch(kInfo, panel)) << "bottom text \"" << bottom << '"';
    }
}

}  // namespace
