// The input fields on the screen: the editor core applied to a field control, its
// picture played onto the field's drawing surface and its slots kept in the
// control.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "game/game_state.h"

// Applies one key to a field and redraws it (see EditFieldCore for the keys).
void EditField(std::int32_t& key, const std::string& character, TextLines& lines, HWND dialog, int controlId,
               std::int32_t fontSize);

// Copies row `row` of rowText into editBuffer.
void LoadRow(int row);

// Redraws the fields of all rows without a caret; editBuffer then holds row 14.
void RedrawAllFields();

// The fields' slot numbers in their controls.
constexpr int kTopLineSlot = 1;
constexpr int kLeftColumnSlot = 2;
constexpr int kCaretLineSlot = 3;
constexpr int kCaretColumnSlot = 4;
