#include "input/key_mapping.h"

ScanKey ScanKeyOf(std::uint32_t hardwareCode)
{
    if (hardwareCode <= nativeKey::kEvdevOffset) return {};
    const std::uint32_t evdev = hardwareCode - nativeKey::kEvdevOffset;
    // The main block, the keypad and F1..F12 carry their set-1 scan codes as evdev codes.
    if (evdev <= 88) return {static_cast<std::uint8_t>(evdev), false};
    switch (evdev) {
    case 96: return {28, true};   // keypad Enter
    case 97: return {29, true};   // right Ctrl
    case 98: return {53, true};   // keypad divide
    case 99: return {55, true};   // Print Screen
    case 100: return {56, true};  // right Alt, AltGr
    case 102: return {71, true};  // Home
    case 103: return {72, true};  // Up
    case 104: return {73, true};  // Page Up
    case 105: return {75, true};  // Left
    case 106: return {77, true};  // Right
    case 107: return {79, true};  // End
    case 108: return {80, true};  // Down
    case 109: return {81, true};  // Page Down
    case 110: return {82, true};  // Insert
    case 111: return {83, true};  // Delete
    case 125: return {91, true};  // left Windows key
    case 126: return {92, true};  // right Windows key
    case 127: return {93, true};  // menu key
    default: return {};
    }
}

std::uint8_t VirtualKeyOf(std::uint32_t keyValue, std::uint32_t hardwareCode)
{
    using namespace nativeKey;
    if (keyValue >= '0' && keyValue <= '9') return static_cast<std::uint8_t>(keyValue);
    if (keyValue >= 'A' && keyValue <= 'Z') return static_cast<std::uint8_t>(keyValue);
    if (keyValue >= 'a' && keyValue <= 'z') return static_cast<std::uint8_t>(keyValue - 'a' + 'A');
    if (keyValue >= kKp0 && keyValue <= kKp0 + 9) return static_cast<std::uint8_t>(96 + keyValue - kKp0);
    if (keyValue >= kKpMultiply && keyValue <= kKpDivide) {
        return static_cast<std::uint8_t>(106 + keyValue - kKpMultiply);
    }
    if (keyValue >= kF1 && keyValue <= kF12) return static_cast<std::uint8_t>(112 + keyValue - kF1);
    switch (keyValue) {
    case kBackSpace: return 8;
    case kTab: case 0xfe20: return 9;  // Tab, Shift+Tab
    case kReturn: case kKpEnter: return kVkReturn;
    case kShiftL: case kShiftR: return kVkShift;
    case kControlL: case kControlR: return kVkControl;
    case kAltL: case kAltR: case kAltGr: return kVkMenu;
    case 0xff13: return 19;                // Pause
    case 0xffe5: return 20;                // Caps Lock
    case kEscape: return 27;
    case ' ': return 32;
    case 0xff55: case 0xff9a: return 33;   // Page Up
    case 0xff56: case 0xff9b: return 34;   // Page Down
    case 0xff57: case 0xff9c: return 35;   // End
    case 0xff50: case 0xff95: return 36;   // Home
    case 0xff51: case 0xff96: return 37;   // Left
    case 0xff52: case 0xff97: return 38;   // Up
    case 0xff53: case 0xff98: return 39;   // Right
    case 0xff54: case 0xff99: return 40;   // Down
    case 0xff9d: return 12;                // keypad 5 without Num Lock
    case 0xff63: case 0xff9e: return 45;   // Insert
    case 0xffff: case 0xff9f: return 46;   // Delete
    case 0xff7f: return 144;               // Num Lock
    case 0xff14: return 145;               // Scroll Lock
    default: break;
    }
    const std::uint8_t scan = ScanKeyOf(hardwareCode).scanCode;
    if (scan >= 2 && scan <= 10) return static_cast<std::uint8_t>('1' + scan - 2);
    if (scan == 11) return '0';
    return 0;
}

char CharacterOf(std::uint32_t keyValue, bool ctrlDown, bool altDown)
{
    using namespace nativeKey;
    std::uint32_t code = 0;
    if ((keyValue >= 0x20 && keyValue <= 0x7e) || (keyValue >= 0xa0 && keyValue <= 0xff)) {
        code = keyValue;
    } else if ((keyValue & 0xff000000u) == kUnicodeBit && (keyValue & 0x00ffffffu) < 0x100) {
        code = keyValue & 0xffu;
    } else if (keyValue >= kKpMultiply && keyValue <= kKp0 + 9) {
        code = keyValue - 0xff80u;  // the keypad's "*+,-./0..9" lie in ASCII's order
    } else if (keyValue == kReturn || keyValue == kKpEnter || keyValue == kBackSpace || keyValue == kTab ||
               keyValue == kEscape) {
        code = keyValue & 0x7fu;
    }
    if (ctrlDown && !altDown) {
        const std::uint32_t upper = code >= 'a' && code <= 'z' ? code - 32 : code;
        code = upper >= 'A' && upper <= 'Z' ? upper - 64 : 0;
    }
    return static_cast<char>(static_cast<unsigned char>(code));
}

std::uint32_t KeyEventBits(const ScanKey& key, bool released)
{
    return 1u | (std::uint32_t{key.scanCode} << 16) | (key.extended ? 1u << 24 : 0u) | (released ? 3u << 30 : 0u);
}

KeyEvent KeyEventOf(const NativeKey& native, ModifierSides& sides)
{
    const ScanKey scan = ScanKeyOf(native.hardwareCode);
    const std::uint8_t virtualKey = VirtualKeyOf(native.keyValue, native.hardwareCode);
    const std::uint32_t bits = KeyEventBits(scan, native.released);
    TrackModifierSide(sides, virtualKey, scan.scanCode, bits);
    KeyboardState keys{};
    keys[kVkShift] = native.shiftDown ? 0x80 : 0;
    keys[kVkControl] = native.ctrlDown ? 0x80 : 0;
    keys[kVkMenu] = native.altDown ? 0x80 : 0;
    AdjustKeyboardState(keys, sides);
    KeyEvent key;
    key.keyCode = KeyCodeFrom(scan.scanCode, keys);
    key.virtualKey = virtualKey;
    key.character = std::string(1, CharacterOf(native.keyValue, native.ctrlDown, native.altDown));
    key.handledPress = IsHandledKeyPress(virtualKey, bits);
    return key;
}
