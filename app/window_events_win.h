// The main window's event handler: the game's machinery, the clock panels, the
// toggles, the row selection and the author box.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/clock.h"

// The clock of the elapsed panel; startTime is the whole second the game started.
extern GameClock gameClock;

void MainWindowEvents(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The text of the author box: seven lines joined by CR LF.
std::string AuthorText();
