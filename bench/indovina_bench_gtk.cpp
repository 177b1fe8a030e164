// Measures the native game against GTK itself, side by side in one run on one
// machine, and prints tables (markdown): the start-up from process start to the
// first frame on the screen against an empty GTK window of the same build, a key
// from the display server to the frame that shows it, the idle CPU share with the
// clock running, and where the start-up time goes. Each figure with the cairo
// renderer and with GTK's default one, the start-up also without GL at all. It
// starts whole processes on the screen of
// DISPLAY: the timed game and the empty window (bench/*_gtk.cpp), which tell the
// moments of their run on the monotonic clock that this driver reads too.

// The board first: Xlib defines names such as None and Always as macros.
#include "render/board_layout.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "frames_gtk.h"

extern char** environ;

namespace {

constexpr int kStarts = 9;      // warm starts of each program, after one to warm the caches
constexpr int kKeyRounds = 50;  // each "1234", then Home and four Deletes
constexpr int kIdleSeconds = 10;

double Ms(long long ns) { return static_cast<double>(ns) / 1e6; }

double Quantile(std::vector<double> values, double q)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const double at = q * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(at);
    const std::size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (values[above] - values[below]) * (at - static_cast<double>(below));
}
double Median(const std::vector<double>& values) { return Quantile(values, 0.5); }

// "m ms (a–b)": the median and the spread from the fastest to the slowest.
std::string Spread(const std::vector<double>& values)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1f ms (%.0f–%.0f)", Median(values), Quantile(values, 0), Quantile(values, 1));
    return text;
}

using Stamps = std::map<std::string, long long>;

// A started program whose standard output is read line by line; ended with it.
class Child {
public:
    // `settings`: GTK's variables for the run, which replace the driver's own.
    Child(const std::vector<std::string>& arguments, const std::vector<std::string>& settings)
    {
        std::vector<std::string> environment = settings;
        for (char** e = environ; *e != nullptr; ++e) {
            if (std::strncmp(*e, "GSK_", 4) != 0 && std::strncmp(*e, "GDK_", 4) != 0) environment.emplace_back(*e);
        }
        std::vector<char*> argv, envp;
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        for (const std::string& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
        argv.push_back(nullptr);
        envp.push_back(nullptr);

        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        // GTK's warnings (no session bus here) are not the benchmark's output.
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        spawned = MonotonicNs();
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        out = pipeEnds[0];
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        if (out >= 0) close(out);
    }

    // Reads the lines told until the one named `last` (kept in `stamps`); false if
    // it does not come within the time given.
    bool ReadUntil(const std::string& last, Stamps& stamps, int timeoutMs = 20000)
    {
        const long long deadline = MonotonicNs() + timeoutMs * 1000000LL;
        for (;;) {
            const std::size_t end = buffer.find('\n');
            if (end != std::string::npos) {
                std::istringstream line(buffer.substr(0, end));
                buffer.erase(0, end + 1);
                std::string what;
                long long value = 0;
                if (line >> what >> value) stamps[what] = value;
                if (what == last) return true;
                continue;
            }
            const long long left = deadline - MonotonicNs();
            pollfd p{out, POLLIN, 0};
            if (left <= 0 || poll(&p, 1, static_cast<int>(left / 1000000) + 1) <= 0) return false;
            char chunk[256];
            const ssize_t n = read(out, chunk, sizeof chunk);
            if (n <= 0) return false;
            buffer.append(chunk, static_cast<std::size_t>(n));
        }
    }

    pid_t pid = -1;
    long long spawned = 0;

private:
    int out = -1;
    std::string buffer;
};

// A field of /proc/<pid>/status in KiB ("VmHWM" is the peak resident set).
long StatusKiB(pid_t pid, const std::string& field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) return std::atol(line.c_str() + field.size() + 1);
    }
    return 0;
}

// Seconds on a CPU so far of the process's threads, as the scheduler counts them
// in nanoseconds: finer than the 10 ms ticks of /proc/<pid>/stat. GTK's threads
// live as long as the process, so none of them ends unseen between two readings.
double CpuSeconds(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double seconds = 0;
    for (const auto& task : std::filesystem::directory_iterator(tasks)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double onCpuNs = 0;
        if (schedstat >> onCpuNs) seconds += onCpuNs / 1e9;
    }
    return seconds;
}

// --- Start-up ------------------------------------------------------------------------

// Milliseconds from process start to each moment the program tells.
struct Start {
    double entered = 0, ready = 0, opened = 0, frame = 0;
    long peakKiB = 0;
};

struct Starts {
    std::vector<double> entered, ready, opened, frame;
    long peakKiB = 0;
};

Start TimeStart(const std::vector<std::string>& program, const std::vector<std::string>& settings)
{
    Child child(program, settings);
    Stamps stamps;
    Start start;
    if (child.pid <= 0 || !child.ReadUntil("first-frame", stamps)) {
        std::fprintf(stderr, "indovina_bench: %s showed no frame\n", program[0].c_str());
        return start;
    }
    start.entered = Ms(stamps["entered"] - child.spawned);
    start.ready = Ms(stamps["ready"] - child.spawned);
    start.opened = Ms(stamps["opened"] - child.spawned);
    start.frame = Ms(stamps["first-frame"] - child.spawned);
    start.peakKiB = StatusKiB(child.pid, "VmHWM");
    return start;
}

// The programs started in turn, so that a slow spell of the machine falls on all.
std::vector<Starts> TimeStarts(const std::vector<std::vector<std::string>>& programs,
                               const std::vector<std::string>& settings)
{
    std::vector<Starts> all(programs.size());
    for (int run = 0; run <= kStarts; ++run) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            const Start s = TimeStart(programs[p], settings);
            if (run == 0 || s.frame <= 0) continue;  // the warm-up, or no frame at all
            all[p].entered.push_back(s.entered);
            all[p].ready.push_back(s.ready);
            all[p].opened.push_back(s.opened);
            all[p].frame.push_back(s.frame);
            all[p].peakKiB = std::max(all[p].peakKiB, s.peakKiB);
        }
    }
    return all;
}

// --- Key to screen and idle CPU ----------------------------------------------------

struct Keys {
    std::vector<double> toScreen;  // from the key sent to the server to its frame on the screen
    std::vector<double> inGame;    // from the key's arrival at the window's controllers to that frame
};

// Keys come as a typist's do, at any moment between two frames: before each press
// a pause of 20 to 70 ms, longer than a frame (the frame clock paints at most every
// 16.7 ms, so a key right after a frame would wait for the next one).
Keys TimeKeys(Display* display, const std::vector<std::string>& game, const std::vector<std::string>& settings)
{
    Keys keys;
    Child child(game, settings);
    Stamps stamps;
    if (child.pid <= 0 || !child.ReadUntil("window", stamps)) return keys;
    XSetInputFocus(display, static_cast<Window>(stamps["window"]), RevertToParent, CurrentTime);
    XSync(display, False);
    usleep(300000);  // the focus settles and the window has its first ticks behind it
    const KeySym round[] = {XK_1, XK_2, XK_3, XK_4, XK_Home, XK_Delete, XK_Delete, XK_Delete, XK_Delete};
    std::minstd_rand pauses(12345);
    for (int r = 0; r < kKeyRounds; ++r) {
        for (const KeySym symbol : round) {
            const KeyCode code = XKeysymToKeycode(display, symbol);
            usleep(static_cast<useconds_t>(20000 + pauses() % 50000));
            const long long sent = MonotonicNs();
            XTestFakeKeyEvent(display, code, True, 0);
            XFlush(display);
            Stamps frame;
            const bool shown = child.ReadUntil("key-frame", frame, 2000);
            XTestFakeKeyEvent(display, code, False, 0);
            XFlush(display);
            if (!shown) {
                std::fprintf(stderr, "indovina_bench: no frame after a key\n");
                return keys;
            }
            if (symbol >= XK_0 && symbol <= XK_9) {
                keys.toScreen.push_back(Ms(frame["key-frame"] - sent));
                keys.inGame.push_back(Ms(frame["key-frame"] - frame["key-arrived"]));
            }
        }
    }
    return keys;
}

double IdleCpuShare(const std::vector<std::string>& program, const std::vector<std::string>& settings)
{
    Child child(program, settings);
    Stamps stamps;
    if (child.pid <= 0 || !child.ReadUntil("first-frame", stamps)) return -1;
    sleep(1);
    const double cpuBefore = CpuSeconds(child.pid);
    const long long wallBefore = MonotonicNs();
    sleep(kIdleSeconds);
    return (CpuSeconds(child.pid) - cpuBefore) / (static_cast<double>(MonotonicNs() - wallBefore) / 1e9);
}

std::string FolderOfThisProgram()
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string self(path, n > 0 ? static_cast<std::size_t>(n) : 0);
    return self.substr(0, self.rfind('/'));
}

}  // namespace

int main()
{
    Display* display = XOpenDisplay(nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (display == nullptr || !XTestQueryExtension(display, &event, &error, &major, &minor)) {
        std::fprintf(stderr, "indovina_bench: needs an X display with XTEST (DISPLAY)\n");
        return 1;
    }
    // Beside this program: the timed game and the empty window.
    const std::string folder = FolderOfThisProgram();
    // The game reads its marks from the current folder first: the game's build folder.
    if (chdir((folder + "/..").c_str()) != 0) return 1;
    const std::string width = std::to_string(kClientWidth), height = std::to_string(kClientHeight);
    const std::vector<std::string> game{folder + "/timed_game"};
    const std::vector<std::vector<std::string>> programs{
        game,
        {folder + "/empty_window", width, height},
        {folder + "/empty_window", width, height, "46", "20"},
        {folder + "/empty_window", width, height, "1", "0"},
    };
    // The board's widgets with one surface redrawn every clock tick: the toolkit's
    // share of the game's idle CPU.
    const std::vector<std::string> ticking{folder + "/empty_window", width, height, "46", "20", "100"};

    struct Setting {
        std::string label;
        std::vector<std::string> variables;
        bool startOnly = false;
        std::vector<Starts> starts{};
        Keys keys{};
        double idle = 0, idleYardstick = 0;
    };
    // The game's own choice first (StartToolkit: cairo, GL never loaded), given to the
    // yardsticks too; then the renderers a player may choose instead.
    std::vector<Setting> settings{
        {"as the game starts: cairo, GL not loaded", {"GSK_RENDERER=cairo", "GDK_DEBUG=gl-disable"}},
        {"GSK_RENDERER=cairo with GL loaded", {"GSK_RENDERER=cairo"}, true},
        {"GSK_RENDERER=gl", {"GSK_RENDERER=gl"}},
    };
    for (Setting& s : settings) {
        std::fprintf(stderr, "indovina_bench: %s: start-up\n", s.label.c_str());
        s.starts = TimeStarts(programs, s.variables);
        if (s.startOnly) continue;
        std::fprintf(stderr, "indovina_bench: %s: keys\n", s.label.c_str());
        s.keys = TimeKeys(display, game, s.variables);
        std::fprintf(stderr, "indovina_bench: %s: idle\n", s.label.c_str());
        s.idle = IdleCpuShare(game, s.variables);
        s.idleYardstick = IdleCpuShare(ticking, s.variables);
    }
    XCloseDisplay(display);

    std::printf("| Native figure (GTK 4, X11) | Game | GTK yardstick | Ratio | Goal |\n");
    std::printf("| --- | ---: | ---: | ---: | --- |\n");
    for (const Setting& s : settings) {
        const double gameStart = Median(s.starts[0].frame), emptyStart = Median(s.starts[1].frame);
        std::printf(
            "| Start-up, process start to the first frame on the screen, %s (median of %d; fastest–slowest) "
            "| %s | %s (empty window, same build) | %.2f | within 1.2 |\n",
            s.label.c_str(), kStarts, Spread(s.starts[0].frame).c_str(), Spread(s.starts[1].frame).c_str(),
            emptyStart > 0 ? gameStart / emptyStart : 0.0);
    }
    for (const Setting& s : settings) {
        if (s.startOnly) continue;
        std::printf(
            "| Key to screen, a digit from the X server to its frame on the screen, %s (median of %zu; 90th "
            "percentile) | %.2f ms (%.2f) | | | under 16.7 ms |\n",
            s.label.c_str(), s.keys.toScreen.size(), Median(s.keys.toScreen), Quantile(s.keys.toScreen, 0.9));
        std::printf("| … of it from the key's arrival in the window | %.2f ms (%.2f) | | | |\n", Median(s.keys.inGame),
                    Quantile(s.keys.inGame, 0.9));
    }
    for (const Setting& s : settings) {
        if (s.startOnly) continue;
        std::printf(
            "| CPU while idle for %d s with the clock running, %s | %.2f %% of one core | %.2f %% (the board's "
            "widgets, one redrawn every 100 ms) | | under 0.5 %% |\n",
            kIdleSeconds, s.label.c_str(), s.idle * 100, s.idleYardstick * 100);
    }
    for (const Setting& s : settings) {
        std::printf("| Peak resident memory, %s | %.1f MiB | %.1f MiB | | |\n", s.label.c_str(),
                    static_cast<double>(s.starts[0].peakKiB) / 1024, static_cast<double>(s.starts[1].peakKiB) / 1024);
    }

    for (const Setting& s : settings) {
        std::printf(
            "\n| Start-up phase, %s (median of %d, ms) | Game | Empty window | Board's widgets, no game code "
            "| Board as one surface |\n",
            s.label.c_str(), kStarts);
        std::printf("| --- | ---: | ---: | ---: | ---: |\n");
        const auto row = [&](const char* phase, auto span) {
            std::printf("| %s |", phase);
            for (const Starts& program : s.starts) {
                std::vector<double> spans;
                for (std::size_t i = 0; i < program.frame.size(); ++i) spans.push_back(span(program, i));
                std::printf(" %.1f |", Median(spans));
            }
            std::printf("\n");
        };
        row("process start to main (loading)", [](const Starts& p, std::size_t i) { return p.entered[i]; });
        row("GTK initialised", [](const Starts& p, std::size_t i) { return p.ready[i] - p.entered[i]; });
        row("window built, drawn and presented",
            [](const Starts& p, std::size_t i) { return p.opened[i] - p.ready[i]; });
        row("then to the first frame on the screen",
            [](const Starts& p, std::size_t i) { return p.frame[i] - p.opened[i]; });
        row("**process start to the first frame**", [](const Starts& p, std::size_t i) { return p.frame[i]; });
    }
    return 0;
}
