// Starts indovina.exe from the current directory, as a double click in Explorer
// starts it from its folder, waits for the game's window, closes it as the close
// box does and returns the game's exit code. Returns 1, saying why, when the game
// does not start or its window does not come.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindGameWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (owner == search->processId && IsWindowVisible(window) && lstrcmpA(caption, "Indovina il numero 0.01") == 0) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

struct HandleCloser {
    HANDLE handle;
    ~HandleCloser() { CloseHandle(handle); }
};

}  // namespace

int main()
{
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    std::string line = std::string("\"") + folder + "\\indovina.exe\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &process)) {
        std::printf("cannot start %s (error %lu)\n", line.c_str(), GetLastError());
        return 1;
    }
    HandleCloser thread{process.hThread};
    HandleCloser game{process.hProcess};

    Search search{process.dwProcessId, nullptr};
    for (int i = 0; i < 1000 && search.window == nullptr; ++i) {
        EnumWindows(FindGameWindow, reinterpret_cast<LPARAM>(&search));
        if (search.window == nullptr) Sleep(10);
    }
    if (search.window == nullptr) {
        std::printf("the game's window did not appear within 10 s\n");
        TerminateProcess(process.hProcess, 99);
        return 1;
    }
    PostMessageA(search.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        std::printf("the game did not end within 10 s of closing its window\n");
        TerminateProcess(process.hProcess, 99);
        return 1;
    }
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("the game ran from %s and ended with exit code %lu\n", folder, code);
    return static_cast<int>(code);
}
