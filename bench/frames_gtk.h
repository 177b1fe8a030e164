// How the native benchmark's programs (the timed game and the empty window) tell
// the driver, indovina_bench_gtk.cpp, the moments of their run: one line each on
// standard output, "<what> <nanoseconds>", on the system-wide monotonic clock that
// the driver reads too. A frame counts once the display server has it: after GTK
// has painted, a round trip to the server, so that it is on the screen.
#pragma once

#include <gdk/x11/gdkx.h>
#include <gtk/gtk.h>

#include <cstdio>
#include <ctime>

inline long long MonotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

inline void Tell(const char* what, long long value)
{
    std::printf("%s %lld\n", what, value);
    std::fflush(stdout);
}

namespace frames {
inline bool firstShown = false;
inline long long keyArrived = 0;  // a key press reached a key controller; no frame has shown it yet
}  // namespace frames

// From the window's first frame on: "first-frame" and "window <X id>" for that
// frame, and "key-arrived" and "key-frame" for the first frame after each key
// press that reached a key controller. The press is noted in an emission hook,
// which runs before any handler of the signal, so before the game has the key;
// what the handler draws can only show in a later frame.
inline void WatchFrames(GtkWidget* window)
{
    g_type_class_ref(GTK_TYPE_EVENT_CONTROLLER_KEY);
    g_signal_add_emission_hook(
        g_signal_lookup("key-pressed", GTK_TYPE_EVENT_CONTROLLER_KEY), 0,
        +[](GSignalInvocationHint*, guint, const GValue*, gpointer) -> gboolean {
            if (frames::keyArrived == 0) frames::keyArrived = MonotonicNs();
            return TRUE;
        },
        nullptr, nullptr);
    g_signal_connect(gtk_widget_get_frame_clock(window), "after-paint", G_CALLBACK(+[](GdkFrameClock*, gpointer w) {
                         if (frames::firstShown && frames::keyArrived == 0) return;
                         auto* widget = static_cast<GtkWidget*>(w);
                         gdk_display_sync(gtk_widget_get_display(widget));
                         const long long shown = MonotonicNs();
                         if (!frames::firstShown) {
                             frames::firstShown = true;
                             Tell("first-frame", shown);
                             GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(widget));
                             Tell("window", static_cast<long long>(gdk_x11_surface_get_xid(surface)));
                             return;
                         }
                         Tell("key-arrived", frames::keyArrived);
                         Tell("key-frame", shown);
                         frames::keyArrived = 0;
                     }),
                     window);
}
