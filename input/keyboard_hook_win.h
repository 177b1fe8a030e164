// The thread keyboard hook through which every key reaches the game.
#pragma once

#include <windows.h>

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
void InstallKeyboardHook();
void RemoveKeyboardHook();
