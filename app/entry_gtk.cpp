#include "app/entry_gtk.h"

#include <gtk/gtk.h>

#include "app/main_window_gtk.h"
#include "game/game_state.h"
#include "input/shell_gtk.h"

void StartToolkit()
{
    if (g_getenv("GSK_RENDERER") == nullptr) {
        g_setenv("GSK_RENDERER", "cairo", TRUE);
        if (g_getenv("GDK_DEBUG") == nullptr) g_setenv("GDK_DEBUG", "gl-disable", TRUE);
    }
    // The name under which the desktop knows the program: its .desktop file and icon.
    g_set_prgname("indovina");
    gtk_init();
    gtk_window_set_default_icon_name("indovina");
}

int RunIndovina(const Clocks& clocks, void (*prepare)())
{
    shell.board = Board{};
    shell.board.platform = GtkPlatform(clocks);
    InitGame(clocks.localTime());
    if (prepare != nullptr) prepare();
    BuildMainWindow();
    OpenMainWindow();
    while (shell.windowAlive) g_main_context_iteration(nullptr, TRUE);
    // The window and its surfaces are gone: their fonts and the rest go with the record.
    shell = Shell{};
    return 0;
}
