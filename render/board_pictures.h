// The pictures of the board's surfaces, computed from the game and the surface's
// size: the text panels (row labels, help), the information panels along the top
// and the answer boxes. Each is the whole surface, drawn in one step, with the
// words a screen reader says for it. Portable: a shell plays them.
#pragma once

#include <optional>
#include <string>

#include "base/picture.h"
#include "game/game_state.h"

// Lines separated by CR LF, each at (0, pitch x (line - 1)), where the pitch is the
// height of the longest line as measured; the note, when not empty, is written in
// kNoteColour over the start of every line. Text beyond the surface is cut off.
struct TextPanel {
    std::string text;
    FontSpec font;
    Colour ink = 0;
    Colour back = 0;
    std::string note;
};
Picture TextPanelPicture(const TextPanel& panel, PixelSize surface, const TextMeasure& measure);

// Row r's label, "Tentativo 01" and so on, with the row's note.
Picture RowLabelPicture(const GameState& game, int row, PixelSize surface, const TextMeasure& measure);

// The help text of an attempt (1..14); nothing for any other number.
std::optional<Picture> HelpPanelPicture(const GameState& game, int attempt, PixelSize surface,
                                        const TextMeasure& measure);

// The upper half: topText centred, bold, white on kInfoTopColour. The lower half:
// bottomText centred in grey on light grey inside a border of kInfoBorderColour.
// The clocks' panels keep their names current without announcing them: a reader
// that follows name changes would otherwise hear them ten times a second.
Picture InfoPanelPicture(int panelId, const std::string& topText, const std::string& bottomText, PixelSize surface,
                         const TextMeasure& measure);

// The answer box: plain in kAnswerSurfaceColour, then mark k (from 0) in the k-th
// quarter of the box from q.bmp ("Q") or c.bmp ("C"), its image's background
// repainted in the box's colour. Any other letter, and a missing image file, leave
// their cell plain. A scored answer is announced even when it is the same as the
// box showed before (a row played again), and one without marks is named
// "nessuna cifra giusta"; an unscored box without marks has no name.
Picture AnswerMarksPicture(const std::string& answer, bool scored, PixelSize surface);
