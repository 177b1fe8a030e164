#include "render/board_pictures.h"

#include <cstddef>
#include <vector>

#include "base/text.h"
#include "render/accessible_text.h"

namespace {

// Index of the line with the most characters; among equally long lines the first.
std::size_t LongestLineIndex(const std::vector<std::string>& lines)
{
    std::size_t longest = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].size() > lines[longest].size()) longest = i;
    }
    return longest;
}

// Where a text of the given extent starts so that it is centred in a span.
double Centred(double span, int extent) { return (span - extent) / 2.0; }

}  // namespace

Picture TextPanelPicture(const TextPanel& panel, PixelSize surface, const TextMeasure& measure)
{
    Picture picture;
    std::vector<DrawOp>& ops = picture.ops;
    const std::vector<std::string> lines = SplitAtLineBreaks(panel.text);
    // The line pitch is the font's cell height, taken from the longest line.
    const double pitch = measure.text(panel.font, lines[LongestLineIndex(lines)]).height;
    ops.push_back(FontOp(panel.font));
    ops.push_back(BoxOp(0, 0, surface.width, surface.height, 0, panel.back, panel.back));
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const double y = pitch * static_cast<double>(k);
        for (const auto& [ink, text] : {std::pair{panel.ink, lines[k]}, std::pair{kNoteColour, panel.note}}) {
            ops.push_back(InkOp(ink));
            ops.push_back(TransparentBackOp());
            ops.push_back(MoveOp(0, y));
            ops.push_back(FontOp(panel.font));
            ops.push_back(PrintOp(text));
            ops.push_back(NewLineOp());
        }
    }
    picture.name = TextPanelName(panel.text, panel.note);
    return picture;
}

Picture RowLabelPicture(const GameState& game, int row, PixelSize surface, const TextMeasure& measure)
{
    TextPanel panel;
    panel.text = game.rowLabel[row];
    panel.font = FontSpec{kLabelFace, kLabelSize, 0};
    panel.ink = game.labelInkColour;
    panel.back = game.panelColour;
    panel.note = game.rowNote[row];
    return TextPanelPicture(panel, surface, measure);
}

std::optional<Picture> HelpPanelPicture(const GameState& game, int attempt, PixelSize surface,
                                        const TextMeasure& measure)
{
    if (attempt < 1 || attempt > kRowCount) return std::nullopt;
    TextPanel panel;
    panel.text = game.rowHelpText[attempt];
    panel.font = FontSpec{kLabelFace, kHelpSize, 0};
    panel.ink = kHelpInkColour;
    panel.back = game.panelColour;
    return TextPanelPicture(panel, surface, measure);
}

Picture InfoPanelPicture(int panelId, const std::string& topText, const std::string& bottomText, PixelSize surface,
                         const TextMeasure& measure)
{
    Picture picture;
    std::vector<DrawOp>& ops = picture.ops;
    const FontSpec topFont{kInfoFace, 14, 1};
    const FontSpec bottomFont{kInfoFace, 12, 0};
    const double w = surface.width;
    const double half = surface.height / 2.0;

    const PixelSize top = measure.text(topFont, topText);
    ops.push_back(FontOp(topFont));
    ops.push_back(BoxOp(0, 0, w, half, 0, kInfoTopColour, kInfoTopColour));
    ops.push_back(MoveOp(Centred(w, top.width), Centred(half, top.height)));
    ops.push_back(InkOp(kInfoTopInkColour));
    ops.push_back(TransparentBackOp());
    ops.push_back(PrintOp(topText));

    const PixelSize bottom = measure.text(bottomFont, bottomText);
    ops.push_back(FontOp(bottomFont));
    ops.push_back(BoxOp(0, half, w, surface.height, 0, kInfoBorderColour, kInfoBottomFillColour));
    ops.push_back(MoveOp(Centred(w, bottom.width), half + Centred(half, bottom.height)));
    ops.push_back(InkOp(kInfoBottomInkColour));
    ops.push_back(TransparentBackOp());
    ops.push_back(PrintOp(bottomText));
    ops.push_back(NewLineOp());

    picture.name = InfoPanelName(panelId, topText, bottomText);
    const bool clock = panelId == kClockPanel || panelId == kElapsedPanel;
    picture.nameEvent = clock ? NameEvent::Silent : NameEvent::WhenChanged;
    return picture;
}

Picture AnswerMarksPicture(const std::string& answer, bool scored, PixelSize surface)
{
    Picture picture;
    std::vector<DrawOp>& ops = picture.ops;
    const double w = surface.width;
    const double h = surface.height;
    ops.push_back(BoxOp(0, 0, w, h, 0, kAnswerSurfaceColour, kAnswerSurfaceColour));
    // The colour as the surface really stores it, which is what the fill must put
    // back around each mark.
    ops.push_back(SampleColourOp(1, 1));
    for (std::size_t k = 0; k < answer.size(); ++k) {
        const char* file = answer[k] == 'Q' ? kSquareImage : answer[k] == 'C' ? kCircleImage : nullptr;
        if (file == nullptr) continue;
        const double left = w * static_cast<double>(k) / 4.0;
        const double right = w * static_cast<double>(k + 1) / 4.0;
        ops.push_back(ImageOp(file, left, 0, right, h));
        // The image's top-left pixel is its background: the area of that colour
        // joined to the corner takes the box's colour, so the mark stands on the box
        // whatever it was drawn on. A cell left empty holds the box colour (or the
        // previous mark's edge) and the fill then changes nothing of its own.
        ops.push_back(FillLikeOp(left, 0));
    }
    picture.name = AnswerInWords(answer, scored);
    picture.nameEvent = scored ? NameEvent::Always : NameEvent::WhenChanged;
    return picture;
}
