// The game under abuse: random keys and clicks, the whole board redrawn again and
// again, image files that are no images. Short here; scripts/soak builds the same
// cases with INDOVINA_SOAK for its long runs, and shows the lines they print.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "game_harness.h"
#include "render/board_pictures.h"

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
    for (const char key : std::string("`-=[];'\\,./abcdefghijklmnopqrstuvwxyz0123456789") + "0123456789") {
        keys.emplace_back(1, key);
    }
    return keys;
}();

// Taken on the game's thread between two of its events, so no drawing is half done.
long GdiObjects(Game& game)
{
    long count = 0;
    return game.OnGameThread([&](Session&) { count = GdiObjectCount(); }), count;
}

}  // namespace

// Games of random keys, and clicks on the rows (row 14 more often, so that games
// end) and the toggles, each end box answered, until the storm is over.
TEST(Abuse, StormOfRandomKeysAndClicks)
{
    std::printf("soak: storm seed %u (INDOVINA_SEED=%u repeats it)\n", kSeed, kSeed);
    std::mt19937 random(kSeed);
    const auto pick = [&random](std::size_t n) { return int(random() % n); };
    Game("abcd").Do("1234{Enter}{Ctrl+}{Esc}");  // what a first game leaves for the process's life
    const long gdi = GdiObjectCount();
    const std::size_t bytes = PrivateBytes();
    long pressed = 0;
    int games = 0;
    for (; pressed < kStormKeys && !HasFailure(); ++games) {
        Game game("abcd");
        while (pressed < kStormKeys && game.Running()) {
            std::string steps;
            for (int i = 0; i < 40; ++i, ++pressed) steps += kKeys[std::size_t(pick(kKeys.size()))];
            const char* const clicks[] = {"{Row", "{Strike", "{Green"};
            const int click = pick(9), target = pick(4) == 0 ? kRowCount : 1 + pick(kRowCount);
            if (click < 3) steps += clicks[click] + std::to_string(click == 0 ? target : pick(10)) + "}";
            game.Do(steps);
            while (game.Running() && game.OpenBoxes() > 0) game.Do("{OK}");
        }
        game.Do("{Esc}");
        EXPECT_EQ(game.ExitCode(), 0);
        std::printf("soak: game %d, %ld keys\n", games + 1, pressed), std::fflush(stdout);  // the soak shows progress
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
    const std::string huge = good.substr(0, 18) + std::string("\x7F\x7F\x7F\x00\x7F\x7F\x7F\x00", 8) + good.substr(26);
    const std::pair<const char*, std::string> images[] = {{"empty", ""},
                                                          {"truncated", good.substr(0, 40)},
                                                          {"wrong magic", "XY" + good.substr(2)},
                                                          {"huge dimensions", huge},
                                                          {"a folder", "/"}};
    const auto folder = InScratchFolder();
    Game game("1234");
    game.Do("1243{Enter}5{Strike0}{Green0}{Strike0}{Green0}{+1000}");  // everything drawn once
    const long gdi = GdiObjects(game);
    const std::size_t bytes = PrivateBytes();
    const HBRUSH probe = CreateSolidBrush(0);  // the count sees one object come and go
    EXPECT_EQ(GdiObjects(game), gdi + 1);
    DeleteObject(probe);
    for (int i = 0; i < 100; ++i) {
        // Enter without a guess and each toggle redraw every field, the tick the clocks;
        // then every control is painted again from its bitmap.
        game.Do(i % 2 == 0 ? "{Enter}{+1000}" : "{Strike" + std::to_string(i / 2 % 10) + "}{+1000}");
        const UINT everything = RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW;
        game.OnGameThread([&](Session&) { RedrawWindow(game.window, nullptr, nullptr, everything); });
    }
    EXPECT_EQ(GdiObjects(game), gdi);
    for (int answer = kAnswerSurfaceBase + 2; const auto& [name, contents] : images) {
        SCOPED_TRACE(name);
        for (const char* file : {kSquareImage, kCircleImage}) {
            std::filesystem::remove_all(file);
            if (contents == "/") std::filesystem::create_directory(file);
            if (contents != "/") std::ofstream(file, std::ios::binary) << contents;
        }
        game.Do("1243{Enter}");
        const auto drawAnswer = [&](Session& s) {
            s.frontEnd.draw(answer, AnswerMarksPicture("QQCC", true, SurfaceSize(s, answer)));
        };
        for (int i = 1; i < kDrawsPerImage; ++i) game.OnGameThread(drawAnswer);
        const std::vector<Colour> box = game.Pixels(answer++).pixels;
        EXPECT_EQ(std::count(box.begin(), box.end(), kAnswerSurfaceColour), long(box.size()));
        EXPECT_EQ(GdiObjects(game), gdi);
        std::printf("soak: %-16s %4d drawings; GDI %ld -> %ld, private bytes %zu -> %zu\n", name, kDrawsPerImage, gdi,
                    GdiObjects(game), bytes, PrivateBytes());
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
    const long gdi = GdiObjects(game);
    const std::size_t bytes = PrivateBytes();
    std::mt19937 random(kSeed);
    for (int tick = 1; tick < 36000; ++tick) {
        const std::string& key = kKeys[random() % kKeys.size()];
        const bool submits = key == "{Enter}" || key == "{Down}" || key == "{KP2}";
        game.Do("{+100}" + (tick % 10 != 0 || submits ? "" : key) + (tick % 600 != 0 ? "" : "{Row3}"));
    }
    EXPECT_EQ(game.Name(kElapsedPanel), "3600.0 secondi");
    std::printf("soak: an hour of play; GDI %ld -> %ld, private bytes %zu -> %zu\n", gdi, GdiObjects(game), bytes,
                PrivateBytes());
    EXPECT_EQ(GdiObjects(game), gdi);
    EXPECT_LT(PrivateBytes(), bytes + 4 * 1024 * 1024);
}
#endif
