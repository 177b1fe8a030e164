// The shared tables (tests/scenarios/games.txt) played against the GTK game, and
// what only the GTK game can get wrong. The game runs in the test's process on a
// thread of its own, each game a RunIndovina in turn, with the fake clocks, and as
// the installed game: its program in games/, its marks only in share/indovina. Keys
// and clicks go through the display server (xdotool's XTest), so they reach the game
// as a player's do; the board is read back on the game's thread between two of its
// events, and what a screen reader is told is heard on the accessibility bus (AT-SPI).
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "app/entry_gtk.h"
#include "input/keyboard_gtk.h"
#include "render/surface_gtk.h"
#include "scenario_runner.h"

// Last: Xlib's macros (None, Always, True...) would clash with the names above.
#include <gdk/x11/gdkx.h>

namespace {

using namespace std::chrono_literals;

// What the two threads share, under the one mutex; the session only on the game's
// thread. The game's thread is never joined: these outlive it.
std::mutex& mutex = *new std::mutex;
std::condition_variable& changed = *new std::condition_variable;
std::string& secret = *new std::string;
std::vector<std::string>& heard = *new std::vector<std::string>;  // every name told to a screen reader
bool startWanted = false, running = false;
int exitCode = -1;
Session* session = nullptr;

// The test's folder, where CMake put share/indovina.
std::filesystem::path TestFolder() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

// Changes what the threads share, and tells the other thread.
void Share(const std::function<void()>& change)
{
    std::lock_guard lock(mutex);
    change();
    changed.notify_all();
}

// A game whenever one is asked for; what was posted for a game that has ended is
// run (without a session) before the next one starts.
void GameThread()
{
    for (std::unique_lock lock(mutex);; lock.lock()) {
        changed.wait(lock, [] { return std::exchange(startWanted, false); });
        lock.unlock();
        const auto prepare = [](Session& s) { (session = &s)->game.secret = secret; };
        exitCode = RunIndovina(FakeClocks(), prepare, TestFolder() / "games" / "indovina");
        Share([] { session = nullptr, running = false; });
        while (g_main_context_pending(nullptr)) g_main_context_iteration(nullptr, FALSE);
    }
}

// Waits until done() holds; fails the test, naming `what`, after the deadline.
bool WaitFor(const std::function<bool()>& done, const std::string& what)
{
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, 10s, done) || (ADD_FAILURE() << "gave up waiting for " << what, false);
}

// Runs work on the game's thread once the events already queued there, the redraws
// and what they posted are handled; nothing once the game has ended. A game that no
// longer answers ends the run.
void RunOnGameThread(const std::function<void(Session&)>& work)
{
    std::pair job{&work, false};  // the work, and whether it is done
    const auto run = [](gpointer data) {
        if (session != nullptr) (*static_cast<decltype(job)*>(data)->first)(*session);
        Share([data] { static_cast<decltype(job)*>(data)->second = true; });
        return gboolean(G_SOURCE_REMOVE);
    };
    Share([&] { job.second = !running || (g_idle_add_full(G_PRIORITY_LOW, run, &job, nullptr), false); });
    if (!WaitFor([&] { return job.second; }, "the game's thread")) std::abort();
}
template <class T>
T Read(const std::function<T()>& read)
{
    T value{};
    RunOnGameThread([&](Session&) { value = read(); });
    return value;
}

// Reads the game until it shows what is asked; fails the test after the deadline.
void PollGame(const std::function<bool()>& shown, const std::string& what)
{
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!Read(shown) && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(Read(shown)) << "gave up waiting for " << what;
}

// The first widget that is what is asked, at or under `from`, or else in the windows shown.
GtkWidget* Find(const std::function<bool(GtkWidget*)>& is, GtkWidget* w = nullptr)
{
    g_autoptr(GList) windows = w ? nullptr : gtk_window_list_toplevels();
    GtkWidget* found = w && gtk_widget_get_visible(w) && is(w) ? w : nullptr;
    for (GtkWidget* c = w ? gtk_widget_get_first_child(w) : nullptr; c && !found; c = gtk_widget_get_next_sibling(c))
        found = Find(is, c);
    for (GList* window = windows; window && !found; window = window->next) found = Find(is, GTK_WIDGET(window->data));
    return found;
}
// The main window (kCaption), or the message box.
GtkWidget* Window(const char* title = kCaption)
{
    const auto titled = [title](GtkWidget* w) { return !g_strcmp0(gtk_window_get_title(GTK_WINDOW(w)), title); };
    return Find([&](GtkWidget* w) { return GTK_IS_WINDOW(w) && titled(w); });
}
GtkWidget* Box() { return Window(kMessageBoxCaption); }
void PressOK(Session&) { g_signal_emit_by_name(gtk_window_get_default_widget(GTK_WINDOW(Box())), "clicked"); }
std::string BoxText()
{
    return Box() ? gtk_label_get_text(GTK_LABEL(Find([](GtkWidget* w) { return GTK_IS_LABEL(w); }, Box()))) : "";
}
// The shell names each control of the board by its id.
GtkWidget* Control(int id)
{
    return Find([id](GtkWidget* w) { return std::to_string(id) == gtk_widget_get_name(w); }, Window());
}

void Command(const std::string& command) { EXPECT_EQ(std::system(command.c_str()), 0) << command; }

// Asks for what is on the screen, as a screen reader does: GTK tells a reader of
// the changes of only what it has been asked about.
void ReadTheDesktop(GDBusConnection* bus, const char* name, const char* path)
{
    g_autoptr(GVariant) reply = g_dbus_connection_call_sync(bus, name, path, "org.a11y.atspi.Accessible", "GetChildren",
        nullptr, G_VARIANT_TYPE("(a(so))"), G_DBUS_CALL_FLAGS_NONE, 10000, nullptr, nullptr);
    g_autoptr(GVariantIter) children = nullptr;
    if (reply != nullptr) g_variant_get(reply, "(a(so))", &children);
    for (const char *child = nullptr, *at = nullptr; children && g_variant_iter_loop(children, "(&s&o)", &child, &at);)
        ReadTheDesktop(bus, child, at);
}

// Hears, on the accessibility bus, every new name told to a screen reader.
void Listen()
{
    g_autoptr(GDBusConnection) sessionBus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    g_autoptr(GVariant) reply = g_dbus_connection_call_sync(sessionBus, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
        "GetAddress", nullptr, G_VARIANT_TYPE("(s)"), G_DBUS_CALL_FLAGS_NONE, 10000, nullptr, nullptr);
    ASSERT_TRUE(reply) << "no accessibility bus: the GTK tests run in a D-Bus session of their own";
    const char* address = nullptr;
    g_variant_get(reply, "(&s)", &address);
    const auto flags = G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION;
    GDBusConnection* bus =
        g_dbus_connection_new_for_address_sync(address, GDBusConnectionFlags(flags), nullptr, nullptr, nullptr);
    g_dbus_connection_signal_subscribe(bus, nullptr, "org.a11y.atspi.Event.Object", "PropertyChange", nullptr,
        "accessible-name", G_DBUS_SIGNAL_FLAGS_NONE,
        [](GDBusConnection*, const char*, const char*, const char*, const char*, GVariant* event, gpointer) {
            g_autoptr(GVariant) name = nullptr;
            g_variant_get_child(event, 3, "v", &name);
            Share([&] { heard.push_back(g_variant_get_string(name, nullptr)); });
        }, nullptr, nullptr);
    ReadTheDesktop(bus, "org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root");
}

// xdotool's names of the keys the tables name, where they differ.
const std::map<std::string, std::string> kKeyNames{{"Enter", "Return"}, {"KP2", "KP_2"}, {"Ins", "Insert"},
    {"BS", "BackSpace"}, {"Del", "Delete"}, {"PgUp", "Prior"}, {"PgDn", "Next"}, {"Esc", "Escape"}, {"Space", "space"},
    {"AltF4", "alt+F4"}, {"Ctrl+", "ctrl+KP_Add"}, {"Ctrl-", "ctrl+KP_Subtract"}};

// A key at a time, each handled before the next is sent: a menu that a key opens
// is open before the next key comes, as under a player's fingers. Without a
// window manager on the test's screen, nothing gives the keys back to the main
// window when a box closes: the harness does, to the box open or else the main
// window. A round trip to the server puts the key in the game's queue.
void Send(const std::string& keys)
{
    PollGame([] {
        GtkWidget* w = Box() != nullptr ? Box() : Window();
        return !w || gtk_window_is_active(GTK_WINDOW(w)) || (gtk_window_present(GTK_WINDOW(w)), false);
    }, "a window to take the keys");
    Command("xdotool" + keys);
    RunOnGameThread([](Session&) { gdk_display_sync(gdk_display_get_default()); });
}

// A key held down until the server's own repeats have brought `downs` presses
// (the X server makes no press of a key that is already down), then let go.
void Hold(const std::string& key, int downs)
{
    static std::atomic<int> presses;
    const guint signal = g_signal_lookup("key-pressed", GTK_TYPE_EVENT_CONTROLLER_KEY);
    const auto count = [](GSignalInvocationHint*, guint, const GValue*, gpointer) { return gboolean(++presses); };
    const gulong hook = g_signal_add_emission_hook(signal, 0, count, nullptr, nullptr);
    presses = 0;
    Command("xset r rate 150 10");  // 100 ms apart: time enough to let go between two
    Send(" keydown " + key);
    PollGame([&] { return presses >= downs; }, std::to_string(downs) + " presses of a held key");
    Send(" keyup " + key);
    Command("xset r rate");  // the server's own rate again
    g_signal_remove_emission_hook(signal, hook);
}

void Click(int controlId)
{
    Send(" mousemove --window " + Read<std::string>([controlId] {
        graphene_point_t corner{4, 4}, at{};
        EXPECT_TRUE(gtk_widget_compute_point(Control(controlId), Window(), &corner, &at));
        const auto xid = gdk_x11_surface_get_xid(gtk_native_get_surface(GTK_NATIVE(Window())));
        return std::to_string(xid) + " " + std::to_string(int(at.x)) + " " + std::to_string(int(at.y));
    }) + " click 1");
}

class GtkGame : public ScenarioGame {
public:
    GtkGame(const std::string& gameSecret, const std::string& start = "2026-03-05 10:00:00.000")
    {
        static const bool threadStarted = (std::thread(GameThread).detach(), true);
        SetFakeClocks(start);
        Share([&] { secret = gameSecret, startWanted = running = threadStarted; });
        PollGame([] { return Window() != nullptr && gtk_widget_get_mapped(Window()); }, "the window");
    }
    ~GtkGame() override
    {
        RunOnGameThread(CloseAsked);
        WaitFor([] { return !running; }, "the game to end once its window was closed");
    }

    void Do(const std::string& steps) override
    {
        const std::map<Step::Kind, int> clicked{
            {Step::Row, kRowFieldBase}, {Step::Strike, kCrossOutToggleBase}, {Step::Green, kHighlightToggleBase}};
        for (const Step& step : ParseSteps(steps)) {
            const std::string key = kKeyNames.contains(step.key) ? kKeyNames.at(step.key) : step.key;
            if (step.kind == Step::Key) step.number > 1 ? Hold(key, step.number) : Send(" key " + key);
            if (step.kind == Step::Tick) AdvanceClocks(step.number), RunOnGameThread(ClockTicked);
            if (step.kind == Step::TimeOfDay) SetTimeOfDay(step.number);
            if (clicked.contains(step.kind)) Click(clicked.at(step.kind) + step.number);
            if (step.kind == Step::OK && !OpenBoxText("").empty()) RunOnGameThread(PressOK);
            // What GTK does when the window manager's close button is pressed.
            if (step.kind == Step::Close) RunOnGameThread([](Session&) { gtk_window_close(GTK_WINDOW(Window())); });
        }
    }
    // What the shell last named the surface, for a screen reader to read.
    std::string Name(int id) override { return Read<std::string>([id] { return session->shown[id].name; }); }
    Bitmap Pixels(int id) override
    {
        return Read<Bitmap>([id] {
            Bitmap bitmap{SurfaceSize(*session, id).width, SurfaceSize(*session, id).height, {}};
            for (int i = 0; i < bitmap.width * bitmap.height; ++i)
                bitmap.pixels.push_back(SurfacePixel(Control(id), i % bitmap.width, i / bitmap.width));
            return bitmap;
        });
    }
    void OnGameThread(const std::function<void(Session&)>& work) override { RunOnGameThread(work); }
    // One box at most is open at a time: the session shows the next once it is closed.
    std::string OpenBoxText(const std::string& text) override
    {
        PollGame([&] { return Box() != nullptr && (text.empty() || BoxText() == text); }, "a box saying " + text);
        return Read<std::string>(BoxText);
    }
    int OpenBoxes() override { return Read<int>([] { return Box() != nullptr; }); }
    int ExitCode() override { return WaitFor([] { return !running; }, "the game to end") ? exitCode : -1; }
    std::string ProgramFolder() override { return TestFolder() / "share" / "indovina"; }
    // toggleN: 1 when the toggle with control id N is pressed.
    void Check(const std::string& what, int n, std::string& seen) override
    {
        const auto pressed = [n] { return int(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(Control(n)))); };
        if (what == "toggle") seen = std::to_string(Read<int>(pressed));
    }
};

}  // namespace

class Scenarios : public testing::TestWithParam<std::string> {};
TEST_P(Scenarios, Play)
{
    PlayScenario(GetParam(), "gtk", [](const std::string& gameSecret, const std::string& start) {
        return std::make_unique<GtkGame>(gameSecret, start);
    });
}
INSTANTIATE_TEST_SUITE_P(Shared, Scenarios, testing::ValuesIn(ScenarioNames()),
                         [](const testing::TestParamInfo<std::string>& scenario) { return scenario.param; });

// A French keyboard's "1" is its Shift+&; AltGr's characters come as the layout
// gives them, with Ctrl and Alt where a layout reaches them so; Ctrl alone types
// no digit. The keypad's keys stand where their navigation meaning puts them.
TEST(GtkKeys, CharactersComeFromTheLayoutAndPositionsFromTheKeysPlaces)
{
    const std::tuple<guint, guint, int, KeyPosition, char> cases[] = {
        {'&', 10, 0, {}, '&'}, {'1', 10, GDK_SHIFT_MASK, {}, '1'}, {'2', 11, GDK_CONTROL_MASK | GDK_ALT_MASK, {}, '2'},
        {'1', 10, GDK_CONTROL_MASK, {}, 0}, {GDK_KEY_KP_2, 88, 0, KeyPosition::Down, '2'}};
    for (const auto& [value, code, state, position, character] : cases) {
        const GameKey key = GameKeyOf(value, code, GdkModifierType(state), false);
        EXPECT_EQ(std::pair(key.position, key.character), std::pair(position, character)) << value;
    }
}

// The right Ctrl is no left one: with the keypad's + it makes the font no larger.
// xdotool holds a modifier down by the first key the server has for it. Ten times
// a second the clocks change their names, which a reader must not hear; an answer
// it must.
TEST(GtkGame, OnlyTheLeftCtrlMakesTheFontKeysAndAScreenReaderHearsTheAnswersAndNotTheClocks)
{
    GtkGame game("1234");
    Listen();
    game.Do("{+1000}{+1000}{+1000}1243{Enter}");
    const auto clock = [](const std::string& name) { return name.starts_with("ore ") || name.ends_with("secondi"); };
    bool clockHeard = true;
    WaitFor([&] {
        clockHeard = std::ranges::any_of(heard, clock);
        return std::ranges::count(heard, "2 quadrati, 2 cerchi") > 0;
    }, "the answer to be heard");
    EXPECT_FALSE(clockHeard);
    Command("xmodmap -e 'remove control = Control_L'");
    Send(" key Control_R+KP_Add");
    Command("xmodmap -e 'add control = Control_L'");
    Send(" key Control_L+KP_Add");
    game.OnGameThread([](Session& s) { EXPECT_EQ(s.game.fieldStyle[2].fontSize, 25); });
}
