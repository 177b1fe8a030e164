#include "input/shell_gtk.h"

#include "base/runtime_error.h"
#include "input/keyboard_gtk.h"
#include "input/turn_flow.h"

Shell shell;

namespace {

NoteToggles ReadNoteToggles()
{
    NoteToggles toggles;
    for (int digit = 0; digit <= 9; ++digit) {
        const auto d = static_cast<std::size_t>(digit);
        for (const auto& [base, pressed] : {std::pair{kCrossOutToggleBase, &toggles.crossedOut},
                                            std::pair{kHighlightToggleBase, &toggles.highlighted}}) {
            GtkWidget* toggle = Control(base + digit);
            (*pressed)[d] = toggle != nullptr && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(toggle));
        }
    }
    return toggles;
}

// The box's text: its CR LF line breaks as GTK's.
std::string BoxText(const std::string& text)
{
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        lines += text[i];
    }
    return Utf8FromLatin1(lines);
}

}  // namespace

GtkWidget* Control(int id)
{
    if (!shell.windowAlive) return nullptr;
    const auto found = shell.controls.find(id);
    return found != shell.controls.end() ? found->second : nullptr;
}

void EndMainWindow()
{
    if (!shell.windowAlive) return;
    shell.windowAlive = false;
    if (shell.clockTimer != 0) g_source_remove(shell.clockTimer);
    shell.clockTimer = 0;
    shell.controls.clear();
    gtk_window_destroy(GTK_WINDOW(shell.mainWindow));
    shell.mainWindow = nullptr;
}

void ShowMessageBox(const std::string& text)
{
    GtkWidget* box = gtk_window_new();
    gtk_window_set_title(GTK_WINDOW(box), kMessageBoxCaption);
    gtk_window_set_resizable(GTK_WINDOW(box), FALSE);
    if (shell.windowAlive) gtk_window_set_transient_for(GTK_WINDOW(box), GTK_WINDOW(shell.mainWindow));

    GtkWidget* content = gtk_box_new(GTK_ORIENTATION_VERTICAL, 16);
    for (auto* setMargin : {gtk_widget_set_margin_top, gtk_widget_set_margin_bottom, gtk_widget_set_margin_start,
                            gtk_widget_set_margin_end}) {
        setMargin(content, 16);
    }
    GtkWidget* label = gtk_label_new(BoxText(text).c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    gtk_box_append(GTK_BOX(content), label);
    GtkWidget* ok = gtk_button_new_with_label("OK");
    gtk_widget_set_halign(ok, GTK_ALIGN_CENTER);
    gtk_widget_set_size_request(ok, 88, -1);
    g_signal_connect_swapped(ok, "clicked", G_CALLBACK(gtk_window_destroy), box);
    gtk_box_append(GTK_BOX(content), ok);
    gtk_window_set_child(GTK_WINDOW(box), content);
    gtk_window_set_default_widget(GTK_WINDOW(box), ok);
    gtk_window_set_focus(GTK_WINDOW(box), ok);
    AttachGameKeys(box, nullptr);

    bool open = true;
    g_signal_connect(box, "destroy", G_CALLBACK(+[](GtkWidget*, gpointer flag) { *static_cast<bool*>(flag) = false; }),
                     &open);
    gtk_window_present(GTK_WINDOW(box));
    ++shell.openBoxes;
    while (open) g_main_context_iteration(nullptr, TRUE);
    --shell.openBoxes;
}

void ReportEscapedException(const char* where) noexcept
{
    try {
        const std::string text = CurrentExceptionText(where);
        ShowMessageBox(text);
    } catch (...) {
        // Not even the box could be made: ending the window is all that is left.
    }
    EndMainWindow();
}

BoardPlatform GtkPlatform(const Clocks& clocks)
{
    BoardPlatform platform;
    platform.draw = [](int id, const Picture& picture) { PlayPicture(Control(id), picture); };
    platform.surfaceSize = [](int id) { return SurfaceSize(Control(id)); };
    // Through the record, not bound to a book: the book is made with the window.
    platform.measure = {[](const FontSpec& font, const std::string& text) {
                            return MeasureWith(*shell.fonts).text(font, text);
                        },
                        [](const FontSpec& font) { return MeasureWith(*shell.fonts).cell(font); }};
    platform.readSlots = [](int row) { return shell.fieldSlots[row]; };
    platform.writeSlots = [](int row, const FieldSlots& slots) {
        // The row that owns a field is the field's own: it is never written back.
        FieldSlots& kept = shell.fieldSlots[row];
        const std::int32_t fieldRow = kept.fieldRow;
        kept = slots;
        kept.fieldRow = fieldRow;
    };
    platform.toggles = ReadNoteToggles;
    platform.showBox = ShowMessageBox;
    platform.windowAlive = [] { return shell.windowAlive; };
    platform.endWindow = EndMainWindow;
    // Once the event in hand is done, the window ends as its close button ends it.
    platform.requestClose = [] { g_idle_add_once([](gpointer) { EndMainWindow(); }, nullptr); };
    platform.deferEndOfGame = [] {
        // Lost with the window, as a message posted to a window that is gone.
        g_idle_add_once(
            [](gpointer) {
                if (shell.windowAlive) RunGuarded("ShowEndOfGame", [] { ShowEndOfGame(shell.board); });
            },
            nullptr);
    };
    platform.clocks = clocks;
    return platform;
}
