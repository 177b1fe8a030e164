#include "render/bitmap_file.h"

#include <algorithm>
#include <fstream>

namespace {

constexpr std::int64_t kLargestSide = 8192;

struct Reader {
    std::span<const std::uint8_t> bytes;

    bool Has(std::int64_t offset, std::int64_t count) const
    {
        return offset >= 0 && count >= 0 && offset + count <= static_cast<std::int64_t>(bytes.size());
    }
    std::uint32_t U16(std::int64_t at) const
    {
        const auto i = static_cast<std::size_t>(at);
        return bytes[i] | (std::uint32_t{bytes[i + 1]} << 8);
    }
    std::uint32_t U32(std::int64_t at) const { return U16(at) | (U16(at + 2) << 16); }
    std::int64_t I32(std::int64_t at) const { return static_cast<std::int32_t>(U32(at)); }
};

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: rows top-down
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::int64_t size = 0;    // of the header itself
    std::uint32_t masks[3] = {};
};

constexpr std::uint32_t kPlainRgb = 0;
constexpr std::uint32_t kBitFields = 3;

std::optional<Header> ReadHeader(const Reader& in)
{
    if (!in.Has(0, 18) || in.bytes[0] != 'B' || in.bytes[1] != 'M') return std::nullopt;
    Header h;
    h.size = in.U32(14);
    if (!in.Has(14, h.size)) return std::nullopt;
    if (h.size == 12) {
        h.width = in.U16(18);
        h.height = in.U16(20);
        if (in.U16(22) != 1) return std::nullopt;
        h.bits = in.U16(24);
        return h;
    }
    if (h.size != 40 && h.size != 52 && h.size != 56 && h.size != 108 && h.size != 124) return std::nullopt;
    h.width = in.I32(18);
    h.height = in.I32(22);
    if (in.U16(26) != 1) return std::nullopt;
    h.bits = in.U16(28);
    h.compression = in.U32(30);
    h.coloursUsed = in.U32(46);
    if (h.compression == kBitFields) {
        // The masks follow a 3.x header, and are part of the later ones.
        if (!in.Has(54, 12)) return std::nullopt;
        for (int k = 0; k < 3; ++k) h.masks[k] = in.U32(54 + 4 * k);
    }
    return h;
}

bool Acceptable(const Header& h)
{
    const std::int64_t rows = h.height < 0 ? -h.height : h.height;
    if (h.width < 1 || h.width > kLargestSide || rows < 1 || rows > kLargestSide) return false;
    if (h.compression == kBitFields) return h.bits == 16 || h.bits == 32;
    if (h.compression != kPlainRgb) return false;
    return h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32;
}

Colour FromRgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | (g << 8) | (b << 16); }

// A channel under a mask, scaled to 0..255.
std::uint32_t Channel(std::uint32_t value, std::uint32_t mask)
{
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) ++shift;
    const std::uint32_t top = mask >> shift;
    const std::uint64_t v = (value & mask) >> shift;
    return static_cast<std::uint32_t>(v * 255 / top);
}

std::vector<Colour> ColourTable(const Reader& in, const Header& h)
{
    std::vector<Colour> table;
    if (h.bits > 8) return table;
    const std::uint32_t most = 1u << h.bits;
    const std::uint32_t count = h.coloursUsed == 0 || h.coloursUsed > most ? most : h.coloursUsed;
    const std::int64_t entry = h.size == 12 ? 3 : 4;
    const std::int64_t start = 14 + h.size;
    for (std::uint32_t k = 0; k < count && in.Has(start + k * entry, 3); ++k) {
        const std::int64_t at = start + k * entry;
        table.push_back(FromRgb(in.bytes[at + 2], in.bytes[at + 1], in.bytes[at]));
    }
    return table;
}

Colour PixelAt(const Reader& in, const Header& h, const std::vector<Colour>& table, std::int64_t row,
               std::int64_t x)
{
    const auto byte = [&](std::int64_t k) { return std::uint32_t{in.bytes[static_cast<std::size_t>(row + k)]}; };
    switch (h.bits) {
    case 1:
    case 4:
    case 8: {
        const std::int64_t bit = x * h.bits;
        const std::uint32_t index = (byte(bit / 8) >> (8 - h.bits - bit % 8)) & ((1u << h.bits) - 1);
        return index < table.size() ? table[index] : 0;
    }
    case 16: {
        const std::uint32_t v = byte(2 * x) | (byte(2 * x + 1) << 8);
        if (h.compression == kBitFields) {
            return FromRgb(Channel(v, h.masks[0]), Channel(v, h.masks[1]), Channel(v, h.masks[2]));
        }
        return FromRgb(Channel(v, 0x7C00), Channel(v, 0x03E0), Channel(v, 0x001F));
    }
    case 24: return FromRgb(byte(3 * x + 2), byte(3 * x + 1), byte(3 * x));
    default: {
        const std::uint32_t v = in.U32(row + 4 * x);
        if (h.compression == kBitFields) {
            return FromRgb(Channel(v, h.masks[0]), Channel(v, h.masks[1]), Channel(v, h.masks[2]));
        }
        return FromRgb(byte(4 * x + 2), byte(4 * x + 1), byte(4 * x));
    }
    }
}

}  // namespace

std::optional<RgbImage> DecodeBmp(std::span<const std::uint8_t> file)
{
    const Reader in{file};
    const std::optional<Header> h = ReadHeader(in);
    if (!h || !Acceptable(*h)) return std::nullopt;
    const std::int64_t rows = h->height < 0 ? -h->height : h->height;
    const std::int64_t stride = (h->width * h->bits + 31) / 32 * 4;
    const std::int64_t offset = in.U32(10);
    if (!in.Has(offset, stride * rows)) return std::nullopt;
    const std::vector<Colour> table = ColourTable(in, *h);
    if (h->bits <= 8 && table.empty()) return std::nullopt;

    RgbImage image{static_cast<int>(h->width), static_cast<int>(rows), {}};
    image.pixels.reserve(static_cast<std::size_t>(h->width * rows));
    for (std::int64_t y = 0; y < rows; ++y) {
        const std::int64_t stored = h->height < 0 ? y : rows - 1 - y;
        for (std::int64_t x = 0; x < h->width; ++x) {
            image.pixels.push_back(PixelAt(in, *h, table, offset + stored * stride, x));
        }
    }
    return image;
}

std::optional<RgbImage> ReadBmpFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    // A file much larger than the largest bitmap taken is not read at all.
    const std::streamoff size = file ? static_cast<std::streamoff>(file.tellg()) : -1;
    if (size < 0 || size > 4 * kLargestSide * kLargestSide + 4096) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
    return DecodeBmp(bytes);
}

RgbImage Stretched(const RgbImage& image, int width, int height)
{
    RgbImage out{std::max(width, 0), std::max(height, 0), {}};
    out.pixels.reserve(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    for (std::int64_t y = 0; y < out.height; ++y) {
        const auto sourceY = static_cast<int>(y * image.height / out.height);
        for (std::int64_t x = 0; x < out.width; ++x) {
            out.pixels.push_back(image.At(static_cast<int>(x * image.width / out.width), sourceY));
        }
    }
    return out;
}

const RgbImage* ImageBook::Find(const std::string& fileName)
{
    auto found = std::find_if(images.begin(), images.end(), [&](const auto& entry) { return entry.first == fileName; });
    if (found == images.end()) {
        std::optional<RgbImage> image;
        for (const std::string& path : ImageSearchOrder(fileName, dataFolder)) {
            // The first file found is the one: a broken one there is not passed over.
            if (!std::ifstream(path)) continue;
            image = ReadBmpFile(path);
            break;
        }
        found = images.emplace(images.end(), fileName, std::move(image));
    }
    return found->second ? &*found->second : nullptr;
}
