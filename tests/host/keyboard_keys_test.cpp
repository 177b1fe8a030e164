// The keyboard hook's decisions: modifier sides, the state handed to the layout,
// key codes, characters and where a key goes.
#include "input/keyboard_keys.h"

#include <gtest/gtest.h>

namespace {

using std::tuple;

// A key event's lParam: repeat count 1, the scan code and the flag bits.
std::uint32_t KeyLParam(std::uint8_t scan, bool extended = false, bool released = false, bool repeat = false)
{
    return 1u | (std::uint32_t{scan} << 16) | (extended ? 1u << 24 : 0u) | (repeat ? 1u << 30 : 0u) |
           (released ? 3u << 30 : 0u);
}

}  // namespace

TEST(KeyboardKeys, ModifierSidesFollowTheLastEventAndSetTheSidedEntriesAndTheKeyCode)
{
    ModifierSides sides;
    const auto track = [&sides](std::uint8_t vk, std::uint32_t l) { TrackModifierSide(sides, vk, ScanCodeOf(l), l); };
    track(kVkShift, KeyLParam(42));
    track(kVkShift, KeyLParam(54, false, true));  // right Shift released, left still held
    track(kVkControl, KeyLParam(29, true));
    track(kVkMenu, KeyLParam(56, true, true));
    track('A', KeyLParam(30));
    EXPECT_EQ(tuple(sides.rightShiftLast, sides.rightCtrlLast, sides.rightAltLast), tuple(1, 1, 1));
    // AltGr: the left Ctrl with the right Alt. The generic byte goes to the side used
    // last, the other side is cleared, and a left Ctrl down makes the key code negative.
    track(kVkControl, KeyLParam(29));
    KeyboardState state{};
    state.fill(0x55);
    std::tie(state[kVkShift], state[kVkControl], state[kVkMenu]) = tuple(0x81, 0x80, 0x01);
    AdjustKeyboardState(state, sides);
    EXPECT_EQ(tuple(state[kVkLShift], state[kVkRShift], state[kVkLControl], state[kVkRControl], state[kVkLMenu],
                    state[kVkRMenu], KeyCodeFrom(16, state)),
              tuple(0, 0x81, 0x80, 0, 0, 0x01, -16));
    std::tie(state[kVkLControl], state[kVkRControl]) = tuple(0x01, 0x80);  // left toggled, not down
    EXPECT_EQ(KeyCodeFrom(80, state), 80);
}

TEST(KeyboardKeys, OnlyHandledPressesOfSubmittingKeysSubmitAndAnyGuardPassesTheKeyOn)
{
    EXPECT_EQ(tuple(ScanCodeOf(KeyLParam(80, true, true)), VirtualKeyOf(0x10D)), tuple(80, kVkReturn));
    // One translated character counts; none, two or a dead key (-1) give none.
    for (const auto& [result, c] : {std::pair{1, char(0xE8)}, {0, '\0'}, {2, '\0'}, {-1, '\0'}}) {
        EXPECT_EQ(CharacterFromTranslation(result, 0x23E8), c) << result;
    }
    // Presses and a held key's repeats are handled; releases and the modifiers themselves are not.
    EXPECT_EQ(tuple(IsHandledKeyPress('5', KeyLParam(6)), IsHandledKeyPress('5', KeyLParam(6, false, false, true)),
                    IsHandledKeyPress('5', KeyLParam(6, false, true))), tuple(true, true, false));
    for (const std::uint8_t vk : {kVkShift, kVkControl, kVkMenu}) EXPECT_FALSE(IsHandledKeyPress(vk, KeyLParam(42)));
    using enum KeyRoute;
    const KeyGuards none, over{true, false, false}, boxOpen{false, true, false}, busy{false, false, true};
    // Key code, virtual key, the row submits on Enter, a handled press, the guards; the route.
    const tuple<std::int32_t, std::uint8_t, std::int32_t, bool, KeyGuards, KeyRoute> cases[] = {
        {-28, kVkReturn, 1, true, none, Submit}, {80, 40, 1, true, none, Submit}, {-80, 40, 1, true, none, Edit},
        {28, kVkReturn, 0, true, none, Edit}, {6, '5', 1, true, none, Edit}, {6, '5', 1, false, none, PassOnly},
        {28, kVkReturn, 1, true, over, PassOnly}, {6, '5', 1, true, over, PassOnly},
        {28, kVkReturn, 1, true, boxOpen, PassOnly}, {6, '5', 1, true, boxOpen, PassOnly},
        {28, kVkReturn, 1, true, busy, PassOnly}, {6, '5', 1, true, busy, PassOnly}};
    for (const auto& [code, vk, submitOnEnter, handled, guards, route] : cases) {
        EXPECT_EQ(RouteKey(code, vk, submitOnEnter, handled, guards), route) << code << ' ' << int(vk);
    }
}
