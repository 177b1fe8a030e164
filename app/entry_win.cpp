#include "app/entry_win.h"

#include "app/dialog_win.h"
#include "app/main_window_win.h"
#include "app/window_events_win.h"

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

int RunIndovina(HINSTANCE instance, void (*prepare)())
{
    InitGame();
    if (prepare != nullptr) prepare();
    BuildMainWindow(instance);
    ShowModal(mainWindow, MainWindowEvents);
    ReleaseMainWindowFont();
    return 0;
}
