// Drawing surfaces and their operations, checked by reading pixels back from the
// surface's bitmap and, for what the player sees, from the screen.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "render/surface_win.h"
#include "win_test_support.h"

namespace {

class SurfaceTest : public RenderTest {};

TEST_F(SurfaceTest, BoxCoversFromItsFirstCornerUpToItsSecondInEitherOrder)
{
    DrawBox(kPlain.width, kPlain.height, 0, 0, 0, kGreen, kGreen, 0);
    EXPECT_TRUE(PixelsMatch(kPlain, [](int, int) { return kGreen; }));
    ShowSurface();  // on screen, the host's black just beyond it stays
    EXPECT_EQ(ScreenPixel(host, kPlain.x + kPlain.width, kPlain.y), kBlack);
    EXPECT_EQ(ScreenPixel(host, kPlain.x, kPlain.y + kPlain.height), kBlack);

    const auto box = [](int x, int y) {
        if (x < 5 || x > 14 || y < 4 || y > 11) return kWhite;
        return (x == 5 || x == 14 || y == 4 || y == 11) ? kBlue : kRed;
    };
    for (const auto& [x1, y1, x2, y2] : {std::array{5, 4, 15, 12}, {15, 12, 5, 4}, {15, 4, 5, 12}}) {
        ClearSurface(kWhite, 0);
        DrawBox(x1, y1, x2, y2, 0, kBlue, kRed, 0);
        EXPECT_TRUE(PixelsMatch(kPlain, box)) << x1 << "," << y1 << " to " << x2 << "," << y2;
    }
}

TEST_F(SurfaceTest, CoordinatesRoundToTheNearestPixelWithHalvesToEven)
{
    ClearSurface(kWhite, 0);
    DrawBox(12.5, 2.5, 13.5, 3.5, 0, kRed, kRed, 0);  // from 12, 2 to 14, 4
    EXPECT_TRUE(
        PixelsMatch(kPlain, [](int x, int y) { return x >= 12 && x <= 13 && y >= 2 && y <= 3 ? kRed : kWhite; }));

    SetFont("Times New Roman", 16, 0);
    const auto printedAt = [this](double x, double y) {
        ClearSurface(kWhite, 0);
        MoveTo(x, y);
        PrintText("Ab");
        return Pixels(kPlain);
    };
    EXPECT_TRUE(printedAt(12.5, 13.5) == printedAt(12, 14));
}

TEST_F(SurfaceTest, FontSizeOutsideOneToSeventyTwoIsEightPointsAndALongFaceNameIsCut)
{
    SetFont("Times New Roman", 8, 0);
    const int eight = FontCellSize().lineHeight;
    for (const int size : {0, 73, -5}) {
        SetFont("Times New Roman", size, 0);
        EXPECT_EQ(FontCellSize().lineHeight, eight) << size;
    }
    SetFont("Times New Roman", 72, 0);
    EXPECT_GT(FontCellSize().lineHeight, 4 * eight);

    const std::string longFace = "Times New Roman Times New Roman Times Ne";
    SetFont(longFace, 16, 0);  // after 72 points: a font refused would leave those
    const int height = FontCellSize().lineHeight;
    SetFont(longFace.substr(0, 31), 16, 0);
    EXPECT_EQ(FontCellSize().lineHeight, height);
}

TEST_F(SurfaceTest, EmptyTextChangesNothingAndTextGoesOnFromTheEndOfTheLast)
{
    SetFont("Times New Roman", 16, 0);
    SetTextBackColour(kRed);  // an opaque background would show even an empty cell
    ClearSurface(kWhite, 0);
    MoveTo(7, 5);
    PrintText("");
    EXPECT_TRUE(PixelsMatch(kPlain, [](int, int) { return kWhite; }));
    PrintText("Ab");
    PrintText("cd");
    const std::vector<Colour> flowing = Pixels(kPlain);
    ClearSurface(kWhite, 0);
    MoveTo(7, 5);
    PrintText("Ab");
    MoveTo(7 + MeasureText("Ab").width, 5);
    PrintText("cd");
    EXPECT_TRUE(Pixels(kPlain) == flowing);
}

TEST_F(SurfaceTest, ImageCoversBothCornersInclusiveAndAMissingFileDrawsNothing)
{
    ScratchFolder folder;
    WriteBitmapFile("red.bmp", 8, 8, std::vector<Colour>(64, kRed));
    ClearSurface(kWhite, 0);
    DrawImageFile("missing.bmp", 0, 0, 31, 31);
    EXPECT_TRUE(PixelsMatch(kPlain, [](int, int) { return kWhite; }));
    DrawImageFile("red.bmp", 0, 0, 31, 31);
    EXPECT_TRUE(PixelsMatch(kPlain, [](int x, int y) { return x < 32 && y < 32 ? kRed : kWhite; }));
}

TEST_F(SurfaceTest, FloodFillRepaintsItsWholeRegionAndNothingWhenColoursDoNotFit)
{
    // A frame: the white outside it is a ring around a green island.
    ClearSurface(kWhite, 0);
    DrawBox(10, 10, 30, 30, 0, kBlack, kGreen, 0);
    const std::vector<Colour> before = Pixels(kPlain);
    FloodFill(0.0, 0, kWhite, kWhite);
    FloodFill(0.0, 0, kRed, kGreen);    // (0, 0) is white, not green
    FloodFill(10.0, 10, kRed, kWhite);  // the border is black, not white
    EXPECT_TRUE(Pixels(kPlain) == before);

    FloodFill(0.4, 0, kRed, kWhite);
    EXPECT_TRUE(PixelsMatch(kPlain, [](int x, int y) {
        if (x < 10 || x > 29 || y < 10 || y > 29) return kRed;
        return (x == 10 || x == 29 || y == 10 || y == 29) ? kBlack : kGreen;
    }));
}

TEST_F(SurfaceTest, ScreenShowsTheBitmapOnlyOnShowSurfaceAndRepaintsItWhenInvalidated)
{
    HWND control = GetDlgItem(host, kPlain.id);
    const auto shows = [control](Colour c) {
        return ScreenPixel(control, 5, 5) == c && ScreenPixel(control, kPlain.width - 1, kPlain.height - 1) == c;
    };
    EXPECT_TRUE(shows(GetSysColor(COLOR_BTNFACE)));  // a new surface's picture
    DrawBox(0, 0, kPlain.width, kPlain.height, 0, kBlue, kBlue, 0);
    PumpMessages();
    EXPECT_TRUE(shows(GetSysColor(COLOR_BTNFACE)));
    ShowSurface();
    EXPECT_TRUE(shows(kBlue));

    HDC dc = GetDC(control);  // scribbled over on screen
    PatBlt(dc, 0, 0, kPlain.width, kPlain.height, WHITENESS);
    ReleaseDC(control, dc);
    ASSERT_TRUE(shows(kWhite));
    InvalidateRect(control, nullptr, TRUE);
    PumpMessages();
    EXPECT_TRUE(shows(kBlue));
}

}  // namespace
