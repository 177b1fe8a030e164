#include "app/entry_win.h"

#include "app/main_window_win.h"
#include "base/dialog_win.h"

namespace {

LocalTime PlatformLocalTime()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace

Clocks PlatformClocks() { return {PlatformLocalTime, StandardSteadySeconds}; }

int RunIndovina(HINSTANCE instance, const Clocks& clocks, const std::function<void(Session&)>& prepare,
                void (*startupMark)(const char* phase))
{
    Shell shell;
    shell.startupMark = startupMark;
    OpenFontBook(shell.fonts);
    PrepareSession(shell.session, WindowsFrontEnd(shell, clocks));
    if (prepare) prepare(shell.session);
    MarkStartup(shell, "the game prepared and the rows laid out");
    BuildMainWindow(shell, instance);
    ShowModal(shell.window);
    // Should the loop have ended with the window still there, it goes before the
    // record its events use.
    EndDialogWindow(shell.window);
    return 0;
}
