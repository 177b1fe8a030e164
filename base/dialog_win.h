// The dialog and control layer under the main window: a dialog made from an
// in-memory template and laid out in pixels, eight user slots per control, the
// modal show with its message loop, the program's message boxes, and the one
// catch that every callback of the program runs its work in.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The event handler of a dialog; its result is ignored, so the default dialog
// processing follows every event.
using DialogEvents = void (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Paints an owner-drawn control of the dialog; false when it is not one of ours.
using DrawItemHandler = bool (*)(const DRAWITEMSTRUCT& item);

// Creates a hidden top-level dialog with the caption and style given, no owner
// and no controls; its position and size are set later, in pixels. Until
// ShowModal attaches the event handler, only paintItem is called (for WM_DRAWITEM).
// The dialog keeps its own record (handler, the controls' slots) and frees it
// when it is destroyed.
HWND CreateHiddenDialog(HINSTANCE instance, const std::string& caption, DWORD style, DrawItemHandler paintItem);

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

// The run-time error box for the exception being handled, then the end of the
// window (of the dialog, for a control's callback).
void ReportEscapedException(HWND window, const char* where) noexcept;

// Runs a callback's work. An exception must not cross the system's frames: one
// that escapes shows the run-time error box ("Subscript out of range 9 in ...")
// and ends the window, as the field editor's errors do.
template <class Work>
void RunGuarded(HWND window, const char* where, Work&& work) noexcept
{
    try {
        work();
    } catch (...) {
        ReportEscapedException(window, where);
    }
}
