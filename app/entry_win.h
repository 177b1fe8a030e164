// The program's start-up and run, callable from the entry and from tests.
#pragma once

#include <windows.h>

#include <functional>

#include "app/session.h"

// The clocks of a real run: the local time as the platform's clock gives it
// (GetLocalTime), and the standard monotonic clock.
Clocks PlatformClocks();

// Runs one game from start to end with the clocks given and returns the exit code.
// Tests in the same process may pass `prepare`, which is given the session right
// after it is prepared (to set a known secret, say), and `startupMark`, told of
// each phase of start-up as it ends; the game itself passes neither.
int RunIndovina(HINSTANCE instance, const Clocks& clocks, const std::function<void(Session&)>& prepare = {},
                void (*startupMark)(const char* phase) = nullptr);
