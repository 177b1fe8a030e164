#include "app/main_window_gtk.h"

#include <algorithm>
#include <string>

#include "app/window_flow.h"
#include "game/game_state.h"
#include "input/keyboard_gtk.h"
#include "input/shell_gtk.h"
#include "render/board_layout.h"

namespace {

// The toggles' look: small latching buttons with the dialog's face, no room
// taken by the theme around their digit, and blue while pressed, as a pressed
// toggle shows on Windows.
constexpr const char* kToggleStyle =
    "button.digit-toggle { min-width: 0; min-height: 0; padding: 0; margin: 0; border-radius: 2px;"
    " font-family: \"Times New Roman\", \"Liberation Serif\"; font-size: 14px; }"
    "button.digit-toggle:checked { background: #3584e4; color: #ffffff; }";

void Command(int id) { HandleCommand(shell.board, id); }

void PutControl(GtkWidget* board, GtkWidget* control, const ControlPlace& place)
{
    gtk_fixed_put(GTK_FIXED(board), control, place.x, place.y);
    shell.controls[place.id] = control;
}

// A surface of the size the layout gives it, of which the part inside the
// board shows (the help panel is wider than the window, as on Windows).
GtkWidget* CreateBoardSurface(GtkWidget* board, const ControlPlace& place)
{
    const int shownWidth = std::min(place.width, kClientWidth - place.x);
    const int shownHeight = std::min(place.height, kClientHeight - place.y);
    GtkWidget* surface = CreateSurface(place.width, place.height, shownWidth, shownHeight, *shell.fonts);
    gtk_widget_set_visible(surface, shownWidth > 0 && shownHeight > 0);
    PutControl(board, surface, place);
    return surface;
}

void CreateToggles(GtkWidget* board, int base)
{
    for (int digit = 0; digit <= 9; ++digit) {
        const ControlPlace place = TogglePlace(base, digit);
        GtkWidget* toggle = gtk_toggle_button_new_with_label(std::string(1, static_cast<char>('0' + digit)).c_str());
        gtk_widget_add_css_class(toggle, "digit-toggle");
        gtk_widget_set_size_request(toggle, place.width, place.height);
        // The keys stay with the window: a toggle never takes the focus.
        gtk_widget_set_focusable(toggle, FALSE);
        gtk_widget_set_focus_on_click(toggle, FALSE);
        g_signal_connect(toggle, "toggled", G_CALLBACK(+[](GtkToggleButton*, gpointer id) {
                             RunGuarded("DialogProc", [id] { Command(GPOINTER_TO_INT(id)); });
                         }),
                         GINT_TO_POINTER(place.id));
        PutControl(board, toggle, place);
    }
}

void CreateRows(GtkWidget* board, const BoardRows& rows)
{
    for (int row = 1; row <= kRowCount; ++row) {
        const RowPlaces& places = rows.rows[row];
        GtkWidget* field = CreateBoardSurface(board, places.field);
        shell.fieldSlots[row] = FieldSlots{};
        shell.fieldSlots[row].fieldRow = row;
        // A click on a field, single or double, selects its row.
        GtkGesture* click = gtk_gesture_click_new();
        g_signal_connect(click, "pressed", G_CALLBACK(+[](GtkGestureClick*, int, double, double, gpointer id) {
                             RunGuarded("DialogProc", [id] { Command(GPOINTER_TO_INT(id)); });
                         }),
                         GINT_TO_POINTER(places.field.id));
        gtk_widget_add_controller(field, GTK_EVENT_CONTROLLER(click));
        CreateBoardSurface(board, places.label);
        CreateBoardSurface(board, places.answer);
    }
    CreateBoardSurface(board, rows.help);
}

// The menu bar: "Autore" opening "autore" (the author box).
GtkWidget* BuildMenu(GtkWidget* window)
{
    GSimpleActionGroup* actions = g_simple_action_group_new();
    GSimpleAction* author = g_simple_action_new("author", nullptr);
    g_signal_connect(author, "activate", G_CALLBACK(+[](GSimpleAction*, GVariant*, gpointer) {
                         RunGuarded("DialogProc", [] { Command(kAuthorCommand); });
                     }),
                     nullptr);
    g_action_map_add_action(G_ACTION_MAP(actions), G_ACTION(author));
    g_object_unref(author);
    gtk_widget_insert_action_group(window, "board", G_ACTION_GROUP(actions));
    g_object_unref(actions);

    // The Windows entry's "&" mnemonic is GTK's "_".
    std::string entry = kAuthorMenuEntry;
    std::replace(entry.begin(), entry.end(), '&', '_');
    GMenu* bar = g_menu_new();
    GMenu* popup = g_menu_new();
    g_menu_append(popup, entry.c_str(), "board.author");
    g_menu_append_submenu(bar, kAuthorMenu, G_MENU_MODEL(popup));
    GtkWidget* menuBar = gtk_popover_menu_bar_new_from_model(G_MENU_MODEL(bar));
    AttachMenuKeys(menuBar);
    g_object_unref(popup);
    g_object_unref(bar);
    return menuBar;
}

void LoadStyle()
{
    GtkCssProvider* style = gtk_css_provider_new();
    gtk_css_provider_load_from_data(style, kToggleStyle, -1);
    gtk_style_context_add_provider_for_display(gdk_display_get_default(), GTK_STYLE_PROVIDER(style),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(style);
}

}  // namespace

GtkWidget* BuildMainWindow()
{
    shell.fonts = NewFontBook();
    LoadStyle();
    GtkWidget* window = gtk_window_new();
    shell.mainWindow = window;
    shell.windowAlive = true;
    gtk_window_set_title(GTK_WINDOW(window), kCaption);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    // The close button ends the game as Escape does, through the cancel command.
    g_signal_connect(window, "close-request", G_CALLBACK(+[](GtkWindow*, gpointer) -> gboolean {
                         RunGuarded("DialogProc", [] { Command(kCancelCommand); });
                         return TRUE;
                     }),
                     nullptr);

    // The board: 460 x 610 pixels below the menu bar, each control where the
    // layout puts it, nothing drawn beyond its edge.
    GtkWidget* board = gtk_fixed_new();
    gtk_widget_set_size_request(board, kClientWidth, kClientHeight);
    gtk_widget_set_overflow(board, GTK_OVERFLOW_HIDDEN);
    gtk_accessible_update_property(GTK_ACCESSIBLE(board), GTK_ACCESSIBLE_PROPERTY_LABEL, "", -1);
    for (const ControlPlace& place : kInfoPanelPlaces) CreateBoardSurface(board, place);
    CreateToggles(board, kCrossOutToggleBase);
    CreateToggles(board, kHighlightToggleBase);
    CreateRows(board, LayOutRows(gameState, shell.board.platform.measure));

    GtkWidget* content = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_append(GTK_BOX(content), BuildMenu(window));
    gtk_box_append(GTK_BOX(content), board);
    gtk_window_set_child(GTK_WINDOW(window), content);

    DrawFirstPicture(shell.board);
    return window;
}

void OpenMainWindow()
{
    shell.clockTimer = g_timeout_add(kClockPeriodMs, [](gpointer) -> gboolean {
        RunGuarded("TimerProc", [] { ClockTick(shell.board); });
        return shell.windowAlive ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
    }, nullptr);
    DrawAllFieldsAndActivate(shell.board);
    if (!shell.windowAlive) return;
    AttachGameKeys(shell.mainWindow, Command);
    // The clock starts after all the drawing above.
    StartClock(shell.board);
    gtk_window_present(GTK_WINDOW(shell.mainWindow));
}
