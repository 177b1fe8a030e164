// Starts indovina.exe from the current directory, as a double click in Explorer
// starts it from its folder, waits for its window to show, closes it as the close
// box does and returns the game's exit code; 1, saying why, when it cannot.
#include <windows.h>

#include <cstdio>

#include "base/board_constants.h"

int main()
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION game{};
    if (!CreateProcessA("indovina.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &game)) {
        return std::printf("cannot start indovina.exe (error %lu)\n", GetLastError()), 1;
    }
    HWND window = nullptr;
    for (int i = 0; i < 1000 && !IsWindowVisible(window); ++i, Sleep(10)) window = FindWindowA(nullptr, kCaption);
    DWORD code = 1;
    if (!IsWindowVisible(window) || !PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0) ||
        WaitForSingleObject(game.hProcess, 10000) != WAIT_OBJECT_0 || !GetExitCodeProcess(game.hProcess, &code)) {
        TerminateProcess(game.hProcess, 99);
        return std::printf("the game's window did not show, or the game did not end once it was closed\n"), 1;
    }
    return int(code);
}
