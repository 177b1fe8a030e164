// Drawing surfaces and their operations, checked by reading pixels back from the
// surface's bitmap and, for what the player sees, from the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "render/surface_win.h"
#include "win_test_support.h"

namespace {

constexpr Colour kWhite = 0x00FFFFFF;
constexpr Colour kBlack = 0x00000000;
constexpr Colour kRed = 0x000000FF;
constexpr Colour kBlue = 0x00FF0000;
constexpr Colour kGreen = 0x0000FF00;

constexpr int kId = 11;
constexpr int kWidth = 64;
constexpr int kHeight = 40;

using Pixels = std::vector<Colour>;

Colour At(const Pixels& pixels, int x, int y) { return pixels[static_cast<std::size_t>(y * kWidth + x)]; }

bool AllAre(const Pixels& pixels, Colour c)
{
    return std::all_of(pixels.begin(), pixels.end(), [c](Colour p) { return p == c; });
}

bool Contains(const Pixels& pixels, Colour c) { return std::find(pixels.begin(), pixels.end(), c) != pixels.end(); }

// Compares every pixel with the colour expected at its place; reports the first
// that differs.
template <class Expected>
void ExpectEveryPixel(const Pixels& pixels, Expected expected)
{
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (At(pixels, x, y) != expected(x, y)) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << At(pixels, x, y) << ", not "
                              << expected(x, y);
                return;
            }
        }
    }
}

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

class SurfaceTest : public ::testing::Test {
protected:
    SurfaceHost host{40, 40, 300, 200};
    HWND control = CreateSurface(host.window, kId, 10, 10, kWidth, kHeight, 0);

    void SetUp() override
    {
        SelectSurface(host.window, kId);
        SetInkColour(kBlack);
        SetTextBackColour(kTransparent);
    }
};

TEST_F(SurfaceTest, NewSurfaceIsAnOwnerDrawnControlFilledWithButtonFace)
{
    EXPECT_EQ(SurfaceSize().width, kWidth);
    EXPECT_EQ(SurfaceSize().height, kHeight);
    EXPECT_TRUE(AllAre(SurfacePixels(), GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(ReadPixel(kWidth, 0), CLR_INVALID);
    EXPECT_EQ(ReadPixel(0, kHeight), CLR_INVALID);

    const auto style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
    EXPECT_EQ(style & SS_TYPEMASK, static_cast<DWORD>(SS_OWNERDRAW));
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ(GetDlgCtrlID(control), kId);
    HWND notifying = CreateSurface(host.window, 13, 200, 10, 20, 20, SS_NOTIFY);
    const auto notifyingStyle = static_cast<DWORD>(GetWindowLongPtrA(notifying, GWL_STYLE));
    EXPECT_EQ(notifyingStyle & (SS_TYPEMASK | SS_NOTIFY), static_cast<DWORD>(SS_OWNERDRAW | SS_NOTIFY));
}

TEST_F(SurfaceTest, WithNoSurfaceCurrentOperationsDoNothingAndMeasureZero)
{
    ClearSurface(kWhite, 0);
    SelectSurface(host.window, 999);  // no such control: the previous surface stops being current
    EXPECT_EQ(SurfaceSize().width + SurfaceSize().height, 0);
    EXPECT_EQ(MeasureText("abc").width + MeasureText("abc").height, 0);
    EXPECT_EQ(FontCellSize().charWidth + FontCellSize().lineHeight, 0);
    EXPECT_EQ(ReadPixel(1, 1), 0u);
    SetFont("Times New Roman", 16, 1);
    SetTextBackColour(kBlue);
    MoveTo(5, 5);
    PrintText("abc");
    NewLine();
    DrawBox(0, 0, kWidth, kHeight, 0, kRed, kRed, 0);
    ClearSurface(kRed, 0);
    FloodFill(1.0, 1, kRed, kWhite);
    DrawImageFile("q.bmp", 0, 0, 9, 9);
    ShowSurface();

    SelectSurface(host.window, kId);
    EXPECT_TRUE(AllAre(SurfacePixels(), kWhite));
}

TEST_F(SurfaceTest, DestroyingTheControlEndsItsSurfaceEvenWhileCurrent)
{
    DestroyWindow(control);
    DrawBox(0, 0, 10, 10, 0, kRed, kRed, 0);  // must not reach the freed surface
    EXPECT_EQ(SurfaceSize().width, 0);
    SelectSurface(host.window, kId);
    EXPECT_EQ(SurfaceSize().width, 0);
}

TEST_F(SurfaceTest, BoxFromOriginToSizeCoversExactlyTheSurface)
{
    DrawBox(0, 0, kWidth, kHeight, 0, kGreen, kGreen, 0);
    EXPECT_TRUE(AllAre(SurfacePixels(), kGreen));
    ShowSurface();
    // On screen: the control's corners are green, the host's black just beyond them.
    EXPECT_EQ(ScreenPixel(control, 0, 0), kGreen);
    EXPECT_EQ(ScreenPixel(control, kWidth - 1, kHeight - 1), kGreen);
    EXPECT_EQ(ScreenPixel(host.window, 10 + kWidth, 10 + kHeight - 1), kBlack);
    EXPECT_EQ(ScreenPixel(host.window, 10 + kWidth - 1, 10 + kHeight), kBlack);
    EXPECT_EQ(ScreenPixel(host.window, 9, 10), kBlack);
}

TEST_F(SurfaceTest, BoxLeavesRightAndBottomEdgesOutWhicheverCornersComeFirst)
{
    ClearSurface(kWhite, 0);
    DrawBox(5, 4, 15, 12, 0, kBlue, kRed, 0);
    const Pixels box = SurfacePixels();
    ExpectEveryPixel(box, [](int x, int y) {
        if (x < 5 || x > 14 || y < 4 || y > 11) return kWhite;
        return (x == 5 || x == 14 || y == 4 || y == 11) ? kBlue : kRed;
    });
    ClearSurface(kWhite, 0);
    DrawBox(15, 12, 5, 4, 0, kBlue, kRed, 0);
    EXPECT_EQ(SurfacePixels(), box);
    ClearSurface(kWhite, 0);
    DrawBox(15, 4, 5, 12, 0, kBlue, kRed, 0);
    EXPECT_EQ(SurfacePixels(), box);
}

TEST_F(SurfaceTest, CoordinatesRoundToTheNearestPixelWithHalvesToEven)
{
    ClearSurface(kWhite, 0);
    DrawBox(12.5, 2.5, 13.5, 3.5, 0, kRed, kRed, 0);  // x 12..14, y 2..4
    ExpectEveryPixel(SurfacePixels(),
                     [](int x, int y) { return (x >= 12 && x <= 13 && y >= 2 && y <= 3) ? kRed : kWhite; });
    ClearSurface(kWhite, 0);
    DrawBox(-0.5, -1.5, 1.5, 0.4, 0, kRed, kRed, 0);  // y -2..0: nothing on the surface
    EXPECT_TRUE(AllAre(SurfacePixels(), kWhite));

    SetFont("Times New Roman", 16, 0);
    ClearSurface(kWhite, 0);
    MoveTo(12.5, 13.5);
    PrintText("Ab");
    const Pixels halves = SurfacePixels();
    ClearSurface(kWhite, 0);
    MoveTo(12, 14);
    PrintText("Ab");
    EXPECT_EQ(SurfacePixels(), halves);
}

// A font asked of the system directly and measured on a context of the test's own.
struct Reference {
    CellSize cell;
    PixelSize extent;
};

Reference MeasureReference(const std::string& face, int height, int weight, const std::string& text)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HFONT font = CreateFontA(-height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str());
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SIZE extent{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    DeleteObject(font);
    DeleteDC(dc);
    return {{metrics.tmAveCharWidth, metrics.tmHeight + metrics.tmExternalLeading}, {extent.cx, extent.cy}};
}

TEST_F(SurfaceTest, FontHeightIsPointsTimesDotsPerInchOverSeventyTwoTruncated)
{
    const std::string text = "Tentativo 07";
    for (const char* face : {"Times New Roman", "Lucida console"}) {
        for (const int size : {10, 12, 14, 16, 24}) {
            for (const int style : {0, 1}) {
                const int height = ScreenDpi() * size / 72;  // 14 points at 96 dpi: 18, not 19
                const Reference expected = MeasureReference(face, height, style ? 700 : 400, text);
                SetFont(face, size, style);
                SCOPED_TRACE(std::string(face) + " " + std::to_string(size) + " " + std::to_string(style));
                EXPECT_EQ(FontCellSize().lineHeight, expected.cell.lineHeight);
                EXPECT_EQ(FontCellSize().charWidth, expected.cell.charWidth);
                EXPECT_EQ(MeasureText(text).width, expected.extent.width);
                EXPECT_EQ(MeasureText(text).height, expected.extent.height);
            }
        }
    }
}

TEST_F(SurfaceTest, FontSizeOutsideOneToSeventyTwoMeansEightPoints)
{
    SetFont("Times New Roman", 8, 0);
    const CellSize eight = FontCellSize();
    const int eightWidth = MeasureText("Hg Wq").width;
    for (const int size : {0, 73, -5}) {
        SetFont("Times New Roman", size, 0);
        EXPECT_EQ(FontCellSize().lineHeight, eight.lineHeight) << size;
        EXPECT_EQ(FontCellSize().charWidth, eight.charWidth) << size;
        EXPECT_EQ(MeasureText("Hg Wq").width, eightWidth) << size;
    }
    SetFont("Times New Roman", 72, 0);
    EXPECT_GT(FontCellSize().lineHeight, 4 * eight.lineHeight);
}

TEST_F(SurfaceTest, FaceNameOfFortyCharactersIsCutToThirtyOne)
{
    const std::string longFace = "Times New Roman Times New Roman Times Ne";
    ASSERT_EQ(longFace.size(), 40u);
    SetFont(longFace, 16, 0);
    const Reference expected = MeasureReference(longFace.substr(0, 31), ScreenDpi() * 16 / 72, 400, "Wq");
    EXPECT_GT(FontCellSize().lineHeight, 0);
    EXPECT_EQ(FontCellSize().lineHeight, expected.cell.lineHeight);
    EXPECT_EQ(MeasureText("Wq").width, expected.extent.width);
    ClearSurface(kWhite, 0);
    PrintText("Wq");
    EXPECT_TRUE(Contains(SurfacePixels(), kBlack));
}

TEST_F(SurfaceTest, ItalicUnderlineAndStrikeoutEachChangeTheLetters)
{
    auto draw = [](int style) {
        ClearSurface(kWhite, 0);
        SetFont("Times New Roman", 16, style);
        PrintText("Hill");
        return SurfacePixels();
    };
    const Pixels plain = draw(0);
    EXPECT_TRUE(Contains(plain, kBlack));
    EXPECT_NE(draw(2), plain);
    EXPECT_NE(draw(4), plain);
    EXPECT_NE(draw(8), plain);
    EXPECT_NE(draw(4), draw(8));
}

TEST_F(SurfaceTest, EmptyTextChangesNoPixelAndKeepsThePosition)
{
    SetFont("Times New Roman", 16, 0);
    SetTextBackColour(kRed);  // an opaque background would show even an empty cell
    ClearSurface(kWhite, 0);
    MoveTo(7, 5);
    PrintText("");
    EXPECT_TRUE(AllAre(SurfacePixels(), kWhite));
    PrintText("Ab");
    const Pixels afterEmpty = SurfacePixels();
    ClearSurface(kWhite, 0);
    MoveTo(7, 5);
    PrintText("Ab");
    EXPECT_EQ(SurfacePixels(), afterEmpty);
}

TEST_F(SurfaceTest, TextGoesOnFromTheEndOfTheLastAndNewLineStartsTheNextLine)
{
    SetFont("Times New Roman", 12, 0);
    const int abWidth = MeasureText("Ab").width;
    const int lineHeight = FontCellSize().lineHeight;
    ClearSurface(kWhite, 0);
    MoveTo(3, 2);
    PrintText("Ab");
    PrintText("cd");
    NewLine();
    PrintText("Ef");
    const Pixels flowing = SurfacePixels();

    ClearSurface(kWhite, 0);
    MoveTo(3, 2);
    PrintText("Ab");
    MoveTo(3 + abWidth, 2);
    PrintText("cd");
    MoveTo(0, 2 + lineHeight);
    PrintText("Ef");
    EXPECT_EQ(SurfacePixels(), flowing);
}

TEST_F(SurfaceTest, TextBackColourFillsTheTextCellsAndTransparentLeavesThem)
{
    SetFont("Times New Roman", 16, 0);
    const PixelSize cell = MeasureText("  ");
    ClearSurface(kWhite, 0);
    SetTextBackColour(kBlue);
    PrintText("  ");
    ExpectEveryPixel(SurfacePixels(),
                     [cell](int x, int y) { return (x < cell.width && y < cell.height) ? kBlue : kWhite; });
    ClearSurface(kWhite, 0);
    SetTextBackColour(kTransparent);
    PrintText("  ");
    EXPECT_TRUE(AllAre(SurfacePixels(), kWhite));
}

TEST_F(SurfaceTest, ClearFillsTheWholeSurfaceAndReturnsToTheOrigin)
{
    SetFont("Times New Roman", 16, 0);
    ClearSurface(kWhite, 0);
    PrintText("Ab");
    const Pixels atOrigin = SurfacePixels();
    MoveTo(30, 20);
    ClearSurface(kGreen, 0);
    EXPECT_TRUE(AllAre(SurfacePixels(), kGreen));
    ClearSurface(kWhite, 0);
    PrintText("Ab");
    EXPECT_EQ(SurfacePixels(), atOrigin);
}

TEST_F(SurfaceTest, MissingUnreadableOrEmptyImageDrawsNothing)
{
    ScratchFolder folder;
    std::ofstream("notes.bmp") << "not a bitmap";
    WriteBitmapFile("red.bmp", 2, 2, Pixels(4, kRed));
    ClearSurface(kWhite, 0);
    DrawImageFile("missing.bmp", 0, 0, 31, 31);
    DrawImageFile("notes.bmp", 0, 0, 31, 31);
    DrawImageFile("", 0, 0, 31, 31);
    // Corners in the wrong order give a rectangle of no size: nothing, rather than
    // the file at its own size.
    DrawImageFile("red.bmp", 31, 0, 0, 31);
    DrawImageFile("red.bmp", 0, 31, 31, 0);
    EXPECT_TRUE(AllAre(SurfacePixels(), kWhite));
}

TEST_F(SurfaceTest, ImageIsStretchedOverBothCornersInclusive)
{
    ScratchFolder folder;
    WriteBitmapFile("red.bmp", 8, 8, Pixels(64, kRed));
    WriteBitmapFile("halves.bmp", 2, 1, {kRed, kBlue});
    ClearSurface(kWhite, 0);
    DrawImageFile("red.bmp", 0, 0, 31, 31);
    ExpectEveryPixel(SurfacePixels(), [](int x, int y) { return (x < 32 && y < 32) ? kRed : kWhite; });

    // The loader blends where it stretches, so only the ends of the colours are sure.
    ClearSurface(kWhite, 0);
    DrawImageFile("halves.bmp", 40.5, 3, 49, 4);  // 40.5 -> 40: ten columns, two rows
    const Pixels pixels = SurfacePixels();
    ExpectEveryPixel(pixels, [&pixels](int x, int y) {
        const bool inside = y >= 3 && y <= 4 && x >= 40 && x <= 49;
        return inside ? At(pixels, x, y) : kWhite;
    });
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kWhite), kWidth * kHeight - 20);
    EXPECT_EQ(At(pixels, 40, 3), kRed);
    EXPECT_EQ(At(pixels, 49, 4), kBlue);
}

TEST_F(SurfaceTest, ImageFileIsReadAfreshEachTime)
{
    ScratchFolder folder;
    ClearSurface(kWhite, 0);
    WriteBitmapFile("mark.bmp", 4, 4, Pixels(16, kRed));
    DrawImageFile("mark.bmp", 0, 0, 3, 3);
    EXPECT_EQ(ReadPixel(1, 1), kRed);
    WriteBitmapFile("mark.bmp", 4, 4, Pixels(16, kBlue));
    DrawImageFile("mark.bmp", 0, 0, 3, 3);
    EXPECT_EQ(ReadPixel(1, 1), kBlue);
    DeleteFileA("mark.bmp");
    DrawImageFile("mark.bmp", 4, 0, 7, 3);
    EXPECT_EQ(ReadPixel(5, 1), kWhite);
}

TEST_F(SurfaceTest, FloodFillWithItsOwnColourOrFromAnotherColourChangesNothing)
{
    ClearSurface(kWhite, 0);
    DrawBox(10, 10, 30, 30, 0, kBlack, kGreen, 0);
    const Pixels before = SurfacePixels();
    FloodFill(0.0, 0, kWhite, kWhite);
    FloodFill(0.0, 0, kRed, kGreen);  // (0, 0) is white, not green
    FloodFill(10.0, 10, kRed, kWhite);  // the border is black, not white
    EXPECT_EQ(SurfacePixels(), before);
}

TEST_F(SurfaceTest, FloodFillFollowsItsRegionToTheSurfaceEdgeAndNoFurther)
{
    ClearSurface(kWhite, 0);
    // A frame: the white outside it is a ring, the white inside it an island.
    DrawBox(10, 10, 30, 30, 0, kBlack, kWhite, 0);
    FloodFill(0.4, 0, kRed, kWhite);
    ExpectEveryPixel(SurfacePixels(), [](int x, int y) {
        if (x < 10 || x > 29 || y < 10 || y > 29) return kRed;
        return (x == 10 || x == 29 || y == 10 || y == 29) ? kBlack : kWhite;
    });
}

TEST_F(SurfaceTest, ScreenShowsANewPictureOnlyOnShowSurface)
{
    DrawBox(0, 0, kWidth, kHeight, 0, kBlue, kBlue, 0);
    ShowSurface();
    EXPECT_EQ(ScreenPixel(control, 5, 5), kBlue);

    DrawBox(0, 0, kWidth, kHeight, 0, kRed, kRed, 0);
    PumpMessages();
    EXPECT_EQ(ScreenPixel(control, 5, 5), kBlue);
    EXPECT_EQ(ScreenPixel(control, kWidth - 1, kHeight - 1), kBlue);

    ShowSurface();
    EXPECT_EQ(ScreenPixel(control, 5, 5), kRed);
    EXPECT_EQ(ScreenPixel(control, kWidth - 1, kHeight - 1), kRed);
}

TEST_F(SurfaceTest, DamagedOrHiddenControlRepaintsItsPicture)
{
    DrawBox(0, 0, kWidth, kHeight, 0, kGreen, kGreen, 0);
    ShowSurface();
    auto scribble = [this] {
        HDC dc = GetDC(control);
        const RECT all{0, 0, kWidth, kHeight};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        ReleaseDC(control, dc);
        ASSERT_EQ(ScreenPixel(control, 5, 5), kWhite);
    };

    scribble();
    InvalidateRect(control, nullptr, TRUE);
    PumpMessages();
    EXPECT_EQ(ScreenPixel(control, 5, 5), kGreen);
    EXPECT_EQ(ScreenPixel(control, kWidth - 1, kHeight - 1), kGreen);

    // Wine keeps the pixels of a covered window by itself, but a window hidden and
    // shown again has to be painted afresh.
    scribble();
    ShowWindow(host.window, SW_HIDE);
    PumpMessages();
    ShowWindow(host.window, SW_SHOW);
    PumpMessages();
    EXPECT_EQ(ScreenPixel(control, 5, 5), kGreen);
    EXPECT_EQ(ScreenPixel(control, kWidth - 1, kHeight - 1), kGreen);
}

TEST_F(SurfaceTest, MeasuringSurfaceNeedsNoControlAndEndsWithItsScope)
{
    SetFont("Lucida console", 24, 0);
    const CellSize onControl = FontCellSize();
    {
        MemorySurfaceScope measure(120, 10);
        EXPECT_EQ(SurfaceSize().width, 120);
        SetFont("Lucida console", 24, 0);
        EXPECT_EQ(FontCellSize().lineHeight, onControl.lineHeight);
        EXPECT_EQ(FontCellSize().charWidth, onControl.charWidth);
        ShowSurface();  // no control to show: nothing happens
    }
    EXPECT_EQ(SurfaceSize().width, 0);
    EXPECT_EQ(FontCellSize().lineHeight, 0);
}

TEST(GdiObjectCount, SeesObjectsMadeAndFreed)
{
    const long before = GdiObjectCount();
    ASSERT_GT(before, 0);
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 25; ++i) brushes.push_back(CreateSolidBrush(static_cast<COLORREF>(i)));
    EXPECT_EQ(GdiObjectCount(), before + 25);
    for (HBRUSH brush : brushes) DeleteObject(brush);
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST_F(SurfaceTest, MakingDrawingAndDestroyingSurfacesHoldsNoGdiObject)
{
    ScratchFolder folder;
    WriteBitmapFile("mark.bmp", 4, 4, Pixels(16, kRed));
    auto round = [this] {
        HWND made = CreateSurface(host.window, 50, 0, 60, 30, 30, 0);
        SelectSurface(host.window, 50);
        SetFont("Times New Roman", 16, 1);
        SetFont("Times New Roman", 12, 15);
        SetTextBackColour(kBlue);
        PrintText("Ab");
        ClearSurface(kWhite, 0);
        DrawBox(0, 0, 10, 10, 30, kRed, kBlue, 0);
        DrawImageFile("mark.bmp", 0, 0, 9, 9);
        DrawImageFile("missing.bmp", 0, 0, 9, 9);
        FloodFill(0.0, 0, kGreen, kRed);
        ShowSurface();
        DestroyWindow(made);  // the surface goes while it is current
        MemorySurfaceScope measure(120, 30);
        SetFont("Lucida console", 24, 0);
    };
    round();  // the first round makes the system's cached objects, which stay
    PumpMessages();
    const long baseline = GdiObjectCount();
    for (int i = 0; i < 200; ++i) round();
    PumpMessages();
    EXPECT_EQ(GdiObjectCount(), baseline);
}

}  // namespace
