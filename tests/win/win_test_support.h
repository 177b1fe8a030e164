// Helpers shared by the tests of the Win32 shell.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "game/game_state.h"

// The folder of the running test executable (where indovina.exe, q.bmp and c.bmp lie).
std::string ExecutableFolder();


// --- Drawing surfaces ---------------------------------------------------------

// A visible top-level window with a black background that paints its drawing
// surfaces (it routes WM_DRAWITEM to PaintSurfaceItem, as the main window does).
// Destroyed, with its surfaces, at scope end.
struct SurfaceHost {
    SurfaceHost(int x, int y, int width, int height);
    ~SurfaceHost();
    SurfaceHost(const SurfaceHost&) = delete;
    SurfaceHost& operator=(const SurfaceHost&) = delete;

    HWND window = nullptr;
};

// Handles whatever messages are waiting on this thread.
void PumpMessages();

// Every pixel of the current surface, row by row, as ReadPixel gives them.
std::vector<Colour> SurfacePixels();

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
