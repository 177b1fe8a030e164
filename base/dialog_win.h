// The dialog and control layer under the main window: a dialog made from an
// in-memory template and laid out in pixels, the modal show with its message loop,
// the program's message boxes, and the one catch that the dialog's events run in.
#pragma once

#include <windows.h>

#include <string>

// The event handler of a dialog: true when it has handled the message itself (an
// owner-drawn control painted); otherwise the default dialog processing follows.
using DialogEvents = bool (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates a hidden top-level dialog with the caption and style given, no owner
// and no controls; its position and size are set later, in pixels. Every message
// from then on goes to the handler, ShowModal's WM_INITDIALOG included.
HWND CreateHiddenDialog(HINSTANCE instance, const std::string& caption, DWORD style, DialogEvents events);

// Creates a child control of the dialog in pixels of its client area and gives it
// the font. Not a tab stop.
HWND CreateControl(HWND dialog, const char* windowClass, const std::string& caption, DWORD style, int id,
                   int x, int y, int width, int height, HFONT font);

// Delivers WM_INITDIALOG and one WM_SIZE with the client size, shows the window,
// then runs its message loop with the dialog's keyboard handling (Escape the
// cancel command, Enter the default one) until the window no longer exists.
void ShowModal(HWND dialog);

// Ends the window: it is destroyed, and ShowModal returns.
void EndDialogWindow(HWND dialog);

// A message box with an OK button only, no icon, no owner and the program's one
// fixed caption.
void ShowMessageBox(const std::string& text);
