// What the game's flow asks of a platform's window, and the flow's own state. A
// shell fills a BoardPlatform with its operations; everything else of keys,
// turns, clicks and ticks is decided by plain C++ (input/turn_flow.h,
// app/window_flow.h), so every shell plays the same game.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/picture.h"
#include "game/clock.h"
#include "game/field_editor.h"
#include "input/keyboard_keys.h"

struct BoardPlatform {
    // Plays a picture onto the surface with that id and shows it at once.
    std::function<void(int id, const Picture& picture)> draw;
    std::function<PixelSize(int id)> surfaceSize;
    TextMeasure measure;
    // The editor's slots of a row's field, kept by the field's control.
    std::function<FieldSlots(int row)> readSlots;
    std::function<void(int row, const FieldSlots& slots)> writeSlots;
    // The pressed states of the twenty note toggles.
    std::function<NoteToggles()> toggles;
    // A message box with OK only; returns when it is closed. Ticks, clicks and keys
    // go on reaching the game while it is open.
    std::function<void(const std::string& text)> showBox;
    // Whether the window still exists; ending it at once; asking it to close once
    // the event being handled is done.
    std::function<bool()> windowAlive;
    std::function<void()> endWindow;
    std::function<void()> requestClose;
    // Asks for ShowEndOfGame once the key being handled has been handled.
    std::function<void()> deferEndOfGame;
    Clocks clocks;
};

// The flow's state beside gameState: one per window.
struct FlowState {
    EditorMemory editorMemory;
    GameClock gameClock;
    std::string clockShown;    // the texts the clock panels show, so that a tick that
    std::string elapsedShown;  // changes nothing draws nothing
    ModifierSides modifierSides;
    // True while a key is being handled. A box opened further down (the editor's
    // error box) runs its own message loop, which may bring further keys; those are
    // passed on and nothing else.
    bool handlingKey = false;
    // A game ended by a guess, waiting for its boxes, and the boxes open.
    std::vector<std::string> endTexts;
    std::int32_t rowAfterEnd = 0;
    bool endBoxOpen = false;
};

struct Board {
    BoardPlatform platform;
    FlowState state;
};
