#include "report/page_view.h"

namespace zor::report {

PageView::PageView(ui::Screen& owner, std::string name, ui::Bounds bounds)
    : ui::Control(owner, std::move(name), bounds) {}

void PageView::SetZoomState(TZoomState state) {
    if (state == zoomState_) return;
    zoomState_ = state;
    if (OnZoomChange) OnZoomChange();
}

void PageView::SetZoom(int percent) {
    if (zoomState_ == TZoomState::zsCustom && zoom_ == percent) return;
    zoom_ = percent;
    zoomState_ = TZoomState::zsCustom;
    if (OnZoomChange) OnZoomChange();
}

}  // namespace zor::report
