// The main window's events, each turned into the session's: the board opened, the
// clock's ticks, the toggles, the rows, the author's entry, the cancel command and
// the boxes the session asked for.
#pragma once

#include <windows.h>

bool MainWindowEvents(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
