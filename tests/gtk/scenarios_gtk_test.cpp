// The shared tables (tests/scenarios/games.txt) played against the GTK game. The
// game runs in the test's process on a thread of its own, where GTK is initialised
// once and each game runs RunIndovina in turn, as the program's main thread runs
// its one game, with the fake clocks. Keys and clicks go through the display server
// (xdotool's XTest), so they reach the game as a player's do; the board is read
// back on the game's thread between two of its events.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "app/entry_gtk.h"
#include "app/window_flow.h"
#include "game/game_state.h"
#include "input/keyboard_gtk.h"
#include "input/shell_gtk.h"
#include "scenario_runner.h"

// Last: Xlib's macros (None, Always, True...) would clash with the names above.
#include <gdk/x11/gdkx.h>

namespace {

// What the two threads share, under the one mutex. The game's thread is never
// joined; still waiting when the process ends, it keeps these, which are never
// destroyed for that reason.
std::mutex& mutex = *new std::mutex;
std::condition_variable& changed = *new std::condition_variable;
std::string secret;
bool startWanted = false;
std::atomic<bool> running = false;
int exitCode = -1;

void Prepare() { gameState.secret = secret; }

// The game's thread: GTK once, then a game whenever one is asked for. Work posted
// while a game runs is done before the game counts as ended.
void GameThread()
{
    gtk_init();
    for (;;) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [] { return startWanted; });
        startWanted = false;
        lock.unlock();
        const int code = RunIndovina(FakeClocks(), Prepare);
        while (g_main_context_pending(nullptr)) g_main_context_iteration(nullptr, FALSE);
        lock.lock();
        exitCode = code, running = false;
        changed.notify_all();
    }
}

// Waits until done() holds, waking whenever the game's thread says something has
// changed; fails the test, naming `what`, after the deadline.
bool WaitFor(const std::function<bool()>& done, const std::string& what, int milliseconds = 5000)
{
    std::unique_lock lock(mutex);
    if (changed.wait_for(lock, std::chrono::milliseconds(milliseconds), done)) return true;
    return ADD_FAILURE() << "gave up waiting for " << what, false;
}

struct Job {
    std::function<void()> work;
    bool done = false;
};

// Runs work on the game's thread once nothing more urgent is ready there: the
// events already queued, the redraws and what they posted are handled first.
// Once the game has ended, nothing is run.
void RunOnGameThread(const std::function<void()>& work)
{
    auto job = std::make_shared<Job>(Job{work});
    {
        std::lock_guard lock(mutex);
        if (!running) return;
        GSource* idle = g_idle_source_new();
        g_source_set_priority(idle, G_PRIORITY_LOW);
        g_source_set_callback(
            idle,
            [](gpointer data) {
                auto& held = *static_cast<std::shared_ptr<Job>*>(data);
                held->work();
                std::lock_guard done(mutex);
                held->done = true;
                changed.notify_all();
                return G_SOURCE_REMOVE;
            },
            new std::shared_ptr<Job>(job), [](gpointer data) { delete static_cast<std::shared_ptr<Job>*>(data); });
        g_source_attach(idle, nullptr);
        g_source_unref(idle);
    }
    WaitFor([&] { return job->done || !running; }, "the game's thread to run the work given", 10000);
}

template <class T>
T Read(const std::function<T()>& read)
{
    T value{};
    return RunOnGameThread([&] { value = read(); }), value;
}

// Runs a probe on the game's thread until it holds; fails the test, naming
// `what`, after the deadline.
bool PollGame(const std::function<bool()>& probe, const std::string& what)
{
    for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5); !Read<bool>(probe);) {
        if (std::chrono::steady_clock::now() > deadline) return ADD_FAILURE() << "gave up waiting for " << what, false;
        std::unique_lock lock(mutex);
        changed.wait_for(lock, std::chrono::milliseconds(10));
    }
    return true;
}

// The boxes that are open, oldest first, on the game's thread.
std::vector<GtkWindow*> Boxes()
{
    std::vector<GtkWindow*> boxes;
    GListModel* windows = gtk_window_get_toplevels();
    for (guint i = 0; i < g_list_model_get_n_items(windows); ++i) {
        auto* window = static_cast<GtkWindow*>(g_list_model_get_item(windows, i));
        const char* title = gtk_window_get_title(window);
        if (GTK_WIDGET(window) != shell.mainWindow && gtk_widget_get_visible(GTK_WIDGET(window)) && title != nullptr &&
            std::string(title) == kMessageBoxCaption) {
            boxes.push_back(window);
        }
        g_object_unref(window);
    }
    return boxes;
}
std::string BoxText(GtkWindow* box)
{
    GtkWidget* content = gtk_window_get_child(box);
    return gtk_label_get_text(GTK_LABEL(gtk_widget_get_first_child(content)));
}

unsigned long XidOf(GtkWidget* window) { return gdk_x11_surface_get_xid(gtk_native_get_surface(GTK_NATIVE(window))); }

void Run(const std::string& command) { EXPECT_EQ(std::system(command.c_str()), 0) << command; }

// xdotool's names of the keys the tables name, where they differ.
const std::map<std::string, std::string> kKeyNames{
    {"Enter", "Return"}, {"KP2", "KP_2"},     {"Ins", "Insert"},        {"BS", "BackSpace"},
    {"Del", "Delete"},   {"PgUp", "Prior"},   {"PgDn", "Next"},         {"Esc", "Escape"},
    {"Space", "space"},  {"AltF4", "alt+F4"}, {"Ctrl+", "ctrl+KP_Add"}, {"Ctrl-", "ctrl+KP_Subtract"}};

class GtkGame : public ScenarioGame {
public:
    GtkGame(const std::string& gameSecret, const std::string& start)
    {
        static const bool threadStarted = (std::thread(GameThread).detach(), true);
        SetFakeClocks(start);
        {
            std::lock_guard lock(mutex);
            secret = gameSecret, startWanted = running = true;
            changed.notify_all();
        }
        const auto shown = [] { return shell.windowAlive && gtk_widget_get_mapped(shell.mainWindow); };
        if (threadStarted && PollGame(shown, "the game's window to show")) TakeFocus();
    }
    ~GtkGame() override
    {
        RunOnGameThread([] {
            for (GtkWindow* box : Boxes()) gtk_window_destroy(box);
            EndMainWindow();
        });
        WaitFor([] { return !running; }, "the game to end once its boxes and window were closed", 10000);
    }

    void Do(const std::string& steps) override
    {
        for (const Step& step : ParseSteps(steps)) {
            const auto named = kKeyNames.find(step.key);
            const std::string key = named != kKeyNames.end() ? named->second : step.key;
            if (step.kind == Step::Key) step.number > 1 ? Hold(key, step.number) : Send(" key " + key);
            if (step.kind == Step::Tick) AdvanceClocks(step.number), RunOnGameThread([] { ClockTick(shell.board); });
            if (step.kind == Step::TimeOfDay) SetTimeOfDay(step.number);
            if (step.kind == Step::Row) Click(kRowFieldBase + step.number);
            if (step.kind == Step::Strike) Click(kCrossOutToggleBase + step.number);
            if (step.kind == Step::Green) Click(kHighlightToggleBase + step.number);
            if (step.kind == Step::OK) {
                OpenBoxText("");
                RunOnGameThread([] {
                    if (!Boxes().empty())
                        g_signal_emit_by_name(gtk_window_get_default_widget(Boxes().back()), "clicked");
                });
                Settle();
            }
            if (step.kind == Step::Close) {
                // What a window manager sends when its close button is pressed.
                RunOnGameThread([] {
                    Display* x = gdk_x11_display_get_xdisplay(gdk_display_get_default());
                    XEvent close{};
                    close.xclient = {ClientMessage,
                                     0,
                                     False,
                                     x,
                                     XidOf(shell.mainWindow),
                                     XInternAtom(x, "WM_PROTOCOLS", False),
                                     32,
                                     {}};
                    close.xclient.data.l[0] = long(XInternAtom(x, "WM_DELETE_WINDOW", False));
                    XSendEvent(x, XidOf(shell.mainWindow), False, NoEventMask, &close);
                    XFlush(x);
                });
                Settle();
            }
        }
    }

    std::string Name(int controlId) override
    {
        return Read<std::string>([controlId] { return SurfaceName(Control(controlId)); });
    }
    Bitmap Pixels(int controlId) override
    {
        Bitmap bitmap;
        RunOnGameThread([&] {
            GtkWidget* surface = Control(controlId);
            const PixelSize size = SurfaceSize(surface);
            bitmap.width = size.width, bitmap.height = size.height;
            for (int i = 0; i < size.width * size.height; ++i) {
                bitmap.pixels.push_back(SurfacePixel(surface, i % size.width, i / size.width));
            }
        });
        return bitmap;
    }
    void OnGameThread(const std::function<void()>& work) override { RunOnGameThread(work); }
    std::string OpenBoxText(const std::string& text) override
    {
        std::string found;
        const auto open = [&] {
            for (GtkWindow* box : Boxes()) found = text.empty() || BoxText(box) == text ? BoxText(box) : found;
            return !found.empty();
        };
        return PollGame(open, "a box saying \"" + text + "\""), found;
    }
    int OpenBoxes() override
    {
        return Read<int>([] { return int(Boxes().size()); });
    }
    int ExitCode() override
    {
        return WaitFor([] { return !running; }, "the game to end", 10000) ? exitCode : -1;
    }
    std::string ProgramFolder() override { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }
    // toggleN: 1 when the toggle with control id N is pressed.
    void Check(const std::string& what, int n, std::string& seen) override
    {
        if (what == "toggle")
            RunOnGameThread([&] { seen = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(Control(n))) ? "1" : "0"; });
    }

private:
    // The events of the input sent are in the game's queue once a round trip to the
    // server is over, and handled once work posted after it has run.
    static void Settle()
    {
        RunOnGameThread([] { gdk_display_sync(gdk_display_get_default()); });
        RunOnGameThread([] {});
    }
    // Without a window manager on the test's screen, nothing gives the keys back to
    // the main window when a box closes: the harness does, as one would, to the
    // newest box open or else the main window.
    static void TakeFocus()
    {
        PollGame(
            [] {
                const std::vector<GtkWindow*> boxes = Boxes();
                GtkWindow* keys = boxes.empty() ? GTK_WINDOW(shell.mainWindow) : boxes.back();
                if (keys == nullptr || gtk_window_is_active(keys) || MenuOpen(GTK_WIDGET(keys))) return true;
                gdk_toplevel_focus(GDK_TOPLEVEL(gtk_native_get_surface(GTK_NATIVE(keys))), GDK_CURRENT_TIME);
                return false;
            },
            "a window to take the keys");
    }
    // A key at a time, each handled before the next is sent: a menu that a key
    // opens is open before the next key comes, as it would be under a player's
    // fingers.
    static void Send(const std::string& keys)
    {
        TakeFocus();
        Run("xdotool" + keys);
        Settle();
    }
    // A key held down until the server's own repeats have brought `downs` key
    // presses (the X server makes no press of a key that is already down), then
    // let go. The repeats come 100 ms apart, time enough to let go between two.
    static void Hold(const std::string& key, int downs)
    {
        static std::atomic<int> presses;
        const auto count = [](GSignalInvocationHint*, guint, const GValue* values, gpointer) {
            const auto* event = static_cast<GdkEvent*>(g_value_peek_pointer(&values[1]));
            presses += gdk_event_get_event_type(const_cast<GdkEvent*>(event)) == GDK_KEY_PRESS ? 1 : 0;
            return gboolean(TRUE);
        };
        const guint signal = g_signal_lookup("event", GDK_TYPE_SURFACE);
        gulong hook = 0;
        presses = 0;
        RunOnGameThread([&] { hook = g_signal_add_emission_hook(signal, 0, count, nullptr, nullptr); });
        TakeFocus();
        Run("xset r rate 150 10 && xdotool keydown " + key);
        PollGame([&] { return presses >= downs; }, std::to_string(downs) + " presses of a held key");
        Run("xdotool keyup " + key + " && xset r rate");  // and the server's own rate again
        Settle();
        RunOnGameThread([&] { g_signal_remove_emission_hook(signal, hook); });
    }
    static void Click(int controlId)
    {
        TakeFocus();
        unsigned long window = 0;
        graphene_point_t at{};
        RunOnGameThread([&] {
            GtkNative* native = gtk_widget_get_native(Control(controlId));
            double dx = 0, dy = 0;
            gtk_native_get_surface_transform(native, &dx, &dy);
            const graphene_point_t corner{4, 4};
            EXPECT_TRUE(gtk_widget_compute_point(Control(controlId), GTK_WIDGET(native), &corner, &at));
            at.x += float(dx), at.y += float(dy), window = XidOf(GTK_WIDGET(native));
        });
        Run("xdotool mousemove --window " + std::to_string(window) + " " + std::to_string(int(at.x)) + " " +
            std::to_string(int(at.y)) + " click 1");
        Settle();
    }
};

std::unique_ptr<ScenarioGame> StartGame(const std::string& gameSecret, const std::string& start)
{
    return std::make_unique<GtkGame>(gameSecret, start);
}

}  // namespace

class Scenarios : public testing::TestWithParam<std::string> {};
TEST_P(Scenarios, Play) { PlayScenario(GetParam(), "gtk", StartGame); }
INSTANTIATE_TEST_SUITE_P(Shared, Scenarios, testing::ValuesIn(ScenarioNames()),
                         [](const testing::TestParamInfo<std::string>& scenario) { return scenario.param; });
