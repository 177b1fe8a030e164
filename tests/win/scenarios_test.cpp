// The shared tables (tests/scenarios/games.txt) played against the Win32 game, with
// the checks only Windows can make (Game::Check); then the keys no table can name,
// and indovina.exe itself started as a player starts it.
#include <gtest/gtest.h>
#include <process.h>

#include "game_harness.h"

class Scenarios : public testing::TestWithParam<std::string> {};
TEST_P(Scenarios, Play)
{
    PlayScenario(GetParam(), "windows", [](auto... secretStart) { return std::make_unique<Game>(secretStart...); });
}
INSTANTIATE_TEST_SUITE_P(Shared, Scenarios, testing::ValuesIn(ScenarioNames()),
                         [](const testing::TestParamInfo<std::string>& scenario) { return scenario.param; });

// The right Ctrl is no font key, only the left one is; AltGr (the left Ctrl with
// the right Alt) with a digit types nothing, as the layout gives that key no
// character with AltGr. Either would change the empty field's picture (its
// caret is as big as its font).
TEST(Keys, TheRightCtrlIsNoFontKeyAndAltGrWithADigitTypesNothing)
{
    Game game("1234");
    const Bitmap before = game.Pixels(kRowFieldBase + 1);
    std::vector<INPUT> keys;
    AddChord(keys, {VK_CONTROL | kExtended, VK_ADD}), AddChord(keys, {VK_CONTROL, VK_MENU | kExtended, '2'});
    game.Send(keys);
    EXPECT_TRUE(game.Pixels(kRowFieldBase + 1).pixels == before.pixels) << "the field changed";
}

// indovina.exe from the current directory, as a double click in Explorer starts it
// from its folder: the build's folder here, the unzipped package's when
// package_check.cmake runs this case alone. Its window shows; the close box ends it.
TEST(Started, FromItsFolderTheGameShowsItsWindowAndEndsWhenClosed)
{
    const auto game = reinterpret_cast<HANDLE>(_spawnl(_P_NOWAIT, ".\\indovina.exe", "indovina.exe", nullptr));
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(window = FindWindowA(nullptr, kCaption)); }, "its window", 20000));
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 99;
    EXPECT_TRUE(WaitForSingleObject(game, 10000) == WAIT_OBJECT_0 && GetExitCodeProcess(game, &code) && code == 0)
        << "the game did not end, or ended with " << code;
    TerminateProcess(game, 99);  // when it did not end
}
