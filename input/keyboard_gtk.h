// The keys of a window of the game: a key controller in the capture phase, so
// that every key reaches the game before any widget of the window sees it.
#pragma once

#include <gtk/gtk.h>

// Receives a window's command by its id (HandleCommand, from the app layer).
using WindowCommand = void (*)(int id);

// Attaches the game's key handling to a window. Every key event, press or
// release, is translated (input/key_mapping.h) and handed to HandleKey. Then:
// - for the main window (command given), Enter also gives the default command
//   and Escape the cancel command, as a Windows dialog turns them into
//   commands, except while a message box is open; the window's widgets see no key but those held with Alt and F10,
//   which open the menu, and those of an open menu;
// - for a message box (no command), Enter and Escape close the box, and the
//   other keys go on to its button.
void AttachGameKeys(GtkWidget* window, WindowCommand command);

// Attaches the game's key handling to the menus of a menu bar. An open menu has
// the keyboard to itself, but the game sees every key first, as the Win32 hook
// sees the keys of a menu's own loop; the menu then has them all but Up and Down.
void AttachMenuKeys(GtkWidget* menuBar);

// True while a menu of the window is open: a popover of it is shown.
bool MenuOpen(GtkWidget* window);
