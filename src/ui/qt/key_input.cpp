#include "ui/qt/key_input.h"

#include <algorithm>

#include "text/encoding.h"

namespace zor::ui::qt {

int virtualKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        const int digit = qtKey - Qt::Key_0;
        return (modifiers & Qt::KeypadModifier) ? 96 + digit : '0' + digit;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return keys::F1 + (qtKey - Qt::Key_F1);
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey == Qt::Key_Plus) return keys::Add;
        if (qtKey == Qt::Key_Minus) return keys::Subtract;
    }
    switch (qtKey) {
        case Qt::Key_Backspace: return keys::Back;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return keys::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return keys::Return;
        case Qt::Key_Escape: return keys::Escape;
        case Qt::Key_Space: return keys::Space;
        case Qt::Key_Left: return keys::Left;
        case Qt::Key_Up: return keys::Up;
        case Qt::Key_Right: return keys::Right;
        case Qt::Key_Down: return keys::Down;
        case Qt::Key_PageUp: return keys::PageUp;
        case Qt::Key_PageDown: return keys::PageDown;
        case Qt::Key_End: return keys::End;
        case Qt::Key_Home: return keys::Home;
        case Qt::Key_Insert: return 45;
        case Qt::Key_Delete: return keys::Delete;
        case Qt::Key_Shift: return 16;
        case Qt::Key_Control: return 17;
        case Qt::Key_Alt: return 18;
        default: return 0;
    }
}

Shift shiftOf(Qt::KeyboardModifiers modifiers) {
    return {(modifiers & Qt::ShiftModifier) != 0, (modifiers & Qt::AltModifier) != 0,
            (modifiers & Qt::ControlModifier) != 0};
}

void EditCursor::clampCaret() {
    const int length = int(text::utf8ToUtf32(text).size());
    caret = caret < 0 ? length : std::min(caret, length);
}

bool EditCursor::pressKey(int key) {
    clampCaret();
    const std::u32string chars = text::utf8ToUtf32(text);
    switch (key) {
        case keys::Left: caret = std::max(0, caret - 1); return false;
        case keys::Right: caret = std::min(int(chars.size()), caret + 1); return false;
        case keys::Home: caret = 0; return false;
        case keys::End: caret = int(chars.size()); return false;
        case keys::Delete: {
            if (caret >= int(chars.size())) return false;
            std::u32string rest = chars;
            rest.erase(std::size_t(caret), 1);
            text = text::utf32ToUtf8(rest);
            return true;
        }
        default: return false;
    }
}

}  // namespace zor::ui::qt
