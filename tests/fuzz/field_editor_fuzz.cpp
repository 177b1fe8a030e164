// libFuzzer target for the portable field editor: arbitrary sequences of keys,
// characters, toggles, font cells and field sizes, applied to arbitrary starting
// lines and slots. After every key the editor must have kept its promises: no
// exception escapes, a drawn field's slots lie within their clamps, the picture is
// well formed, and only the allowed characters enter a line.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "game/field_editor.h"
#include "game/game_state.h"

namespace {

// Reads the fuzzer's bytes one value at a time; zeros once they run out.
struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;

    bool Empty() const { return at >= size; }
    std::uint8_t Byte() { return at < size ? data[at++] : 0; }
    std::int32_t Int16() { return static_cast<std::int16_t>(Byte() | (Byte() << 8)); }
};

[[noreturn]] void Fail(const char* what, long value)
{
    std::fprintf(stderr, "field editor invariant broken: %s (%ld)\n", what, value);
    std::abort();
}

void Check(bool holds, const char* what, long value = 0)
{
    if (!holds) Fail(what, value);
}

// The keys the game hands the editor, and now and then any value at all.
std::int32_t KeyFrom(Bytes& in)
{
    static constexpr std::int32_t kKeys[] = {
        fieldKey::kActivate, fieldKey::kRedrawOnly, fieldKey::kBackspace, fieldKey::kTab,
        fieldKey::kHome,     fieldKey::kUp,         fieldKey::kPageUp,    fieldKey::kLeft,
        fieldKey::kRight,    fieldKey::kEnd,        fieldKey::kDown,      fieldKey::kPageDown,
        fieldKey::kInsert,   fieldKey::kDelete,     fieldKey::kFontSmaller, fieldKey::kFontLarger,
        2, 11, 30, -30, 28};
    const std::uint8_t pick = in.Byte();
    if (pick < 200) return kKeys[pick % std::size(kKeys)];
    return in.Int16();
}

void CheckPicture(const FieldEditResult& result, const FieldSlots& slots, std::int32_t key)
{
    Check(!result.picture.empty() && result.picture.front().kind == DrawOpKind::Clear, "picture starts with Clear");
    int fonts = 0;
    for (const DrawOp& op : result.picture) {
        if (op.kind == DrawOpKind::SetFont) {
            ++fonts;
            Check(op.size >= 1 && op.size <= 72, "font size", op.size);
        }
        if (op.kind == DrawOpKind::MoveTo) Check(op.x >= 0, "MoveTo left of the field", static_cast<long>(op.x));
    }
    Check(fonts == 1, "one font per picture", fonts);
    Check(slots.topLine >= 1 && slots.topLine <= kLineCount, "topLine", slots.topLine);
    Check(slots.caretLine >= 1 && slots.caretLine <= kLineCount, "caretLine", slots.caretLine);
    Check(slots.leftColumn >= 1, "leftColumn", slots.leftColumn);
    Check(slots.caretColumn >= 1 && slots.caretColumn <= 1000, "caretColumn", slots.caretColumn);
    if (key == fieldKey::kRedrawOnly) Check(slots.leftColumn == 1 && slots.caretColumn == 1, "redraw resets columns");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bytes in{data, size};
    GameState game{};
    game.currentAttempt = 1 + in.Byte() % kRowCount;
    for (int row = 1; row <= kRowCount; ++row) {
        game.rowAllowedChars[row] = "0123456789";
        game.fieldStyle[row].fontSize = 24;
        game.fieldStyle[row].insertMode = 0;
    }
    editorMemory = EditorMemory{};

    // A starting text: a few lines of digits and blanks, some long.
    TextLines lines;
    const int startLines = in.Byte() % 4;
    for (int i = 0; i < startLines; ++i) {
        const int line = 1 + in.Byte() % kLineCount;
        const int length = in.Byte() % 40;
        for (int c = 0; c < length; ++c) lines[line] += static_cast<char>(in.Byte() % 3 == 0 ? ' ' : '0' + in.Byte() % 10);
    }
    // A field as the game builds it: drawn once before any key, so its slots are set.
    FieldSlots slots;
    slots.fieldRow = game.currentAttempt;
    const std::int32_t width = 1 + in.Byte() % 200;
    const std::int32_t height = 1 + in.Byte() % 200;
    // Cell sizes as a font of the given size measures, never zero (every font has a cell).
    const std::uint8_t cellShape = in.Byte();
    const FontMeasure measure = [cellShape](std::int32_t points) {
        const std::int32_t w = 1 + points * (8 + cellShape % 8) / 16;
        const std::int32_t h = 1 + points * (12 + cellShape / 16) / 12;
        return FontCell{w, h};
    };
    NoteToggles toggles;
    {
        std::int32_t key = fieldKey::kRedrawOnly;
        const FieldEditResult first = EditFieldCore(game, key, "", lines, 1, 400 + slots.fieldRow,
                                                    game.fieldStyle[slots.fieldRow].fontSize, slots, width, height,
                                                    toggles, measure);
        Check(first.outcome == EditOutcome::Drawn, "first drawing", static_cast<long>(first.outcome));
    }

    while (!in.Empty()) {
        const std::uint8_t toggle = in.Byte();
        if (toggle < 20) {
            auto& group = toggle < 10 ? toggles.crossedOut : toggles.highlighted;
            group[toggle % 10] = !group[toggle % 10];
        }
        std::int32_t key = KeyFrom(in);
        const std::int32_t keyBefore = key;
        const std::uint8_t c = in.Byte();
        const std::string character = c % 4 == 0 ? std::string() : std::string(1, static_cast<char>(c));
        const int row = game.currentAttempt;
        const FieldSlots before = slots;
        const FieldEditResult result =
            EditFieldCore(game, key, character, lines, 1, 400 + row, game.fieldStyle[row].fontSize, slots, width,
                          height, toggles, measure);
        switch (result.outcome) {
        case EditOutcome::Drawn: CheckPicture(result, slots, key); break;
        case EditOutcome::EndedEarly:
            Check(keyBefore == fieldKey::kTab, "only Tab ends early", keyBefore);
            Check(slots == before, "slots kept when ending early");
            Check(result.picture.empty(), "nothing drawn when ending early");
            break;
        case EditOutcome::BadFieldRow: Fail("bad field row for a field the game built", slots.fieldRow);
        case EditOutcome::RuntimeError:
            std::fprintf(stderr, "%s\n", result.message.c_str());
            Fail("run-time error", keyBefore);
        }
        Check(keyBefore != fieldKey::kBackspace || key == fieldKey::kDelete, "Backspace turns into Delete", key);
        for (int r = 1; r <= kRowCount; ++r) {
            Check(game.fieldStyle[r].fontSize >= 1 && game.fieldStyle[r].fontSize <= 72, "row font size",
                  game.fieldStyle[r].fontSize);
            Check(game.fieldStyle[r].insertMode == 0 || game.fieldStyle[r].insertMode == 1, "insert mode",
                  game.fieldStyle[r].insertMode);
        }
        for (int l = 1; l <= kLineCount; ++l) {
            for (const char ch : lines[l]) Check(ch == ' ' || (ch >= '0' && ch <= '9'), "character in a line", ch);
            // Starting lines are short: no key may take a line past 2000 characters.
            Check(lines[l].size() <= 2000, "line length", static_cast<long>(lines[l].size()));
        }
    }

    // EditLine and LoadRow on their own: arbitrary columns, texts and modes.
    std::string line(in.size % 16, '7');
    const std::int32_t column = static_cast<std::int32_t>(size % 2000) - 3;
    try {
        const std::string trimmed = EditLine(line, column, std::string(size % 5, '1'), static_cast<std::int32_t>(size % 5) - 2);
        Check(column >= 1, "EditLine accepts only columns from 1", column);
        Check(trimmed.empty() || trimmed.back() != ' ', "EditLine trims its result");
        Check(line.compare(0, trimmed.size(), trimmed) == 0, "result is the line's start");
    } catch (const std::out_of_range&) {
        Check(column < 1, "EditLine throws only for columns before 1", column);
    }
    OneBased<TextLines, kRowCount> table;
    TextLines target;
    const std::int32_t row = static_cast<std::int32_t>(size % 20) - 3;
    const std::string error = LoadRow(target, table, row);
    Check(error.empty() == (row >= 1 && row <= kRowCount), "LoadRow fails only outside the rows", row);
    return 0;
}
