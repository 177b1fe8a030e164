// The keys in the game's own words: where the key is, the character the player's
// layout gives it, and whether the left Ctrl key is held. Every front end turns
// its platform's key events into these; the game decides the rest.
#pragma once

#include <cstdint>

// The key's position. The keypad's keys stand where their navigation meaning puts
// them (keypad 7 is Home, keypad 2 is Down), whatever Num Lock says: with Num Lock
// on they also carry their digit as the character.
enum class KeyPosition : std::uint8_t {
    Other,
    Backspace,
    Tab,
    Home,
    Up,
    PageUp,
    Left,
    Right,
    End,
    Down,
    PageDown,
    Insert,
    Delete,
    KeypadPlus,
    KeypadMinus,
    Enter,
    Escape,
};

// One press of a key (a held key's repeats are presses too). Releases, and the
// presses of Shift, Ctrl and Alt themselves, are not the game's.
struct GameKey {
    KeyPosition position = KeyPosition::Other;
    char character = 0;     // the layout's one character for the key, or 0 for none
    bool leftCtrl = false;  // the left Ctrl key is down (the right one does not count)
};

// The field editor's key code for a key: the editing keys by their scan codes,
// negative while the left Ctrl is down (so Ctrl with keypad + and - are the
// font keys); every other key only types its character.
std::int32_t EditorKeyOf(const GameKey& key);

// Enter always submits the row's guess; Down and keypad 2 do so without the left
// Ctrl, with which they are only an editor's key.
bool IsSubmitKey(const GameKey& key);
