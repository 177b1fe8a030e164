// The program's entry on Linux. The command line is ignored.
#include <gtk/gtk.h>

#include "app/entry_gtk.h"

int main()
{
    // The name under which the desktop knows the program: its .desktop file and icon.
    g_set_prgname("indovina");
    gtk_init();
    gtk_window_set_default_icon_name("indovina");
    return RunIndovina(Clocks{});
}
