// The text panels of the board, checked pixel by pixel on their surfaces.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "render/panels_win.h"
#include "render/surface_win.h"
#include "win_test_support.h"

namespace {

constexpr Colour kBlack = 0x00000000;
constexpr Colour kPanelGrey = 0x00CDCDCD;

constexpr int kTextId = 301;
constexpr int kInfoId = 111;
constexpr int kScratchId = 900;
constexpr int kHelpId = 1300;
constexpr int kHelpReferenceId = 1301;

constexpr int kTextWidth = 200;
constexpr int kTextHeight = 100;
constexpr int kInfoWidth = 180;
constexpr int kInfoHeight = 40;

// A picture of one surface with its width, so pixels can be found by position.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;

    Colour At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

Picture Take(HWND window, int id)
{
    SelectSurface(window, id);
    const PixelSize size = SurfaceSize();
    return {size.width, size.height, SurfacePixels()};
}

struct Box {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = -1;
    int bottom = -1;
    bool empty() const { return right < 0; }
};

// The smallest box around the pixels of the rows top..bottom that are none of the
// colours given.
Box BoundsOfOther(const Picture& p, int top, int bottom, std::vector<Colour> background)
{
    Box b;
    for (int y = top; y <= bottom; ++y) {
        for (int x = 0; x < p.width; ++x) {
            if (std::find(background.begin(), background.end(), p.At(x, y)) != background.end()) continue;
            b.left = std::min(b.left, x);
            b.top = std::min(b.top, y);
            b.right = std::max(b.right, x);
            b.bottom = std::max(b.bottom, y);
        }
    }
    return b;
}

int CountOf(const Picture& p, int top, int bottom, int fromX, Colour c)
{
    int n = 0;
    for (int y = std::max(top, 0); y <= std::min(bottom, p.height - 1); ++y) {
        for (int x = fromX; x < p.width; ++x) n += p.At(x, y) == c ? 1 : 0;
    }
    return n;
}

int TopRowOf(const Picture& p, int top, int bottom, Colour c)
{
    for (int y = top; y <= bottom; ++y) {
        for (int x = 0; x < p.width; ++x) {
            if (p.At(x, y) == c) return y;
        }
    }
    return -1;
}

int HalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

class PanelTest : public ::testing::Test {
protected:
    SurfaceHost host{40, 40, 900, 300};
    HWND savedMainWindow = mainWindow;

    void SetUp() override
    {
        CreateSurface(host.window, kTextId, 0, 0, kTextWidth, kTextHeight, 0);
        CreateSurface(host.window, kInfoId, 210, 0, kInfoWidth, kInfoHeight, 0);
        CreateSurface(host.window, kScratchId, 400, 0, kInfoWidth, kInfoHeight, 0);
        CreateSurface(host.window, kHelpId, 0, 110, 820, 65, 0);
        CreateSurface(host.window, kHelpReferenceId, 0, 180, 820, 65, 0);
        mainWindow = host.window;
    }
    void TearDown() override { mainWindow = savedMainWindow; }

    // The line pitch of a text panel in Times New Roman 16: the measured height.
    int Pitch()
    {
        SelectSurface(host.window, kTextId);
        SetFont("Times New Roman", 16, 0);
        return MeasureText("BBB").height;
    }
};

TEST_F(PanelTest, TextPanelWithEmptyTextIsJustItsBackground)
{
    SelectSurface(host.window, kTextId);
    ClearSurface(kBlack, 0);
    DrawTextPanel(host.window, kTextId, "", "Times New Roman", 16, kBlack, kPanelGrey, 0, "");
    const Picture p = Take(host.window, kTextId);
    EXPECT_EQ(std::count(p.pixels.begin(), p.pixels.end(), kPanelGrey), kTextWidth * kTextHeight);
}

TEST_F(PanelTest, TextPanelSplitsAtCrLfAndNotesEveryLineIncludingAFinalEmptyOne)
{
    const int pitch = Pitch();
    ASSERT_LE(3 * pitch, kTextHeight);
    SelectSurface(host.window, kTextId);
    const int noteWidth = MeasureText("M").width;

    DrawTextPanel(host.window, kTextId, "AAAAAA\r\nBBBBBBBB\r\n", "Times New Roman", 16, kBlack, kPanelGrey, 0, "M");
    const Picture p = Take(host.window, kTextId);

    // Three lines, one pitch apart: the red note marks the top of each.
    const int firstNote = TopRowOf(p, 0, pitch - 1, noteColour);
    ASSERT_GE(firstNote, 0);
    EXPECT_EQ(TopRowOf(p, pitch, 2 * pitch - 1, noteColour), firstNote + pitch);
    EXPECT_EQ(TopRowOf(p, 2 * pitch, 3 * pitch - 1, noteColour), firstNote + 2 * pitch);
    EXPECT_EQ(CountOf(p, 3 * pitch, kTextHeight - 1, 0, noteColour), 0);
    // Ink beyond the note on the two lines with text, none on the empty third one.
    EXPECT_GT(CountOf(p, 0, pitch - 1, noteWidth, kBlack), 0);
    EXPECT_GT(CountOf(p, pitch, 2 * pitch - 1, noteWidth, kBlack), 0);
    EXPECT_EQ(CountOf(p, 2 * pitch, kTextHeight - 1, 0, kBlack), 0);
}

TEST_F(PanelTest, TextPanelKeepsALoneCrOrLfInsideTheLine)
{
    const int pitch = Pitch();
    DrawTextPanel(host.window, kTextId, "AAAA\nBBBB\rCCCC", "Times New Roman", 16, kBlack, kPanelGrey, 0, "M");
    const Picture p = Take(host.window, kTextId);
    EXPECT_GT(CountOf(p, 0, pitch - 1, 0, noteColour), 0);
    EXPECT_GT(CountOf(p, 0, pitch - 1, 0, kBlack), 0);
    const Box below = BoundsOfOther(p, pitch, kTextHeight - 1, {kPanelGrey});
    EXPECT_TRUE(below.empty()) << "something drawn at row " << below.top;
}

TEST_F(PanelTest, InfoPanelHasADarkUpperHalfAndABorderedLightLowerHalf)
{
    DrawInfoPanel(host.window, kInfoId, "12-31-2024", "0123456789");
    const Picture p = Take(host.window, kInfoId);
    const int last = kInfoWidth - 1;

    for (const auto& [x, y] : {std::pair{0, 0}, {last, 0}, {0, 19}, {last, 19}}) {
        EXPECT_EQ(p.At(x, y), infoTopColour) << x << "," << y;
    }
    EXPECT_GT(CountOf(p, 0, 19, 0, infoTopInkColour), 0);
    EXPECT_EQ(CountOf(p, 0, 19, 0, infoBottomFillColour), 0);
    EXPECT_EQ(CountOf(p, 0, 19, 0, infoBorderColour), 0);

    for (int x = 0; x < kInfoWidth; ++x) {
        EXPECT_EQ(p.At(x, 20), infoBorderColour) << x;
        EXPECT_EQ(p.At(x, 39), infoBorderColour) << x;
    }
    for (int y = 20; y < kInfoHeight; ++y) {
        EXPECT_EQ(p.At(0, y), infoBorderColour) << y;
        EXPECT_EQ(p.At(last, y), infoBorderColour) << y;
    }
    EXPECT_EQ(p.At(1, 21), infoBottomFillColour);
    EXPECT_EQ(p.At(last - 1, 38), infoBottomFillColour);
    EXPECT_GT(CountOf(p, 21, 38, 0, infoBottomInkColour), 0);
}

TEST_F(PanelTest, InfoPanelWithEmptyBottomTextStillDrawsTheLowerHalf)
{
    SelectSurface(host.window, kInfoId);
    ClearSurface(kBlack, 0);
    DrawInfoPanel(host.window, kInfoId, "12-31-2024", "");
    const Picture p = Take(host.window, kInfoId);
    for (int y = 20; y < kInfoHeight; ++y) {
        for (int x = 0; x < kInfoWidth; ++x) {
            const bool border = y == 20 || y == 39 || x == 0 || x == kInfoWidth - 1;
            EXPECT_EQ(p.At(x, y), border ? infoBorderColour : infoBottomFillColour) << x << "," << y;
        }
    }
}

// Where a text's ink lies when it is printed at (0, 0) on a plain surface.
Box InkOfTextAtOrigin(HWND window, const std::string& text, int size, int style, Colour ink, Colour back)
{
    SelectSurface(window, kScratchId);
    ClearSurface(back, 0);
    SetFont("OCR-B 10 BT", size, style);
    SetInkColour(ink);
    SetTextBackColour(kTransparent);
    MoveTo(0, 0);
    PrintText(text);
    const Picture p = Take(window, kScratchId);
    return BoundsOfOther(p, 0, p.height - 1, {back});
}

TEST_F(PanelTest, InfoPanelCentresEachTextInItsHalfAsMeasured)
{
    const std::string top = "12-31-2024";
    const std::string bottom = "input # 14";
    SelectSurface(host.window, kInfoId);
    SetFont("OCR-B 10 BT", 14, 1);
    const PixelSize topSize = MeasureText(top);
    SetFont("OCR-B 10 BT", 12, 0);
    const PixelSize bottomSize = MeasureText(bottom);
    const Box topInk = InkOfTextAtOrigin(host.window, top, 14, 1, infoTopInkColour, infoTopColour);
    const Box bottomInk = InkOfTextAtOrigin(host.window, bottom, 12, 0, infoBottomInkColour, infoBottomFillColour);
    ASSERT_FALSE(topInk.empty());
    ASSERT_FALSE(bottomInk.empty());

    DrawInfoPanel(host.window, kInfoId, top, bottom);
    const Picture p = Take(host.window, kInfoId);

    const int topX = HalfEven((kInfoWidth - topSize.width) / 2.0);
    const int topY = HalfEven((20 - topSize.height) / 2.0);
    const Box topFound = BoundsOfOther(p, 0, 19, {infoTopColour});
    EXPECT_EQ(topFound.left, topX + topInk.left);
    EXPECT_EQ(topFound.right, topX + topInk.right);
    EXPECT_EQ(topFound.top, std::max(0, topY + topInk.top));

    const int bottomX = HalfEven((kInfoWidth - bottomSize.width) / 2.0);
    const int bottomY = HalfEven(20 + (20 - bottomSize.height) / 2.0);
    const Box bottomFound = BoundsOfOther(p, 21, 38, {infoBottomFillColour, infoBorderColour});
    EXPECT_EQ(bottomFound.left, bottomX + bottomInk.left);
    EXPECT_EQ(bottomFound.right, bottomX + bottomInk.right);
    EXPECT_EQ(bottomFound.top, std::max(21, bottomY + bottomInk.top));
}

TEST_F(PanelTest, HelpPanelShowsTheHelpTextOfTheAttemptGiven)
{
    const GameState saved = gameState;
    gameState.panelColour = kPanelGrey;
    for (int r = 1; r <= kRowCount; ++r) gameState.rowHelpText[r] = "Riga " + std::to_string(r) + "\r\nseconda riga\r\n";

    DrawHelpPanel(14);
    const Picture shown = Take(mainWindow, kHelpId);
    DrawTextPanel(host.window, kHelpReferenceId, gameState.rowHelpText[14], "Times New Roman", 10, helpInkColour,
                  kPanelGrey, 0, "");
    EXPECT_EQ(shown.pixels, Take(host.window, kHelpReferenceId).pixels);
    EXPECT_GT(std::count(shown.pixels.begin(), shown.pixels.end(), kPanelGrey), 0);
    EXPECT_LT(std::count(shown.pixels.begin(), shown.pixels.end(), kPanelGrey), 820 * 65);

    DrawHelpPanel(1);
    const Picture first = Take(mainWindow, kHelpId);
    EXPECT_NE(first.pixels, shown.pixels);
    DrawHelpPanel(0);
    DrawHelpPanel(15);
    EXPECT_EQ(Take(mainWindow, kHelpId).pixels, first.pixels);
    gameState = saved;
}

TEST_F(PanelTest, TenThousandInfoPanelRedrawsHoldNoMoreGdiObjects)
{
    // The first drawing makes objects that stay for the life of the process (the
    // system's cached contexts and fonts): the count is taken after it.
    DrawInfoPanel(host.window, kInfoId, "12:00:00", "input #  1");
    PumpMessages();
    const long baseline = GdiObjectCount();
    ASSERT_GT(baseline, 0);
    for (int i = 0; i < 10000; ++i) {
        DrawInfoPanel(host.window, kInfoId, std::to_string(i), i % 2 ? "secondi" : "");
    }
    PumpMessages();
    EXPECT_EQ(GdiObjectCount(), baseline);
}

}  // namespace
