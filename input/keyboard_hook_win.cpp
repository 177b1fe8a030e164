#include "input/keyboard_hook_win.h"

#include <string>

#include "base/dialog_win.h"
#include "input/keyboard_keys.h"
#include "input/shell_win.h"
#include "input/turn_flow.h"

namespace {

// The key event as the portable flow takes it: the layout's translation with the
// modifier sides tracked here, and the editor's key code.
KeyEvent TranslateKey(WPARAM wParam, LPARAM lParam)
{
    FlowState& state = shell.board.state;
    KeyboardState keys{};
    GetKeyboardState(keys.data());
    const auto eventBits = static_cast<std::uint32_t>(lParam);
    const std::uint8_t virtualKey = VirtualKeyOf(wParam);
    const std::uint8_t scanCode = ScanCodeOf(eventBits);
    TrackModifierSide(state.modifierSides, virtualKey, scanCode, eventBits);
    AdjustKeyboardState(keys, state.modifierSides);

    WORD translated = 0;
    const int count = ToAsciiEx(virtualKey, scanCode, keys.data(), &translated, 0, GetKeyboardLayout(0));
    KeyEvent key;
    key.keyCode = KeyCodeFrom(scanCode, keys);
    key.virtualKey = virtualKey;
    key.character = std::string(1, CharacterFromTranslation(count, translated));
    key.handledPress = IsHandledKeyPress(virtualKey, eventBits);
    return key;
}

}  // namespace

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    // The game never consumes a key: the window and any other hook see it as well.
    const LRESULT result = CallNextHookEx(shell.keyboardHook, code, wParam, lParam);
    // A loop that only peeks at the key (a menu's does, before it takes the key)
    // calls the hook once more for the same event: act once, when it is taken.
    if (code != HC_ACTION) return result;
    const bool nested = shell.board.state.handlingKey;
    RunGuarded(shell.mainWindow, "KeyboardHookProc", [&] { HandleKey(shell.board, TranslateKey(wParam, lParam)); });
    // Even after an error further down, the key is no longer in hand.
    shell.board.state.handlingKey = nested;
    return result;
}

void InstallKeyboardHook()
{
    shell.board.state.modifierSides = {};
    shell.board.state.handlingKey = false;
    shell.keyboardHook = SetWindowsHookExA(WH_KEYBOARD, KeyboardHookProc, nullptr, GetCurrentThreadId());
}

void RemoveKeyboardHook()
{
    if (shell.keyboardHook != nullptr) UnhookWindowsHookEx(shell.keyboardHook);
    shell.keyboardHook = nullptr;
}
