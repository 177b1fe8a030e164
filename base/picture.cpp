#include "base/picture.h"

#include <algorithm>
#include <utility>

#include "base/rounding.h"

namespace {

DrawOp Op(DrawOpKind kind) { return DrawOp{kind}; }

// An operation at a point: a move, a colour sample, a fill.
DrawOp PointOp(DrawOpKind kind, double x, double y)
{
    DrawOp op = Op(kind);
    op.x = x;
    op.y = y;
    return op;
}

}  // namespace

DrawOp ClearOp(Colour colour)
{
    DrawOp op = Op(DrawOpKind::Clear);
    op.colour = colour;
    return op;
}

DrawOp BoxOp(double x1, double y1, double x2, double y2, std::int32_t cornerPercent, Colour border, Colour fill)
{
    DrawOp op = Op(DrawOpKind::Box);
    op.x = x1;
    op.y = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.size = cornerPercent;
    op.colour = border;
    op.fill = fill;
    return op;
}

DrawOp FontOp(const FontSpec& font)
{
    DrawOp op = Op(DrawOpKind::SetFont);
    op.text = font.face;
    op.size = font.size;
    op.style = font.style;
    return op;
}

DrawOp InkOp(Colour colour)
{
    DrawOp op = Op(DrawOpKind::SetInk);
    op.colour = colour;
    return op;
}

DrawOp TransparentBackOp() { return Op(DrawOpKind::SetBackTransparent); }

DrawOp SolidBackOp(Colour colour)
{
    DrawOp op = Op(DrawOpKind::SetBackSolid);
    op.colour = colour;
    return op;
}

DrawOp MoveOp(double x, double y) { return PointOp(DrawOpKind::MoveTo, x, y); }

DrawOp PrintOp(std::string text)
{
    DrawOp op = Op(DrawOpKind::Print);
    op.text = std::move(text);
    return op;
}

DrawOp NewLineOp() { return Op(DrawOpKind::NewLine); }

DrawOp ImageOp(std::string fileName, double x1, double y1, double x2, double y2)
{
    DrawOp op = Op(DrawOpKind::Image);
    op.text = std::move(fileName);
    op.x = x1;
    op.y = y1;
    op.x2 = x2;
    op.y2 = y2;
    return op;
}

DrawOp SampleColourOp(double x, double y) { return PointOp(DrawOpKind::SampleColour, x, y); }

DrawOp FillLikeOp(double x, double y) { return PointOp(DrawOpKind::FillLike, x, y); }

PixelBox BoxPixels(const DrawOp& box)
{
    PixelBox pixels{PixelOf(box.x), PixelOf(box.y), PixelOf(box.x2), PixelOf(box.y2)};
    if (pixels.left > pixels.right) std::swap(pixels.left, pixels.right);
    if (pixels.top > pixels.bottom) std::swap(pixels.top, pixels.bottom);
    return pixels;
}

ImageRect ImagePixels(const DrawOp& image)
{
    const int left = PixelOf(image.x);
    const int top = PixelOf(image.y);
    // Corners at opposite ends of the coordinate range would overflow an int.
    const auto extent = [](int from, int to) {
        return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{to} - from + 1, -(1 << 30), 1 << 30));
    };
    return {left, top, extent(left, PixelOf(image.x2)), extent(top, PixelOf(image.y2))};
}

std::int32_t PlayedFontSize(std::int32_t points) { return points < 1 || points > 72 ? 8 : points; }

int EmPixels(std::int32_t points, int pixelsPerInch) { return pixelsPerInch * PlayedFontSize(points) / 72; }
