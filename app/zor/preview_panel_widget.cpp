#include "zor/preview_panel_widget.h"

#include "pagestore/qt/paper_preview.h"
#include "report/report_screen.h"
#include "ui/screen.h"

namespace zor::app {

namespace {
QColor colorOf(std::uint32_t rgb) { return QColor::fromRgb(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// The shadow takes the desktop's colour; the desktops this runs on name none,
// so the grey of a classic desktop stands for it.
const QColor kDesktopColor(0x80, 0x80, 0x80);
}  // namespace

std::unique_ptr<QWidget> PreviewPanelWidgets::makeWidget(ui::Control& c, QWidget& parent) const {
    auto* panel = dynamic_cast<report::PreviewPanel*>(&c);
    if (!panel) return nullptr;
    auto display = std::make_unique<pagestore::qt::TPaperPreview>(panel->Store(), &parent);
    QPalette colours = display->palette();
    colours.setColor(QPalette::Window,
                     colorOf(panel->backgroundColor.value_or(panel->owner().color)));
    display->setPalette(colours);
    pagestore::qt::TPaperPreviewOptions view = display->PaperView();
    view.ShadowColor = kDesktopColor;
    display->SetPaperView(view);
    return display;
}

}  // namespace zor::app
