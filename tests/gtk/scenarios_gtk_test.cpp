// The shared tables (tests/scenarios/games.txt) played against the GTK game, and
// what only the GTK game can get wrong. The game runs in the test's process, each
// game a RunIndovina in turn, with the fake clocks, and as the installed game: its
// program in games/, its marks only in share/indovina. Keys and clicks go through
// the display server (xdotool's XTest), so they reach the game as a player's do;
// the board is read back on GTK's thread between two of its events, and what a
// screen reader is told is heard on the accessibility bus (AT-SPI).
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "app/entry_gtk.h"
#include "input/keyboard_gtk.h"
#include "render/surface_gtk.h"
#include "scenario_runner.h"

// Last: Xlib's macros (None, Always, True...) would clash with the names above.
#include <gdk/x11/gdkx.h>

namespace {

using namespace std::chrono_literals;

const std::filesystem::path kTestFolder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
// The game's session, on GTK's thread: the running game's while there is a main window, which RunIndovina makes after
// the session and ends before its return.
Session* session = nullptr;
std::vector<std::string> heard;  // the names told to a screen reader during the step, on GTK's thread

// RunIndovina keeps its thread until its window closes, and the test goes on meanwhile; and GTK answers a screen
// reader's questions on its own thread while the test waits for the answers. So GTK has a thread of its own, which
// does nothing but GTK's events.
[[maybe_unused]] const bool gtkRuns = (std::thread([] { for (;;) g_main_context_iteration({}, TRUE); }).detach(), true);

// Runs work on GTK's thread once the events already queued there are handled.
template <class Work, class Task = std::packaged_task<std::invoke_result_t<Work>()>>
auto Posted(Work work)
{
    auto* task = new Task(std::move(work));
    auto result = task->get_future();
    g_idle_add_once([](gpointer t) { (*std::unique_ptr<Task>(static_cast<Task*>(t)))(); }, task);
    return result;
}
// The same, waited for. A wait that failed would leave GTK's thread with work of the test's that is gone, or handling
// its events until what does not come (a window, a key's presses): the run ends there, ten seconds on.
auto OnGtk(auto work)
{
    auto result = Posted(std::move(work));
    if (result.wait_for(10s) != std::future_status::ready) ADD_FAILURE() << "GTK's thread is stuck", std::abort();
    return result.get();
}

// The main window (kCaption), or the message box; the box's text is its first widget, and the board's controls,
// each named by its id, are the main window's last.
GtkWidget* Window(const char* title = kCaption)
{
    g_autoptr(GList) windows = gtk_window_list_toplevels();
    for (GList* w = windows; w; w = w->next)
        if (!g_strcmp0(gtk_window_get_title(GTK_WINDOW(w->data)), title)) return GTK_WIDGET(w->data);
    return nullptr;
}
GtkWidget* Box() { return Window(kMessageBoxCaption); }
GtkWidget* Content(GtkWidget* window) { return gtk_window_get_child(GTK_WINDOW(window)); }
std::string BoxText() { return Box() ? gtk_label_get_text(GTK_LABEL(gtk_widget_get_first_child(Content(Box())))) : ""; }
GtkWidget* Control(int id)
{
    GtkWidget* c = gtk_widget_get_first_child(gtk_widget_get_last_child(Content(Window())));
    while (c && std::to_string(id) != gtk_widget_get_name(c)) c = gtk_widget_get_next_sibling(c);
    return c;
}
std::string Xid(GtkWidget* w) { return std::to_string(gdk_x11_surface_get_xid(gtk_native_get_surface(GTK_NATIVE(w)))); }
// Work on the game's session; none, giving nothing, once the game has ended.
auto OnGame(auto work) { return OnGtk([&] { return Window() ? work(*session) : decltype(work(*session))(); }); }

void Command(const std::string& command) { EXPECT_EQ(std::system(command.c_str()), 0) << command; }

// Asks for what is on the screen, as a screen reader does: GTK tells a reader only of the changes of what it has been
// asked about, on the board as on the boxes. Listens first (once: GTK and its connection stay from one game to the
// next) to the new names told on the accessibility bus. The game answers after the names it told before, the bus
// keeps their order, and GTK's thread hears them before it runs what is posted next.
void ReadTheDesktop(const char* name = "org.a11y.atspi.Registry", const char* at = "/org/a11y/atspi/accessible/root")
{
    static GDBusConnection* const bus = [] {
        g_autoptr(GDBusConnection) sessionBus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        g_autoptr(GVariant) reply = g_dbus_connection_call_sync(sessionBus, "org.a11y.Bus", "/org/a11y/bus",
            "org.a11y.Bus", "GetAddress", nullptr, G_VARIANT_TYPE("(s)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
        const char* address = "";
        if (reply) g_variant_get(reply, "(&s)", &address);
        auto flags = G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION;
        auto* a11y = g_dbus_connection_new_for_address_sync(address, GDBusConnectionFlags(flags), {}, {}, {});
        g_dbus_connection_signal_subscribe(a11y, nullptr, "org.a11y.atspi.Event.Object", "PropertyChange", nullptr,
            "accessible-name", G_DBUS_SIGNAL_FLAGS_NONE, [](auto, auto, auto, auto, auto, GVariant* event, auto) {
                g_autoptr(GVariant) told = nullptr;
                g_variant_get_child(event, 3, "v", &told);
                heard.push_back(g_variant_get_string(told, nullptr));
            }, nullptr, nullptr);
        return a11y;
    }();
    g_autoptr(GVariant) reply = g_dbus_connection_call_sync(bus, name, at, "org.a11y.atspi.Accessible", "GetChildren",
        nullptr, G_VARIANT_TYPE("(a(so))"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    ASSERT_TRUE(reply) << "no accessibility bus: the GTK tests run in a D-Bus session of their own";
    g_autoptr(GVariantIter) children = nullptr;
    g_variant_get(reply, "(a(so))", &children);
    for (const char* child = nullptr; g_variant_iter_loop(children, "(&s&o)", &child, &at);) ReadTheDesktop(child, at);
}

// A key at a time, each handled before the next is sent: a menu that a key opens is open before the next key comes,
// as under a player's fingers. Without a window manager on the test's screen, nothing gives the keys back to the
// main window when a box closes: the harness does, to the box open or else the main window. A round trip to the
// server puts the key in the game's queue.
void Send(const std::string& keys)
{
    Command("xdotool" + OnGtk([] { return Window() ? " windowfocus " + Xid(Box() ? Box() : Window()) : ""; }) + keys);
    OnGtk([] { gdk_display_sync(gdk_display_get_default()); });
}

// A key pressed, or held down until the server's own repeats, 100 ms apart (time enough to let go between two), have
// brought `downs` presses: the X server makes no press of a key that is already down.
void Press(const std::string& key, int downs)
{
    static std::atomic<int> presses;  // GTK's, from the first key on
    [[maybe_unused]] static const gulong counting = g_signal_add_emission_hook(g_signal_lookup("key-pressed",
        GTK_TYPE_EVENT_CONTROLLER_KEY), 0, [](auto...) { return gboolean(++presses); }, nullptr, nullptr);
    const int enough = presses + downs;
    if (downs > 1) Command("xset r rate 150 10");
    Send((downs > 1 ? " keydown " : " key ") + key);
    OnGtk([&] { while (presses < enough) g_main_context_iteration({}, TRUE); });
    if (downs > 1) Send(" keyup " + key), Command("xset r rate");  // the server's own rate again
}

// A click in the middle of a widget.
void Click(const std::function<GtkWidget*()>& widget)
{
    Send(OnGtk([&] {
        GtkWidget *w = widget(), *window = GTK_WIDGET(gtk_widget_get_root(w));
        graphene_point_t middle{gtk_widget_get_width(w) / 2.0f, gtk_widget_get_height(w) / 2.0f}, at{};
        EXPECT_TRUE(gtk_widget_compute_point(w, window, &middle, &at));
        return " mousemove --window " + Xid(window) + " " + std::to_string(int(at.x)) + " " + std::to_string(int(at.y));
    }) + " click 1");
}

// A surface's picture as the player sees it.
Bitmap PixelsOf(const Session& s, int id)
{
    Bitmap bitmap{SurfaceSize(s, id).width, SurfaceSize(s, id).height, {}};
    for (int i = 0; i < bitmap.width * bitmap.height; ++i)
        bitmap.pixels.push_back(SurfacePixel(Control(id), i % bitmap.width, i / bitmap.width));
    return bitmap;
}

// xdotool's names of the keys the tables name, where they differ.
const std::map<std::string, std::string> kKeyNames{{"Enter", "Return"}, {"KP2", "KP_2"}, {"Ins", "Insert"},
    {"BS", "BackSpace"}, {"Del", "Delete"}, {"PgUp", "Prior"}, {"PgDn", "Next"}, {"Esc", "Escape"}, {"Space", "space"},
    {"AltF4", "alt+F4"}, {"Ctrl+", "ctrl+KP_Add"}, {"Ctrl-", "ctrl+KP_Subtract"}};

// The game as installed: its program in games/, its marks only in share/indovina beside.
struct GtkGame : ScenarioGame {
    std::shared_future<int> ended;

    GtkGame(const std::string& secret, const std::string& start)
    {
        SetFakeClocks(start);
        const auto prepare = [secret](Session& s) { (session = &s)->game.secret = secret; };
        ended = Posted([=] { return RunIndovina(FakeClocks(), prepare, kTestFolder / "games/indovina"); }).share();
        OnGtk([] { while (!Window() || !gtk_widget_get_mapped(Window())) g_main_context_iteration({}, TRUE); });
    }
    ~GtkGame() override { OnGame(CloseAsked), ExitCode(); }

    void Do(const std::string& steps) override
    {
        ReadTheDesktop(), OnGtk([] { heard.clear(); });
        for (const Step& step : ParseSteps(steps)) {
            const std::string key = kKeyNames.contains(step.key) ? kKeyNames.at(step.key) : step.key;
            if (step.kind == Step::Key) Press(key, step.number);
            if (step.kind == Step::Tick) AdvanceClocks(step.number), OnGame(ClockTicked);
            if (step.kind == Step::TimeOfDay) SetTimeOfDay(step.number);
            if (step.control != 0) Click([id = step.control] { return Control(id); });
            if (step.kind == Step::OK && OnGtk(Box))
                Click([] { return gtk_window_get_default_widget(GTK_WINDOW(Box())); });
            // What GTK does when the window manager's close button is pressed.
            if (step.kind == Step::Close) OnGtk([] { gtk_window_close(GTK_WINDOW(Window())); });
        }
    }
    // What the shell last named the surface, for a screen reader to read.
    std::string Name(int id) override { return OnGame([id](Session& s) { return s.shown[id].name; }); }
    Bitmap Pixels(int id) override { return OnGame([id](Session& s) { return PixelsOf(s, id); }); }
    void OnGameThread(const std::function<void(Session&)>& work) override { OnGame(work); }
    // A box is made as the event that shows it is handled, and one at most is open at a time.
    std::string OpenBoxText(const std::string&) override { return OnGtk(BoxText); }
    int OpenBoxes() override { return OnGtk([] { return int(Box() != nullptr); }); }
    int ExitCode() override { return ended.wait_for(10s) == std::future_status::ready ? ended.get() : -1; }
    std::string ProgramFolder() override { return kTestFolder / "share/indovina"; }
    // toggleN: 1 when the toggle with control id N is pressed. toldX: how many times a screen reader heard surface X's
    // name of now during the step (GTK tells it the path of the object named, not the surface; no two surfaces share
    // a name).
    void Check(const std::string& what, int n, std::string& seen) override
    {
        const auto pressed = [n] { return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(Control(n))); };
        const auto told = [&](Session& s) {
            return std::ranges::count(heard, Utf8FromLatin1(s.shown[SurfaceId(what.substr(4), n)].name));
        };
        if (what == "toggle") seen = std::to_string(OnGtk(pressed));
        if (what.starts_with("told")) seen = (ReadTheDesktop(), std::to_string(OnGame(told)));
    }
};
const GameStarter StartGtkGame = [](auto&... game) { return std::make_unique<GtkGame>(game...); };

}  // namespace

class Scenarios : public testing::TestWithParam<std::string> {};
TEST_P(Scenarios, Play) { PlayScenario(GetParam(), "gtk", StartGtkGame); }
INSTANTIATE_TEST_SUITE_P(Shared, Scenarios, testing::ValuesIn(ScenarioNames()), [](const auto& s) { return s.param; });

// A French keyboard's "1" is its Shift+&; AltGr's characters come as the layout gives them, with Ctrl and Alt where a
// layout reaches them so; Ctrl alone types no digit. The keypad's keys stand where their navigation meaning puts them.
TEST(GtkKeys, CharactersComeFromTheLayoutAndPositionsFromTheKeysPlaces)
{
    const std::tuple<guint, guint, int, KeyPosition, char> cases[] = {{'&', 10, 0, {}, '&'},
        {'1', 10, GDK_SHIFT_MASK, {}, '1'}, {'2', 11, GDK_CONTROL_MASK | GDK_ALT_MASK, {}, '2'},
        {'1', 10, GDK_CONTROL_MASK, {}, 0}, {GDK_KEY_KP_2, 88, 0, KeyPosition::Down, '2'}};
    const auto seen = [](const GameKey& key) { return std::pair(key.position, key.character); };
    for (const auto& [value, code, state, position, character] : cases)
        EXPECT_EQ(seen(GameKeyOf(value, code, GdkModifierType(state), false)), std::pair(position, character)) << value;
}

// The right Ctrl (key code 105) is no left one: with the keypad's + it makes the font no larger, where the left one
// does. xdotool would press a Ctrl by its name with the first key the server has for Ctrl, the left one.
TEST(GtkGame, OnlyTheLeftCtrlMakesTheFontKeys)
{
    GtkGame game("1234", "2026-03-05 10:00:00.000");
    Send(" keydown 105 key KP_Add keyup 105");
    game.Do("{Ctrl+}");
    game.OnGameThread([](Session& s) { EXPECT_EQ(s.game.fieldStyle[1].fontSize, 25); });
}
