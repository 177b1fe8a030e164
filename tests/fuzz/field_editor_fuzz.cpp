// libFuzzer target for the portable field editor: arbitrary sequences of keys,
// characters, toggles, font cells and field sizes, applied to arbitrary starting
// lines. After every key the editor must have kept its promises: no run-time error
// for a field the game built, only Tab ending early and drawing nothing, a drawn
// field's view within its clamps and its picture well formed, and only the
// allowed characters in lines no longer than 2,000 characters.
#include <cstdio>
#include <cstdlib>

#include "game/field_editor.h"

namespace {

// The fuzzer's bytes one at a time; zeros once they run out.
struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    std::uint8_t Byte() { return at < size ? data[at++] : 0; }
};

void Check(bool holds, const char* what, long value = 0)
{
    if (holds) return;
    std::fprintf(stderr, "field editor promise broken: %s (%ld)\n", what, value);
    std::abort();
}

// The keys the game hands the editor (and now and then any value at all).
using namespace fieldKey;
constexpr std::int32_t kKeys[] = {kActivate, kRedrawOnly, kBackspace, kTab, kHome, kUp, kPageUp, kLeft, kRight, kEnd,
                                  kDown, kPageDown, kInsert, kDelete, kFontSmaller, kFontLarger, 2, 11, 30, -30, 28};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bytes in{data, size};
    std::uint32_t random = 0;
    GameState game = InitGame(random, {});
    game.currentAttempt = 1 + in.Byte() % kRowCount;
    TextLines lines;  // a few lines of digits and blanks
    for (int i = in.Byte() % 4; i > 0; --i) {
        std::string& line = lines[1 + in.Byte() % kLineCount];
        for (int c = in.Byte() % 40; c > 0; --c) {
            line += static_cast<char>(in.Byte() % 3 == 0 ? ' ' : '0' + in.Byte() % 10);
        }
    }
    // The current row's field, drawn once before any key as the game does it, in a
    // face whose cells grow with the size and are never empty.
    const PixelSize surface{1 + in.Byte() % 200, 1 + in.Byte() % 200};
    const std::uint8_t shape = in.Byte();
    const TextMeasure measure{{}, [shape](const FontSpec& f) {
        return FontCell{1 + f.size * (8 + shape % 8) / 16, 1 + f.size * (12 + shape / 16) / 12};
    }};
    EditorMemory memory;
    FieldKey key{game.currentAttempt, kRedrawOnly, "", 0, {}, surface, {}};
    for (bool first = true; first || in.at < in.size; first = false) {
        if (!first) {
            const std::uint8_t toggle = in.Byte();
            auto& group = toggle < 10 ? key.toggles.crossedOut : key.toggles.highlighted;
            group[toggle % 10] = toggle < 20 ? !group[toggle % 10] : group[toggle % 10];
            const std::uint8_t pick = in.Byte();
            const auto anyValue = [&in] { return static_cast<std::int16_t>(in.Byte() | (in.Byte() << 8)); };
            key.key = pick < 200 ? kKeys[pick % std::size(kKeys)] : anyValue();
            const std::uint8_t c = in.Byte();
            key.character = c % 4 == 0 ? std::string() : std::string(1, static_cast<char>(c));
        }
        key.fontSize = game.fieldStyle[game.currentAttempt].fontSize;
        const FieldEditResult result = ApplyFieldKey(game, memory, lines, key, measure);
        const bool drawn = result.outcome == EditOutcome::Drawn, tab = key.key == kTab;
        Check(drawn || (result.outcome == EditOutcome::EndedEarly && tab), result.message.c_str(), key.key);
        Check(drawn != result.picture.empty(), "a drawn field has a picture, any other none");
        const FieldView& s = result.view;
        Check(!drawn || (s.topLine >= 1 && s.topLine <= kLineCount && s.caretLine >= 1 && s.caretLine <= kLineCount &&
                         s.leftColumn >= 1 && s.caretColumn >= 1 && s.caretColumn <= 1000), "view", s.caretColumn);
        Check(key.key != kRedrawOnly || (s.leftColumn == 1 && s.caretColumn == 1), "a redraw resets columns");
        Check(!drawn || key.key != kBackspace || result.keyAfter == kDelete, "Backspace to Delete");
        // The whole field: cleared first, then in one font of 1 to 72 points.
        Check(!drawn || (result.picture[0].kind == DrawOpKind::Clear && result.picture[1].kind == DrawOpKind::SetFont &&
                         result.picture[1].size >= 1 && result.picture[1].size <= 72), "the picture's start");
        key.view = drawn ? s : key.view;
        for (const std::string& line : lines.items) {
            Check(line.size() <= 2000 && line.find_first_not_of(" 0123456789") == line.npos, "a line",
                  static_cast<long>(line.size()));
        }
        for (const FieldStyle& style : game.fieldStyle.items) {
            const bool insertOrOverwrite = style.insertMode == 0 || style.insertMode == 1;
            Check(style.fontSize >= 1 && style.fontSize <= 72 && insertOrOverwrite, "a row's style", style.fontSize);
        }
    }
    return 0;
}
