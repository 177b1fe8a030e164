// libFuzzer target for the reader of the marks' image files: any bytes at all, as a
// file in the player's folder may hold. It must either refuse the file or give an
// image of the size its header says, never read outside the bytes (the sanitizers
// watch that) nor allocate more than a mark's worth.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "render/bitmap_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<RgbImage> image = DecodeBmp({data, size});
    if (!image) return 0;
    const bool sized = image->width >= 1 && image->width <= 8192 && image->height >= 1 && image->height <= 8192 &&
                       image->pixels.size() == static_cast<std::size_t>(image->width) * image->height;
    const bool colours = std::all_of(image->pixels.begin(), image->pixels.end(), [](Colour c) { return c <= 0xFFFFFF; });
    if (!sized || !colours) {
        std::fprintf(stderr, "bitmap reader promise broken: %d x %d\n", image->width, image->height);
        std::abort();
    }
    const RgbImage cell = Stretched(*image, 1 + data[0] % 40, 1 + data[size - 1] % 40);
    if (cell.pixels.size() != static_cast<std::size_t>(cell.width) * cell.height) std::abort();
    return 0;
}
