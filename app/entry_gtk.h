// The GTK program's start-up and run.
#pragma once

#include <functional>
#include <string>

#include "app/session.h"

// Readies GTK for the game before it starts: the program's name, and the
// renderer. The board is pictures the game draws itself, shown whole: GL adds
// nothing to them but the loading of its driver at start-up (some 60 ms on X11
// with Mesa) and CPU while the clock ticks, so GTK draws with cairo and leaves GL
// unloaded, unless the player has chosen a renderer (GSK_RENDERER).
void StartToolkit();

// Runs one game as a GTK application from start to end with the clocks given, and
// returns the exit code, always 0, once its window has closed. The marks' images
// are looked for in the current directory, then in the game's data folder: the
// installed game's share/indovina beside the folder of its program, or else the
// program's own folder (the build tree). Tests in the same process may pass
// `prepare`, which runs right after the session is prepared (to set a known
// secret, say), and another program's path.
int RunIndovina(const Clocks& clocks, const std::function<void(Session&)>& prepare = {},
                const std::string& program = "/proc/self/exe");
