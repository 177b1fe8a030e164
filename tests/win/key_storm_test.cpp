// A seeded storm of random keys and clicks through the system's input path into the
// running game. Whatever the player presses, the game must neither crash nor show an
// error box, and its state must stay within the bounds the editor and the turn flow
// keep: every field's slots within their clamps, every font size and row number valid.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/control_ids.h"
#include "app/dialog_win.h"
#include "app/main_window_win.h"
#include "game/field_editor.h"
#include "game/game_state.h"
#include "game_driver.h"

namespace {

// A secret no guess can match: every game runs until its fourteenth row is submitted.
void UnguessableSecret() { gameState.secret = "abcd"; }

struct Key {
    WORD virtualKey;
    WORD scanCode;
    bool extended;
};

INPUT KeyEvent(const Key& key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key.virtualKey;
    input.ki.wScan = key.scanCode;
    input.ki.dwFlags = (key.extended ? KEYEVENTF_EXTENDEDKEY : 0u) | (up ? KEYEVENTF_KEYUP : 0u);
    return input;
}

constexpr Key kLeftCtrl{VK_LCONTROL, 0x1D, false};
constexpr Key kRightCtrl{VK_RCONTROL, 0x1D, true};
constexpr Key kLeftShift{VK_LSHIFT, 0x2A, false};
constexpr Key kRightShift{VK_RSHIFT, 0x36, false};
constexpr Key kEnter{VK_RETURN, 0x1C, false};
constexpr Key kKeypadPlus{VK_ADD, 0x4E, false};
constexpr Key kKeypadMinus{VK_SUBTRACT, 0x4A, false};
constexpr Key kNumLock{VK_NUMLOCK, 0x45, true};

// Every key of the main block and the keypad by its scan code, then the grey keys
// that share scan codes with the keypad. Left out: Escape (it closes the window),
// Alt and F10 (they open the menu, whose loop takes the keys away from the game), the
// Windows keys, and Enter and the modifiers, which the storm presses on purpose.
std::vector<Key> StormKeys()
{
    std::vector<Key> keys;
    for (WORD scan = 0x02; scan <= 0x58; ++scan) {
        if (scan == 0x1C || scan == 0x1D || scan == 0x2A || scan == 0x36 || scan == 0x38 || scan == 0x44 ||
            scan == 0x45 || (scan >= 0x54 && scan <= 0x56)) {
            continue;
        }
        const auto vk = static_cast<WORD>(MapVirtualKeyA(scan, MAPVK_VSC_TO_VK));
        if (vk != 0) keys.push_back({vk, scan, false});
    }
    // With Num Lock on, the keypad's scan codes mean digits: name them as such too.
    const WORD keypadScan[10] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
    for (WORD d = 0; d < 10; ++d) keys.push_back({static_cast<WORD>(VK_NUMPAD0 + d), keypadScan[d], false});
    const Key grey[] = {{VK_INSERT, 0x52, true}, {VK_DELETE, 0x53, true}, {VK_HOME, 0x47, true},
                        {VK_END, 0x4F, true},    {VK_PRIOR, 0x49, true},  {VK_NEXT, 0x51, true},
                        {VK_LEFT, 0x4B, true},   {VK_RIGHT, 0x4D, true},  {VK_UP, 0x48, true},
                        {VK_DOWN, 0x50, true},   {VK_DIVIDE, 0x35, true}, {VK_RETURN, 0x1C, true}};
    keys.insert(keys.end(), std::begin(grey), std::end(grey));
    // The keys that edit and move get a larger share than their one place each.
    const Key editing[] = {{VK_BACK, 0x0E, false},  {VK_TAB, 0x0F, false},   {VK_INSERT, 0x52, true},
                           {VK_DELETE, 0x53, true}, {VK_END, 0x4F, true},    {VK_HOME, 0x47, true},
                           {VK_PRIOR, 0x49, true},  {VK_NEXT, 0x51, true},   {VK_RIGHT, 0x4D, true},
                           {VK_LEFT, 0x4B, true}};
    for (int copies = 0; copies < 3; ++copies) keys.insert(keys.end(), std::begin(editing), std::end(editing));
    for (WORD d = 0; d < 10; ++d) keys.push_back({static_cast<WORD>('0' + d), static_cast<WORD>(d == 0 ? 0x0B : 0x01 + d), false});
    return keys;
}

// Answers the program's end boxes as a player would; any other box of the program
// is a fault, remembered with its text.
struct BoxWatcher {
    std::atomic<bool> running{true};
    std::mutex mutex;
    std::vector<std::string> unexpected;
    int endBoxes = 0;
    std::thread thread;

    BoxWatcher()
        : thread([this] {
              while (running) {
                  HWND box = nullptr;
                  while ((box = FindWindowExA(nullptr, box, "#32770", kMessageBoxCaption)) != nullptr) {
                      if (box == mainWindow || !IsWindowVisible(box)) continue;
                      const std::string text = MessageBoxText(box);
                      if (text.empty()) continue;  // still being built
                      {
                          std::lock_guard<std::mutex> lock(mutex);
                          if (text.rfind("Bravo. Hai indovinato !", 0) == 0 || text.rfind("Fine. Il numero era ", 0) == 0) {
                              ++endBoxes;
                          } else {
                              unexpected.push_back(text);
                          }
                      }
                      PostMessageA(box, WM_COMMAND, IDOK, 0);
                      for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(5);
                  }
                  Sleep(10);
              }
          })
    {
    }
    ~BoxWatcher()
    {
        running = false;
        thread.join();
    }
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;
};

// The bounds the game keeps, read on the game's thread while the window is up.
// Returns a description of the first value out of bounds, or an empty text.
std::string OutOfBounds(bool withFields)
{
    std::string fault;
    RunOnGameThread([&] {
        const auto report = [&fault](const std::string& what, long value) {
            if (fault.empty()) fault = what + " = " + std::to_string(value);
        };
        if (gameState.currentAttempt < 1 || gameState.currentAttempt > kRowCount) {
            report("currentAttempt", gameState.currentAttempt);
        }
        for (int row = 1; row <= kRowCount; ++row) {
            const std::string r = "row " + std::to_string(row) + " ";
            const std::int32_t size = gameState.fieldStyle[row].fontSize;
            if (size < 1 || size > 72) report(r + "fontSize", size);
            for (int line = 1; line <= kLineCount; ++line) {
                for (const char c : gameState.rowText[row][line]) {
                    if (c != ' ' && (c < '0' || c > '9')) report(r + "line " + std::to_string(line) + " holds char", c);
                }
            }
            if (!withFields || mainWindow == nullptr || !IsWindow(mainWindow)) continue;
            HWND field = GetDlgItem(mainWindow, kRowFieldBase + row);
            const std::int32_t top = ControlSlot(field, 1);
            const std::int32_t left = ControlSlot(field, 2);
            const std::int32_t caretLine = ControlSlot(field, 3);
            const std::int32_t caretColumn = ControlSlot(field, 4);
            if (top < 1 || top > kLineCount) report(r + "topLine", top);
            if (left < 1) report(r + "leftColumn", left);
            if (caretLine < 1 || caretLine > kLineCount) report(r + "caretLine", caretLine);
            if (caretColumn < 1 || caretColumn > 1000) report(r + "caretColumn", caretColumn);
            if (ControlSlot(field, kRowNumberSlot) != row) report(r + "fieldRow", ControlSlot(field, kRowNumberSlot));
        }
    });
    return fault;
}

bool GameOver()
{
    bool over = true;
    RunOnGameThread([&] { over = mainWindow == nullptr || !IsWindow(mainWindow) || gameState.gameOver != 0; });
    return over;
}

// One batch of random input: presses, modified presses, font keys, Num Lock, Enter.
std::vector<INPUT> RandomBatch(std::mt19937& random, const std::vector<Key>& keys, std::size_t size)
{
    std::vector<INPUT> batch;
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    while (batch.size() < size) {
        const int kind = pick(100);
        if (kind < 70) {
            const Key& key = keys[static_cast<std::size_t>(pick(static_cast<int>(keys.size())))];
            batch.push_back(KeyEvent(key, false));
            if (pick(8) == 0) batch.push_back(KeyEvent(key, false));  // a repeat
            batch.push_back(KeyEvent(key, true));
        } else if (kind < 88) {
            const Key modifiers[] = {kLeftCtrl, kRightCtrl, kLeftShift, kRightShift};
            const Key& modifier = modifiers[pick(4)];
            const Key& key = keys[static_cast<std::size_t>(pick(static_cast<int>(keys.size())))];
            batch.push_back(KeyEvent(modifier, false));
            batch.push_back(KeyEvent(key, false));
            batch.push_back(KeyEvent(key, true));
            batch.push_back(KeyEvent(modifier, true));
        } else if (kind < 96) {
            const Key& ctrl = pick(4) == 0 ? kRightCtrl : kLeftCtrl;
            const Key& key = pick(2) == 0 ? kKeypadPlus : kKeypadMinus;
            batch.push_back(KeyEvent(ctrl, false));
            for (int i = pick(6); i >= 0; --i) {
                batch.push_back(KeyEvent(key, false));
                batch.push_back(KeyEvent(key, true));
            }
            batch.push_back(KeyEvent(ctrl, true));
        } else if (kind < 98) {
            batch.push_back(KeyEvent(kNumLock, false));
            batch.push_back(KeyEvent(kNumLock, true));
        } else {
            batch.push_back(KeyEvent(kEnter, false));
            batch.push_back(KeyEvent(kEnter, true));
        }
    }
    return batch;
}

void RandomClick(std::mt19937& random)
{
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const int what = pick(3);
    if (what == 0) {
        ClickControl(kCrossOutToggleBase + pick(10), 4, 4);
    } else if (what == 1) {
        ClickControl(kHighlightToggleBase + pick(10), 4, 4);
    } else {
        ClickControl(kRowFieldBase + 1 + pick(kRowCount), 3, 3);
    }
}

unsigned StormSeed()
{
    char text[32] = {};
    if (GetEnvironmentVariableA("INDOVINA_STORM_SEED", text, sizeof text) > 0) {
        return static_cast<unsigned>(std::strtoul(text, nullptr, 10));
    }
    return static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() & 0x7FFFFFFF);
}

}  // namespace

TEST(KeyStorm, HundredThousandRandomKeysLeaveTheGameWithinItsBounds)
{
    const unsigned seed = StormSeed();
    std::printf("key storm seed %u (INDOVINA_STORM_SEED=%u repeats it)\n", seed, seed);
    SCOPED_TRACE("key storm seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const std::vector<Key> keys = StormKeys();
    constexpr long kEvents = 100000;
    constexpr std::size_t kBatch = 300;

    BoxWatcher watcher;
    long sent = 0;
    int games = 0;
    int clicks = 0;
    std::string fault;
    bool escapeClosed = false;
    const auto start = std::chrono::steady_clock::now();
    while (fault.empty() && !escapeClosed) {
        ++games;
        const int result = PlayInProcess(UnguessableSecret, [&] {
            long sinceCheck = 0;
            while (sent < kEvents) {
                std::vector<INPUT> batch = RandomBatch(random, keys, kBatch);
                SendKeyEvents(batch);
                sent += static_cast<long>(batch.size());
                sinceCheck += static_cast<long>(batch.size());
                if (random() % 8 == 0) {
                    RandomClick(random);
                    ++clicks;
                }
                if (GameOver()) return;
                if (sinceCheck >= 5000) {
                    sinceCheck = 0;
                    fault = OutOfBounds(true);
                    if (!fault.empty()) return;
                }
            }
            RunOnGameThread([&] {
                char title[64] = {};
                GetWindowTextA(GetForegroundWindow(), title, sizeof title);
                std::printf("game %d: the game saw %ld key events; row %d; foreground '%s'; focus %p\n", games,
                            KeyEventsSeen(), gameState.currentAttempt, title, static_cast<void*>(GetFocus()));
            });
            // The storm is over: the bounds hold, and Escape still ends the game.
            fault = OutOfBounds(true);
            if (!fault.empty()) return;
            INPUT escape[2] = {KeyEvent({VK_ESCAPE, 0x01, false}, false), KeyEvent({VK_ESCAPE, 0x01, false}, true)};
            SendInput(2, escape, sizeof(INPUT));
            for (int i = 0; i < 500 && mainWindow != nullptr && IsWindow(mainWindow); ++i) Sleep(10);
            escapeClosed = mainWindow == nullptr || !IsWindow(mainWindow);
            if (!escapeClosed) fault = "Escape did not close the window";
        });
        EXPECT_EQ(result, 0) << "game " << games;
        if (fault.empty()) fault = OutOfBounds(false);
        std::lock_guard<std::mutex> lock(watcher.mutex);
        if (!watcher.unexpected.empty()) break;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("key storm: %ld key events in %d games, %d clicks, %d end boxes answered, %.1f s\n", sent, games,
                clicks, watcher.endBoxes, seconds);

    std::lock_guard<std::mutex> lock(watcher.mutex);
    EXPECT_TRUE(watcher.unexpected.empty()) << "box: " << watcher.unexpected.front();
    EXPECT_EQ(fault, "");
    EXPECT_GE(sent, kEvents);
    EXPECT_TRUE(escapeClosed);
}
