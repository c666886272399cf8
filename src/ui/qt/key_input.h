#pragma once

#include <string>

#include <Qt>

#include "ui/keys.h"

namespace zor::ui::qt {

// The key code the screens use for a Qt key, or 0 for keys they never see.
int virtualKey(int qtKey, Qt::KeyboardModifiers modifiers);
Shift shiftOf(Qt::KeyboardModifiers modifiers);

// The text of an edit with its caret (a character index; below 0 it
// stands at the end), as the keys that type no character change it once
// the screen's key handlers have had the key.
struct EditCursor {
    std::string text;
    int caret = -1;

    // A key that types nothing: Delete removes the character after the
    // caret; Left, Right, Home and End move the caret. Returns whether the
    // text changed.
    bool pressKey(int key);
    // Keeps the caret inside the text after the text changed elsewhere.
    void clampCaret();
};

}  // namespace zor::ui::qt
