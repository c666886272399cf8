#pragma once
// The control model of the page display on the report screens: the page store
// it shows, its zoom and its current page. The Qt front end draws the current
// page of the store at this zoom (the page preview display).
#include <functional>

#include "pagestore/print_preview.h"
#include "ui/controls.h"

namespace zor::report {

enum class TZoomState { zsZoomToFit, zsZoomToWidth, zsZoomToHeight, zsCustom };

class PageView : public ui::Control {
public:
    PageView(ui::Screen& owner, std::string name, ui::Bounds bounds);

    pagestore::TPrintPreview& Store() { return store_; }
    TZoomState ZoomState() const { return zoomState_; }
    void SetZoomState(TZoomState state);
    // A fixed zoom in percent.
    int Zoom() const { return zoom_; }
    void SetZoom(int percent);
    std::uint32_t backgroundColor = 0x000000;  // 0xRRGGBB
    bool hasBackgroundColor = true;

    std::function<void()> OnZoomChange;

private:
    pagestore::TPrintPreview store_;
    TZoomState zoomState_ = TZoomState::zsZoomToFit;
    int zoom_ = 100;
};

}  // namespace zor::report
