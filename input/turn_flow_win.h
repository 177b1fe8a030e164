// A submitted guess: acceptance, answer, tried digits, the end of the game and the
// move to the next row.
#pragma once

// Runs for Enter (or scan code 80) in a row that submits on Enter.
void SubmitGuess();

// True while an end-of-game message box is open.
bool EndBoxOpen();
