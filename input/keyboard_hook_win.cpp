#include "input/keyboard_hook_win.h"

#include <cstdint>
#include <utility>

namespace {

// The hook procedure is given no context, and SetWindowsHookEx takes none to hand
// it: this one pointer, set while the hook is installed, is its only way to its
// record.
KeyboardHook*& Installed()
{
    static KeyboardHook* installed = nullptr;
    return installed;
}

// The key's position from its scan code (the keypad's keys share their navigation
// meaning's, whatever Num Lock says); Enter from its virtual key.
KeyPosition PositionOf(unsigned scanCode, WPARAM virtualKey)
{
    constexpr std::pair<unsigned, KeyPosition> kPositions[] = {
        {14, KeyPosition::Backspace},  {15, KeyPosition::Tab},         {71, KeyPosition::Home},
        {72, KeyPosition::Up},         {73, KeyPosition::PageUp},      {75, KeyPosition::Left},
        {77, KeyPosition::Right},      {79, KeyPosition::End},         {80, KeyPosition::Down},
        {81, KeyPosition::PageDown},   {82, KeyPosition::Insert},      {83, KeyPosition::Delete},
        {78, KeyPosition::KeypadPlus}, {74, KeyPosition::KeypadMinus}, {1, KeyPosition::Escape}};
    for (const auto& [code, position] : kPositions) {
        if (code == scanCode) return position;
    }
    return virtualKey == VK_RETURN ? KeyPosition::Enter : KeyPosition::Other;
}

// The side used last of a modifier gets its generic entry's byte, the other side
// none: the layout's translation reads the sided entries, and so sees AltGr as
// the left Ctrl with the right Alt.
void FollowGeneric(BYTE* keys, int generic, int left, bool rightLast)
{
    keys[rightLast ? left + 1 : left] = keys[generic];
    keys[rightLast ? left : left + 1] = 0;
}

GameKey Translate(KeyboardHook& hook, WPARAM virtualKey, unsigned scanCode)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    FollowGeneric(keys, VK_SHIFT, VK_LSHIFT, hook.rightShift);
    FollowGeneric(keys, VK_CONTROL, VK_LCONTROL, hook.rightCtrl);
    FollowGeneric(keys, VK_MENU, VK_LMENU, hook.rightAlt);
    WORD translated = 0;
    const int count = ToAsciiEx(static_cast<UINT>(virtualKey), scanCode, keys, &translated, 0, GetKeyboardLayout(0));
    // Exactly one character, or none: not two, nor a dead key.
    const char character = count == 1 ? static_cast<char>(translated & 0xFF) : '\0';
    return {PositionOf(scanCode, virtualKey), character, (keys[VK_LCONTROL] & 0x80) != 0};
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    KeyboardHook* hook = Installed();
    // The game never consumes a key: the window and any other hook see it as well.
    const LRESULT result = CallNextHookEx(hook != nullptr ? hook->handle : nullptr, code, wParam, lParam);
    // A loop that only peeks at a key (a menu's does, before it takes it) calls the
    // hook for it once more: act once, when it is taken.
    if (code != HC_ACTION || hook == nullptr) return result;
    const WPARAM virtualKey = wParam & 0xFF;
    const auto scanCode = static_cast<unsigned>((lParam >> 16) & 0xFF);
    const bool extended = (lParam & (1 << 24)) != 0;
    // Pressed or released, a modifier tells its side: Shift by the right key's scan
    // code (both are the same virtual key and neither is extended), Ctrl and Alt by
    // the extended flag.
    if (virtualKey == VK_SHIFT) hook->rightShift = scanCode == 54;
    if (virtualKey == VK_CONTROL) hook->rightCtrl = extended;
    if (virtualKey == VK_MENU) hook->rightAlt = extended;
    // Releases (bit 31, so negative as 32 bits) are not the game's; a held key's
    // repeats (bit 30 alone) are.
    const bool modifier = virtualKey == VK_SHIFT || virtualKey == VK_CONTROL || virtualKey == VK_MENU;
    if (modifier || static_cast<std::int32_t>(lParam) <= 0) return result;
    hook->pressed(Translate(*hook, virtualKey, scanCode));
    return result;
}

}  // namespace

void InstallKeyboardHook(KeyboardHook& hook)
{
    Installed() = &hook;
    hook.handle = SetWindowsHookExA(WH_KEYBOARD, KeyboardHookProc, nullptr, GetCurrentThreadId());
}

void RemoveKeyboardHook(KeyboardHook& hook)
{
    if (hook.handle != nullptr) UnhookWindowsHookEx(hook.handle);
    hook.handle = nullptr;
    if (Installed() == &hook) Installed() = nullptr;
}
