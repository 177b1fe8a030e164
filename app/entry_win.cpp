#include "app/entry_win.h"

#include "app/main_window_win.h"
#include "app/window_events_win.h"
#include "base/dialog_win.h"
#include "input/shell_win.h"

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

Clocks PlatformClocks() { return {PlatformLocalTime, StandardSteadySeconds}; }

int RunIndovina(HINSTANCE instance, const Clocks& clocks, void (*prepare)())
{
    shell = Shell{};
    shell.board.platform = Win32Platform(clocks);
    InitGame(clocks.localTime());
    if (prepare != nullptr) prepare();
    BuildMainWindow(instance);
    ShowModal(shell.mainWindow, MainWindowEvents);
    // The window and its surfaces are gone: their fonts and the rest go with the record.
    shell = Shell{};
    return 0;
}
