#include "game/field_editor.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "base/runtime_error.h"
#include "base/text.h"

namespace {

constexpr const char* kEditFieldName = "EditField";

// Raised for the run-time errors that the standard library does not raise itself.
struct RuntimeFault {
    RuntimeErrorKind kind;
};

constexpr std::int64_t kMaxCaretColumn = 1000;
// The longest a line may grow. The caret can scroll sideways without end, typing
// pads a line with blanks up to the caret, and Delete after a line's end joins the
// next line on: unchecked, a few keys repeated (End, Page Down, a digit, Page Up,
// Delete) double a line each time, and within a couple of hundred keys every key
// copies gigabytes and the game stops answering. A guess needs 4 characters; a line
// keeps every change that leaves it within this length and refuses the others.
constexpr std::int64_t kMaxLineLength = 2000;

std::int32_t ToInt32(std::int64_t value)
{
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
        throw RuntimeFault{kOverflow};
    }
    return static_cast<std::int32_t>(value);
}

std::int64_t Quotient(std::int64_t n, std::int64_t d)
{
    if (d == 0) throw RuntimeFault{kDivisionByZero};
    return n / d;
}

// n / d to the nearest integer, a half to the even neighbour.
std::int64_t RoundedQuotient(std::int64_t n, std::int64_t d)
{
    if (d == 0) throw RuntimeFault{kDivisionByZero};
    if (d < 0) {
        n = -n;
        d = -d;
    }
    std::int64_t q = n / d;
    std::int64_t r = n % d;
    if (r < 0) {
        q -= 1;
        r += d;
    }
    if (2 * r > d || (2 * r == d && q % 2 != 0)) ++q;
    return q;
}

std::string& LineAt(TextLines& lines, std::int64_t i)
{
    if (i < 1 || i > TextLines::upperBound()) throw std::out_of_range("line outside the list");
    return lines[static_cast<int>(i)];
}

std::int64_t Length(const std::string& s) { return static_cast<std::int64_t>(s.size()); }

// The character at column c of a line; a place after its end is a blank.
char CharAt(const std::string& line, std::int64_t c)
{
    return c >= 1 && c <= Length(line) ? line[static_cast<std::size_t>(c - 1)] : ' ';
}

// A character's digit value picks its note toggle; a blank, like any non-digit, counts as 0.
std::size_t DigitValue(char c) { return c >= '0' && c <= '9' ? static_cast<std::size_t>(c - '0') : 0; }

// The caret and scroll position while one key is applied. Wider than the slots so that
// the moves themselves cannot overflow; the result is narrowed when written back.
struct Position {
    std::int64_t topLine;
    std::int64_t leftColumn;
    std::int64_t caretLine;
    std::int64_t caretColumn;
    std::int64_t visibleLines = 0;
    std::int64_t visibleColumns = 0;

    std::int64_t AbsoluteColumn() const { return leftColumn + caretColumn - 1; }
    void Right()
    {
        if (caretColumn == visibleColumns) {
            ++leftColumn;
        } else {
            ++caretColumn;
        }
    }
    void Left()
    {
        if (caretColumn == 1) {
            --leftColumn;
        } else {
            --caretColumn;
        }
    }
};

// Delete at column p of the caret's line. After the end of a line the next line is
// joined on, so that Delete at a line's end works as in a text editor; after the end
// of the last line there is nothing to join and the line is only padded.
void DeleteAt(TextLines& lines, std::int64_t caretLine, std::int64_t p)
{
    constexpr int maxLine = TextLines::upperBound();
    std::string& line = LineAt(lines, caretLine);
    if (Length(line) >= p || caretLine >= maxLine) {
        if (p - 1 <= kMaxLineLength) EditLine(line, ToInt32(p), std::string(), -1);
        return;
    }
    if (Length(line) + Length(LineAt(lines, caretLine + 1)) > kMaxLineLength) return;
    line += LineAt(lines, caretLine + 1);
    for (auto i = static_cast<int>(caretLine) + 1; i < maxLine; ++i) lines[i] = std::move(lines[i + 1]);
    lines[maxLine].clear();
}

// Tab: to the first character of the next word. False when a move leaves the line,
// in which case the key has no effect at all.
bool TabToNextWord(Position& at, const std::string& line)
{
    const auto moveRight = [&] {
        at.Right();
        return at.AbsoluteColumn() <= Length(line);
    };
    if (!moveRight()) return false;
    while (CharAt(line, at.AbsoluteColumn()) != ' ') {
        if (!moveRight()) return false;
    }
    if (!moveRight()) return false;
    while (CharAt(line, at.AbsoluteColumn()) == ' ') {
        if (!moveRight()) return false;
    }
    return true;
}

void End(Position& at, const std::string& line, std::int64_t maxLine)
{
    const std::int64_t n = Length(line);
    if (at.AbsoluteColumn() == n + 1) {
        // Already after the last character: a second End goes to the last line.
        at.caretLine = maxLine;
        at.topLine = maxLine - at.visibleLines + 1;
        at.leftColumn = 1;
        at.caretColumn = 1;
    } else {
        at.leftColumn = n - at.visibleColumns + 2;
        at.caretColumn = std::min(n + 1, at.visibleColumns);
    }
}

// Returns false when the key ends the call without drawing (a Tab that runs off the line).
bool Navigate(std::int32_t key, Position& at, TextLines& lines, std::int32_t& insertMode, GameState& game)
{
    constexpr std::int64_t maxLine = TextLines::upperBound();
    switch (key) {
    case fieldKey::kTab:
        return TabToNextWord(at, LineAt(lines, at.caretLine));
    case fieldKey::kHome:
        if (at.leftColumn == 1 && at.caretColumn == 1) {
            at.caretLine = 1;
            at.topLine = 1;
        } else {
            at.leftColumn = 1;
            at.caretColumn = 1;
        }
        break;
    case fieldKey::kUp:
        --at.caretLine;
        if (at.topLine > at.caretLine) --at.topLine;
        break;
    case fieldKey::kPageUp:
        at.topLine -= at.visibleLines;
        at.caretLine -= at.visibleLines;
        break;
    case fieldKey::kLeft:
        at.Left();
        break;
    case fieldKey::kRight:
        at.Right();
        break;
    case fieldKey::kEnd:
        End(at, LineAt(lines, at.caretLine), maxLine);
        break;
    case fieldKey::kDown:
        ++at.caretLine;
        if (at.caretLine == at.topLine + at.visibleLines && at.caretLine <= maxLine) ++at.topLine;
        break;
    case fieldKey::kPageDown:
        at.caretLine = std::min(at.caretLine + at.visibleLines, maxLine);
        at.topLine = std::min(at.topLine + at.visibleLines, maxLine - at.visibleLines + 1);
        break;
    case fieldKey::kInsert:
        insertMode = (insertMode + 1) % 2;
        game.fieldStyle[game.currentAttempt].insertMode = insertMode;
        break;
    default:
        break;
    }
    return true;
}

// One line of the field: its text, then one red mark and one green mark per character
// shown, each printed on its own so that in the fixed-pitch face every mark lands on
// the place of its character.
void DrawLine(std::vector<DrawOp>& picture, const std::string& line, const Position& at, std::int64_t y,
              Colour textColour, const NoteToggles& toggles)
{
    const auto columns = static_cast<std::size_t>(std::max<std::int64_t>(at.visibleColumns, 0));
    std::string_view seg;
    if (at.leftColumn <= Length(line)) {
        seg = std::string_view(line).substr(static_cast<std::size_t>(at.leftColumn - 1), columns);
    }
    std::string shown(seg);
    shown.resize(columns, ' ');

    const auto yPixels = static_cast<double>(y);
    picture.push_back(InkOp(textColour));
    picture.push_back(TransparentBackOp());
    picture.push_back(MoveOp(0, yPixels));
    picture.push_back(PrintOp(std::move(shown)));

    picture.push_back(MoveOp(0, yPixels));
    picture.push_back(InkOp(kCrossOutInk));
    picture.push_back(TransparentBackOp());
    for (const char c : seg) picture.push_back(PrintOp(toggles.crossedOut[DigitValue(c)] ? "/" : " "));

    picture.push_back(MoveOp(0, yPixels));
    picture.push_back(InkOp(kHighlightInk));
    picture.push_back(TransparentBackOp());
    for (const char c : seg) picture.push_back(PrintOp(toggles.highlighted[DigitValue(c)] ? std::string(1, c) : " "));
}

// Reads the row's insert mode, and takes the font size to work from: an
// activation forgets the remembered one, and the font keys step it within 1..72.
std::int32_t FontSizeForKey(GameState& game, EditorMemory& memory, std::int32_t key, std::int32_t fontSize,
                            std::int32_t fieldRow)
{
    if (key == fieldKey::kActivate) memory = EditorMemory{};
    if (memory.lastFontSize == 0) memory.lastFontSize = fontSize;
    if (fontSize == 0) fontSize = memory.lastFontSize;
    if (key == fieldKey::kFontSmaller || key == fieldKey::kFontLarger) {
        memory.lastFontSize = key == fieldKey::kFontSmaller ? std::max(memory.lastFontSize - 1, 1)
                                                            : std::min(memory.lastFontSize + 1, 72);
        fontSize = memory.lastFontSize;
        game.fieldStyle[fieldRow].fontSize = fontSize;
    }
    return fontSize;
}

// The typed character goes in at the caret when the current row allows it, the
// line does not hold it yet and the line stays within its limit.
void EnterCharacter(const GameState& game, TextLines& lines, Position& at, const std::string& character,
                    std::int32_t insertMode)
{
    // Checked in this order so that an empty character (a key without translation)
    // never looks at the caret's line, which a field not yet drawn does not have.
    const bool allowed = game.rowAllowedChars[game.currentAttempt].find(character) != std::string::npos;
    const bool printable = !character.empty() && static_cast<unsigned char>(character.front()) >= 32;
    if (allowed && printable && at.AbsoluteColumn() < kMaxLineLength &&
        Length(LineAt(lines, at.caretLine)) < kMaxLineLength &&
        LineAt(lines, at.caretLine).find(character) == std::string::npos) {
        std::string& line = LineAt(lines, at.caretLine);
        line = EditLine(line, ToInt32(at.AbsoluteColumn()), character, insertMode);
        if (at.caretColumn + 1 <= at.visibleColumns) ++at.caretColumn;
    }
}

// After the keys have moved it, the caret and the scroll stay on the field's lines.
void KeepInside(Position& at)
{
    constexpr std::int64_t maxLine = TextLines::upperBound();
    at.leftColumn = std::max<std::int64_t>(at.leftColumn, 1);
    at.topLine = std::clamp<std::int64_t>(at.topLine, 1, maxLine);
    at.caretLine = std::clamp<std::int64_t>(at.caretLine, 1, maxLine);
    at.caretColumn = std::clamp<std::int64_t>(at.caretColumn, 1, kMaxCaretColumn);
}

// The caret: the character under it in white on the colour of the row's mode, grey
// for overwrite and red for insert.
void DrawCaret(std::vector<DrawOp>& picture, TextLines& lines, const Position& at, const FontCell& cell,
               std::int32_t insertMode)
{
    picture.push_back(InkOp(kCaretInk));
    const Colour caretBack = insertMode == 0 ? kOverwriteCaret : insertMode == 1 ? kInsertCaret : kOtherModeCaret;
    picture.push_back(SolidBackOp(caretBack));
    picture.push_back(MoveOp(static_cast<double>((at.caretColumn - 1) * cell.charWidth),
                             static_cast<double>((at.caretLine - at.topLine) * cell.lineHeight)));
    picture.push_back(PrintOp(std::string(1, CharAt(LineAt(lines, at.caretLine), at.AbsoluteColumn()))));
}

FieldEditResult ApplyKeyOrThrow(GameState& game, EditorMemory& memory, TextLines& lines, const FieldKey& in,
                               const TextMeasure& measure)
{
    std::int32_t key = in.key;
    std::int32_t insertMode = game.fieldStyle[game.currentAttempt].insertMode;
    constexpr std::int64_t maxLine = TextLines::upperBound();
    const std::int32_t fieldRow = in.row;
    const FieldView& view = in.view;
    Position at{view.topLine, view.leftColumn, view.caretLine, view.caretColumn};

    std::vector<DrawOp> picture;
    picture.push_back(ClearOp(static_cast<Colour>(game.fieldStyle[fieldRow].backColour)));

    const FontSpec font{kFieldFace, FontSizeForKey(game, memory, key, in.fontSize, fieldRow), 0};
    picture.push_back(FontOp(font));
    const FontCell cell = measure.cell(font);
    at.visibleLines = RoundedQuotient(in.surface.height, cell.lineHeight);
    at.visibleColumns = Quotient(in.surface.width, cell.charWidth);

    EnterCharacter(game, lines, at, in.character, insertMode);

    bool deleteHere = key == fieldKey::kDelete;
    if (key == fieldKey::kBackspace) {
        at.Left();
        key = fieldKey::kDelete;
        // At the first column of an unscrolled line there is nothing before the caret.
        deleteHere = at.AbsoluteColumn() != 0;
    }
    if (deleteHere) DeleteAt(lines, at.caretLine, at.AbsoluteColumn());

    if (!Navigate(key, at, lines, insertMode, game)) return {EditOutcome::EndedEarly, {}, {}, {}};

    KeepInside(at);

    // One line more than fits, so a partly visible last line shows; the surface cuts it off.
    const auto textColour = static_cast<Colour>(game.fieldStyle[fieldRow].textColour);
    const std::int64_t lastShown = std::min(at.topLine + at.visibleLines, maxLine);
    for (std::int64_t l = at.topLine; l <= lastShown; ++l) {
        DrawLine(picture, LineAt(lines, l), at, (l - at.topLine) * cell.lineHeight, textColour, in.toggles);
    }

    if (key != fieldKey::kRedrawOnly) {
        DrawCaret(picture, lines, at, cell, insertMode);
    } else {
        at.leftColumn = 1;
        at.caretColumn = 1;
    }

    const FieldView written{ToInt32(at.topLine), ToInt32(at.leftColumn), ToInt32(at.caretLine),
                            ToInt32(at.caretColumn)};
    return {EditOutcome::Drawn, std::move(picture), {}, written};
}

}  // namespace

FieldEditResult ApplyFieldKey(GameState& game, EditorMemory& memory, TextLines& lines, const FieldKey& in,
                              const TextMeasure& measure)
{
    // The steps give the view only as their last act, so an error leaves it as it was.
    const auto failed = [](const RuntimeErrorKind& error) {
        return FieldEditResult{EditOutcome::RuntimeError, {}, RuntimeErrorText(error, kEditFieldName), {}};
    };
    try {
        return ApplyKeyOrThrow(game, memory, lines, in, measure);
    } catch (const RuntimeFault& fault) {
        return failed(fault.kind);
    } catch (...) {
        return {EditOutcome::RuntimeError, {}, CurrentExceptionText(kEditFieldName), {}};
    }
}

std::string EditLine(std::string& line, std::int32_t p, const std::string& t, std::int32_t mode)
{
    if (p < 1) throw std::out_of_range("column before the first");
    const auto column = static_cast<std::size_t>(p);
    const std::size_t at = column - 1;
    if (line.size() < column) line.resize(column + t.size(), ' ');
    switch (mode) {
    case 0: {
        const std::size_t n = std::min(t.size(), line.size() - at);
        line.replace(at, n, t, 0, n);
        break;
    }
    case 1:
        line.insert(at, t);
        break;
    case -1:
        line.erase(at, 1);
        break;
    default:
        break;
    }
    const std::size_t last = line.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : line.substr(0, last + 1);
}
