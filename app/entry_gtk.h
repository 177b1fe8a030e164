// The GTK program's start-up and run.
#pragma once

#include "game/clock.h"

// Runs one game from start to end with the clocks given and returns the exit
// code, 0: the window is built and shown, and the run ends once it has closed
// and no box is open any more. GTK must be initialised.
int RunIndovina(const Clocks& clocks);
