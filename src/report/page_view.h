#pragma once
// The control model of the page display on the report screens: the page store
// it shows, its zoom, and where the sheet lies and how far it is scrolled. The
// Qt front end draws the current page of the store on the sheet the layout
// gives, and passes the mouse wheel and dragging on.
#include <functional>

#include "pagestore/preview_layout.h"
#include "pagestore/print_preview.h"
#include "ui/controls.h"
#include "ui/keys.h"

namespace zor::report {

using pagestore::TZoomState;

class PageView : public ui::Control, public ui::PointerInput {
public:
    PageView(ui::Screen& owner, std::string name, ui::Bounds bounds);

    pagestore::TPrintPreview& Store() { return store_; }
    TZoomState ZoomState() const { return layout_.ZoomState(); }
    void SetZoomState(TZoomState state);
    // A fixed zoom in percent, kept within the layout's limits.
    int Zoom() const { return layout_.Zoom(); }
    void SetZoom(int percent);
    // Lays the sheet out again for the control's size and the store's paper
    // and pages; the screens call it when the store changed.
    void Relayout();
    const pagestore::PreviewLayout& Layout() const { return layout_; }

    // A key for the display (arrows, Home, End, Page Up/Down, numeric + and -);
    // false when the display leaves it alone.
    bool displayKey(int key, ui::Shift shift);

    bool wheel(int delta, bool shift, bool ctrl) override;
    void press(int x, int y) override;
    void move(int x, int y, bool leftButtonDown) override;
    void release() override;

    std::uint32_t backgroundColor = 0x000000;  // 0xRRGGBB
    bool hasBackgroundColor = true;

    std::function<void()> OnZoomChange;

private:
    void syncLayout();

    pagestore::TPrintPreview store_;
    pagestore::PreviewLayout layout_;
};

}  // namespace zor::report
