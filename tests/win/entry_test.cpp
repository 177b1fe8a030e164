// The built game, started as a player starts it, and every way of closing it.
#include <gtest/gtest.h>

#include <string>

#include "win_test_support.h"

namespace {

constexpr const char* kCaption = "Indovina il numero 0.01";

struct Game {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
};

// Starts indovina.exe from its folder and waits for its window to be shown.
Game StartGame(const std::string& arguments = "", WORD showState = SW_SHOWNORMAL)
{
    Game game;
    const std::string folder = ExecutableFolder();
    std::string line = "\"" + folder + "\\indovina.exe\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showState;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &game.process)) {
        return game;
    }
    for (int i = 0; i < 1000 && game.window == nullptr; ++i) {
        HWND window = FindWindowA(nullptr, kCaption);
        if (window != nullptr && IsWindowVisible(window)) game.window = window;
        else Sleep(10);
    }
    return game;
}

// Waits for the game to end and returns its exit code; kills it after 10 s.
int ExitCode(Game& game)
{
    DWORD code = 12345;
    if (WaitForSingleObject(game.process.hProcess, 10000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(game.process.hProcess, &code);
    } else {
        TerminateProcess(game.process.hProcess, 99);
    }
    CloseHandle(game.process.hThread);
    CloseHandle(game.process.hProcess);
    return static_cast<int>(code);
}

void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    for (const auto& [key, up] : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        SendInput(1, &input, sizeof input);
        Sleep(20);
    }
}

}  // namespace

TEST(Entry, EscapeCloseBoxAndAltF4EndTheGameWithExitCodeZero)
{
    for (const int way : {0, 1, 2}) {
        Game game = StartGame();
        ASSERT_NE(game.window, nullptr);
        // Keys go to the window in front: wait until the game is there and has
        // settled into its loop (its activation resets the keyboard state).
        for (int i = 0; i < 200 && GetForegroundWindow() != game.window; ++i) {
            SetForegroundWindow(game.window);
            Sleep(10);
        }
        WaitForInputIdle(game.process.hProcess, 2000);
        Sleep(100);
        if (way == 0) SendKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}});
        if (way == 1) PostMessageA(game.window, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (way == 2) SendKeys({{VK_MENU, false}, {VK_F4, false}, {VK_F4, true}, {VK_MENU, true}});
        EXPECT_EQ(ExitCode(game), 0) << "way " << way;
    }
}

TEST(Entry, CommandLineAndShowStateChangeNothing)
{
    Game plain = StartGame();
    ASSERT_NE(plain.window, nullptr);
    RECT expected{};
    GetWindowRect(plain.window, &expected);
    PostMessageA(plain.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCode(plain), 0);

    Game odd = StartGame("--new-game /x 42", SW_SHOWMINIMIZED);
    ASSERT_NE(odd.window, nullptr);
    RECT actual{};
    GetWindowRect(odd.window, &actual);
    EXPECT_FALSE(IsIconic(odd.window));
    EXPECT_TRUE(EqualRect(&expected, &actual));
    PostMessageA(odd.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCode(odd), 0);
}
