// The marks' image files: where they are looked for, and a reader of Windows
// bitmap files that takes what the Windows loader takes and nothing else, so that
// every front end shows the same marks for the same file, or none. Portable.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/board_constants.h"

// An image's pixels row by row from the top left, each 0x00BBGGRR.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;

    Colour At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The pixels of a Windows bitmap file (BMP). Taken: the Windows 2.x core header
// and the 3.x to 5 info headers; 1, 4 and 8 bits through a colour table, 16 bits
// as 5-5-5 or through bit masks, 24 bits, and 32 bits plain or through masks;
// rows bottom-up or top-down. Not taken: run-length compressed files, embedded
// JPEG and PNG, any other format, files cut short, and sizes or offsets that do
// not fit the file. An image larger than 8192 pixels a side is not taken either:
// a mark is a few dozen.
std::optional<RgbImage> DecodeBmp(std::span<const std::uint8_t> file);

// The file's pixels, or nothing when it cannot be read or decoded.
std::optional<RgbImage> ReadBmpFile(const std::string& path);

// The image stretched to width x height by taking for each pixel the nearest one
// of the image, so that a one-colour background stays one colour.
RgbImage Stretched(const RgbImage& image, int width, int height);

// Where an image file is looked for, in order: a relative name in the current
// directory first, so that a player's own images there win, then in the game's
// own folder for its data (where its package puts them). An absolute name is
// only itself. Inline and plain text: the Windows program, which reads the files
// with its own loader, then links nothing else of this file (std::filesystem and
// the file streams would double its size).
inline std::vector<std::string> ImageSearchOrder(const std::string& fileName, const std::string& dataFolder)
{
    if (fileName.empty()) return {};
    const bool absolute = fileName.front() == '/' || fileName.front() == '\\' || fileName.find(':') != std::string::npos;
    if (absolute || dataFolder.empty()) return {fileName};
    const bool separated = dataFolder.back() == '/' || dataFolder.back() == '\\';
    return {fileName, dataFolder + (separated ? "" : "/") + fileName};
}

// The image files the board draws, each found and decoded the first time it is
// asked for and kept for the rest of the game. A file found nowhere, or not a
// bitmap, is nothing.
struct ImageBook {
    std::string dataFolder;
    std::vector<std::pair<std::string, std::optional<RgbImage>>> images;

    const RgbImage* Find(const std::string& fileName);
};
