#include "app/entry_win.h"

#include "app/main_window_win.h"

HWND mainWindow = nullptr;
HMENU menuBar = nullptr;

LocalTime PlatformLocalTime()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    LocalTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.millisecond = st.wMilliseconds;
    return t;
}

// The window comes later; for now a game is its state, filled.
int RunIndovina(HINSTANCE /*instance*/)
{
    InitGame();
    return 0;
}
