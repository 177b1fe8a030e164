#include "input/keyboard_keys.h"

#include <cstdint>

namespace {

constexpr std::uint32_t kExtendedKeyBit = 1u << 24;

// Gives the side named by rightLast the generic entry's byte and clears the other.
void FollowGeneric(KeyboardState& state, std::uint8_t generic, std::uint8_t left, std::uint8_t right,
                   std::uint8_t rightLast)
{
    const std::uint8_t used = rightLast == 1 ? right : left;
    const std::uint8_t other = rightLast == 1 ? left : right;
    state[used] = state[generic];
    state[other] = 0;
}

}  // namespace

std::uint8_t ScanCodeOf(std::uint32_t lParam) { return static_cast<std::uint8_t>((lParam >> 16) & 0xFFu); }

std::uint8_t VirtualKeyOf(std::uintptr_t wParam) { return static_cast<std::uint8_t>(wParam & 0xFFu); }

void TrackModifierSide(ModifierSides& sides, std::uint8_t virtualKey, std::uint8_t scanCode,
                       std::uint32_t lParam)
{
    const std::uint8_t extended = (lParam & kExtendedKeyBit) != 0 ? 1 : 0;
    switch (virtualKey) {
    case kVkShift:
        // Both Shift keys send the same virtual key and neither is extended; only
        // the scan code tells them apart.
        sides.rightShiftLast = scanCode == kRightShiftScanCode ? 1 : 0;
        break;
    case kVkMenu:
        sides.rightAltLast = extended;
        break;
    case kVkControl:
        sides.rightCtrlLast = extended;
        break;
    default:
        break;
    }
}

void AdjustKeyboardState(KeyboardState& state, const ModifierSides& sides)
{
    // The layout's translation reads the sided entries. Rebuilt from the generic
    // entry and the side used last, they show AltGr as left Ctrl with right Alt.
    FollowGeneric(state, kVkShift, kVkLShift, kVkRShift, sides.rightShiftLast);
    FollowGeneric(state, kVkMenu, kVkLMenu, kVkRMenu, sides.rightAltLast);
    FollowGeneric(state, kVkControl, kVkLControl, kVkRControl, sides.rightCtrlLast);
}

char CharacterFromTranslation(int toAsciiResult, std::uint16_t buffer)
{
    return toAsciiResult == 1 ? static_cast<char>(buffer & 0xFFu) : '\0';
}

std::int32_t KeyCodeFrom(std::uint8_t scanCode, const KeyboardState& adjusted)
{
    const bool leftCtrlDown = (adjusted[kVkLControl] & 0x80u) != 0;
    return leftCtrlDown ? -std::int32_t{scanCode} : std::int32_t{scanCode};
}

bool IsHandledKeyPress(std::uint8_t virtualKey, std::uint32_t lParam)
{
    if (virtualKey == kVkShift || virtualKey == kVkControl || virtualKey == kVkMenu) return false;
    return static_cast<std::int32_t>(lParam) > 0;
}

KeyRoute RouteKey(std::int32_t keyCode, std::uint8_t virtualKey, std::int32_t submitOnEnter,
                  bool handledPress, const KeyGuards& guards)
{
    if (!handledPress || guards.gameOver || guards.endBoxOpen || guards.hookBusy) return KeyRoute::PassOnly;
    const bool submitKey = keyCode == kSubmitKeyCode || virtualKey == kVkReturn;
    return submitKey && submitOnEnter == 1 ? KeyRoute::Submit : KeyRoute::Edit;
}
