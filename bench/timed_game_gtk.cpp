// The native game, started as app/main_gtk.cpp starts it, telling the benchmark's
// driver (indovina_bench_gtk.cpp) the moments of its start-up: its entry, GTK
// ready, the window built and opened by the game (the first turn of the game's
// loop, before the loop paints anything), and the first frame on the screen; then
// a frame for each key, until it is ended.
#include <gtk/gtk.h>

#include "app/entry_gtk.h"
// After the game's headers: it brings Xlib, whose macros (None, Always) clash with their names.
#include "frames_gtk.h"

int main()
{
    const long long entered = MonotonicNs();
    StartToolkit();
    const long long ready = MonotonicNs();
    Tell("entered", entered);
    Tell("ready", ready);
    // The frame clock paints at a lower priority than this, so this runs first,
    // once the game has built, drawn and presented its window.
    g_idle_add_full(
        G_PRIORITY_HIGH,
        [](gpointer) -> gboolean {
            Tell("opened", MonotonicNs());
            WatchFrames(GTK_WIDGET(gtk_application_get_active_window(GTK_APPLICATION(g_application_get_default()))));
            return G_SOURCE_REMOVE;
        },
        nullptr, nullptr);
    return RunIndovina(Clocks{});
}
