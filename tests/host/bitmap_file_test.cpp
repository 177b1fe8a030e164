// The reader of the marks' files: each kind of Windows bitmap it takes, with its
// pixels as the file's header and colour table say, and the files it refuses.
#include <gtest/gtest.h>

#include <cstring>

#include "render/bitmap_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::size_t at, std::uint32_t value, int size)
{
    for (int k = 0; k < size; ++k) b[at + k] = static_cast<std::uint8_t>(value >> (8 * k));
}

// A file with a 3.x header (40 bytes; 12 for the old core one), the colour table or
// masks, then the rows as stored.
Bytes Bmp(int header, int width, int height, int bits, std::uint32_t compression, Bytes table, Bytes rows)
{
    Bytes b(14 + header);
    b[0] = 'B', b[1] = 'M';
    Put(b, 10, static_cast<std::uint32_t>(b.size() + table.size()), 4);
    Put(b, 14, header, 4);
    const bool core = header == 12;
    Put(b, 18, width, core ? 2 : 4), Put(b, core ? 20 : 22, height, core ? 2 : 4);
    Put(b, core ? 22 : 26, 1, 2), Put(b, core ? 24 : 28, bits, 2);
    if (!core) Put(b, 30, compression, 4);
    // Byte by byte: GCC 12 warns falsely of an insert's copy past the header.
    for (const std::uint8_t byte : table) b.push_back(byte);
    for (const std::uint8_t byte : rows) b.push_back(byte);
    return b;
}

}  // namespace

TEST(BitmapFile, TakesWhatTheWindowsLoaderTakesAndNothingElse)
{
    constexpr Colour red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000, white = 0xFFFFFF, black = 0;
    const Bytes redBlue = {0, 0, 255, 0, 255, 0, 0, 0};  // a colour table: red, blue
    // What, the file; then its pixels from the top left, or nothing.
    const std::pair<const char*, Bytes> taken[] = {
        {"24 bits, bottom-up", Bmp(40, 2, 2, 24, 0, {}, {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0})},
        {"8 bits, top-down", Bmp(40, 2, -2, 8, 0, redBlue, {0, 1, 0, 0, 1, 0, 0, 0})},
        {"4 bits", Bmp(40, 2, 2, 4, 0, redBlue, {0x10, 0, 0, 0, 0x01, 0, 0, 0})},
        {"1 bit", Bmp(40, 2, 2, 1, 0, redBlue, {0b10000000, 0, 0, 0, 0b01000000, 0, 0, 0})},
        {"16 bits, 5-5-5", Bmp(40, 2, 2, 16, 0, {}, {0x1f, 0, 0xff, 0x7f, 0, 0x7c, 0xe0, 0x03})},
        {"16 bits through masks, 5-6-5",
         Bmp(40, 2, 2, 16, 3, {0, 0xf8, 0, 0, 0xe0, 7, 0, 0, 0x1f, 0, 0, 0}, {0x1f, 0, 0xff, 0xff, 0, 0xf8, 0xe0, 0x07})},
        {"32 bits", Bmp(40, 2, 1, 32, 0, {}, {255, 0, 0, 0, 0, 0, 255, 9})},
        {"the core header", Bmp(12, 1, 2, 24, 0, {}, {0, 0, 0, 0, 255, 255, 255, 0})}};
    const std::vector<Colour> pixels[] = {{blue, white, red, green}, {red, blue, blue, red}, {red, blue, blue, red},
        {red, blue, blue, red}, {red, green, blue, white}, {red, green, blue, white}, {blue, red}, {white, black}};
    for (std::size_t k = 0; k < std::size(taken); ++k) {
        const auto image = DecodeBmp(taken[k].second);
        EXPECT_EQ(image ? image->pixels : std::vector<Colour>{}, pixels[k]) << taken[k].first;
    }
    Bytes cut = taken[0].second, png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    cut.pop_back();
    png.resize(64);
    const std::pair<const char*, Bytes> refused[] = {{"a PNG", png}, {"a file cut short", cut},
        {"run-length compressed", Bmp(40, 2, 2, 8, 1, redBlue, {0, 1, 0, 0, 1, 0, 0, 0})},
        {"no width", Bmp(40, 0, 2, 24, 0, {}, {})}, {"2 bits a pixel", Bmp(40, 2, 2, 2, 0, redBlue, Bytes(8))},
        {"wider than a mark could be", Bmp(40, 9000, 1, 1, 0, redBlue, Bytes(1128))}};
    for (const auto& [what, file] : refused) EXPECT_FALSE(DecodeBmp(file)) << what;
}
