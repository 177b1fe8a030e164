// The dialog and control layer under the main window: a dialog made from an
// in-memory template and laid out in pixels, eight user slots per control, the
// modal show with its message loop, and the program's message boxes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The event handler of a dialog; its result is ignored, so the default dialog
// processing follows every event.
using DialogEvents = void (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates a hidden top-level dialog with the caption and style given, no owner
// and no controls; its position and size are set later, in pixels. No handler is
// attached until ShowModal; until then only the drawing surfaces paint.
HWND CreateHiddenDialog(HINSTANCE instance, const std::string& caption, DWORD style);

// Creates a child control of the dialog in pixels of its client area, gives it the
// font, and registers its user slots (all 0). Not a tab stop.
HWND CreateControl(HWND dialog, const char* windowClass, const std::string& caption, DWORD style, int id,
                   int x, int y, int width, int height, HFONT font);

// Registers the user slots of a control made elsewhere (the drawing surfaces).
void RegisterControlSlots(HWND control);

// The user slots 1..8 of a control, signed 32-bit, 0 when the control was made.
std::int32_t ControlSlot(HWND control, int slot);
void SetControlSlot(HWND control, int slot, std::int32_t value);

// Attaches the handler, delivers WM_INITDIALOG and one WM_SIZE with the client
// size, shows the window, then runs its message loop with the dialog's keyboard
// handling until the window no longer exists.
void ShowModal(HWND dialog, DialogEvents handler);

// True while the dialog made by CreateHiddenDialog exists.
bool IsDialogAlive(HWND dialog);

// Ends the window: it is destroyed, and ShowModal returns.
void EndDialogWindow(HWND dialog);

// A message box with an OK button only, no icon, no owner and the program's one
// fixed caption.
void ShowMessageBox(const std::string& text);

// The caption every message box of the program shows.
inline constexpr const char* kMessageBoxCaption = "Indovina il numero";
