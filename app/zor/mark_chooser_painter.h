#pragma once

#include "ui/qt/screen_painter.h"

class QWidget;

namespace zor::app {

// Draws the correction screen's mark choosers as the front window draws a
// drop-down, with the choice in the chooser's own colour (red "F", green "G").
class MarkChooserPainter : public ui::qt::ControlPainter {
  public:
    // `styleSource` lends its style and palette, as for the other controls.
    explicit MarkChooserPainter(const QWidget& styleSource) : styleSource_(styleSource) {}

    bool paint(QPainter& p, const ui::Control& c) const override;
    std::size_t digest(const ui::Control& c) const override;

  private:
    const QWidget& styleSource_;
};

}  // namespace zor::app
