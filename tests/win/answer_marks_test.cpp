// The answer box: marks from q.bmp and c.bmp, each standing on the box's colour;
// and no GDI object left behind by the drawings the game repeats all the time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "render/answer_marks_win.h"
#include "render/panels_win.h"
#include "render/surface_win.h"
#include "win_test_support.h"

namespace {

constexpr Colour kBoxColour = 0x00D4D4C8;
// The colours of the marks that come with the game (see scripts/make-marks.py).
constexpr Colour kSquareColour = 0x00286E28;
constexpr Colour kCircleColour = 0x00A02828;
constexpr int kCell = kAnswer.height;

class AnswerMarksTest : public RenderTest {
protected:
    // What each cell of the box shows once the answer is drawn: 'Q' a square (solid
    // centre), 'C' a circle (white centre on a ring), '-' only the box colour.
    std::string Draw(const std::string& answer)
    {
        DrawAnswerMarks(host, kAnswer.id, answer);
        const std::vector<Colour> p = Pixels(kAnswer);
        std::string shown;
        for (int left = 0; left < kAnswer.width; left += kCell) {
            const auto at = [&](int x, int y) { return p[static_cast<std::size_t>(y * kAnswer.width + left + x)]; };
            bool plain = true;
            for (int i = 0; i < kCell * kCell; ++i) plain = plain && at(i % kCell, i / kCell) == kBoxColour;
            const auto middleRow = p.begin() + kCell / 2 * kAnswer.width + left;
            const bool ring = std::find(middleRow, middleRow + kCell, kCircleColour) != middleRow + kCell;
            const Colour middle = at(kCell / 2, kCell / 2);
            shown += plain ? '-' : middle == kSquareColour ? 'Q' : (middle == kWhite && ring) ? 'C' : '?';
        }
        return shown;
    }
};

TEST_F(AnswerMarksTest, SquaresThenCirclesFromTheLeftAndOnlyUpperCaseQAndCMark)
{
    const std::pair<std::string, std::string> cases[] = {{"QQCC", "QQCC"}, {"C", "C---"},    {"QQQQC", "QQQQ"},
                                                         {"qc", "----"},   {"xQ c", "-Q--"}, {"", "----"}};
    for (const auto& [answer, shown] : cases) EXPECT_EQ(Draw(answer), shown) << '"' << answer << '"';
    EXPECT_EQ(ScreenPixel(GetDlgItem(host, kAnswer.id), kAnswer.width - 1, kCell - 1), kBoxColour);
}

TEST_F(AnswerMarksTest, BackgroundJoinedToTheImagesCornerTakesTheBoxColourAndTheRestStays)
{
    // The image has the cell's size (both corners are inside it), so the loader does
    // not stretch it: square rings around the centre, a blue one between an inside
    // and an outside of one colour.
    ScratchFolder folder;
    for (const Colour back : {kWhite, kYellow}) {
        const auto ring = [back](int x, int y, Colour outside) {
            const int d = std::max(std::abs(x - 19), std::abs(y - 19));
            return d < 6 ? back : d < 10 ? kBlue : outside;
        };
        std::vector<Colour> image;
        for (int i = 0; i < 39 * 39; ++i) image.push_back(ring(i % 39, i / 39, back));
        WriteBitmapFile("q.bmp", 39, 39, image);
        DrawAnswerMarks(host, kAnswer.id, "Q");
        EXPECT_TRUE(PixelsMatch(kAnswer, [&ring](int x, int y) { return ring(x, y, kBoxColour); })) << back;
    }
}

TEST_F(AnswerMarksTest, ImagesAreReadAfreshSoWithoutCircleImageOnlySquaresShow)
{
    ScratchFolder folder;  // left from the game's folder
    for (const char* image : {"q.bmp", "c.bmp"}) CopyFileA((folder.previous + "\\" + image).c_str(), image, FALSE);
    EXPECT_EQ(Draw("QQCC"), "QQCC");
    DeleteFileA("c.bmp");
    EXPECT_EQ(Draw("QQCC"), "QQ--");
    EXPECT_EQ(Draw("CQ"), "-Q--");
}

TEST_F(AnswerMarksTest, TenThousandInfoPanelsAndAnswerBoxesHoldNoMoreGdiObjects)
{
    // Loading images is slow under Wine: one box in four has four marks. The
    // clearing that the field editor does on every key is counted along.
    const char* answers[] = {"QQCC", "Q", "C", "xC"};
    const auto redraw = [this, &answers](int i) {
        DrawInfoPanel(host, kInfo.id, std::to_string(i), i % 2 ? "secondi" : "");
        DrawAnswerMarks(host, kAnswer.id, answers[i % 4]);
        SelectSurface(host, kPlain.id);
        ClearSurface(kWhite, 0);
    };
    // The first round makes objects that stay for the life of the process (the
    // system's cached contexts and fonts): the count is taken after it.
    redraw(0);
    PumpMessages();
    const long baseline = GdiObjectCount();
    HBRUSH probe = CreateSolidBrush(0);  // the count sees an object come and go
    EXPECT_EQ(GdiObjectCount(), baseline + 1);
    DeleteObject(probe);
    for (int i = 0; i < 10000; ++i) redraw(i);
    PumpMessages();
    EXPECT_EQ(GdiObjectCount(), baseline);
}

}  // namespace
