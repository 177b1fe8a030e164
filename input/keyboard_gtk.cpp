#include "input/keyboard_gtk.h"

#include "base/board_constants.h"
#include "input/key_mapping.h"
#include "input/shell_gtk.h"
#include "input/turn_flow.h"

namespace {

constexpr std::uint32_t kF10 = 0xffc7;
constexpr std::uint32_t kUp = 0xff52, kDown = 0xff54, kKpUp = 0xff97, kKpDown = 0xff99;

NativeKey NativeKeyOf(guint keyValue, guint hardwareCode, GdkModifierType state, bool released)
{
    NativeKey native;
    native.keyValue = keyValue;
    native.hardwareCode = hardwareCode;
    native.released = released;
    native.shiftDown = (state & GDK_SHIFT_MASK) != 0;
    native.ctrlDown = (state & GDK_CONTROL_MASK) != 0;
    native.altDown = (state & GDK_ALT_MASK) != 0;
    return native;
}

// The game has the key, as the Win32 shell's hook has it: a key that comes while
// one is still in hand (from a box opened further down) is passed on and nothing
// else, and even after an error further down the key is no longer in hand.
void GiveToGame(const NativeKey& native)
{
    FlowState& state = shell.board.state;
    const bool nested = state.handlingKey;
    RunGuarded("KeyboardHookProc", [&] { HandleKey(shell.board, KeyEventOf(native, state.modifierSides)); });
    shell.board.state.handlingKey = nested;
}

bool IsEnter(guint keyValue) { return keyValue == nativeKey::kReturn || keyValue == nativeKey::kKpEnter; }

gboolean OnKeyPressed(GtkEventControllerKey* controller, guint keyValue, guint hardwareCode, GdkModifierType state,
                      gpointer data)
{
    GiveToGame(NativeKeyOf(keyValue, hardwareCode, state, false));
    // The menu has one entry, which opening it selects: Up and Down have nowhere to
    // move the selection, as in a Windows menu, where they wrap round to the same
    // entry; GTK would take it off the entry instead, and Enter would then do nothing.
    if (GTK_IS_POPOVER(gtk_event_controller_get_widget(GTK_EVENT_CONTROLLER(controller)))) {
        return keyValue == kUp || keyValue == kDown || keyValue == kKpUp || keyValue == kKpDown;
    }
    const auto command = reinterpret_cast<WindowCommand>(data);
    if (command == nullptr) {
        if (!IsEnter(keyValue) && keyValue != nativeKey::kEscape) return FALSE;
        gtk_window_destroy(GTK_WINDOW(gtk_event_controller_get_widget(GTK_EVENT_CONTROLLER(controller))));
        return TRUE;
    }
    if (!shell.windowAlive) return TRUE;  // an error of the editor has ended it
    // An open menu has the keys after the game, as a Windows menu's own loop has
    // them: no dialog commands come from them. Once it has closed, the menu bar
    // gives the focus back, so that the keys are the window's again.
    GtkWidget* window = gtk_event_controller_get_widget(GTK_EVENT_CONTROLLER(controller));
    if (MenuOpen(window)) return FALSE;
    // While a box runs its loop, as Windows runs the box's own, the window's
    // Enter and Escape are keys and nothing more.
    if (shell.openBoxes > 0) return TRUE;
    GtkWidget* focus = gtk_root_get_focus(GTK_ROOT(window));
    if (focus != nullptr && gtk_widget_get_ancestor(focus, GTK_TYPE_POPOVER_MENU_BAR) != nullptr) {
        gtk_root_set_focus(GTK_ROOT(window), nullptr);
    }
    if (IsEnter(keyValue)) {
        RunGuarded("DialogProc", [&] { command(kDefaultCommand); });
    } else if (keyValue == nativeKey::kEscape) {
        RunGuarded("DialogProc", [&] { command(kCancelCommand); });
    }
    return (state & GDK_ALT_MASK) == 0 && keyValue != kF10;
}

void OnKeyReleased(GtkEventControllerKey* /*controller*/, guint keyValue, guint hardwareCode, GdkModifierType state,
                   gpointer /*data*/)
{
    GiveToGame(NativeKeyOf(keyValue, hardwareCode, state, true));
}

}  // namespace

void AttachGameKeys(GtkWidget* window, WindowCommand command)
{
    GtkEventController* keys = gtk_event_controller_key_new();
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    g_signal_connect(keys, "key-pressed", G_CALLBACK(OnKeyPressed), reinterpret_cast<gpointer>(command));
    g_signal_connect(keys, "key-released", G_CALLBACK(OnKeyReleased), nullptr);
    gtk_widget_add_controller(window, keys);
}

bool MenuOpen(GtkWidget* widget)
{
    for (GtkWidget* child = gtk_widget_get_first_child(widget); child != nullptr;
         child = gtk_widget_get_next_sibling(child)) {
        if ((GTK_IS_POPOVER(child) && gtk_widget_get_visible(child)) || MenuOpen(child)) return true;
    }
    return false;
}

void AttachMenuKeys(GtkWidget* menuBar)
{
    for (GtkWidget* child = gtk_widget_get_first_child(menuBar); child != nullptr;
         child = gtk_widget_get_next_sibling(child)) {
        if (GTK_IS_POPOVER(child)) AttachGameKeys(child, nullptr);
        AttachMenuKeys(child);
    }
}
