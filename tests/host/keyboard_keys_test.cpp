#include "input/keyboard_keys.h"

#include <gtest/gtest.h>

namespace {

// A key event's lParam: repeat count 1, the scan code and the flag bits.
std::uint32_t KeyLParam(std::uint8_t scan, bool extended = false, bool released = false, bool repeat = false)
{
    return 1u | (std::uint32_t{scan} << 16) | (extended ? 1u << 24 : 0u) | (repeat ? 1u << 30 : 0u) |
           (released ? 3u << 30 : 0u);
}

void Track(ModifierSides& sides, std::uint8_t vk, std::uint32_t lParam)
{
    TrackModifierSide(sides, vk, ScanCodeOf(lParam), lParam);
}

}  // namespace

TEST(KeyModifierSides, FollowTheLastEventOfEachModifierPressOrRelease)
{
    ModifierSides sides;
    Track(sides, kVkShift, KeyLParam(42));
    Track(sides, kVkShift, KeyLParam(54));
    Track(sides, kVkShift, KeyLParam(54, false, true));  // left Shift still held
    Track(sides, kVkControl, KeyLParam(29, true));
    Track(sides, kVkMenu, KeyLParam(56, true, true));
    Track(sides, 'A', KeyLParam(30));
    EXPECT_EQ(sides.rightShiftLast, 1);
    EXPECT_EQ(sides.rightCtrlLast, 1);
    EXPECT_EQ(sides.rightAltLast, 1);
    Track(sides, kVkControl, KeyLParam(29, false, true));
    EXPECT_EQ(sides.rightCtrlLast, 0);
    EXPECT_EQ(sides.rightAltLast, 1);
}

TEST(AdjustKeyboardState, CopiesTheGenericByteToTheSideUsedLastAndClearsTheOther)
{
    for (const ModifierSides sides : {ModifierSides{1, 0, 1}, ModifierSides{0, 1, 0}}) {
        KeyboardState state{};
        state.fill(0x55);
        state[kVkShift] = 0x81;
        state[kVkControl] = 0x80;
        state[kVkMenu] = 0x01;
        AdjustKeyboardState(state, sides);
        const bool shiftRight = sides.rightShiftLast == 1, ctrlRight = sides.rightCtrlLast == 1;
        EXPECT_EQ(state[shiftRight ? kVkRShift : kVkLShift], 0x81);
        EXPECT_EQ(state[shiftRight ? kVkLShift : kVkRShift], 0);
        EXPECT_EQ(state[ctrlRight ? kVkRControl : kVkLControl], 0x80);
        EXPECT_EQ(state[ctrlRight ? kVkLControl : kVkRControl], 0);
        EXPECT_EQ(state[ctrlRight ? kVkLMenu : kVkRMenu], 0x01);  // Alt's side is the opposite here
        EXPECT_EQ(state[ctrlRight ? kVkRMenu : kVkLMenu], 0);
    }
}

TEST(KeyCode, AltGrReadsAsLeftCtrlWithRightAltAndOnlyLeftCtrlNegates)
{
    ModifierSides sides;
    Track(sides, kVkControl, KeyLParam(29));
    Track(sides, kVkMenu, KeyLParam(56, true));
    KeyboardState state{};
    state[kVkControl] = 0x80;
    state[kVkMenu] = 0x80;
    AdjustKeyboardState(state, sides);
    EXPECT_EQ(state[kVkRMenu], 0x80);
    EXPECT_EQ(KeyCodeFrom(16, state), -16);

    state[kVkLControl] = 0x01;  // toggled, not down
    state[kVkRControl] = 0x80;
    EXPECT_EQ(KeyCodeFrom(80, state), 80);
}

TEST(KeyCharacter, OnlyASingleTranslatedCharacterCounts)
{
    EXPECT_EQ(CharacterFromTranslation(1, 0x23E8), static_cast<char>(0xE8));
    EXPECT_EQ(CharacterFromTranslation(0, 0x0041), '\0');
    EXPECT_EQ(CharacterFromTranslation(2, 0x0041), '\0');
    EXPECT_EQ(CharacterFromTranslation(-1, 0x0060), '\0');  // dead key
}

TEST(HandledKeyPress, PassesPressesAndRepeatsButNotReleasesOrModifiers)
{
    EXPECT_EQ(ScanCodeOf(KeyLParam(80, true, true)), 80);
    EXPECT_EQ(VirtualKeyOf(0x10D), kVkReturn);
    EXPECT_TRUE(IsHandledKeyPress('5', KeyLParam(6)));
    EXPECT_TRUE(IsHandledKeyPress('5', KeyLParam(6, false, false, true)));
    EXPECT_FALSE(IsHandledKeyPress('5', KeyLParam(6, false, true)));
    for (const std::uint8_t vk : {kVkShift, kVkControl, kVkMenu}) EXPECT_FALSE(IsHandledKeyPress(vk, KeyLParam(42)));
}

TEST(RouteKey, EnterAndCode80SubmitOnSubmittingRowsAndAnyGuardPassesTheKeyOn)
{
    const KeyGuards none;
    EXPECT_EQ(RouteKey(-28, kVkReturn, 1, true, none), KeyRoute::Submit);  // left Ctrl held
    EXPECT_EQ(RouteKey(80, 40, 1, true, none), KeyRoute::Submit);          // Down arrow
    EXPECT_EQ(RouteKey(-80, 40, 1, true, none), KeyRoute::Edit);
    EXPECT_EQ(RouteKey(28, kVkReturn, 0, true, none), KeyRoute::Edit);
    EXPECT_EQ(RouteKey(6, '5', 1, true, none), KeyRoute::Edit);
    EXPECT_EQ(RouteKey(6, '5', 1, false, none), KeyRoute::PassOnly);
    for (const KeyGuards guards : {KeyGuards{true, false, false}, KeyGuards{false, true, false},
                                   KeyGuards{false, false, true}}) {
        EXPECT_EQ(RouteKey(28, kVkReturn, 1, true, guards), KeyRoute::PassOnly);
        EXPECT_EQ(RouteKey(6, '5', 1, true, guards), KeyRoute::PassOnly);
    }
}
