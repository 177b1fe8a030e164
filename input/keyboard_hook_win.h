// The thread keyboard hook through which every key reaches the game, boxes and
// menus included: each press (or repeat) of a key that is not Shift, Ctrl or Alt,
// in the game's own words. The hook never consumes a key.
#pragma once

#include <windows.h>

#include <functional>

#include "input/game_keys.h"

struct KeyboardHook {
    std::function<void(const GameKey&)> pressed;
    HHOOK handle = nullptr;
    // Which side's Shift, Ctrl and Alt sent the last event of that modifier.
    bool rightShift = false;
    bool rightCtrl = false;
    bool rightAlt = false;
};

// One hook at a time: it must stay where it is until it is removed.
void InstallKeyboardHook(KeyboardHook& hook);
void RemoveKeyboardHook(KeyboardHook& hook);
