// One game, from the first picture to the closing of its window, in the game's own
// words. A front end makes a session with what it offers (FrontEnd), builds one
// widget for each of the board's controls (Session::controls), then turns its
// platform's events into the calls below: keys, clicks, ticks and the closing.
// The session answers with pictures to draw and boxes to show. It owns
// everything of the game; a front end owns only its handles.
//
// After each event the session draws every surface whose picture has changed,
// once, and nothing else (its drawstate), then shows the next box it has for the
// player, if none is open.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>

#include "base/picture.h"
#include "game/clock.h"
#include "game/field_editor.h"
#include "game/game_state.h"
#include "input/game_keys.h"
#include "render/board_layout.h"

// What a front end offers the session.
struct FrontEnd {
    // Plays a picture onto the surface with that control id and shows it.
    std::function<void(int surface, const Picture& picture)> draw;
    // Measures text as the surfaces draw it.
    TextMeasure measure;
    // Shows a message box with an OK button, and calls closed once the player has
    // closed it. It must not wait for that: keys, clicks and ticks go on reaching
    // the session while the box is open.
    std::function<void(const std::string& text, std::function<void()> closed)> showBox;
    // Ends the window now; the program then ends with exit code 0.
    std::function<void()> closeWindow;
    Clocks clocks;
};

struct Session {
    FrontEnd frontEnd;
    GameState game;
    std::uint32_t randomState = 0;
    std::vector<BoardControl> controls;     // the board's, laid out with the front end's fonts
    std::map<int, PixelSize> surfaceSizes;  // by control id, from the controls
    OneBased<FieldView, kRowCount> fields;
    NoteToggles notes;
    EditorMemory editorMemory;
    GameClock gameClock;
    std::string dateText;  // taken at the start and at each scored guess

    // The boxes waiting to be shown, each with what follows its closing.
    struct Box {
        std::string text;
        std::function<void()> then;
    };
    std::deque<Box> boxes;
    bool boxOpen = false;
    bool failed = false;  // a run-time error: its box, then the window ends
    bool closed = false;  // the window has ended: nothing more is drawn or shown
    bool busy = false;    // an event is being handled

    // The drawstate: the pictures the surfaces show, and the ones this event has
    // made. A panel also keeps the texts it was drawn from, so that a clock tick
    // that changes no text makes no picture at all.
    std::map<int, Picture> shown;
    std::map<int, Picture> made;
    std::map<int, std::string> panelTexts;
};

// A new game for the front end: the secret drawn from the local time of day and
// the board laid out with the front end's fonts. Nothing is drawn yet.
void PrepareSession(Session& session, FrontEnd frontEnd);

// Once the front end has made the board's controls: the first picture, every
// field drawn and the current one made active, then the game clock started.
void OpenBoard(Session& session);

// A key pressed (or repeated) anywhere in the program, boxes and menus included,
// as the game's own keyboard capture sees it: it edits the current row or
// submits its guess, but not once the game is over, nor after a run-time error.
void PressKey(Session& session, const GameKey& key);

// What the window itself does with a key that reaches it, for a front end whose
// platform has no dialog to do it: Enter is the window's default command and
// Escape its cancel command. Neither while a box is open: the box has them.
void WindowKey(Session& session, const GameKey& key);

// The window's commands. A note toggle was pressed or released (the toggle of
// digit d is 601 + d or 701 + d); Enter's default command, which every field
// redrawn and the current row made active again, as a toggle does; a click on a
// row's field (not once the game is over); the menu's author entry; the cancel
// command (Escape, the close box), which ends the window.
void NoteToggled(Session& session, int toggleId, bool pressed);
void DefaultCommand(Session& session);
void RowClicked(Session& session, int row);
void AuthorChosen(Session& session);
void CloseAsked(Session& session);

// Every 100 ms: the time of day with the current row, and, until the game is
// over, the seconds played.
void ClockTicked(Session& session);

// The size of the surface with that control id, as laid out.
PixelSize SurfaceSize(const Session& session, int surface);
