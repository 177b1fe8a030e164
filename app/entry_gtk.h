// The GTK program's start-up and run.
#pragma once

#include "game/clock.h"

// Readies GTK for the game: the program's name and icon, and the renderer. The
// board is pictures the game draws itself, shown whole: GL adds nothing to them
// but the loading of its driver at start-up (some 60 ms on X11 with Mesa) and CPU
// while the clock ticks, so GTK draws with cairo and leaves GL unloaded, unless
// the player has chosen a renderer (GSK_RENDERER).
void StartToolkit();

// Runs one game from start to end with the clocks given and returns the exit
// code, 0: the window is built and shown, and the run ends once it has closed
// and no box is open any more. GTK must be initialised. Tests in the same process
// may pass `prepare`, which runs right after the game state is filled (to set a
// known secret, say); the game itself passes nothing.
int RunIndovina(const Clocks& clocks, void (*prepare)() = nullptr);
