// What the process holds, counted from outside the code under test, for the tests
// that prove long runs leak nothing.
#pragma once

#include <windows.h>

#include <cstddef>

// The private bytes of the process (memory it alone commits).
std::size_t PrivateBytes();

// The USER objects of the calling thread that the game makes: its windows (top-level
// ones and all their children, message boxes included) and the menus reachable from
// those windows' menu bars. GetGuiResources(GR_USEROBJECTS) is a stub under Wine, so
// the objects are enumerated instead; call it on the game's thread.
long ThreadUserObjectCount();
