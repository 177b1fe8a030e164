// Helpers shared by the tests of the Win32 shell.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "game/game_state.h"

// The folder of the running test executable (where indovina.exe, q.bmp and c.bmp lie).
std::string ExecutableFolder();

// Handles whatever messages are waiting on this thread.
void PumpMessages();

// A pixel as the screen shows it, in client coordinates of the window.
COLORREF ScreenPixel(HWND window, int x, int y);

// The GDI objects this process holds, counted outside the code under test.
// GetGuiResources where it works; under Wine it is a stub that answers 0, and the
// live entries of the process's GDI handle table are counted instead.
long GdiObjectCount();

// A fresh folder under %TEMP%, made the current directory for the scope; the
// previous current directory comes back and the folder goes, files and all.
struct ScratchFolder {
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path;
    std::string previous;
};

// Writes a 24-bit Windows bitmap file; pixels are rows from the top, as Colour.
void WriteBitmapFile(const std::string& path, int width, int height, const std::vector<Colour>& pixels);

// --- Drawing surfaces ---------------------------------------------------------

// Colours as surfaces hold them: 0x00BBGGRR.
inline constexpr Colour kWhite = 0x00FFFFFF;
inline constexpr Colour kBlack = 0x00000000;
inline constexpr Colour kRed = 0x000000FF;
inline constexpr Colour kGreen = 0x0000FF00;
inline constexpr Colour kBlue = 0x00FF0000;
inline constexpr Colour kYellow = 0x0000FFFF;

// The surfaces of RenderTest: control id, place in the host window and size.
struct SurfacePlace {
    int id, x, y, width, height;
};
inline constexpr SurfacePlace kPlain{11, 10, 10, 180, 40};  // as large as an information panel
inline constexpr SurfacePlace kInfo{111, 10, 60, 180, 40};
inline constexpr SurfacePlace kText{301, 200, 10, 200, 100};
inline constexpr SurfacePlace kAnswer{501, 10, 110, 4 * 38, 38};  // four cells of a 38-pixel row

// A visible window with a black background holding the surfaces above, painting
// them as the main window does (WM_DRAWITEM goes to PaintSurfaceItem). The current
// directory is the game's folder, where the marks are read from. kPlain is the
// current surface, with black ink and no text background.
class RenderTest : public ::testing::Test {
protected:
    RenderTest();
    ~RenderTest() override;

    // Every pixel of a surface, row by row, as ReadPixel gives them.
    std::vector<Colour> Pixels(const SurfacePlace& surface);
    // Whether every pixel of the surface is expected(x, y); names the first that is not.
    ::testing::AssertionResult PixelsMatch(const SurfacePlace& surface,
                                           const std::function<Colour(int x, int y)>& expected);

    HWND host = nullptr;
};
