// Keys of the X11 family of toolkits (GTK on X11 or Wayland) put into the terms
// the game's key decisions are written in: Windows scan codes and virtual keys,
// with the side of each modifier tracked as the Win32 hook tracks it. Portable:
// the key values are X11 key symbols (GDK's key values are the same numbers) and
// the hardware codes are evdev codes plus 8, which name the physical key
// whatever the layout, as a scan code does. Kept in this header, so that every
// build has it without a source file of its own.
#pragma once

#include <cstdint>
#include <string>

#include "input/keyboard_keys.h"
#include "input/turn_flow.h"

namespace nativeKey {
// The key symbols that the mapping names, with their X11 values.
inline constexpr std::uint32_t kBackSpace = 0xff08;
inline constexpr std::uint32_t kTab = 0xff09;
inline constexpr std::uint32_t kReturn = 0xff0d;
inline constexpr std::uint32_t kEscape = 0xff1b;
inline constexpr std::uint32_t kKpEnter = 0xff8d;
inline constexpr std::uint32_t kKp0 = 0xffb0;
inline constexpr std::uint32_t kKpMultiply = 0xffaa;
inline constexpr std::uint32_t kKpDivide = 0xffaf;
inline constexpr std::uint32_t kF1 = 0xffbe;
inline constexpr std::uint32_t kF12 = 0xffc9;
inline constexpr std::uint32_t kShiftL = 0xffe1;
inline constexpr std::uint32_t kShiftR = 0xffe2;
inline constexpr std::uint32_t kControlL = 0xffe3;
inline constexpr std::uint32_t kControlR = 0xffe4;
inline constexpr std::uint32_t kAltL = 0xffe9;
inline constexpr std::uint32_t kAltR = 0xffea;
inline constexpr std::uint32_t kAltGr = 0xfe03;  // ISO_Level3_Shift
inline constexpr std::uint32_t kUnicodeBit = 0x01000000;
// The X11 key code of a physical key is its evdev code plus this.
inline constexpr std::uint32_t kEvdevOffset = 8;
}  // namespace nativeKey

// A key event as the toolkit reports it: the key value already translated by the
// layout and the modifiers (Shift+& is "1" on a French keyboard), the hardware
// code, press or release, and the modifiers held before the event.
struct NativeKey {
    std::uint32_t keyValue = 0;
    std::uint32_t hardwareCode = 0;
    bool released = false;
    bool shiftDown = false;
    bool ctrlDown = false;
    bool altDown = false;
};

// A physical key as Windows numbers it: the scan code without its extended flag,
// and that flag (the keys of the navigation block, the keypad's Enter and divide,
// the right Ctrl and Alt).
struct ScanKey {
    std::uint8_t scanCode = 0;
    bool extended = false;

    bool operator==(const ScanKey&) const = default;
};

// The scan code of a hardware code; 0 for a key that has none.
ScanKey ScanKeyOf(std::uint32_t hardwareCode);

// The virtual key of a key value, as a Windows layout names the same key: the
// modifiers by their generic codes, the keypad's digits apart from the main ones,
// the keypad without Num Lock as the navigation keys. A key without a key value of
// its own on the layout (the French number row gives "&" and the like) is named by
// its place: the number row by its digit. 0 for the rest.
std::uint8_t VirtualKeyOf(std::uint32_t keyValue, std::uint32_t hardwareCode);

// The one character the key types, as a Windows layout's translation gives it:
// the key value's own character (Latin-1, or a Unicode value below 256), the
// keypad's digits and signs, Enter, Backspace, Tab and Escape as their control
// characters; nothing (the character 0) for the other keys, for characters
// beyond Latin-1, and for any key held with Ctrl but without Alt (Ctrl with a
// digit types nothing; a letter gives its control character).
char CharacterOf(std::uint32_t keyValue, bool ctrlDown, bool altDown);

// The event's lParam as a Windows hook would see it: repeat count 1, the scan
// code, the extended flag, and bits 30 and 31 for a release.
std::uint32_t KeyEventBits(const ScanKey& key, bool released);

// The whole translation of one event into the game's KeyEvent, through the same
// decisions as the Win32 hook: the modifier sides are tracked first (presses and
// releases alike), then the key code takes its sign from the left Ctrl.
KeyEvent KeyEventOf(const NativeKey& native, ModifierSides& sides);
