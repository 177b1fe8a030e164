// The GTK shell's one record, beside the game's own (gameState): the window, its
// widgets by control id, the fields' slots and the board through which the
// portable flow draws on them. It lives from the start of a run to its end;
// RunIndovina fills it and empties it.
#pragma once

#include <gtk/gtk.h>

#include <map>

#include "base/one_based.h"
#include "input/board_platform.h"
#include "render/surface_gtk.h"

struct Shell {
    GtkWidget* mainWindow = nullptr;
    bool windowAlive = false;
    FontBookOwner fonts;                  // the surfaces' fonts; outlive the surfaces
    std::map<int, GtkWidget*> controls;   // surfaces and toggles, by control id
    OneBased<FieldSlots, kRowCount> fieldSlots;  // the editor's slots of each row's field
    guint clockTimer = 0;
    int openBoxes = 0;  // message boxes whose loop is running
    Board board;
};

extern Shell shell;

// The board's platform on shell.mainWindow, with the clocks given.
BoardPlatform GtkPlatform(const Clocks& clocks);

// The widget of a control id while the window exists; null otherwise.
GtkWidget* Control(int id);

// Ends the window at once: the clock stops and the window with its widgets goes.
// The run ends once no box is open any more.
void EndMainWindow();

// A message box with the program's caption, the text and an OK button, over the
// main window but not blocking it; returns when it is closed (OK, Enter, Escape
// or its close button). The main loop runs meanwhile, so the clock ticks and the
// window's clicks and keys go on reaching the game; so do the keys typed into the
// box, as they reach the game through the Win32 shell's thread hook.
void ShowMessageBox(const std::string& text);

// Runs a callback's work. An exception must not cross GTK's C frames: one that
// escapes shows the run-time error box ("Subscript out of range 9 in ...") and
// ends the window.
void ReportEscapedException(const char* where) noexcept;

template <class Work>
void RunGuarded(const char* where, Work&& work) noexcept
{
    try {
        work();
    } catch (...) {
        ReportEscapedException(where);
    }
}
