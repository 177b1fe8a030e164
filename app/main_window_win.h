// The main window: its controls, fonts, menu and first picture.
#pragma once

#include <windows.h>

// The menu bar with "Autore" opening a popup with "&autore" (command 4060).
HMENU BuildMenu();

// Builds the whole window hidden, centred, with every control, the menu and the
// first picture drawn, into shell.mainWindow. Needs the game state filled.
HWND BuildMainWindow(HINSTANCE instance);
