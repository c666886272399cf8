#include <gtest/gtest.h>

#include "ui/qt/key_input.h"

namespace zor::ui::qt {
namespace {

TEST(KeyInput, QtKeysBecomeTheScreensKeyCodes) {
    EXPECT_EQ(virtualKey(Qt::Key_A, Qt::NoModifier), 'A');
    EXPECT_EQ(virtualKey(Qt::Key_Z, Qt::ShiftModifier), 'Z');
    EXPECT_EQ(virtualKey(Qt::Key_7, Qt::NoModifier), '7');
    EXPECT_EQ(virtualKey(Qt::Key_7, Qt::KeypadModifier), 96 + 7);
    EXPECT_EQ(virtualKey(Qt::Key_Return, Qt::NoModifier), keys::Return);
    EXPECT_EQ(virtualKey(Qt::Key_Enter, Qt::KeypadModifier), keys::Return);
    EXPECT_EQ(virtualKey(Qt::Key_Escape, Qt::NoModifier), keys::Escape);
    EXPECT_EQ(virtualKey(Qt::Key_Backspace, Qt::NoModifier), keys::Back);
    EXPECT_EQ(virtualKey(Qt::Key_F4, Qt::AltModifier), keys::F4);
    EXPECT_EQ(virtualKey(Qt::Key_Down, Qt::NoModifier), keys::Down);
    EXPECT_EQ(virtualKey(Qt::Key_PageDown, Qt::NoModifier), keys::PageDown);
    // Only the numeric pad's plus and minus zoom a page display.
    EXPECT_EQ(virtualKey(Qt::Key_Plus, Qt::KeypadModifier), keys::Add);
    EXPECT_EQ(virtualKey(Qt::Key_Minus, Qt::KeypadModifier), keys::Subtract);
    EXPECT_EQ(virtualKey(Qt::Key_Plus, Qt::NoModifier), 0);
    EXPECT_EQ(virtualKey(Qt::Key_Eacute, Qt::NoModifier), 0);
    const Shift s = shiftOf(Qt::AltModifier | Qt::ControlModifier);
    EXPECT_TRUE(s.alt);
    EXPECT_TRUE(s.ctrl);
    EXPECT_FALSE(s.shift);
}

TEST(KeyInput, DeleteAndCaretKeys) {
    EditCursor e{"abc", 0};
    EXPECT_TRUE(e.pressKey(46));  // Delete
    EXPECT_EQ(e.text, "bc");
    EXPECT_FALSE(e.pressKey(35));  // End
    EXPECT_EQ(e.caret, 2);
    EXPECT_FALSE(e.pressKey(46));  // nothing after the caret
    EXPECT_FALSE(e.pressKey(keys::Right));
    EXPECT_EQ(e.caret, 2);
    e.pressKey(keys::Left);
    e.pressKey(keys::Left);
    e.pressKey(keys::Left);
    EXPECT_EQ(e.caret, 0);

    // The caret at the end (-1) of a text with a two-byte character.
    EditCursor end{"Jos\u00e9", -1};
    end.pressKey(keys::Left);
    EXPECT_EQ(end.caret, 3);
    EXPECT_TRUE(end.pressKey(46));
    EXPECT_EQ(end.text, "Jos");

    EditCursor shrunk{"ab", 9};  // the text was changed elsewhere
    shrunk.clampCaret();
    EXPECT_EQ(shrunk.caret, 2);
}

}  // namespace
}  // namespace zor::ui::qt
