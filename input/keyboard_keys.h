// The decisions of the keyboard hook, apart from the platform calls around them:
// which side's modifiers were used last, the keyboard state handed to the layout's
// translation, the key code and character given to the field editor, and where a
// key press goes. Portable: every function depends on its arguments only.
#pragma once

#include <array>
#include <cstdint>

// Virtual-key codes and scan codes the hook looks at, with their Windows values.
constexpr std::uint8_t kVkReturn = 13;
constexpr std::uint8_t kVkShift = 16;
constexpr std::uint8_t kVkControl = 17;
constexpr std::uint8_t kVkMenu = 18;  // Alt
constexpr std::uint8_t kVkLShift = 160;
constexpr std::uint8_t kVkRShift = 161;
constexpr std::uint8_t kVkLControl = 162;
constexpr std::uint8_t kVkRControl = 163;
constexpr std::uint8_t kVkLMenu = 164;
constexpr std::uint8_t kVkRMenu = 165;
constexpr std::uint8_t kRightShiftScanCode = 54;
constexpr std::int32_t kSubmitKeyCode = 80;  // Down arrow, and keypad 2 whatever Num Lock

// Which side's Shift, Ctrl and Alt key sent the last event of that modifier: 1 right,
// 0 left. Kept for the life of the hook.
struct ModifierSides {
    std::uint8_t rightShiftLast = 0;
    std::uint8_t rightCtrlLast = 0;
    std::uint8_t rightAltLast = 0;
};

// The thread's keyboard state, one byte per virtual key; bit 128 means down.
using KeyboardState = std::array<std::uint8_t, 256>;

// Bits 16 to 23 of a key event's lParam; the extended-key flag is not part of it.
std::uint8_t ScanCodeOf(std::uint32_t lParam);

// The low 8 bits of a key event's wParam.
std::uint8_t VirtualKeyOf(std::uintptr_t wParam);

// Notes the side of a Shift, Ctrl or Alt event, pressed or released: Shift by the
// right key's scan code, Ctrl and Alt by the extended-key flag (bit 24). Events of
// other keys leave the sides alone.
void TrackModifierSide(ModifierSides& sides, std::uint8_t virtualKey, std::uint8_t scanCode,
                       std::uint32_t lParam);

// Makes the left and right entries of each modifier follow its generic entry on the
// side used last: that side gets the generic byte, the other side 0.
void AdjustKeyboardState(KeyboardState& state, const ModifierSides& sides);

// The character of a layout translation: the low byte of the buffer when exactly one
// character came out, else the character with code 0 (none, two, or a dead key).
char CharacterFromTranslation(int toAsciiResult, std::uint16_t buffer);

// The key code for the field editor: the scan code, negative while the adjusted
// state shows the left Ctrl key down.
std::int32_t KeyCodeFrom(std::uint8_t scanCode, const KeyboardState& adjusted);

// True for a key press the game handles: not Shift, Ctrl or Alt themselves, and
// lParam, read as signed 32 bits, above 0. Releases (bit 31) do not pass; repeats of
// a held key (bit 30 alone) do.
bool IsHandledKeyPress(std::uint8_t virtualKey, std::uint32_t lParam);

// Where a key event goes after the hook has passed it on down the chain.
enum class KeyRoute {
    PassOnly,  // nothing more: the game neither edits nor submits
    Submit,    // the turn flow checks the current row's guess
    Edit,      // the current row's field editor takes the key
};

// Conditions under which the game must not take a key at all, whatever it is.
struct KeyGuards {
    // The game has ended: the rows no longer change while the window closes.
    bool gameOver = false;
    // An end-of-game message box is up. Its own message loop still feeds keys to
    // the hook, and the Enter or Space that closes it must not submit or type.
    bool endBoxOpen = false;
    // The hook is already handling a key further up the call stack (a box opened
    // from inside the hook runs its own loop): handling another key there would
    // change the game under the first one's feet.
    bool hookBusy = false;
};

// The route of a key event. virtualKey is the event's own virtual key (Enter is 13);
// submitOnEnter is the current row's setting; handledPress is IsHandledKeyPress.
// Enter, or key code 80, submits when the row submits on Enter; every other handled
// press edits, as do those two when the row does not submit on Enter.
KeyRoute RouteKey(std::int32_t keyCode, std::uint8_t virtualKey, std::int32_t submitOnEnter,
                  bool handledPress, const KeyGuards& guards);
