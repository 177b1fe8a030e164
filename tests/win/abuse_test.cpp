// The game drawn again and again: the Win32 shell must hold no more GDI objects
// after whole games than before them. (What keys do, however many and in whatever
// order, is the native session tests' and the fuzz targets' business.) Four games
// here; scripts/soak builds the same case with INDOVINA_SOAK for its long run, and
// shows the lines it prints.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "game_harness.h"

#ifdef INDOVINA_SOAK
constexpr int kGames = 300;
#else
constexpr int kGames = 4;
#endif

// Each guess is followed by clicks on toggles, the font keys, a clock tick and the
// whole board painted again; both end boxes are answered. Each game starts from a
// folder whose q.bmp is no image, of another kind each time (that it draws nothing
// the shared tables see), and the circles come from the program's folder.
TEST(Abuse, WholeGamesPaintedAgainAndAgainHoldNoMoreGdiObjects)
{
    std::ifstream in(ExecutableFolder() + "\\" + kSquareImage, std::ios::binary);
    const std::string good(std::istreambuf_iterator<char>(in), {});
    const std::string huge = good.substr(0, 18) + std::string("\x7F\x7F\x7F\x00\x7F\x7F\x7F\x00", 8) + good.substr(26);
    const std::string noImages[] = {"", good.substr(0, 40), "XY" + good.substr(2), huge};  // the last: huge sizes
    const auto folder = InScratchFolder();
    Game("1234").Do("1234{Enter}{Ctrl+}{Esc}");  // what a first game leaves for the process's life
    const long gdi = GdiObjectCount();
    const HBRUSH probe = CreateSolidBrush(0);  // the count sees one object come and go
    EXPECT_EQ(GdiObjectCount(), gdi + 1);
    DeleteObject(probe);
    for (int games = 1; games <= kGames && !HasFailure(); ++games) {
        std::ofstream(kSquareImage, std::ios::binary) << noImages[games % std::size(noImages)];
        Game game("1234");
        for (int row = 1; row < kRowCount; ++row) {
            game.Do("1243{Enter}{Strike" + std::to_string(row % 10) + "}{Green2}{Ctrl+}{Ctrl-}{+1000}");
            const UINT everything = RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW;
            game.OnGameThread([&](Session&) { RedrawWindow(game.window, nullptr, nullptr, everything); });
        }
        game.Do("1234{Enter}{OK}{OK}");
        EXPECT_EQ(game.ExitCode(), 0);
        std::printf("soak: game %d of %d; GDI objects %ld -> %ld\n", games, kGames, gdi, GdiObjectCount());
        std::fflush(stdout);  // the soak shows progress
    }
    EXPECT_EQ(GdiObjectCount(), gdi);
}
