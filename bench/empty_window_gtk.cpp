// The yardstick for the native game's start-up: a program of the same build that
// starts GTK as the game does and shows a window of the board's size with the
// game's caption, telling the driver the same moments as the timed game.
//   empty_window WIDTH HEIGHT                  an empty window
//   empty_window WIDTH HEIGHT SURFACES TOGGLES  the same with a menu bar like the
//     game's, SURFACES drawing areas that show an image each (the board's are 46)
//     and TOGGLES toggle buttons with the game's style (the board's are 20): what
//     the toolkit costs for the board's widgets without any of the game's code.
//     With 1 and 0, the whole board as one surface.
//   empty_window WIDTH HEIGHT SURFACES TOGGLES TICK_MS  the same, one surface
//     drawn afresh every TICK_MS, as the game's clock redraws its seconds panel.
#include <gtk/gtk.h>

#include <cstdlib>
#include <string>

#include "frames_gtk.h"

namespace {

// As the game's own (app/main_window_gtk.cpp).
constexpr const char* kToggleStyle =
    "button.digit-toggle { min-width: 0; min-height: 0; padding: 0; margin: 0; border-radius: 2px;"
    " font-family: \"Times New Roman\", \"Liberation Serif\"; font-size: 14px; }"
    "button.digit-toggle:checked { background: #3584e4; color: #ffffff; }";

GtkWidget* MenuBar()
{
    GMenu* bar = g_menu_new();
    GMenu* popup = g_menu_new();
    g_menu_append(popup, "_autore", "board.author");
    g_menu_append_submenu(bar, "Autore", G_MENU_MODEL(popup));
    GtkWidget* menuBar = gtk_popover_menu_bar_new_from_model(G_MENU_MODEL(bar));
    g_object_unref(popup);
    g_object_unref(bar);
    return menuBar;
}

void Fill(cairo_surface_t* image, double grey)
{
    cairo_t* cr = cairo_create(image);
    cairo_set_source_rgb(cr, grey, grey, grey);
    cairo_paint(cr);
    cairo_destroy(cr);
}

// A drawing area that shows an image of its own, as a game surface does.
GtkWidget* Surface(int width, int height)
{
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    Fill(image, 0.94);
    GtkWidget* area = gtk_drawing_area_new();
    gtk_drawing_area_set_content_width(GTK_DRAWING_AREA(area), width);
    gtk_drawing_area_set_content_height(GTK_DRAWING_AREA(area), height);
    gtk_drawing_area_set_draw_func(
        GTK_DRAWING_AREA(area),
        [](GtkDrawingArea*, cairo_t* target, int, int, gpointer data) {
            cairo_set_source_surface(target, static_cast<cairo_surface_t*>(data), 0, 0);
            cairo_paint(target);
        },
        image, [](gpointer data) { cairo_surface_destroy(static_cast<cairo_surface_t*>(data)); });
    g_object_set_data(G_OBJECT(area), "image", image);
    return area;
}

GtkWidget* Board(int width, int height, int surfaces, int toggles, int tickMs)
{
    GtkCssProvider* style = gtk_css_provider_new();
    gtk_css_provider_load_from_data(style, kToggleStyle, -1);
    gtk_style_context_add_provider_for_display(gdk_display_get_default(), GTK_STYLE_PROVIDER(style),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(style);
    GtkWidget* board = gtk_fixed_new();
    gtk_widget_set_size_request(board, width, height);
    gtk_widget_set_overflow(board, GTK_OVERFLOW_HIDDEN);
    // The toggles in a row at the top, the surfaces in a grid of 4 columns below.
    for (int t = 0; t < toggles; ++t) {
        GtkWidget* toggle = gtk_toggle_button_new_with_label(std::to_string(t % 10).c_str());
        gtk_widget_add_css_class(toggle, "digit-toggle");
        gtk_widget_set_size_request(toggle, 20, 20);
        gtk_widget_set_focusable(toggle, FALSE);
        gtk_fixed_put(GTK_FIXED(board), toggle, (t % 10) * 22 + (t / 10) * 230, 45);
    }
    const int top = toggles > 0 ? 75 : 0;
    const int columns = surfaces > 1 ? 4 : 1;
    const int rows = (surfaces + columns - 1) / columns;
    for (int s = 0; s < surfaces; ++s) {
        const int w = width / columns, h = (height - top) / rows;
        GtkWidget* surface = Surface(w - 2, h - 2);
        gtk_fixed_put(GTK_FIXED(board), surface, (s % columns) * w, top + (s / columns) * h);
        if (s == 0 && tickMs > 0) {
            g_timeout_add(
                static_cast<guint>(tickMs),
                [](gpointer area) -> gboolean {
                    static int ticks = 0;
                    Fill(static_cast<cairo_surface_t*>(g_object_get_data(G_OBJECT(area), "image")),
                         0.9 + (++ticks % 2) * 0.05);
                    gtk_widget_queue_draw(GTK_WIDGET(area));
                    return G_SOURCE_CONTINUE;
                },
                surface);
        }
    }
    GtkWidget* content = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_append(GTK_BOX(content), MenuBar());
    gtk_box_append(GTK_BOX(content), board);
    return content;
}

}  // namespace

int main(int argc, char** argv)
{
    const long long entered = MonotonicNs();
    g_set_prgname("indovina");
    gtk_init();
    gtk_window_set_default_icon_name("indovina");
    const long long ready = MonotonicNs();
    const int width = argc > 2 ? std::atoi(argv[1]) : 460;
    const int height = argc > 2 ? std::atoi(argv[2]) : 610;
    GtkWidget* window = gtk_window_new();
    gtk_window_set_title(GTK_WINDOW(window), "Indovina il numero 0.01");
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    if (argc > 4) {
        gtk_window_set_child(GTK_WINDOW(window), Board(width, height, std::atoi(argv[3]), std::atoi(argv[4]),
                                                       argc > 5 ? std::atoi(argv[5]) : 0));
    } else {
        gtk_window_set_default_size(GTK_WINDOW(window), width, height);
    }
    gtk_window_present(GTK_WINDOW(window));
    Tell("entered", entered);
    Tell("ready", ready);
    Tell("opened", MonotonicNs());
    WatchFrames(window);
    for (;;) g_main_context_iteration(nullptr, TRUE);
}
