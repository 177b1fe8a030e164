// Where every control of the board stands, in pixels of the main window's client
// area (460 x 610 below the menu). The rows follow the field face's metrics, so
// a face with a taller cell moves the rows and the help panel down.
#pragma once

#include <string>
#include <vector>

#include "base/one_based.h"
#include "base/picture.h"
#include "game/game_state.h"

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 610;

struct ControlPlace {
    int id = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const ControlPlace&) const = default;
};

struct RowPlaces {
    ControlPlace label;
    ControlPlace field;
    ControlPlace answer;
};
struct BoardRows {
    OneBased<RowPlaces, kRowCount> rows;
    ControlPlace help;
};

// The fourteen rows from y = 75 down, each as high as its field face's cell times
// its lines, one pixel apart, and the help panel under them. A field is its
// columns times the face's average width wide; the answer box holds four square
// cells of the row's height.
BoardRows LayOutRows(const GameState& game, const TextMeasure& measure);

// Every control of the board, in the order a shell makes them: the information
// panels, the two groups of note toggles, each row's field, label and answer box,
// and the help panel. A shell makes one widget of its own for each.
enum class ControlKind {
    Surface,   // a drawing surface that shows the pictures the session draws on it
    RowField,  // a surface that also selects its row when clicked
    Toggle,    // a latching button with a caption, a note of the player's
};
struct BoardControl {
    ControlKind kind = ControlKind::Surface;
    ControlPlace place;
    std::string caption;  // a toggle's digit
};
std::vector<BoardControl> BoardControls(const BoardRows& rows);
