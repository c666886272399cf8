#pragma once

#include "ui/qt/screen_painter.h"

namespace zor::app {

// Draws the report screens' page display: the current page of its store as a
// white sheet with a border and an offset shadow on the display's background,
// at its zoom (the whole page, the page width, the page height or a fixed
// percentage of the paper's screen size), clipped to the display.
class PageViewPainter : public ui::qt::ControlPainter {
  public:
    bool paint(QPainter& p, const ui::Control& c) const override;
    std::size_t digest(const ui::Control& c) const override;
};

}  // namespace zor::app
