// The program's start-up and run, callable from the entry and from tests.
#pragma once

#include <windows.h>

#include "game/clock.h"

// The local time as the platform's clock (GetLocalTime) gives it.
LocalTime PlatformLocalTime();

// The clocks of a real run: the platform's local time, the standard monotonic clock.
Clocks PlatformClocks();

// Runs one game from start to end with the clocks given and returns the exit code.
// Tests in the same process may pass `prepare`, which runs right after the game
// state is filled (to set a known secret, say); the game itself passes nothing.
int RunIndovina(HINSTANCE instance, const Clocks& clocks, void (*prepare)() = nullptr);
