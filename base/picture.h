// The one narrow interface between the board's logic and a platform's drawing: a
// picture is a list of drawing operations for one surface, plus the words a screen
// reader says for it. The board's pictures are computed by plain C++ (render/,
// and the field editor in game/); a shell only plays them onto its surfaces.
//
// Coordinates are pixels of the surface, origin top-left, y downwards; a player
// rounds them to the nearest pixel, halves to the even neighbour.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/board_constants.h"

struct PixelSize {
    int width = 0;
    int height = 0;

    bool operator==(const PixelSize&) const = default;
};

// A face by name, a size in points, and a style: a sum of 1 bold, 2 italic,
// 4 underline, 8 strikeout. A size outside 1..72 is played as 8 points.
struct FontSpec {
    std::string face;
    std::int32_t size = 0;
    std::int32_t style = 0;

    bool operator==(const FontSpec&) const = default;
};

// A font's average character width and its line height (cell height plus external
// leading), in pixels.
struct FontCell {
    std::int32_t charWidth = 0;
    std::int32_t lineHeight = 0;

    bool operator==(const FontCell&) const = default;
};

// How a platform measures text, for the pictures whose layout depends on it.
struct TextMeasure {
    std::function<PixelSize(const FontSpec& font, const std::string& text)> text;
    std::function<FontCell(const FontSpec& font)> cell;
};

enum class DrawOpKind {
    Clear,               // fill the whole surface with colour; position to (0, 0)
    Box,                 // from (x, y) to (x2, y2), right and bottom edges excluded: border
                         // colour, fill colour, corners rounded by size percent of the shorter side
    SetFont,             // face in text, point size in size, style in style
    SetInk,              // text colour
    SetBackTransparent,  // text drawn without background
    SetBackSolid,        // text cells filled with colour
    MoveTo,              // position to (x, y)
    Print,               // text at the position, which then moves past it
    NewLine,             // position to (0, y + the current font's line height)
    Image,               // the bitmap file named by text, stretched to fill (x, y)..(x2, y2)
                         // inclusive; a missing or unreadable file draws nothing
    SampleColour,        // remember the colour the surface holds at (x, y)
    FillLike,            // the connected area of the colour at (x, y) takes the colour
                         // remembered by the last SampleColour
};

struct DrawOp {
    DrawOpKind kind;
    double x = 0;
    double y = 0;
    double x2 = 0;
    double y2 = 0;
    Colour colour = 0;  // ink, back, clear colour, or a box's border
    Colour fill = 0;    // a box's fill
    std::int32_t size = 0;
    std::int32_t style = 0;
    std::string text{};

    bool operator==(const DrawOp&) const = default;
};

DrawOp ClearOp(Colour colour);
DrawOp BoxOp(double x1, double y1, double x2, double y2, std::int32_t cornerPercent, Colour border, Colour fill);
DrawOp FontOp(const FontSpec& font);
DrawOp InkOp(Colour colour);
DrawOp TransparentBackOp();
DrawOp SolidBackOp(Colour colour);
DrawOp MoveOp(double x, double y);
DrawOp PrintOp(std::string text);
DrawOp NewLineOp();
DrawOp ImageOp(std::string fileName, double x1, double y1, double x2, double y2);
DrawOp SampleColourOp(double x, double y);
DrawOp FillLikeOp(double x, double y);

// A Box operation's corners as whole pixels, in either order given: left and top
// first. Every player draws boxes from these.
struct PixelBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
PixelBox BoxPixels(const DrawOp& box);

// An Image operation's rectangle: its corners are inclusive, so it is one pixel
// wider and higher than their difference. Nothing is drawn unless both are at least 1.
struct ImageRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
ImageRect ImagePixels(const DrawOp& image);

// The point size a font is made at: 1..72 as asked, anything else 8.
std::int32_t PlayedFontSize(std::int32_t points);

// The height of a font's em in whole pixels at a resolution, truncated as the
// board's layout expects (14 points at 96 pixels per inch are 18 pixels, not 19).
int EmPixels(std::int32_t points, int pixelsPerInch);

// When a surface's new name is told to a screen reader that follows name changes.
enum class NameEvent {
    WhenChanged,  // a name that differs from the last one is announced
    Always,       // announced even when it is the same (a row scored again)
    Silent,       // kept current for a reader that asks, never announced (the clocks)
};

struct Picture {
    std::vector<DrawOp> ops;
    std::string name;
    NameEvent nameEvent = NameEvent::WhenChanged;
};
