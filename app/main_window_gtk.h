// The GTK shell's main window: its surfaces, toggles, menu and first picture, and
// the events that reach the game from it.
#pragma once

#include <gtk/gtk.h>

// Builds the whole window hidden, with every control, the menu and the first
// picture drawn, into shell.mainWindow. Needs the game state filled.
GtkWidget* BuildMainWindow();

// The opening, as the Windows dialog's is: the clock's timer, every field drawn
// and the current row's made active, the keys, the clock started; then the
// window shown.
void OpenMainWindow();
