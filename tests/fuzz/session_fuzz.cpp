// libFuzzer target for the session: any keys (any position, character and Ctrl),
// clicks on rows, toggles, ticks and box closings, in any order, in a face whose
// cells grow with the size. Whatever the player does, the game must never meet a
// run-time error, and every line must stay within 2,000 characters of digits and
// blanks; the sanitizers watch the rest.
#include <cstdio>
#include <cstdlib>

#include "app/session.h"

namespace {
double seconds = 0;  // the clocks, which only the ticks move
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Session s;
    std::vector<std::function<void()>> open;  // the boxes' continuations
    const std::uint8_t shape = size > 0 ? data[0] : 0;
    seconds = 0;
    FrontEnd front{[](int, const Picture&) {},
        {[](const FontSpec&, const std::string& t) { return PixelSize{8 * int(t.size()), 16}; },
         [shape](const FontSpec& f) { return FontCell{1 + f.size * (8 + shape % 8) / 16, 1 + f.size * (12 + shape / 16) / 12}; }},
        [&open](const std::string&, std::function<void()> closed) { open.push_back(closed); }, [] {},
        {[] { return LocalTime{2026, 3, 5, 10, 0, int(seconds) % 60, 0}; }, [] { return seconds; }}};
    PrepareSession(s, front);
    OpenBoard(s);
    for (std::size_t i = 1; i + 1 < size; i += 2) {
        const std::uint8_t what = data[i], value = data[i + 1];
        if (what < 160) PressKey(s, {KeyPosition(what % 17), char(value), what / 17 % 2 == 1});
        if (what >= 160 && what < 200) RowClicked(s, value % 16);
        if (what >= 200 && what < 230) NoteToggled(s, (value % 2 == 0 ? kCrossOutToggleBase : kHighlightToggleBase) + value % 10, what % 2 == 0);
        if (what >= 230 && what < 245) seconds += value / 10.0, ClockTicked(s);
        if (what >= 245 && !open.empty()) {
            const auto closed = open.front();
            open.erase(open.begin()), closed();
        }
        bool linesHeld = true;
        for (const TextLines& lines : s.game.rowText.items)
            for (const std::string& line : lines.items)
                linesHeld = linesHeld && line.size() <= 2000 && line.find_first_not_of(" 0123456789") == line.npos;
        if (s.failed || !linesHeld) {
            std::fprintf(stderr, "session promise broken: %s\n", s.failed ? "a run-time error" : "a line");
            std::abort();
        }
    }
    return 0;
}
