#include "input/keyboard_gtk.h"

#include <utility>

namespace {

// The keys the game knows by their place, the keypad's by their navigation meaning.
constexpr std::pair<guint, KeyPosition> kPositions[] = {
    {22, KeyPosition::Backspace}, {23, KeyPosition::Tab}, {36, KeyPosition::Enter}, {104, KeyPosition::Enter},
    {9, KeyPosition::Escape}, {86, KeyPosition::KeypadPlus}, {82, KeyPosition::KeypadMinus}, {110, KeyPosition::Home},
    {79, KeyPosition::Home}, {111, KeyPosition::Up}, {80, KeyPosition::Up}, {112, KeyPosition::PageUp},
    {81, KeyPosition::PageUp}, {113, KeyPosition::Left}, {83, KeyPosition::Left}, {114, KeyPosition::Right},
    {85, KeyPosition::Right}, {115, KeyPosition::End}, {87, KeyPosition::End}, {116, KeyPosition::Down},
    {88, KeyPosition::Down}, {117, KeyPosition::PageDown}, {89, KeyPosition::PageDown}, {118, KeyPosition::Insert},
    {90, KeyPosition::Insert}, {119, KeyPosition::Delete}, {91, KeyPosition::Delete}};

}  // namespace

GameKey GameKeyOf(guint keyValue, guint hardwareCode, GdkModifierType state, bool leftCtrl)
{
    GameKey key{KeyPosition::Other, 0, leftCtrl};
    for (const auto& [code, position] : kPositions) key.position = code == hardwareCode ? position : key.position;
    // GDK gives the keypad's digits and signs their characters too, and Enter,
    // Tab, Backspace and Escape their control characters, which type nothing.
    gunichar c = gdk_keyval_to_unicode(keyValue);
    if (c < 0x20 || c == 0x7F || c > 0xFF) c = 0;
    const bool ctrlOnly = (state & (GDK_CONTROL_MASK | GDK_ALT_MASK)) == GDK_CONTROL_MASK;
    if (ctrlOnly) c = g_ascii_isalpha(static_cast<char>(c)) ? g_ascii_toupper(static_cast<char>(c)) - 64 : 0;
    key.character = static_cast<char>(static_cast<unsigned char>(c));
    return key;
}
