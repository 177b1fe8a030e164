#include "render/board_layout.h"

namespace {

constexpr int kFirstRowY = 75;
constexpr int kToggleSize = 20;
constexpr int kToggleStep = 22;
constexpr int kToggleY = 46;

// The three information panels along the top.
constexpr ControlPlace kInfoPanelPlaces[] = {
    {kDigitPanel, 5, 0, 180, 40}, {kClockPanel, 186, 0, 130, 40}, {kElapsedPanel, 317, 0, 136, 40}};

// The toggle of a digit (0..9) in the group whose first id is base (601 or 701).
ControlPlace TogglePlace(int base, int digit)
{
    const int left = base == kCrossOutToggleBase ? 5 : 235;
    return {base + digit, left + kToggleStep * digit, kToggleY, kToggleSize, kToggleSize};
}

}  // namespace

BoardRows LayOutRows(const GameState& game, const TextMeasure& measure)
{
    BoardRows board;
    int y = kFirstRowY;
    for (int row = 1; row <= kRowCount; ++row) {
        const FieldStyle& style = game.fieldStyle[row];
        const FontCell cell = measure.cell({kFieldFace, style.fontSize, 0});
        const int fieldWidth = style.columns * cell.charWidth;
        const int shownLines = style.lines < 0 ? 1 : style.lines;
        RowPlaces& places = board.rows[row];
        places.field = {kRowFieldBase + row, 129, y, fieldWidth, shownLines * cell.lineHeight};
        places.label = {kRowLabelBase + row, 5, y, 120, cell.lineHeight};
        places.answer = {kAnswerSurfaceBase + row, 133 + fieldWidth, y, 4 * cell.lineHeight, cell.lineHeight};
        y += shownLines * cell.lineHeight + 1;
    }
    board.help = {kHelpPanel, 5, y, 820, 65};
    return board;
}

std::vector<BoardControl> BoardControls(const BoardRows& rows)
{
    std::vector<BoardControl> controls;
    for (const ControlPlace& place : kInfoPanelPlaces) controls.push_back({ControlKind::Surface, place, {}});
    for (const int base : {kCrossOutToggleBase, kHighlightToggleBase}) {
        for (int digit = 0; digit <= 9; ++digit) {
            controls.push_back({ControlKind::Toggle, TogglePlace(base, digit), std::string(1, char('0' + digit))});
        }
    }
    for (int row = 1; row <= kRowCount; ++row) {
        const RowPlaces& places = rows.rows[row];
        controls.push_back({ControlKind::RowField, places.field, {}});
        controls.push_back({ControlKind::Surface, places.label, {}});
        controls.push_back({ControlKind::Surface, places.answer, {}});
    }
    controls.push_back({ControlKind::Surface, rows.help, {}});
    return controls;
}
