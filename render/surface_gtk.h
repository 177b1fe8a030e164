// Drawing surfaces of the GTK shell: each a GtkDrawingArea that shows an image
// surface of its own (cairo, 24-bit colour), onto which the board's pictures
// (base/picture.h) are played; the area shows the image whole, so nothing
// half-drawn reaches the screen. A surface decides nothing itself.
#pragma once

#include <gtk/gtk.h>

#include <map>
#include <string>
#include <tuple>

#include "base/picture.h"
#include "render/bitmap_file.h"

// A font as Pango draws it, with its cell as GDI would measure it.
struct PlayedFont {
    PangoFontDescription* description = nullptr;
    PangoAttrList* attributes = nullptr;  // underline and strikeout
    FontCell cell;
    int ascent = 0;  // from the top of a line to its baseline
};

// What the surfaces draw with, each thing made once: the fonts, measured and drawn
// at 96 pixels per inch with whole-pixel advances (what is measured is what is
// drawn), and the marks' images. It must outlive the surfaces made with it.
struct SurfaceKit {
    PangoContext* context = nullptr;   // draws and measures text
    PangoContext* unhinted = nullptr;  // gives a font's vertical metrics
    std::map<std::tuple<std::string, std::int32_t, std::int32_t>, PlayedFont> fonts;
    ImageBook images;

    SurfaceKit();
    SurfaceKit(const SurfaceKit&) = delete;
    SurfaceKit& operator=(const SurfaceKit&) = delete;
    ~SurfaceKit();
};

// Text sizes and font cells as the surfaces will draw them.
TextMeasure MeasureWith(SurfaceKit& kit);

// The program's texts are single bytes, as Windows' ANSI code page (Latin-1 for
// what the game writes) has them; GTK and Pango take UTF-8.
std::string Utf8FromLatin1(const std::string& text);

// A drawing area for a picture of width x height pixels, of which the part
// shownWidth x shownHeight from the top-left shows (the board cuts off what lies
// beyond its edge). Until the first picture it shows the button-face colour.
GtkWidget* CreateSurface(int width, int height, int shownWidth, int shownHeight, SurfaceKit& kit);

// Plays the picture onto the surface's image, in whole pixels as the Win32
// surfaces play it, and names the widget for a screen reader. A name is told to a
// reader that follows name changes when it changes, or always (NameEvent); one
// named silently is current for a reader that asks and is never told.
void PlayPicture(GtkWidget* surface, const Picture& picture);

// The colour of a pixel of a surface's image (0x00BBGGRR); 0xFFFFFFFF outside it.
Colour SurfacePixel(GtkWidget* surface, int x, int y);
