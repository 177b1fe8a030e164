#include "input/key_mapping.h"

#include <gtest/gtest.h>

#include "game/field_editor.h"

namespace {

// X11 key codes (evdev + 8) and key values of the keys the game cares about.
constexpr std::uint32_t kCodeOne = 10, kCodeZero = 19, kCodeCtrlL = 37, kCodeKpMinus = 82, kCodeKpPlus = 86,
                        kCodeCtrlR = 105, kCodeAltGr = 108;
constexpr std::uint32_t kKpAdd = 0xffab, kKpSubtract = 0xffad;

KeyEvent Key(ModifierSides& sides, std::uint32_t value, std::uint32_t code, bool ctrl = false, bool shift = false,
             bool released = false)
{
    return KeyEventOf({value, code, released, shift, ctrl, false}, sides);
}

}  // namespace

TEST(KeyMapping, OnlyTheLeftCtrlTurnsTheKeypadSignsIntoFontKeysAndCtrlTypesNoDigit)
{
    ModifierSides sides;
    Key(sides, nativeKey::kControlL, kCodeCtrlL);
    EXPECT_EQ(Key(sides, kKpAdd, kCodeKpPlus, true).keyCode, fieldKey::kFontLarger);
    EXPECT_EQ(Key(sides, kKpSubtract, kCodeKpMinus, true).keyCode, fieldKey::kFontSmaller);
    EXPECT_EQ(Key(sides, '1', kCodeOne, true).character, std::string(1, '\0'));
    Key(sides, nativeKey::kControlR, kCodeCtrlR);
    EXPECT_EQ(Key(sides, kKpAdd, kCodeKpPlus, true).keyCode, 78);
}

TEST(KeyMapping, DigitsComeFromTheLayoutsCharacterWithShiftOrAltGr)
{
    ModifierSides sides;
    // French: the key of 1 types "&", and "1" with Shift; its virtual key is 1 either way.
    const KeyEvent ampersand = Key(sides, '&', kCodeOne);
    const KeyEvent one = Key(sides, '1', kCodeOne, false, true);
    EXPECT_EQ(ampersand.character + one.character, "&1");
    EXPECT_EQ(ampersand.virtualKey, '1');
    EXPECT_EQ(one.keyCode, 2);
    // AltGr is a right Alt, and like Shift no handled press itself; the digit it gives is typed.
    EXPECT_FALSE(Key(sides, nativeKey::kAltGr, kCodeAltGr).handledPress);
    EXPECT_FALSE(Key(sides, nativeKey::kShiftR, 62).handledPress);
    EXPECT_EQ(sides.rightAltLast + sides.rightShiftLast, 2);
    EXPECT_EQ(Key(sides, '0', kCodeZero).character, "0");
}
