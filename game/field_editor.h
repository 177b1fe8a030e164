// The editor of the attempt rows' input fields, free of any platform.
//
// A field is a drawing surface, not a system edit control: the game keeps its text as
// a list of lines and its scroll and caret position in user slots of the field.
// EditFieldCore applies one key to the lines and slots and returns the field's new
// picture as a list of drawing operations. A shell reads the slots and the toggle
// states, calls the core, plays the picture onto the field's surface and writes the
// slots back; it decides nothing itself.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/picture.h"
#include "game/game_state.h"

// The editor's part of a field control's user slots: 1..4 and 8.
struct FieldSlots {
    std::int32_t topLine = 0;      // first line shown
    std::int32_t leftColumn = 0;   // first column shown; 1 when not scrolled sideways
    std::int32_t caretLine = 0;    // line of the caret
    std::int32_t caretColumn = 0;  // caret column counted from leftColumn
    std::int32_t fieldRow = 0;     // the row that owns the field; only read

    bool operator==(const FieldSlots&) const = default;
};

// Remembered across calls and shared by all fields; each activation (key 0) clears
// it and takes it afresh, so the font keys work from the current row's size.
struct EditorMemory {
    std::int32_t lastFontSize = 0;
};

// Pressed states of the note toggles, indexed by digit: crossedOut[d] is control
// 601 + d, highlighted[d] is control 701 + d.
struct NoteToggles {
    std::array<bool, 10> crossedOut{};
    std::array<bool, 10> highlighted{};
};

enum class EditOutcome {
    Drawn,         // picture holds the whole new field; slots hold the new values
    EndedEarly,    // Tab ran past the end of the line: nothing drawn, slots untouched
    BadFieldRow,   // the slots name no row: message for the box, nothing drawn or written
    RuntimeError,  // message for the box, after which the window closes; nothing drawn or written
};
struct FieldEditResult {
    EditOutcome outcome = EditOutcome::Drawn;
    std::vector<DrawOp> picture;  // the whole field, in order
    std::string message;          // the box text of BadFieldRow and RuntimeError
    FieldSlots slots;             // the slots to write back (Drawn only)
    std::int32_t keyAfter = 0;    // the key as applied: Backspace ends as kDelete
};

// Key codes the editor knows: keyboard scan codes, negative with the left Ctrl key.
namespace fieldKey {
inline constexpr std::int32_t kActivate = 0;     // forget the remembered values, draw with caret
inline constexpr std::int32_t kRedrawOnly = -1;  // draw without caret, columns back to 1
inline constexpr std::int32_t kBackspace = 14;
inline constexpr std::int32_t kTab = 15;
inline constexpr std::int32_t kHome = 71;
inline constexpr std::int32_t kUp = 72;
inline constexpr std::int32_t kPageUp = 73;
inline constexpr std::int32_t kLeft = 75;
inline constexpr std::int32_t kRight = 77;
inline constexpr std::int32_t kEnd = 79;
inline constexpr std::int32_t kDown = 80;
inline constexpr std::int32_t kPageDown = 81;
inline constexpr std::int32_t kInsert = 82;
inline constexpr std::int32_t kDelete = 83;
inline constexpr std::int32_t kFontSmaller = -74;  // Ctrl + keypad minus
inline constexpr std::int32_t kFontLarger = -78;   // Ctrl + keypad plus
}  // namespace fieldKey

// What a key is applied to: the key (a scan code, see fieldKey) and its
// one-character translation (or empty), the row's font size, the field's slots and
// size in pixels, and the note toggles.
struct FieldKey {
    std::int32_t key = 0;
    std::string character;
    std::int32_t fontSize = 0;
    FieldSlots slots;
    PixelSize surface;
    NoteToggles toggles;
};

// Applies one key to a field's lines (edited in place) and gives its new picture.
// game is read for the current row's allowed characters and style, and written by
// the Insert and font-size keys; measure.cell gives the field face's cell. Never
// throws: a run-time error comes back as RuntimeError with the box text, and then
// neither the lines' later steps nor the slots are written.
FieldEditResult EditFieldCore(GameState& game, EditorMemory& memory, TextLines& lines, const FieldKey& in,
                              const TextMeasure& measure);

// Changes line at column p (from 1) with text t: mode 0 overwrites (the line keeps its
// length), 1 inserts before p, -1 removes the character at p; a line shorter than p is
// first padded with blanks to p + length of t. Returns the changed line without its
// trailing blanks; line itself keeps them. A column before 1 names no place on a line
// and throws std::out_of_range.
std::string EditLine(std::string& line, std::int32_t p, const std::string& t, std::int32_t mode);

// Copies every line of one row of the table into target. Returns an empty text, or,
// for a row outside the table, the text of the run-time error box with target untouched.
std::string LoadRow(TextLines& target, const OneBased<TextLines, kRowCount>& table,
                    std::int32_t row);
