// GTK's key events in the game's own words (input/game_keys.h).
#pragma once

#include <gtk/gtk.h>

#include "input/game_keys.h"

// The game's key for a press: its position from the hardware code, which names the
// physical key whatever the layout (X11's codes, evdev's plus 8, on Wayland too);
// its character from the key value, which GDK has already translated through the
// layout and the modifiers (Shift+& is "1" on a French keyboard, AltGr gives its
// own characters): Latin-1 only, the keypad's digits and signs, nothing for the
// other keys, and with Ctrl held but not Alt only a letter's control character.
// Whether the left Ctrl is down, GDK's modifiers cannot tell: the caller tracks it.
GameKey GameKeyOf(guint keyValue, guint hardwareCode, GdkModifierType state, bool leftCtrl);
