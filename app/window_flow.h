// The window's events on any platform: the opening, the clock tick, the commands
// of the toggles, the rows and the menu. A shell calls these from its own event
// handling; what they draw and show goes through the board's platform.
#pragma once

#include "input/board_platform.h"

// The first picture, drawn while the window is hidden: the help text, the row
// labels, plain answer boxes and the date with the digits not yet tried.
void DrawFirstPicture(Board& board);

// The opening, once the window is made: every field drawn, the current row's field
// made active, then the clock started. The shell starts its timer before this and
// its keyboard capture after the fields.
void DrawAllFieldsAndActivate(Board& board);
void StartClock(Board& board);

// Every 100 ms: the time of day with the current row, and, until the game is over,
// the seconds played. A panel whose texts are the ones it shows is not drawn again.
void ClockTick(Board& board);

// A command of the window by its id (ClassifyCommand): a toggle or Enter redraws
// every field and re-activates the current row; a row's field makes it current
// (not once the game is over: the ending belongs to the row scored); the menu
// entry shows the author box; the cancel command ends the window.
void HandleCommand(Board& board, int id);
