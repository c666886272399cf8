#pragma once

#include <string>

#include <Qt>

#include "ui/keys.h"

namespace zor::ui::qt {

// The key code the screens use for a Qt key, or 0 for keys they never see.
int virtualKey(int qtKey, Qt::KeyboardModifiers modifiers);
Shift shiftOf(Qt::KeyboardModifiers modifiers);

// The text of an edit with its caret (a character index), as typing
// changes it once the screen's key handlers have had the key.
struct EditCursor {
    std::string text;
    int caret = 0;

    // A typed character: printable characters go in at the caret (not past
    // `maxLength` characters when it is above 0), Backspace removes the one
    // before it. Returns whether the text changed.
    bool typeCharacter(char32_t ch, int maxLength);
    // A key that types nothing: Delete removes the character after the
    // caret; Left, Right, Home and End move the caret. Returns whether the
    // text changed.
    bool pressKey(int key);
    // Keeps the caret inside the text after the text changed elsewhere.
    void clampCaret();
};

}  // namespace zor::ui::qt
