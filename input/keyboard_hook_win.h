// The thread keyboard hook through which every key reaches the game.
#pragma once

#include <windows.h>

extern HHOOK keyboardHook;

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
void InstallKeyboardHook();
void RemoveKeyboardHook();

// True while the hook is handling a key (a box opened from there may be up).
bool KeyboardHookBusy();
