// The Win32 shell's one record, beside the game's own (gameState): the window and
// its handles, and the board through which the portable flow draws on them. It
// lives from the start of a run to its end; RunIndovina fills it and empties it.
#pragma once

#include <windows.h>

#include <map>

#include "base/gdi_win.h"
#include "input/board_platform.h"
#include "render/surface_win.h"

// Posted when a guess has ended the game: the end boxes are shown once the key
// that submitted the guess has been handled (see SubmitGuess).
constexpr UINT kEndOfGameMessage = WM_APP + 1;

// The fields' slot numbers in their controls.
constexpr int kTopLineSlot = 1;
constexpr int kLeftColumnSlot = 2;
constexpr int kCaretLineSlot = 3;
constexpr int kCaretColumnSlot = 4;
constexpr int kRowNumberSlot = 8;

struct Shell {
    HWND mainWindow = nullptr;
    HMENU menuBar = nullptr;
    GdiOwned<HFONT> dialogFont;  // given to every control; outlives them all
    FontBookOwner fonts;         // the surfaces' fonts; outlive the surfaces
    UINT_PTR clockTimer = 0;     // what SetTimer returned: its id, or 0 when it did not start
    HHOOK keyboardHook = nullptr;
    // The controls by id, as they were made: asking the window for a child by its
    // id costs a round trip to the window server under Wine, on every drawing.
    std::map<int, HWND> controls;
    // The note toggles' states, read from the buttons whenever one may have changed
    // (a toggle's command): every field drawn asks for all twenty.
    NoteToggles toggles;
    Board board;
    // Called between the phases of start-up when set (the benchmark times them).
    void (*startupMark)(const char* phase) = nullptr;
};

// Tells startupMark, if set, that a phase of start-up has ended.
void MarkStartup(const char* phase);

extern Shell shell;

// Reads the twenty toggles' states into shell.toggles.
void ReadToggles();

// The board's platform on shell.mainWindow, with the clocks given.
BoardPlatform Win32Platform(const Clocks& clocks);
