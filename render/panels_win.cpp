#include "render/panels_win.h"

#include "app/main_window_win.h"
#include "render/accessible_text.h"
#include "render/panel_text.h"
#include "render/surface_win.h"

namespace {

constexpr const char* kInfoFace = "OCR-B 10 BT";
constexpr int kHelpPanelId = 1300;

}  // namespace

void DrawTextPanel(HWND dialog, int id, const std::string& text, const std::string& face, int size, Colour ink,
                   Colour back, int style, const std::string& note)
{
    SelectSurface(dialog, id);
    SetFont(face, size, style);
    const PixelSize surface = SurfaceSize();
    const std::vector<std::string> lines = SplitPanelLines(text);
    // The line pitch is the font's cell height, taken from the longest line.
    const double pitch = MeasureText(lines[LongestLineIndex(lines)]).height;
    DrawBox(0, 0, surface.width, surface.height, 0, back, back, 0);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const double y = pitch * static_cast<double>(k);
        SetInkColour(ink);
        SetTextBackColour(kTransparent);
        MoveTo(0, y);
        SetFont(face, size, style);
        PrintText(lines[k]);
        NewLine();
        // The note goes over the start of every line, in red.
        SetInkColour(noteColour);
        SetTextBackColour(kTransparent);
        MoveTo(0, y);
        SetFont(face, size, style);
        PrintText(note);
        NewLine();
    }
    SetSurfaceName(TextPanelName(text, note));
    ShowSurface();
}

void DrawInfoPanel(HWND dialog, int id, const std::string& topText, const std::string& bottomText)
{
    SelectSurface(dialog, id);
    SetFont(kInfoFace, 14, 1);
    const PixelSize surface = SurfaceSize();
    const double w = surface.width;
    const double half = surface.height / 2.0;

    const PixelSize top = MeasureText(topText);
    DrawBox(0, 0, w, half, 0, infoTopColour, infoTopColour, 0);
    MoveTo((w - top.width) / 2.0, (half - top.height) / 2.0);
    SetInkColour(infoTopInkColour);
    SetTextBackColour(kTransparent);
    PrintText(topText);

    SetFont(kInfoFace, 12, 0);
    const PixelSize bottom = MeasureText(bottomText);
    DrawBox(0, half, w, surface.height, 0, infoBorderColour, infoBottomFillColour, 0);
    MoveTo((w - bottom.width) / 2.0, half + (half - bottom.height) / 2.0);
    SetInkColour(infoBottomInkColour);
    SetTextBackColour(kTransparent);
    PrintText(bottomText);
    NewLine();
    SetSurfaceName(InfoPanelName(id, topText, bottomText));
    ShowSurface();
}

void DrawHelpPanel(int attempt)
{
    if (attempt < 1 || attempt > kRowCount) return;
    DrawTextPanel(mainWindow, kHelpPanelId, gameState.rowHelpText[attempt], "Times New Roman", 10, helpInkColour,
                  gameState.panelColour, 0, "");
}
