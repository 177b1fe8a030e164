// The text panels of the board: row labels, the help panel and the three
// information panels along the top. Each call draws its whole surface from its
// arguments and shows it in one step.
#pragma once

#include <windows.h>

#include <string>

#include "game/game_state.h"

constexpr Colour helpInkColour = 0x00643232;
constexpr Colour noteColour = 0x000000FF;
constexpr Colour infoTopColour = 0x001E321E;
constexpr Colour infoTopInkColour = 0x00FFFFFF;
constexpr Colour infoBorderColour = 0x001E501E;
constexpr Colour infoBottomFillColour = 0x00C0C0C0;
constexpr Colour infoBottomInkColour = 0x00808080;

// Lines separated by CR LF, each at (0, pitch x (line - 1)), where the pitch is the
// height of the longest line as measured; the note, when not empty, is written in
// noteColour over the start of every line. Text beyond the surface is cut off.
void DrawTextPanel(HWND dialog, int id, const std::string& text, const std::string& face, int size, Colour ink,
                   Colour back, int style, const std::string& note);

// The upper half: topText centred, bold, white on infoTopColour. The lower half:
// bottomText centred in grey on light grey inside a border of infoBorderColour.
void DrawInfoPanel(HWND dialog, int id, const std::string& topText, const std::string& bottomText);

// The help text of an attempt (1..14) in the help panel of mainWindow; any other
// number draws nothing.
void DrawHelpPanel(int attempt);
