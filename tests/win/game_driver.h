// Plays the real game in the test's process: the game runs on the test's thread as
// it runs in indovina.exe, while a scenario on a second thread types through the
// system's input path, clicks, reads the screen and answers message boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Runs one game. prepare (may be null) runs right after the game state is filled;
// scenario runs on its own thread once the main window is visible. Whatever the
// scenario leaves open (boxes, the window) is closed afterwards, so a failing
// scenario cannot hang the run. Returns what the game returned.
int PlayInProcess(void (*prepare)(), const std::function<void()>& scenario);

// The main window of the running game, once visible; null after the time given.
HWND WaitForGameWindow(DWORD timeoutMs);

// Key presses through SendInput, with the scan codes a real keyboard sends. Each
// call returns once the game has handled the events it sent.
void PressKey(WORD virtualKey, bool extended = false);
void KeyDown(WORD virtualKey, bool extended = false);
void KeyUp(WORD virtualKey, bool extended = false);
// Digits and letters as typed on the main keyboard.
void TypeText(const std::string& text);
// A key held down: the press, repeats more presses, then the release.
void HoldKey(WORD virtualKey, int repeats);

// Key events of the caller's own making, sent in one SendInput call; returns once
// the game has handled them.
void SendKeyEvents(const std::vector<INPUT>& inputs);

// Returns once the game's thread has handled every key event sent so far and is
// back in a message loop.
void WaitUntilIdle();

// A left click at a point of a control of the main window, through SendInput.
void ClickControl(int controlId, int x, int y);

// The message box of the program that is open, or null after the time given.
HWND WaitForMessageBox(DWORD timeoutMs);
std::string MessageBoxText(HWND box);
// Closes a box with its OK button, as a click would.
void CloseMessageBox(HWND box);
// How many message boxes of the program are open now.
int OpenMessageBoxCount();

// The colour a control of the main window shows on the screen at (x, y).
COLORREF ScreenPixel(int controlId, int x, int y);

// Runs work on the game's thread, between two of its messages, and waits for it:
// the game's state and surfaces are read there without racing the game.
void RunOnGameThread(const std::function<void()>& work);

// The colour of a pixel of a drawing surface's bitmap, read on the game's thread.
COLORREF SurfacePixel(int controlId, int x, int y);

// The key events the game's thread has seen since the game started.
long KeyEventsSeen();
