// Drawing surfaces: child controls of the main window that keep their picture in
// an off-screen bitmap, and the small set of operations through which the whole
// program draws. A drawing is always SelectSurface, operations, ShowSurface.
//
// There is one current surface for the program. With none current, every
// operation does nothing and the measuring operations return zeros.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "game/game_state.h"

// One surface per drawing-surface control (or one memory-only surface used for
// measuring fonts). Its fields live in surface_win.cpp: the rest of the program
// reaches a surface only through the operations below.
struct DrawingSurface;

struct PixelSize {
    int width = 0;
    int height = 0;
};

struct CellSize {
    int charWidth = 0;   // average character width of the font
    int lineHeight = 0;  // cell height plus external leading
};

// The text background meaning "draw text without a background".
inline constexpr std::optional<Colour> kTransparent = std::nullopt;

// --- Making surfaces --------------------------------------------------------

// Creates a visible child static control with SS_OWNERDRAW (plus extraStyle, e.g.
// SS_NOTIFY) and its surface: a bitmap of the control's client size, filled with
// the button-face colour, text position (0, 0). Destroying the control frees the
// surface. The parent must route WM_DRAWITEM to PaintSurfaceItem.
HWND CreateSurface(HWND parent, int id, int x, int y, int width, int height, DWORD extraStyle);

// For the parent's WM_DRAWITEM: copies the whole bitmap of the control's surface to
// the control. Returns false when the item is not a drawing surface.
bool PaintSurfaceItem(const DRAWITEMSTRUCT& item);

// A surface without a control, for measuring fonts before any control exists. It is
// the current surface from construction until it goes out of scope (or another is
// selected); ShowSurface does nothing on it.
struct MemorySurfaceScope {
    MemorySurfaceScope(int width, int height);
    ~MemorySurfaceScope();
    MemorySurfaceScope(const MemorySurfaceScope&) = delete;
    MemorySurfaceScope& operator=(const MemorySurfaceScope&) = delete;

    std::unique_ptr<DrawingSurface> surface;
};

// --- The drawing operations ------------------------------------------------
// Coordinates are pixels of the surface, rounded to the nearest pixel with halves
// going to the even neighbour (12.5 -> 12, 13.5 -> 14).

// Makes the surface of control `id` of `dialog` current, in buffered mode. An id
// that names no drawing surface leaves no surface current.
void SelectSurface(HWND dialog, int id);

// Repaints the current surface's control from its bitmap, at once.
void ShowSurface();

// Gives the current surface's control the name a screen reader reads for it: what
// the picture shows, in words. The name is the control's window text, which an
// owner-drawn control never paints, so setting it changes no pixel; nor does it
// repaint the control. A new name raises the name-change event of the control's
// client object, so a reader that follows events hears it. A name equal to the
// one the control has is not set again and raises nothing: redrawing the same
// picture is silent. Returns whether the name changed. Does nothing (false)
// without a surface or on a memory-only one.
bool SetSurfaceName(const std::string& name);

// Raises the name-change event for the current surface's control, also when its
// name stayed the same, so that a reader following events reads it again.
void AnnounceSurfaceName();

// style: a sum of 1 bold, 2 italic, 4 underline, 8 strikeout. A size outside
// 1..72 becomes 8 points; the face name is cut to 31 characters.
void SetFont(const std::string& face, int size, int style);
void SetInkColour(Colour ink);
// A colour fills the text cells; kTransparent draws text without a background.
void SetTextBackColour(std::optional<Colour> back);
void MoveTo(double x, double y);
// Draws at the position and moves the position to the end of the text.
void PrintText(const std::string& text);
// Position becomes (0, y + lineHeight).
void NewLine();
// Corners in either order; the right and bottom edges are excluded, so the box from
// (0, 0) to (width, height) covers exactly the surface. cornerPercent rounds the
// corners by that percentage of the shorter side; every fillStyle fills solid.
void DrawBox(double x1, double y1, double x2, double y2, int cornerPercent, Colour border, Colour fill,
             int fillStyle);
// Fills the whole bitmap (every fillStyle solid) and sets the position to (0, 0).
void ClearSurface(Colour fill, int fillStyle);
PixelSize MeasureText(const std::string& text);
PixelSize SurfaceSize();
CellSize FontCellSize();
// The colour of a pixel of the bitmap; CLR_INVALID outside it, 0 with no surface.
Colour ReadPixel(double x, double y);
// Repaints with fillColour the connected region of areaColour that holds (x, y).
// It overloads GDI's FloodFill(HDC, int, int, COLORREF): write x as a double
// (0.0, not 0), or a literal 0 would match both.
void FloodFill(double x, double y, Colour fillColour, Colour areaColour);
// Loads a bitmap file stretched to (x2 - x1 + 1) x (y2 - y1 + 1) and copies it with
// its top-left pixel at (x1, y1), read afresh each time. A relative name is taken
// from the current directory only. A missing or unreadable file, or a rectangle
// of no width or height, draws nothing.
void DrawImageFile(const std::string& fileName, double x1, double y1, double x2, double y2);
