#pragma once

#include "ui/qt/front_window.h"

namespace zor::app {

// Shows the lower panel of the report screens with the page store's display:
// the sheet with its border and shadow, scroll bars, zoom, keys, wheel and drag.
class PreviewPanelWidgets : public ui::qt::ControlWidgets {
  public:
    std::unique_ptr<QWidget> makeWidget(ui::Control& c, QWidget& parent) const override;
};

}  // namespace zor::app
