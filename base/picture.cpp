#include "base/picture.h"

#include <algorithm>
#include <utility>

#include "base/rounding.h"

DrawOp ClearOp(Colour colour) { return {.kind = DrawOpKind::Clear, .colour = colour}; }

DrawOp BoxOp(double x1, double y1, double x2, double y2, std::int32_t cornerPercent, Colour border, Colour fill)
{
    return {DrawOpKind::Box, x1, y1, x2, y2, border, fill, cornerPercent};
}

DrawOp FontOp(const FontSpec& font)
{
    return {.kind = DrawOpKind::SetFont, .size = font.size, .style = font.style, .text = font.face};
}

DrawOp InkOp(Colour colour) { return {.kind = DrawOpKind::SetInk, .colour = colour}; }

DrawOp TransparentBackOp() { return {.kind = DrawOpKind::SetBackTransparent}; }

DrawOp SolidBackOp(Colour colour) { return {.kind = DrawOpKind::SetBackSolid, .colour = colour}; }

DrawOp MoveOp(double x, double y) { return {.kind = DrawOpKind::MoveTo, .x = x, .y = y}; }

DrawOp PrintOp(std::string text) { return {.kind = DrawOpKind::Print, .text = std::move(text)}; }

DrawOp NewLineOp() { return {.kind = DrawOpKind::NewLine}; }

DrawOp ImageOp(std::string fileName, double x1, double y1, double x2, double y2)
{
    return {.kind = DrawOpKind::Image, .x = x1, .y = y1, .x2 = x2, .y2 = y2, .text = std::move(fileName)};
}

DrawOp SampleColourOp(double x, double y) { return {.kind = DrawOpKind::SampleColour, .x = x, .y = y}; }

DrawOp FillLikeOp(double x, double y) { return {.kind = DrawOpKind::FillLike, .x = x, .y = y}; }


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
