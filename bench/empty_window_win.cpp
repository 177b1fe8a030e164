// The yardstick for the game's start-up: a program of the same build that only shows
// an empty dialog window of the size given on its command line (client pixels) and
// runs its message loop until the window is closed.
#include <windows.h>

#include <cstdlib>

namespace {

INT_PTR CALLBACK EmptyProc(HWND window, UINT message, WPARAM, LPARAM)
{
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return TRUE;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    char* rest = nullptr;
    const long width = std::strtol(commandLine, &rest, 10);
    const long height = std::strtol(rest, nullptr, 10);
    struct {
        DLGTEMPLATE header;
        WORD menu, windowClass, title;
    } dialogTemplate{};
    dialogTemplate.header.style = WS_CAPTION | WS_SYSMENU;
    HWND window = CreateDialogIndirectParamA(instance, &dialogTemplate.header, nullptr, EmptyProc, 0);
    RECT outer{0, 0, width, height};
    AdjustWindowRect(&outer, WS_CAPTION | WS_SYSMENU, TRUE);
    SetWindowTextA(window, "Indovina il numero 0.01");
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top, SWP_NOZORDER | SWP_NOMOVE);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return 0;
}
