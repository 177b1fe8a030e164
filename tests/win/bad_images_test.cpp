// The marks are read from q.bmp and c.bmp in the current directory at every drawing,
// and the player can put anything there. Whatever lies there, an answer box is drawn
// with a mark or left blank, nothing else changes, no box appears, and a thousand
// drawings hold no more memory or GDI objects than the first.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "process_counts.h"
#include "render/answer_marks_win.h"
#include "render/surface_win.h"
#include "win_test_support.h"

namespace {

constexpr int kAnswerId = 521;
constexpr int kNeighbourId = 522;
constexpr int kCell = 24;
constexpr int kWidth = 4 * kCell;
constexpr Colour kNeighbourColour = 0x123456;
constexpr Colour kTruncatedColour = 0x00FF00;

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <class T>
void Put(std::vector<std::uint8_t>& bytes, T value)
{
    for (std::size_t i = 0; i < sizeof(T); ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A 1-bit bitmap of the size given: white, with a dark block over its middle half,
// so that stretched into a cell it leaves a mark. 8000 x 8000 is 8 MB on disk.
void WriteLargeMonochromeBitmap(const std::string& path, int side)
{
    const int stride = (side + 31) / 32 * 4;
    const std::uint32_t dataOffset = 14 + 40 + 8;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(dataOffset + static_cast<std::size_t>(stride) * static_cast<std::size_t>(side));
    bytes.push_back('B');
    bytes.push_back('M');
    Put<std::uint32_t>(bytes, dataOffset + static_cast<std::uint32_t>(stride * side));
    Put<std::uint32_t>(bytes, 0);
    Put<std::uint32_t>(bytes, dataOffset);
    Put<std::uint32_t>(bytes, 40);
    Put<std::int32_t>(bytes, side);
    Put<std::int32_t>(bytes, side);
    Put<std::uint16_t>(bytes, 1);
    Put<std::uint16_t>(bytes, 1);
    for (int i = 0; i < 6; ++i) Put<std::uint32_t>(bytes, 0);
    Put<std::uint32_t>(bytes, 0x00FFFFFF);  // index 0: white
    Put<std::uint32_t>(bytes, 0x00285A28);  // index 1: dark green
    for (int y = 0; y < side; ++y) {
        const bool middleRow = y >= side / 4 && y < side * 3 / 4;
        for (int b = 0; b < stride; ++b) {
            const int x = b * 8;
            bytes.push_back(middleRow && x >= side / 4 && x < side * 3 / 4 ? 0xFF : 0x00);
        }
    }
    WriteBytes(path, bytes);
}

// A whole 1 x 1 PNG image (a red pixel), as another program would save it.
const std::vector<std::uint8_t> kPng = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00, 0x00, 0x90, 0x77, 0x53,
    0xDE, 0x00, 0x00, 0x00, 0x0C, 0x49, 0x44, 0x41, 0x54, 0x08, 0xD7, 0x63, 0xF8, 0xCF, 0xC0, 0x00,
    0x00, 0x03, 0x01, 0x01, 0x00, 0x18, 0xDD, 0x8D, 0xB0, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E,
    0x44, 0xAE, 0x42, 0x60, 0x82};

// Blank: every cell plain. Mark: a mark in every cell with a letter. Partial: what
// could be read of the image may show, in the image's own colour, on the plain box.
enum class Expect { Blank, Mark, Partial };

struct BadImage {
    const char* name;
    Expect expect;
    int draws;
    void (*make)(const std::string& path);
};

void RemoveImage(const std::string& path)
{
    DeleteFileA(path.c_str());
    RemoveDirectoryA(path.c_str());
}

const BadImage kBadImages[] = {
    {"empty file", Expect::Blank, 1000, [](const std::string& p) { WriteBytes(p, {}); }},
    {"truncated bitmap", Expect::Partial, 1000,
     [](const std::string& p) {
         WriteBitmapFile(p, 32, 32, std::vector<Colour>(32 * 32, kTruncatedColour));
         std::vector<std::uint8_t> bytes = ReadBytes(p);
         bytes.resize(bytes.size() / 3);
         WriteBytes(p, bytes);
     }},
    {"random bytes", Expect::Blank, 1000,
     [](const std::string& p) {
         std::mt19937 random(7);
         std::vector<std::uint8_t> bytes(4096);
         for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
         WriteBytes(p, bytes);
     }},
    {"random bytes after a bitmap signature", Expect::Blank, 1000,
     [](const std::string& p) {
         std::mt19937 random(11);
         std::vector<std::uint8_t> bytes(4096);
         for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
         bytes[0] = 'B';
         bytes[1] = 'M';
         WriteBytes(p, bytes);
     }},
    {"PNG file", Expect::Blank, 1000, [](const std::string& p) { WriteBytes(p, kPng); }},
    // One pixel stretched over the cell is all background: the fill takes it away.
    {"1 x 1 bitmap", Expect::Blank, 1000,
     [](const std::string& p) { WriteBitmapFile(p, 1, 1, {0x00FF00}); }},
    // Each load of it reads 8 MB and stretches 64 million pixels: a few are enough to
    // show that none of them stays.
    {"8000 x 8000 bitmap", Expect::Mark, 8, [](const std::string& p) { WriteLargeMonochromeBitmap(p, 8000); }},
    {"folder", Expect::Blank, 1000, [](const std::string& p) { CreateDirectoryA(p.c_str(), nullptr); }},
    {"no file", Expect::Blank, 1000, [](const std::string&) {}},
};

bool MessageBoxOpen()
{
    HWND box = nullptr;
    while ((box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr) {
        if (IsWindowVisible(box)) return true;
    }
    return false;
}

// Beside the surfaces of the shared fixture, in its host window.
constexpr SurfacePlace kBox{kAnswerId, 200, 115, kWidth, kCell};
constexpr SurfacePlace kNeighbour{kNeighbourId, 300, 115, kWidth, kCell};

}  // namespace

using BadImages = RenderTest;

TEST_F(BadImages, AnyFileInPlaceOfTheMarksDrawsOrLeavesBlankAndHoldsNothing)
{
    for (const SurfacePlace& s : {kBox, kNeighbour}) CreateSurface(host, s.id, s.x, s.y, s.width, s.height, 0);
    SelectSurface(host, kNeighbourId);
    ClearSurface(kNeighbourColour, 0);
    ShowSurface();
    const std::vector<Colour> neighbour = Pixels(kNeighbour);

    ScratchFolder folder;
    for (const BadImage& image : kBadImages) {
        SCOPED_TRACE(image.name);
        for (const char* file : {"q.bmp", "c.bmp"}) {
            RemoveImage(file);
            image.make(file);
        }
        // The first drawings make what stays for the life of the process (cached
        // contexts, the heap's first blocks): the counts are taken after them.
        for (int i = 0; i < 2; ++i) DrawAnswerMarks(host, kAnswerId, "QC");
        PumpMessages();
        const long gdiBefore = GdiObjectCount();
        const std::size_t bytesBefore = PrivateBytes();
        ASSERT_GT(bytesBefore, 0u);
        const auto start = GetTickCount();
        for (int i = 0; i < image.draws; ++i) DrawAnswerMarks(host, kAnswerId, i % 2 ? "QC" : "CQQ");
        PumpMessages();
        std::printf("%-40s %5d drawings in %5lu ms\n", image.name, image.draws, GetTickCount() - start);
        EXPECT_EQ(GdiObjectCount(), gdiBefore);
        EXPECT_LT(PrivateBytes(), bytesBefore + 1024 * 1024) << "grew from " << bytesBefore;

        DrawAnswerMarks(host, kAnswerId, "CQQ");
        const std::vector<Colour> box = Pixels(kBox);
        ASSERT_EQ(box.size(), static_cast<std::size_t>(kWidth * kCell));
        const auto plain = std::count(box.begin(), box.end(), answerSurfaceColour);
        if (image.expect == Expect::Blank) {
            EXPECT_EQ(plain, kWidth * kCell);
        } else if (image.expect == Expect::Partial) {
            // The rows that were read show in shades of the image's green (stretching
            // blends them with what was missing). Every image is drawn one pixel wider
            // than its cell, so the first column of the fourth cell may hold the third
            // image's edge; the rest of the fourth cell, which has no letter, is plain.
            for (int y = 0; y < kCell; ++y) {
                for (int x = 0; x < kWidth; ++x) {
                    const Colour colour = box[static_cast<std::size_t>(y * kWidth + x)];
                    if (x > 3 * kCell) {
                        EXPECT_EQ(colour, answerSurfaceColour) << x << "," << y;
                    } else {
                        EXPECT_TRUE(colour == answerSurfaceColour || (colour & 0xFF00FF) == 0)
                            << std::hex << colour << std::dec << " at " << x << "," << y;
                    }
                }
            }
        } else {
            // The last drawing was "CQQ": three cells hold a mark, the fourth is plain.
            for (int cell = 0; cell < 4; ++cell) {
                const Colour centre = box[static_cast<std::size_t>(kCell / 2 * kWidth + cell * kCell + kCell / 2)];
                EXPECT_EQ(centre != answerSurfaceColour, cell < 3) << "cell " << cell;
            }
        }
        EXPECT_EQ(Pixels(kNeighbour), neighbour);
        EXPECT_FALSE(MessageBoxOpen());
        EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), folder.path.size() + 1);
    }
    for (const char* file : {"q.bmp", "c.bmp"}) RemoveImage(file);
}
