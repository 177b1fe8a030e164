#include "input/keyboard_hook_win.h"

#include <string>

#include "app/control_ids.h"
#include "app/main_window_win.h"
#include "game/field_editor_win.h"
#include "game/game_state.h"
#include "input/keyboard_keys.h"
#include "input/turn_flow_win.h"

HHOOK keyboardHook = nullptr;

namespace {

ModifierSides modifierSides;

// True while the hook is handling a key. A message box opened further down runs its
// own message loop, which calls the hook again for the keys typed into it (under
// Wine even for the same key event); those keys are passed on and nothing else.
bool handlingKey = false;

void EditCurrentRow(std::int32_t keyCode, const std::string& keyChar)
{
    // The row is taken once: the text goes back into the row it came from.
    const int row = gameState.currentAttempt;
    LoadRow(row);
    EditField(keyCode, keyChar, gameState.editBuffer, mainWindow, kRowFieldBase + row,
              gameState.fieldStyle[row].fontSize);
    if (gameState.fieldStyle[row].lines > 0) gameState.rowText[row] = gameState.editBuffer;
}

// Under Wine the key event being handled is still in the queue while the hook runs,
// so a message box opened further down would read this very key (an Enter closes
// it at once). Take that stale copy out first. Where the platform has removed the
// event already, the next key message is another event and nothing is taken.
void DiscardQueuedCopyOf(WPARAM wParam, LPARAM lParam)
{
    MSG queued{};
    if (PeekMessageA(&queued, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE) && queued.wParam == wParam &&
        queued.lParam == lParam && (queued.message == WM_KEYDOWN || queued.message == WM_SYSKEYDOWN)) {
        PeekMessageA(&queued, nullptr, queued.message, queued.message, PM_REMOVE);
    }
}

}  // namespace

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    // The game never consumes a key: the window and any other hook see it as well.
    const LRESULT result = CallNextHookEx(keyboardHook, code, wParam, lParam);
    // A loop that only peeks at the key (a menu's does, before it takes the key)
    // calls the hook once more for the same event: act once, when it is taken.
    if (code != HC_ACTION) return result;

    KeyboardState state{};
    GetKeyboardState(state.data());
    const auto eventBits = static_cast<std::uint32_t>(lParam);
    const std::uint8_t virtualKey = VirtualKeyOf(wParam);
    const std::uint8_t scanCode = ScanCodeOf(eventBits);
    TrackModifierSide(modifierSides, virtualKey, scanCode, eventBits);
    AdjustKeyboardState(state, modifierSides);

    WORD translated = 0;
    const int count = ToAsciiEx(virtualKey, scanCode, state.data(), &translated, 0, GetKeyboardLayout(0));
    const std::string keyChar(1, CharacterFromTranslation(count, translated));
    const std::int32_t keyCode = KeyCodeFrom(scanCode, state);

    KeyGuards guards;
    guards.gameOver = gameState.gameOver != 0;
    guards.endBoxOpen = EndBoxOpen();
    guards.hookBusy = handlingKey;
    const KeyRoute route = RouteKey(keyCode, virtualKey,
                                    gameState.fieldStyle[gameState.currentAttempt].submitOnEnter,
                                    IsHandledKeyPress(virtualKey, eventBits), guards);
    if (route != KeyRoute::PassOnly) {
        handlingKey = true;
        if (route == KeyRoute::Submit) {
            DiscardQueuedCopyOf(wParam, lParam);
            SubmitGuess();
        } else {
            // The editor can open a box too (its error messages).
            DiscardQueuedCopyOf(wParam, lParam);
            EditCurrentRow(keyCode, keyChar);
        }
        handlingKey = false;
    }
    return result;
}

bool KeyboardHookBusy() { return handlingKey; }

void InstallKeyboardHook()
{
    modifierSides = {};
    handlingKey = false;
    keyboardHook = SetWindowsHookExA(WH_KEYBOARD, KeyboardHookProc, nullptr, GetCurrentThreadId());
}

void RemoveKeyboardHook()
{
    UnhookWindowsHookEx(keyboardHook);
    keyboardHook = nullptr;
}
