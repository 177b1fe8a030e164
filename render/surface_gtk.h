// Drawing surfaces of the GTK shell: each a GtkDrawingArea that shows an image
// surface of its own (cairo, 24-bit colour), onto which the board's pictures
// (base/picture.h) are played; the area shows the image whole, so nothing
// half-drawn reaches the screen. A surface decides nothing itself.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>

#include "base/picture.h"

// The program's fonts (Pango over fontconfig), each made once, and the context
// in which they are measured and drawn at 96 pixels per inch with whole-pixel
// advances, so that what is measured is what is drawn. It must outlive the
// surfaces made with it.
struct FontBook;
void FreeFontBook(FontBook* book);
struct FontBookDeleter {
    void operator()(FontBook* book) const { FreeFontBook(book); }
};
using FontBookOwner = std::unique_ptr<FontBook, FontBookDeleter>;
FontBookOwner NewFontBook();

// Text sizes and font cells as the surfaces will draw them.
TextMeasure MeasureWith(FontBook& fonts);

// The program's texts are single bytes, as Windows' ANSI code page (Latin-1 for
// what the game writes) has them; GTK and Pango take UTF-8.
std::string Utf8FromLatin1(const std::string& text);

// The fontconfig families for a face the board asks for: the face itself first,
// then the free face that stands in for it on Debian (Times New Roman: Liberation
// Serif; Lucida Console: FreeMono; OCR-B 10 BT: OCR B), as the Wine set-up maps them.
std::string FamiliesFor(const std::string& face);

// A drawing area for a picture of width x height pixels, of which the part
// shownWidth x shownHeight from the top-left shows (the board cuts off what lies
// beyond its edge). Until the first picture it shows the button-face colour. The
// surface is freed with the widget.
GtkWidget* CreateSurface(int width, int height, int shownWidth, int shownHeight, FontBook& fonts);

// The size of a surface's picture; 0 x 0 for a widget that is no surface.
PixelSize SurfaceSize(GtkWidget* surface);

// Plays the picture onto the surface's image, makes the picture's name the
// widget's accessible name (what a screen reader reads for it) and has the widget
// shown again. A name that differs from the one the widget has is told to a reader
// that follows name changes, unless the picture is named silently (nameEvent
// Silent): the name is then current for a reader that asks, and never told (but
// for once, when a surface whose name was told turns silent). A name equal to the
// one the widget has is not told, whatever the nameEvent. The operations, in
// pixels rounded halves to even, as the Win32 surfaces play them:
// - a font size outside 1..72 is 8 points, and a size is -(96 x points / 72)
//   pixels of em, truncated;
// - Box leaves out its right and bottom edges;
// - Image reads the file afresh each time (ImagePath) and stretches it to the
//   rectangle inclusive, pixel by pixel; a missing or unreadable file draws nothing;
// - FillLike floods the 4-connected area of one colour.
void PlayPicture(GtkWidget* surface, const Picture& picture);

// The name a surface gives a screen reader, as its last picture named it (Latin-1).
std::string SurfaceName(GtkWidget* surface);

// The colour of a pixel of a surface's image (0x00BBGGRR); 0xFFFFFFFF outside it.
Colour SurfacePixel(GtkWidget* surface, int x, int y);

// Where an image file is read from: a relative name in the current directory
// first, so that a player's own images there win, then in the game's data folder
// (share/indovina beside the installed program's bin, or the program's own folder
// in the build tree). Empty when it is found nowhere.
std::string ImagePath(const std::string& fileName);
