#include "render/answer_marks_win.h"

#include "render/accessible_text.h"
#include "render/surface_win.h"

namespace {

void DrawMarks(HWND dialog, int id, const std::string& answer, bool scored)
{
    SelectSurface(dialog, id);
    const PixelSize size = SurfaceSize();
    const double w = size.width;
    const double h = size.height;
    DrawBox(0, 0, w, h, 0, answerSurfaceColour, answerSurfaceColour, 0);
    // The colour as the bitmap really stores it, which is what the flood fill must
    // put back around each mark.
    const Colour boxColour = ReadPixel(1, 1);
    for (std::size_t k = 0; k < answer.size(); ++k) {
        const char* file = nullptr;
        if (answer[k] == 'Q') file = "q.bmp";
        if (answer[k] == 'C') file = "c.bmp";
        if (!file) continue;
        const double left = w * static_cast<double>(k) / 4.0;
        const double right = w * static_cast<double>(k + 1) / 4.0;
        DrawImageFile(file, left, 0, right, h);
        // The image's top-left pixel is its background: the area of that colour
        // joined to the corner takes the box's colour, so the mark stands on the box
        // whatever it was drawn on. A cell left empty reads the box colour (or the
        // previous mark's edge) and the fill then changes nothing of its own.
        const Colour imageBackground = ReadPixel(left, 0);
        FloodFill(left, 0, boxColour, imageBackground);
    }
    // A reader that follows name changes reads a new answer as it appears; the
    // same answer scored again in a replayed row is announced all the same.
    if (!SetSurfaceName(AnswerInWords(answer, scored)) && scored) AnnounceSurfaceName();
    ShowSurface();
}

}  // namespace

void DrawAnswerMarks(HWND dialog, int id, const std::string& answer) { DrawMarks(dialog, id, answer, false); }

void DrawScoredAnswerMarks(HWND dialog, int id, const std::string& answer) { DrawMarks(dialog, id, answer, true); }
