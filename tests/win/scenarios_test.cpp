// The shared tables (tests/scenarios/games.txt) played against the Win32 game, with
// the checks only Windows can make (Game::Check); then the keys no table can name.
#include <gtest/gtest.h>

#include "game_harness.h"

class Scenarios : public testing::TestWithParam<std::string> {};
TEST_P(Scenarios, Play)
{
    PlayScenario(GetParam(), "windows", [](const std::string& secret, const std::string& start) {
        return std::make_unique<Game>(secret, start);
    });
}
INSTANTIATE_TEST_SUITE_P(Shared, Scenarios, testing::ValuesIn(ScenarioNames()),
                         [](const testing::TestParamInfo<std::string>& scenario) { return scenario.param; });

// The right Ctrl is no font key, only the left one is; AltGr (the left Ctrl with
// the right Alt) with a digit types nothing, as the layout gives that key no
// character with AltGr.
TEST(Keys, TheRightCtrlIsNoFontKeyAndAltGrWithADigitTypesNothing)
{
    Game game("1234");
    game.SendKeys({Game::Key(VK_CONTROL, false, true), Game::Key(VK_ADD, false), Game::Key(VK_ADD, true),
                   Game::Key(VK_CONTROL, true, true)});
    game.SendKeys({Game::Key(VK_CONTROL, false), Game::Key(VK_MENU, false, true), Game::Key('2', false),
                   Game::Key('2', true), Game::Key(VK_MENU, true, true), Game::Key(VK_CONTROL, true)});
    int font = 0;
    game.OnGameThread([&](Session& s) { font = s.game.fieldStyle[1].fontSize; });
    EXPECT_EQ(font, 24);
    EXPECT_EQ(game.Name(kRowFieldBase + 1), "Tentativo 01: vuoto");
}
