// Drawing surfaces: child controls of the main window that keep their picture in
// an off-screen bitmap of their own and show it by a single copy, so nothing
// half-drawn ever reaches the screen. A surface plays the board's pictures (lists
// of drawing operations, base/picture.h); it decides nothing itself.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "base/picture.h"

// The fonts of the program, each made once and shared by every surface that
// draws with it, and a memory context to measure text with before any surface
// exists. It must outlive the surfaces made with it.
struct FontBook;
void FreeFontBook(FontBook* book);
struct FontBookDeleter {
    void operator()(FontBook* book) const { FreeFontBook(book); }
};
using FontBookOwner = std::unique_ptr<FontBook, FontBookDeleter>;
FontBookOwner NewFontBook();

// Text sizes and font cells as the surfaces will draw them.
TextMeasure MeasureWith(FontBook& fonts);

// Creates a visible child static control with SS_OWNERDRAW (plus extraStyle, e.g.
// SS_NOTIFY) and its surface. Until the first picture the surface shows the
// button-face colour. Destroying the control frees the surface. The parent must
// route WM_DRAWITEM to PaintSurfaceItem.
HWND CreateSurface(HWND parent, int id, int x, int y, int width, int height, DWORD extraStyle, FontBook& fonts);

// For the parent's WM_DRAWITEM: copies the whole bitmap of the control's surface to
// the control. Returns false when the item is not a drawing surface.
bool PaintSurfaceItem(const DRAWITEMSTRUCT& item);

// The size of a surface control's picture; 0 x 0 for a window that is no surface.
PixelSize SurfaceSize(HWND surface);

// Plays the picture onto the surface's bitmap, gives the control the picture's name
// (what a screen reader reads for it: the control's window text, which an
// owner-drawn control never paints) and shows the bitmap at once. Does nothing
// for a window that is no surface.
//
// The operations, in pixels rounded halves to even:
// - a font size outside 1..72 is 8 points; the face name is cut to 31 characters;
// - Box excludes the right and bottom edges, so (0, 0)-(width, height) is exactly
//   the surface; every fill is solid;
// - Image reads the file afresh each time: a relative name is looked for in the
//   current directory, then in the folder of the program; a missing or unreadable
//   file, or a rectangle of no width or height, draws nothing;
// - a name equal to the one the control has is not set again; whether a reader
//   that follows events is told follows the picture's nameEvent.
void PlayPicture(HWND surface, const Picture& picture);

// The colour of a pixel of a surface's bitmap; CLR_INVALID outside it.
Colour SurfacePixel(HWND surface, int x, int y);
