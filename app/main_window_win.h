// The main window: its controls, fonts, menu and first picture.
#pragma once

#include <windows.h>

extern HWND mainWindow;
extern HMENU menuBar;

// The line height of "Lucida console" at the row's font size, measured on the
// current drawing surface.
int RowCellHeight(int row);
// The row's columns times the average character width of the same font.
int RowFieldWidth(int row);

// The menu bar with "Autore" opening a popup with "&autore" (command 4060).
void BuildMenu();

// Builds the whole window hidden, centred, with every control, the menu and the
// first picture drawn. Needs the game state filled.
HWND BuildMainWindow(HINSTANCE instance);

// Frees what the window's controls used and do not free themselves (the dialog
// font); called after the window is gone.
void ReleaseMainWindowFont();
