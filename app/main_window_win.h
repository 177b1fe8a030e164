// The Win32 shell's record of one run, and the main window it builds from the
// board's controls. The record lives on RunIndovina's stack, and the window
// reaches it through its user data; the shell only translates between the
// session and the window.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "app/session.h"
#include "input/keyboard_hook_win.h"
#include "render/surface_win.h"

// Posted to show the box the session asked for: from the message loop, never from
// inside the keyboard hook, where a box's own loop would feed the hook the same key
// again, and an Enter still queued would close the box at once.
constexpr UINT kShowBoxMessage = WM_APP + 1;

struct Shell {
    FontBook fonts;  // outlives the surfaces that draw with it
    Session session;
    HWND window = nullptr;
    std::map<int, DrawingSurface> surfaces;  // by control id, as they were made
    KeyboardHook hook;
    std::string boxText;  // the box to show, and what follows its closing
    std::function<void()> boxClosed;
    // Called between the phases of start-up when set (a benchmark times them).
    void (*startupMark)(const char* phase) = nullptr;
};

// The record of the main window; null before it is attached.
Shell* ShellOf(HWND window);
void MarkStartup(const Shell& shell, const char* phase);

// What the window offers the session: its surfaces, the fonts' measures, boxes and
// its own end.
FrontEnd WindowsFrontEnd(Shell& shell, const Clocks& clocks);

// The whole window, hidden and centred: one control for each of the board's, then
// the menu. Needs the session prepared.
void BuildMainWindow(Shell& shell, HINSTANCE instance);
