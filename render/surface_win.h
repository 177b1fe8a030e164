// Drawing surfaces: owner-drawn child controls of the main window that keep their
// picture in an off-screen bitmap of their own and show it by a single copy, so
// nothing half-drawn ever reaches the screen. A surface plays the board's pictures
// (lists of drawing operations, base/picture.h); it decides nothing itself.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <tuple>

#include "base/gdi_win.h"
#include "base/picture.h"
#include "render/board_layout.h"

struct FontEntry {
    GdiOwned<HFONT> font;
    FontCell cell;
};

// The fonts of the program, each made once and shared by every surface that draws
// with it, and a memory context to measure text with before any surface exists.
// It must outlive the surfaces that draw with it.
struct FontBook {
    // Declared first, so deleted last: after the context that holds one of them.
    std::map<std::tuple<std::string, std::int32_t, std::int32_t>, FontEntry> fonts;
    MemoryDc measuring;  // made with the screen's resolution; nothing is drawn on it
    HFONT selected = nullptr;
    int pixelsPerInch = 96;
};
void OpenFontBook(FontBook& book);

// The font of a request (face, size as PlayedFontSize gives it, style), made on
// first use; null when the system makes none.
const FontEntry* BookFont(FontBook& book, const FontSpec& asked);

// Text sizes and font cells as the surfaces will draw them.
TextMeasure MeasureWith(FontBook& book);

// Position, ink and text background are kept by the memory context itself
// (MoveToEx with TA_UPDATECP, SetTextColor, SetBkMode/SetBkColor), so they persist
// from one picture of the surface to the next without copies that could drift.
struct DrawingSurface {
    HWND control = nullptr;
    FontBook* fonts = nullptr;
    int width = 0;
    int height = 0;
    // Declared first, so deleted last: after the context that holds it.
    GdiOwned<HBITMAP> bitmap;
    MemoryDc dc;
    HFONT font = nullptr;  // the one selected; the book's
    int lineHeight = 0;
    COLORREF sampled = 0;
};

// Creates a visible owner-drawn static control (plus extraStyle, e.g. SS_NOTIFY)
// and its surface, which shows the button-face colour until its first picture. The
// parent paints the control by PaintSurface on WM_DRAWITEM.
DrawingSurface CreateSurface(HWND parent, const ControlPlace& place, DWORD extraStyle, FontBook& fonts);
void PaintSurface(const DrawingSurface& surface, HDC dc);

// Plays the picture onto the surface's bitmap, gives the control the picture's name
// (what a screen reader reads for it: the control's window text, which an
// owner-drawn control never paints) and shows the bitmap at once.
//
// The operations, in pixels rounded halves to even:
// - a font's face name is cut to 31 characters;
// - Box excludes the right and bottom edges, so (0, 0)-(width, height) is exactly
//   the surface; every fill is solid;
// - Image reads the file afresh each time, from the first place of ImageSearchOrder
//   (the current directory, then the program's folder) that holds a file; a missing or
//   unreadable file, or a rectangle of no width or height, draws nothing;
// - a name equal to the one the control has is not set again; whether a reader
//   that follows events is told follows the picture's nameEvent.
void PlayPicture(DrawingSurface& surface, const Picture& picture);
