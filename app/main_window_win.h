// The main window.
#pragma once

#include <windows.h>

extern HWND mainWindow;
extern HMENU menuBar;
