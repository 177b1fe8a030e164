#include "input/game_keys.h"

#include "game/field_editor.h"

std::int32_t EditorKeyOf(const GameKey& key)
{
    using namespace fieldKey;
    std::int32_t code = kTyped;
    switch (key.position) {
    case KeyPosition::Backspace: code = kBackspace; break;
    case KeyPosition::Tab: code = kTab; break;
    case KeyPosition::Home: code = kHome; break;
    case KeyPosition::Up: code = kUp; break;
    case KeyPosition::PageUp: code = kPageUp; break;
    case KeyPosition::Left: code = kLeft; break;
    case KeyPosition::Right: code = kRight; break;
    case KeyPosition::End: code = kEnd; break;
    case KeyPosition::Down: code = kDown; break;
    case KeyPosition::PageDown: code = kPageDown; break;
    case KeyPosition::Insert: code = kInsert; break;
    case KeyPosition::Delete: code = kDelete; break;
    case KeyPosition::KeypadPlus: code = -kFontLarger; break;
    case KeyPosition::KeypadMinus: code = -kFontSmaller; break;
    case KeyPosition::Enter:
    case KeyPosition::Escape:
    case KeyPosition::Other: break;
    }
    return key.leftCtrl ? -code : code;
}

bool IsSubmitKey(const GameKey& key)
{
    return key.position == KeyPosition::Enter || (key.position == KeyPosition::Down && !key.leftCtrl);
}
