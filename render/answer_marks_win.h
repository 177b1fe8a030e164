// The answer box of an attempt row: one mark per letter of the answer, a square
// for "Q" and a circle for "C", from the image files q.bmp and c.bmp of the
// current directory.
#pragma once

#include <windows.h>

#include <string>

#include "game/game_state.h"

constexpr Colour answerSurfaceColour = 0x00D4D4C8;

// Draws the box plain in answerSurfaceColour, then mark k (from 0) in the k-th
// quarter of the box, its image's background repainted in the box's colour. Any
// letter but upper-case Q and C, and a missing image file, leave their cell plain.
// The box's name says the marks in words; a box without marks has no name.
void DrawAnswerMarks(HWND dialog, int id, const std::string& answer);

// The same picture for the answer to a scored guess. The name tells a box without
// marks ("nessuna cifra giusta") from one not yet scored, and a screen reader is
// told of the new answer even when it is the same as before.
void DrawScoredAnswerMarks(HWND dialog, int id, const std::string& answer);
