// The main window's event handler: the game's machinery, the clock panels, the
// toggles, the row selection, the author box and the end of the game.
#pragma once

#include <windows.h>

void MainWindowEvents(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
