#include "app/entry_gtk.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <utility>
#include <vector>

#include "input/keyboard_gtk.h"
#include "render/surface_gtk.h"

namespace {

// One game's record, kept by RunIndovina for the whole run: the session and the
// handles of the widgets that show it. Every signal reaches it, or its session,
// through its user data.
struct Shell {
    Session session;
    SurfaceKit kit;  // outlives the window's surfaces
    GtkWidget* window = nullptr;
    std::map<int, GtkWidget*> controls;  // surfaces and toggles, by control id
    std::vector<GtkWidget*> menus;       // the menu bar's popovers
    guint clockTimer = 0;
    bool leftCtrl = false;  // the left Ctrl key is down
};

// The toggles' look: small latching buttons with the dialog's face, no room
// taken by the theme around their digit, and blue while pressed, as a pressed
// toggle shows on Windows; a message box's room around its text and its OK.
constexpr const char* kStyle =
    "button.digit-toggle { min-width: 0; min-height: 0; padding: 0; margin: 0; border-radius: 2px;"
    " font-family: \"Times New Roman\", \"Liberation Serif\"; font-size: 14px; }"
    "button.digit-toggle:checked { background: #3584e4; color: #ffffff; }"
    "window.message-box > box { margin: 16px; } window.message-box button { min-width: 88px; }";

// Each control is named by its id (and so shown in GTK's inspector).
int ControlId(GtkWidget* control) { return std::atoi(gtk_widget_get_name(control)); }

// The popovers under a widget: a menu bar's menus, where keys arrive apart from
// the window's.
std::vector<GtkWidget*> Popovers(GtkWidget* widget, std::vector<GtkWidget*> found = {})
{
    for (GtkWidget* child = gtk_widget_get_first_child(widget); child; child = gtk_widget_get_next_sibling(child)) {
        if (GTK_IS_POPOVER(child)) found.push_back(child);
        found = Popovers(child, std::move(found));
    }
    return found;
}

// Every key press reaches the game first, wherever it arrives: the main window, a
// box or an open menu, as the Win32 shell's keyboard hook sees them all. Then the
// window's Enter and Escape are its commands, unless a menu has the keys; a box's
// Enter, Escape and Space close it; a menu has the rest but Up and Down: its one
// entry, which opening it selects, stays selected, as in a Windows menu (GTK would
// take the selection off it, and Enter would then do nothing). A release only
// tells whether the left Ctrl is still down.
gboolean OnKey(GtkEventControllerKey* keys, guint keyValue, guint hardwareCode, GdkModifierType state, gpointer data)
{
    Shell& shell = *static_cast<Shell*>(data);
    GtkWidget* widget = gtk_event_controller_get_widget(GTK_EVENT_CONTROLLER(keys));
    GdkEvent* event = gtk_event_controller_get_current_event(GTK_EVENT_CONTROLLER(keys));
    const bool pressed = gdk_event_get_event_type(event) == GDK_KEY_PRESS;
    // The modifiers of an event are those before it: a release missed while another
    // program had the keys leaves no left Ctrl held at the next key.
    if (keyValue == GDK_KEY_Control_L) {
        shell.leftCtrl = pressed;
    } else {
        shell.leftCtrl = shell.leftCtrl && (state & GDK_CONTROL_MASK) != 0;
    }
    if (!pressed || gdk_key_event_is_modifier(event)) return FALSE;
    const GameKey key = GameKeyOf(keyValue, hardwareCode, state, shell.leftCtrl);
    PressKey(shell.session, key);
    if (shell.window == nullptr) return TRUE;
    if (GTK_IS_POPOVER(widget)) return key.position == KeyPosition::Up || key.position == KeyPosition::Down;
    const bool closesBox = key.position == KeyPosition::Enter || key.position == KeyPosition::Escape ||
                           keyValue == GDK_KEY_space;
    if (widget != shell.window && closesBox) gtk_window_close(GTK_WINDOW(widget));
    if (widget != shell.window) return TRUE;
    if (std::ranges::any_of(shell.menus, gtk_widget_get_visible)) return FALSE;  // a menu is open
    WindowKey(shell.session, key);
    // Alt and F10 open the menu.
    return (state & GDK_ALT_MASK) == 0 && keyValue != GDK_KEY_F10;
}

// In the capture phase, so that the game has every key before any widget.
void AttachKeys(GtkWidget* widget, Shell& shell)
{
    GtkEventController* keys = gtk_event_controller_key_new();
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    g_signal_connect(keys, "key-pressed", G_CALLBACK(OnKey), &shell);
    g_signal_connect(keys, "key-released", G_CALLBACK(OnKey), &shell);
    gtk_widget_add_controller(widget, keys);
}

// The menu bar: "Autore" opening "autore" (the author box); the Windows entry's
// "&" mnemonic is GTK's "_".
GtkWidget* BuildMenu(Shell& shell)
{
    g_autoptr(GSimpleAction) author = g_simple_action_new("author", nullptr);
    const auto chosen = [](Session* session) { AuthorChosen(*session); };
    g_signal_connect_swapped(author, "activate", G_CALLBACK(+chosen), &shell.session);
    g_action_map_add_action(G_ACTION_MAP(shell.window), G_ACTION(author));
    std::string entry = kAuthorMenuEntry;
    std::replace(entry.begin(), entry.end(), '&', '_');
    g_autoptr(GMenu) popup = g_menu_new();
    g_menu_append(popup, entry.c_str(), "win.author");
    g_autoptr(GMenu) bar = g_menu_new();
    g_menu_append_submenu(bar, kAuthorMenu, G_MENU_MODEL(popup));
    GtkWidget* menuBar = gtk_popover_menu_bar_new_from_model(G_MENU_MODEL(bar));
    shell.menus = Popovers(menuBar);
    for (GtkWidget* menu : shell.menus) AttachKeys(menu, shell);
    return menuBar;
}

GtkWidget* MakeToggle(Shell& shell, const BoardControl& control)
{
    GtkWidget* toggle = gtk_toggle_button_new_with_label(control.caption.c_str());
    gtk_widget_add_css_class(toggle, "digit-toggle");
    gtk_widget_set_size_request(toggle, control.place.width, control.place.height);
    // The keys stay with the window: a toggle never takes the focus.
    gtk_widget_set_focusable(toggle, FALSE);
    g_signal_connect(toggle, "toggled", G_CALLBACK(+[](GtkToggleButton* button, Session* session) {
                         NoteToggled(*session, ControlId(GTK_WIDGET(button)), gtk_toggle_button_get_active(button));
                     }),
                     &shell.session);
    return toggle;
}

// A surface of the size the layout gives it, of which the part inside the board
// shows (the help panel runs beyond the window, as on Windows). A click on a
// row's field, single or double, selects its row.
GtkWidget* MakeSurface(Shell& shell, const BoardControl& control, int boardHeight)
{
    const ControlPlace& place = control.place;
    const int shownWidth = std::min(place.width, kClientWidth - place.x);
    const int shownHeight = std::min(place.height, boardHeight - place.y);
    GtkWidget* surface = CreateSurface(place.width, place.height, shownWidth, shownHeight, shell.kit);
    gtk_widget_set_visible(surface, shownWidth > 0 && shownHeight > 0);
    if (control.kind == ControlKind::RowField) {
        GtkGesture* clicks = gtk_gesture_click_new();
        g_signal_connect(clicks, "pressed", G_CALLBACK(+[](GtkGestureClick* click, int, double, double, Session* s) {
                             GtkWidget* field = gtk_event_controller_get_widget(GTK_EVENT_CONTROLLER(click));
                             RowClicked(*s, ControlId(field) - kRowFieldBase);
                         }),
                         &shell.session);
        gtk_widget_add_controller(surface, GTK_EVENT_CONTROLLER(clicks));
    }
    return surface;
}

// The board: what the menu bar leaves of the 460 x 610 pixels, as on Windows, each
// control where the layout puts it, nothing drawn beyond its edge.
GtkWidget* BuildBoard(Shell& shell, int boardHeight)
{
    GtkWidget* board = gtk_fixed_new();
    gtk_widget_set_size_request(board, kClientWidth, boardHeight);
    gtk_widget_set_overflow(board, GTK_OVERFLOW_HIDDEN);
    gtk_accessible_update_property(GTK_ACCESSIBLE(board), GTK_ACCESSIBLE_PROPERTY_LABEL, "", -1);
    for (const BoardControl& control : shell.session.controls) {
        GtkWidget* widget = control.kind == ControlKind::Toggle ? MakeToggle(shell, control)
                                                                : MakeSurface(shell, control, boardHeight);
        gtk_widget_set_name(widget, std::to_string(control.place.id).c_str());
        gtk_fixed_put(GTK_FIXED(board), widget, control.place.x, control.place.y);
        shell.controls[control.place.id] = widget;
    }
    return board;
}

// The box goes, then what follows its closing runs.
gboolean CloseBox(GtkWindow* box, gpointer then)
{
    const std::function<void()> closed = *static_cast<std::function<void()>*>(then);
    // Let go of the main window now: closed() may end it while the box, gone from
    // the screen, is still held by the signal that closes it.
    gtk_window_set_transient_for(box, nullptr);
    gtk_window_destroy(box);
    closed();
    return TRUE;
}

// The main window of the application, 460 x 610 pixels with its menu bar, holding
// one widget for each of the board's controls; the clock's timer runs with it.
void BuildMainWindow(GtkApplication* application, Shell& shell)
{
    g_autoptr(GtkCssProvider) style = gtk_css_provider_new();
    gtk_css_provider_load_from_data(style, kStyle, -1);
    gtk_style_context_add_provider_for_display(gdk_display_get_default(), GTK_STYLE_PROVIDER(style),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    shell.window = gtk_application_window_new(application);
    gtk_window_set_title(GTK_WINDOW(shell.window), kCaption);
    gtk_window_set_resizable(GTK_WINDOW(shell.window), FALSE);
    // The close button ends the game as Escape does.
    g_signal_connect(shell.window, "close-request",
                     G_CALLBACK(+[](GtkWindow*, Session* session) { return (CloseAsked(*session), gboolean(TRUE)); }),
                     &shell.session);
    AttachKeys(shell.window, shell);
    GtkWidget* content = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    GtkWidget* menuBar = BuildMenu(shell);
    gtk_box_append(GTK_BOX(content), menuBar);
    gtk_window_set_child(GTK_WINDOW(shell.window), content);
    int menuHeight = 0;
    gtk_widget_measure(menuBar, GTK_ORIENTATION_VERTICAL, kClientWidth, nullptr, &menuHeight, nullptr, nullptr);
    gtk_box_append(GTK_BOX(content), BuildBoard(shell, kClientHeight - menuHeight));
    const auto tick = [](gpointer session) { return ClockTicked(*static_cast<Session*>(session)), gboolean(TRUE); };
    shell.clockTimer = g_timeout_add(kClockPeriodMs, tick, &shell.session);
}

// A box over the main window with the text and an OK button; it does not hold
// the main window up. Once the player has closed it, it goes and closed runs.
void ShowBox(Shell& shell, const std::string& text, std::function<void()> closed)
{
    GtkWidget* box = gtk_window_new();
    gtk_window_set_title(GTK_WINDOW(box), kMessageBoxCaption);
    gtk_window_set_resizable(GTK_WINDOW(box), FALSE);
    gtk_window_set_transient_for(GTK_WINDOW(box), GTK_WINDOW(shell.window));
    gtk_window_set_destroy_with_parent(GTK_WINDOW(box), TRUE);
    gtk_widget_add_css_class(box, "message-box");
    GtkWidget* content = gtk_box_new(GTK_ORIENTATION_VERTICAL, 16);
    std::string lines = text;
    std::erase(lines, '\r');
    GtkWidget* label = gtk_label_new(Utf8FromLatin1(lines).c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    gtk_box_append(GTK_BOX(content), label);
    GtkWidget* ok = gtk_button_new_with_label("OK");
    gtk_widget_set_halign(ok, GTK_ALIGN_CENTER);
    g_signal_connect_swapped(ok, "clicked", G_CALLBACK(gtk_window_close), box);
    gtk_box_append(GTK_BOX(content), ok);
    gtk_window_set_child(GTK_WINDOW(box), content);
    gtk_window_set_default_widget(GTK_WINDOW(box), ok);
    // OK, Enter, Escape, Space and the close button all close it.
    g_signal_connect_data(box, "close-request", G_CALLBACK(CloseBox), new std::function<void()>(std::move(closed)),
                          [](gpointer then, GClosure*) { delete static_cast<std::function<void()>*>(then); }, {});
    AttachKeys(box, shell);
    gtk_window_present(GTK_WINDOW(box));
}

// Ends the main window now, its clock and its boxes with it; the application then
// quits, as it has no window left.
void EndMainWindow(Shell& shell)
{
    if (shell.window == nullptr) return;
    g_source_remove(std::exchange(shell.clockTimer, 0));
    shell.controls.clear();
    gtk_window_destroy(GTK_WINDOW(std::exchange(shell.window, nullptr)));
}

// Where the installed game keeps its data: share/indovina beside its program's
// folder (the package may put the program in /usr/games), else the program's own
// folder (the build tree, where the marks are copied beside it).
std::string DataFolder(const std::string& program)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = fs::weakly_canonical(program, error).parent_path();
    const fs::path installed = folder.parent_path() / "share" / "indovina";
    return fs::is_directory(installed, error) ? installed.string() : folder.string();
}

// The board built, its first picture drawn and the clock started, then shown.
void Activate(GtkApplication* application, gpointer data)
{
    Shell& shell = *static_cast<Shell*>(data);
    // The name under which the desktop knows the program: its desktop entry and icon.
    gtk_window_set_default_icon_name(INDOVINA_APP_ID);
    BuildMainWindow(application, shell);
    OpenBoard(shell.session);
    if (shell.window != nullptr) gtk_window_present(GTK_WINDOW(shell.window));
}

}  // namespace

void StartToolkit()
{
    if (g_getenv("GSK_RENDERER") == nullptr) {
        g_setenv("GSK_RENDERER", "cairo", TRUE);
        if (g_getenv("GDK_DEBUG") == nullptr) g_setenv("GDK_DEBUG", "gl-disable", TRUE);
    }
    g_set_prgname(INDOVINA_APP_ID);
}

int RunIndovina(const Clocks& clocks, const std::function<void(Session&)>& prepare, const std::string& program)
{
    Shell shell;
    shell.kit.images.dataFolder = DataFolder(program);
    FrontEnd frontEnd;
    frontEnd.draw = [&shell](int surface, const Picture& picture) { PlayPicture(shell.controls.at(surface), picture); };
    frontEnd.measure = MeasureWith(shell.kit);
    frontEnd.showBox = std::bind_front(ShowBox, std::ref(shell));
    frontEnd.closeWindow = std::bind_front(EndMainWindow, std::ref(shell));
    frontEnd.clocks = clocks;
    PrepareSession(shell.session, std::move(frontEnd));
    if (prepare) prepare(shell.session);
    GtkApplication* application = gtk_application_new(INDOVINA_APP_ID, G_APPLICATION_NON_UNIQUE);
    g_signal_connect(application, "activate", G_CALLBACK(Activate), &shell);
    g_application_run(G_APPLICATION(application), 0, nullptr);
    g_object_unref(application);
    return 0;
}
