// The GTK program's start-up and run.
#pragma once

#include "game/clock.h"

// Runs one game from start to end with the clocks given and returns the exit
// code, 0: the window is built and shown, and the run ends once it has closed
// and no box is open any more. GTK must be initialised. Tests in the same process
// may pass `prepare`, which runs right after the game state is filled (to set a
// known secret, say); the game itself passes nothing.
int RunIndovina(const Clocks& clocks, void (*prepare)() = nullptr);
