#pragma once

#include <cstddef>

#include <QImage>
#include <vector>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "ui/controls.h"
#include "ui/screen.h"

class QPainter;
class QWidget;

namespace zor::ui::qt {

class QtPictureSource;

inline QRect rectOf(const Bounds& b) { return {b.left, b.top, b.width, b.height}; }

// Draws screen models: any screen, control by control in creation order,
// the way the controls' fields say.
// Draws a kind of control that belongs to another subsystem (a report's
// page display, for instance) and that the runtime's own controls do not cover.
class ControlPainter {
public:
    virtual ~ControlPainter() = default;
    // Draws `c` when it is of this painter's kind; returns whether it was.
    virtual bool paint(QPainter& p, const Control& c) const = 0;
    // A digest of what `paint` draws of `c`; 0 for controls of other kinds.
    virtual std::size_t digest(const Control& c) const = 0;
};

class ScreenPainter {
public:
    // `styleSource` lends its style, palette and font to the standard controls.
    ScreenPainter(const QtPictureSource& pictures, const QWidget& styleSource)
        : pictures_(pictures), styleSource_(styleSource) {}

    // The screen at `size` on its colour; with the screen's
    // transparent colour enabled, its aqua areas are fully transparent.
    // `keyboard`: the screen has the keyboard, so its focused edit shows
    // the caret.
    QImage render(const Screen& screen, QSize size, bool keyboard) const;

    // A digest of everything `render` draws from: a screen whose digest is
    // unchanged need not be drawn again.
    static std::size_t digest(const Screen& screen, QSize size, bool keyboard);
    // The digest with what the added control painters draw.
    std::size_t fullDigest(const Screen& screen, QSize size, bool keyboard) const;

    // Adds a painter for controls of another subsystem; it must outlive this one.
    void addControlPainter(const ControlPainter& painter) { extraPainters_.push_back(&painter); }

private:
    void paintControl(QPainter& p, const Control& c, bool caret) const;
    void paintPicture(QPainter& p, const Picture& c) const;
    void paintLabel(QPainter& p, const Label& c) const;
    void paintEdit(QPainter& p, const Edit& c, bool caret) const;
    void paintRadioGroup(QPainter& p, const RadioGroup& c, bool focused) const;
    void paintComboBox(QPainter& p, const ComboBox& c) const;
    void paintPushButton(QPainter& p, const PushButton& c) const;
    void paintCheckBox(QPainter& p, const CheckBox& c) const;
    void paintStringGrid(QPainter& p, const StringGrid& c) const;
    void paintProgressBar(QPainter& p, const ProgressBar& c) const;

    const QtPictureSource& pictures_;
    const QWidget& styleSource_;
    std::vector<const ControlPainter*> extraPainters_;
};

// Geometry shared by drawing and input.
namespace layout {
inline constexpr int kGridColWidth = 64;
inline constexpr int kGridRowHeight = 24;
inline constexpr int kEditPadding = 3;
// Radio items lower than this are laid side by side instead of stacked.
inline constexpr int kRadioMinItemHeight = 18;
// The area of item `index` of a radio group, in screen coordinates.
QRect radioItemRect(const RadioGroup& group, int index);
// The item of a radio group at a point, or -1.
int radioItemAt(const RadioGroup& group, QPoint point);
// The caret index nearest to x (screen coordinates) in an edit's text.
int caretAt(const Edit& edit, const QWidget& styleSource, int x);
}  // namespace layout

// The control that receives a mouse event at a point of the screen: the
// last created visible control there, or none.
Control* controlAt(const Screen& screen, QPoint point);

}  // namespace zor::ui::qt
