// The editor of the attempt rows' input fields, free of any platform.
//
// A field is a drawing surface, not a system edit control: the game keeps its text as
// a list of lines (the row's text) and its view, the scroll and caret position.
// ApplyFieldKey applies one key to the lines and the view and returns the field's
// new picture as a list of drawing operations; the session keeps the view and
// plays the picture.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/picture.h"
#include "game/game_state.h"

// What a field shows of its lines, and where its caret is. All 0 until the field
// is first drawn.
struct FieldView {
    std::int32_t topLine = 0;      // first line shown
    std::int32_t leftColumn = 0;   // first column shown; 1 when not scrolled sideways
    std::int32_t caretLine = 0;    // line of the caret
    std::int32_t caretColumn = 0;  // caret column counted from leftColumn

    bool operator==(const FieldView&) const = default;
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
    Drawn,         // picture holds the whole new field; view holds the new values
    EndedEarly,    // Tab ran past the end of the line: nothing drawn, view untouched
    RuntimeError,  // message for the box, after which the window closes; nothing drawn or written
};
struct FieldEditResult {
    EditOutcome outcome = EditOutcome::Drawn;
    std::vector<DrawOp> picture;  // the whole field, in order
    std::string message;          // the box text of RuntimeError
    FieldView view;               // the new view (Drawn only)
};

// Key codes the editor knows: keyboard scan codes, negative with the left Ctrl key.
// Any other code (kTyped) only enters its character.
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
inline constexpr std::int32_t kTyped = 1000;
}  // namespace fieldKey

// What a key is applied to: the row that owns the field, the key (see fieldKey)
// and its one-character translation (or empty), the row's font size, the field's
// view and size in pixels, and the note toggles.
struct FieldKey {
    std::int32_t row = 1;
    std::int32_t key = 0;
    std::string character;
    std::int32_t fontSize = 0;
    FieldView view;
    PixelSize surface;
    NoteToggles toggles;
};

// Applies one key to a field's lines (edited in place) and gives its new picture.
// game is read for the current row's allowed characters and style, and written by
// the Insert and font-size keys; measure.cell gives the field face's cell. Never
// throws: a run-time error comes back as RuntimeError with the box text, and then
// neither the lines' later steps nor the view are written.
FieldEditResult ApplyFieldKey(GameState& game, EditorMemory& memory, TextLines& lines, const FieldKey& in,
                              const TextMeasure& measure);

// Changes line at column p (from 1) with text t: mode 0 overwrites (the line keeps its
// length), 1 inserts before p, -1 removes the character at p; a line shorter than p is
// first padded with blanks to p + length of t. Returns the changed line without its
// trailing blanks; line itself keeps them. A column before 1 names no place on a line
// and throws std::out_of_range.
std::string EditLine(std::string& line, std::int32_t p, const std::string& t, std::int32_t mode);
