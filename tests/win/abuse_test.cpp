// The game under abuse: random keys and clicks, the whole board redrawn again and
// again, image files that are no images. Short here; scripts/soak builds the same
// cases with INDOVINA_SOAK for its long runs, and shows the lines they print.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "game/game_state.h"
#include "game_harness.h"
#include "input/shell_win.h"
#include "input/turn_flow.h"

namespace {

#ifdef INDOVINA_SOAK
constexpr long kStormKeys = 100000;
constexpr int kDrawsPerImage = 1000;
#else
constexpr long kStormKeys = 2000;
constexpr int kDrawsPerImage = 1;
#endif

const char* const seedText = std::getenv("INDOVINA_SEED");
const unsigned kSeed = seedText != nullptr ? unsigned(std::strtoul(seedText, nullptr, 10)) : 20260305u;

// Each key the game knows by name but those that close it or open the menu, each
// key of the main keyboard's characters, and the digits twice, so that guesses are
// made.
const std::vector<std::string> kKeys = [] {
    std::vector<std::string> keys{"{Enter}", "{Down}", "{KP2}",  "{Ins}",  "{BS}",  "{Del}",   "{Left}",  "{Right}",
                                  "{Home}",  "{End}",  "{PgUp}", "{PgDn}", "{Tab}", "{Space}", "{Ctrl+}", "{Ctrl-}"};
    for (const char key : std::string("`-=[];'\\,./abcdefghijklmnopqrstuvwxyz") + "0123456789" + "0123456789") {
        keys.emplace_back(1, key);
    }
    return keys;
}();

// Keys and clicks on the rows and the toggles until the game ends or the storm is
// over, the end boxes answered; the current row, and lines of at most 2000
// characters, are what the game keeps whatever it is given.
void Storm(Game& game, std::mt19937& random, long& pressed)
{
    const auto pick = [&random](std::size_t n) { return int(random() % n); };
    while (pressed < kStormKeys && game.Running()) {
        std::string steps;
        for (int i = 0; i < 40; ++i, ++pressed) steps += kKeys[std::size_t(pick(kKeys.size()))];
        // A click now and then: on a row, row 14 more often, so that games end.
        const char* const clicks[] = {"{Row", "{Strike", "{Green"};
        const int click = pick(9), target = pick(4) == 0 ? kRowCount : 1 + pick(kRowCount);
        if (click < 3) steps += clicks[click] + std::to_string(click == 0 ? target : pick(10)) + "}";
        game.Do(steps);
        for (HWND box; game.Running() && game.OpenBoxes() > 0; game.CloseBox(box)) {
            EXPECT_EQ(Game::BoxText(box = game.WaitForBox()), "Fine. Il numero era abcd !");
        }
        std::string fault;
        game.OnGameThread([&] {
            if (gameState.currentAttempt < 1 || gameState.currentAttempt > kRowCount) fault = "the current row";
            for (int row = 1; row <= kRowCount; ++row) {
                for (const std::string& line : gameState.rowText[row].items)
                    fault = line.size() > 2000 ? "a line" : fault;
            }
        });
        ASSERT_EQ(fault, "") << "after " << pressed << " keys";
    }
}

}  // namespace

TEST(Abuse, StormOfRandomKeysAndClicks)
{
    std::printf("soak: storm seed %u (INDOVINA_SEED=%u repeats it)\n", kSeed, kSeed);
    std::mt19937 random(kSeed);
    Game("abcd").Do("1234{Enter}{Ctrl+}{Esc}");  // what a first game leaves for the process's life
    const long gdi = GdiObjectCount();
    const std::size_t bytes = PrivateBytes();
    long pressed = 0;
    int games = 0;
    for (const DWORD start = GetTickCount(); pressed < kStormKeys && !HasFatalFailure(); ++games) {
        Game game("abcd");
        Storm(game, random, pressed);
        game.Do("{Esc}");
        EXPECT_EQ(game.ExitCode(), 0);
        std::printf("soak: game %d, %ld keys, %lu s\n", games + 1, pressed, (GetTickCount() - start) / 1000);
        std::fflush(stdout);  // the soak run shows its progress
    }
    std::printf("soak: storm of %ld keys in %d games; GDI %ld -> %ld, private bytes %zu -> %zu\n", pressed, games, gdi,
                GdiObjectCount(), bytes, PrivateBytes());
    EXPECT_EQ(GdiObjectCount(), gdi);
}

// A hundred redraws of the whole board, then image files in place of the marks that
// are no images (in an empty folder, the current directory, where the game looks
// first), each drawn once here and a thousand times in the soak run.
TEST(Abuse, RedrawsAndImageFilesThatAreNoImagesHoldNoMoreGdiObjects)
{
    std::ifstream in(ExecutableFolder() + "\\" + kSquareImage, std::ios::binary);
    const std::string good(std::istreambuf_iterator<char>(in), {});
    std::string huge = good;
    huge.replace(18, 8, "\x7F\x7F\x7F\x00\x7F\x7F\x7F\x00", 8);  // width and height
    const std::pair<const char*, std::string> images[] = {{"empty", ""},
                                                          {"truncated", good.substr(0, 40)},
                                                          {"wrong magic", "XY" + good.substr(2)},
                                                          {"huge dimensions", huge},
                                                          {"a folder", "/"}};
    const auto folder = InScratchFolder();
    Game game("1234");
    game.Do("1243{Enter}5{Strike0}{Green0}{Strike0}{Green0}{+1000}");  // everything drawn once
    const long gdi = game.GdiObjects();
    const std::size_t bytes = PrivateBytes();
    HBRUSH probe = CreateSolidBrush(0);  // the count sees one object come and go
    EXPECT_EQ(game.GdiObjects(), gdi + 1);
    DeleteObject(probe);
    for (int i = 0; i < 100; ++i) {
        // Enter without a guess and each toggle redraw every field, the tick the clocks;
        // then every control is painted again from its bitmap.
        game.Do(i % 2 == 0 ? "{Enter}{+1000}" : "{Strike" + std::to_string(i / 2 % 10) + "}{+1000}");
        const UINT everything = RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW;
        game.OnGameThread([&] { RedrawWindow(game.window, nullptr, nullptr, everything); });
    }
    EXPECT_EQ(game.GdiObjects(), gdi);
    for (int row = 2; const auto& [name, contents] : images) {
        SCOPED_TRACE(name);
        for (const char* file : {kSquareImage, kCircleImage}) {
            std::filesystem::remove_all(file);
            if (contents == "/") std::filesystem::create_directory(file);
            if (contents != "/") std::ofstream(file, std::ios::binary) << contents;
        }
        game.Do("1243{Enter}");
        for (int i = 1; i < kDrawsPerImage; ++i) game.OnGameThread([&] { DrawAnswer(shell.board, row, "QQCC", true); });
        EXPECT_EQ(game.Name(kAnswerSurfaceBase + row), "2 quadrati, 2 cerchi");
        const std::vector<Colour> box = game.Pixels(kAnswerSurfaceBase + row++).pixels;
        EXPECT_EQ(std::count(box.begin(), box.end(), kAnswerSurfaceColour), long(box.size()));
        EXPECT_EQ(game.OpenBoxes(), 0);
        EXPECT_EQ(game.GdiObjects(), gdi);
        std::printf("soak: %-16s %4d drawings; GDI %ld -> %ld, private bytes %zu -> %zu\n", name, kDrawsPerImage, gdi,
                    game.GdiObjects(), bytes, PrivateBytes());
    }
    EXPECT_LT(PrivateBytes(), bytes + 4 * 1024 * 1024);
}

#ifdef INDOVINA_SOAK
// An hour of ticks with a player's keys between them, none of which submits, and a
// click on a row each minute.
TEST(Abuse, AnHourOfPlay)
{
    Game game("abcd");
    // Each font size of the row made once first: the font book keeps them.
    for (int i = 0; i < 48 + 71; ++i) game.Do(i < 48 ? "{Ctrl+}" : "{Ctrl-}");
    game.Do("{+100}");
    const long gdi = game.GdiObjects();
    const std::size_t bytes = PrivateBytes();
    std::mt19937 random(kSeed);
    for (int tick = 1; tick < 36000; ++tick) {
        const std::string& key = kKeys[random() % kKeys.size()];
        const bool submits = key == "{Enter}" || key == "{Down}" || key == "{KP2}";
        game.Do("{+100}" + (tick % 10 != 0 || submits ? "" : key) + (tick % 600 != 0 ? "" : "{Row3}"));
    }
    EXPECT_EQ(game.Name(kElapsedPanel), "3600.0 secondi");
    std::printf("soak: an hour of play; GDI %ld -> %ld, private bytes %zu -> %zu\n", gdi, game.GdiObjects(), bytes,
                PrivateBytes());
    EXPECT_EQ(game.GdiObjects(), gdi);
    EXPECT_LT(PrivateBytes(), bytes + 4 * 1024 * 1024);
}
#endif
