// Whole games drawn again and again: the Win32 shell must hold no more GDI objects
// after them than before them. (What keys do, however many and in whatever order,
// is the native session tests' and the fuzz targets' business.) INDOVINA_GAMES is
// a few in the test run; scripts/soak builds the same case with hundreds for its
// long run, and shows the lines it prints.
#include <gtest/gtest.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <ranges>

#include "game_harness.h"

// Each guess is followed by clicks on toggles, the font keys and a clock tick, each
// drawing pictures with the marks' images, pens, brushes and fonts; both end boxes
// are answered.
TEST(Abuse, WholeGamesDrawnAgainAndAgainHoldNoMoreGdiObjects)
{
    // The GDI objects the process holds, counted outside the code under test. Under
    // Wine, where GetGuiResources answers 0, the live entries of the process's GDI
    // handle table, which the 64-bit PEB points to at 0xF8 (GdiSharedHandleTable,
    // past its documented part): 0x10000 entries of 24 bytes, whose type byte (at 14)
    // is 0 when the entry is free.
    const auto gdiObjects = [] {
        if (const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return long(reported);
        PROCESS_BASIC_INFORMATION basic{};
        NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr);
        const auto* table = *reinterpret_cast<unsigned char**>(reinterpret_cast<char*>(basic.PebBaseAddress) + 0xF8);
        return long(std::ranges::count_if(std::views::iota(0, 0x10000), [&](int i) { return table[i * 24 + 14]; }));
    };
    Game("1234").Do("1234{Enter}{Ctrl+}{Esc}");  // what a first game leaves for the process's life
    const long gdi = gdiObjects();
    const HBRUSH probe = CreateSolidBrush(0);  // the count sees one object come and go
    EXPECT_EQ(gdiObjects(), gdi + 1);
    DeleteObject(probe);
    std::string steps;
    for (int row = 1; row < kRowCount; ++row) steps += "1243{Enter}{Strike3}{Green2}{Ctrl+}{Ctrl-}{+1000}";
    for (int game = 1; game <= INDOVINA_GAMES && !HasFailure(); ++game) {
        Game("1234").Do(steps + "1234{Enter}{OK}{OK}");
        // Unbuffered, for the soak's progress.
        std::fprintf(stderr, "soak: game %d of %d; GDI objects %ld -> %ld\n", game, INDOVINA_GAMES, gdi, gdiObjects());
    }
    EXPECT_EQ(gdiObjects(), gdi);
}
