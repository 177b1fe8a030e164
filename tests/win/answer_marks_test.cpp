// The answer box: marks from q.bmp and c.bmp, each standing on the box's colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/answer_marks_win.h"
#include "render/surface_win.h"
#include "win_test_support.h"

namespace {

// The colours of the marks that come with the game (see scripts/make-marks.py).
constexpr Colour kSquareColour = 0x00286E28;  // red 40, green 110, blue 40
constexpr Colour kCircleColour = 0x00A02828;  // red 40, green 40, blue 160
constexpr Colour kWhite = 0x00FFFFFF;
constexpr Colour kBlue = 0x00FF0000;
constexpr Colour kYellow = 0x0000FFFF;

constexpr int kId = 501;
constexpr int kCell = 38;  // the line height of the rows' font in the test setup
constexpr int kWidth = 4 * kCell;

std::vector<Colour> Pixels(HWND window)
{
    SelectSurface(window, kId);
    return SurfacePixels();
}

Colour At(const std::vector<Colour>& pixels, int x, int y)
{
    return pixels[static_cast<std::size_t>(y * kWidth + x)];
}

// What cell k shows: 'Q' a square (solid centre), 'C' a circle (white centre on a
// ring), '-' nothing but the box colour, '?' anything else.
char CellShows(const std::vector<Colour>& pixels, int k)
{
    const int left = k * kCell;
    const int centre = kCell / 2;
    bool plain = true;
    bool ring = false;
    for (int y = 0; y < kCell; ++y) {
        for (int x = left; x < left + kCell; ++x) {
            plain = plain && At(pixels, x, y) == answerSurfaceColour;
            ring = ring || (y == centre && At(pixels, x, y) == kCircleColour);
        }
    }
    if (plain) return '-';
    const Colour middle = At(pixels, left + centre, centre);
    if (middle == kSquareColour) return 'Q';
    if (middle == kWhite && ring) return 'C';
    return '?';
}

std::string BoxShows(const std::vector<Colour>& pixels)
{
    std::string shown;
    for (int k = 0; k < 4; ++k) shown += CellShows(pixels, k);
    return shown;
}

// An answer box as a row of the game has it, with the game's images in the current
// directory.
class AnswerMarksTest : public ::testing::Test {
protected:
    SurfaceHost host{40, 40, 300, 100};
    std::string previousFolder;

    void SetUp() override
    {
        CreateSurface(host.window, kId, 10, 10, kWidth, kCell, 0);
        char folder[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, folder);
        previousFolder = folder;
        SetCurrentDirectoryA(ExecutableFolder().c_str());
    }
    void TearDown() override { SetCurrentDirectoryA(previousFolder.c_str()); }

    std::vector<Colour> Draw(const std::string& answer)
    {
        DrawAnswerMarks(host.window, kId, answer);
        return Pixels(host.window);
    }
};

TEST_F(AnswerMarksTest, EmptyAnswerIsAPlainBox)
{
    SelectSurface(host.window, kId);
    ClearSurface(kBlue, 0);
    const std::vector<Colour> pixels = Draw("");
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), answerSurfaceColour), kWidth * kCell);
    EXPECT_EQ(ScreenPixel(GetDlgItem(host.window, kId), kWidth - 1, kCell - 1), answerSurfaceColour);
}

TEST_F(AnswerMarksTest, SquaresComeFirstThenCirclesFromTheLeft)
{
    EXPECT_EQ(BoxShows(Draw("QQCC")), "QQCC");
    EXPECT_EQ(BoxShows(Draw("C")), "C---");
    EXPECT_EQ(BoxShows(Draw("QCC")), "QCC-");
    EXPECT_EQ(BoxShows(Draw("QQQQC")), "QQQQ");  // a fifth mark would lie beyond the box
    // The earlier picture is drawn over as a whole, not added to.
    EXPECT_EQ(BoxShows(Draw("")), "----");
}

TEST_F(AnswerMarksTest, AnyLetterButUpperCaseQAndCLeavesItsCellPlain)
{
    EXPECT_EQ(BoxShows(Draw("qc")), "----");
    EXPECT_EQ(BoxShows(Draw("xQ")), "-Q--");
    EXPECT_EQ(BoxShows(Draw(" C c")), "-C--");
}

TEST_F(AnswerMarksTest, WhiteAroundAMarkTakesTheBoxColourWhileWhiteInsideStays)
{
    const std::vector<Colour> pixels = Draw("CQ");
    // The images are white around their shapes; around the shapes now is the box.
    for (const int x : {0, kCell - 1, kCell, 2 * kCell - 1}) {
        EXPECT_EQ(At(pixels, x, 0), answerSurfaceColour) << x;
        EXPECT_EQ(At(pixels, x, kCell - 1), answerSurfaceColour) << x;
    }
    // The ring's inside is white and does not touch the corner: it stays white, and
    // it is the only white left.
    const int centre = kCell / 2;
    EXPECT_EQ(At(pixels, centre, centre), kWhite);
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int dx = x - centre;
            const int dy = y - centre;
            if (At(pixels, x, y) == kWhite) {
                EXPECT_LT(dx * dx + dy * dy, 10 * 10) << x << "," << y;
            }
        }
    }
}

TEST_F(AnswerMarksTest, MissingCircleImageLeavesCircleCellsEmptyAndSquaresStillShow)
{
    const std::string gameFolder = ExecutableFolder();
    ScratchFolder folder;
    CopyFileA((gameFolder + "\\q.bmp").c_str(), "q.bmp", FALSE);
    EXPECT_EQ(BoxShows(Draw("QC")), "Q---");
    EXPECT_EQ(BoxShows(Draw("CQ")), "-Q--");
    EXPECT_EQ(BoxShows(Draw("QQCC")), "QQ--");
}

TEST_F(AnswerMarksTest, BackgroundToRepaintIsTheImagesTopLeftColour)
{
    // A yellow block on blue: the blue that joins the corner goes, the yellow stays.
    ScratchFolder folder;
    std::vector<Colour> image(64, kBlue);
    for (int y = 2; y < 6; ++y) {
        for (int x = 2; x < 6; ++x) image[static_cast<std::size_t>(y * 8 + x)] = kYellow;
    }
    WriteBitmapFile("q.bmp", 8, 8, image);
    const std::vector<Colour> pixels = Draw("Q");
    EXPECT_EQ(At(pixels, 0, 0), answerSurfaceColour);
    EXPECT_EQ(At(pixels, kCell / 2, kCell / 2), kYellow);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kBlue), 0);
}

TEST_F(AnswerMarksTest, TenThousandRedrawsHoldNoMoreGdiObjects)
{
    // The first drawing makes objects that stay for the life of the process (the
    // system's cached contexts): the count is taken after it.
    DrawAnswerMarks(host.window, kId, "QQCC");
    PumpMessages();
    const long baseline = GdiObjectCount();
    ASSERT_GT(baseline, 0);
    // Every box holds a mark (a loaded image, a context, a fill); every fourth holds
    // four, and some letters draw nothing. Loading images is slow under Wine, so not
    // every box has four.
    const char* answers[] = {"QQCC", "Q", "C", "xC"};
    for (int i = 0; i < 10000; ++i) DrawAnswerMarks(host.window, kId, answers[i % 4]);
    PumpMessages();
    EXPECT_EQ(GdiObjectCount(), baseline);
}

}  // namespace
