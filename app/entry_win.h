// The program's start-up and run, callable from the entry and from tests.
#pragma once

#include <windows.h>

#include "game/game_state.h"

// The local time as the platform's clock (GetLocalTime) gives it.
LocalTime PlatformLocalTime();

// Runs one game from start to end and returns the exit code. The clock the game
// reads is whatever SetLocalTimeSource chose before. Tests in the same process may
// pass `prepare`, which runs right after the game state is filled (to set a known
// secret, say); the game itself passes nothing.
int RunIndovina(HINSTANCE instance, void (*prepare)() = nullptr);
