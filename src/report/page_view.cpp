#include "report/page_view.h"

namespace zor::report {

namespace {
// The margins the report screens keep around the sheet.
constexpr int kMargin = 10;
}  // namespace

PageView::PageView(ui::Screen& owner, std::string name, ui::Bounds bounds)
    : ui::Control(owner, std::move(name), bounds) {
    layout_.SetMargins(kMargin, kMargin);
    // The display draws no scroll bars of its own: wheel and dragging scroll it.
    layout_.SetScrollBarThickness(0, 0);
    layout_.OnZoomChange = [this] {
        if (OnZoomChange) OnZoomChange();
    };
    layout_.OnPageMove = [this](pagestore::PageMove move) { pagestore::MovePage(store_, move); };
}

void PageView::syncLayout() {
    const emf::Size paper = store_.PaperSizeInPixels();
    layout_.SetDisplaySize(bounds.width, bounds.height);
    layout_.SetPaperPixels(paper.cx, paper.cy);
    layout_.SetHasPage(store_.TotalPages() > 0);
}

void PageView::SetZoomState(TZoomState state) {
    const bool changed = state != layout_.ZoomState();
    syncLayout();
    layout_.SetZoomState(state);
    // The zoom box follows the state as well as the zoom.
    if (changed && OnZoomChange) OnZoomChange();
}

void PageView::SetZoom(int percent) {
    syncLayout();
    layout_.SetZoom(percent);
}

void PageView::Relayout() {
    syncLayout();
    layout_.Layout();
}

bool PageView::displayKey(int key, ui::Shift shift) {
    using pagestore::PreviewKey;
    PreviewKey previewKey = PreviewKey::Other;
    switch (key) {
        case ui::keys::Home: previewKey = PreviewKey::Home; break;
        case ui::keys::End: previewKey = PreviewKey::End; break;
        case ui::keys::Left: previewKey = PreviewKey::Left; break;
        case ui::keys::Right: previewKey = PreviewKey::Right; break;
        case ui::keys::Up: previewKey = PreviewKey::Up; break;
        case ui::keys::Down: previewKey = PreviewKey::Down; break;
        case ui::keys::PageUp: previewKey = PreviewKey::PageUp; break;
        case ui::keys::PageDown: previewKey = PreviewKey::PageDown; break;
        case ui::keys::Add: previewKey = PreviewKey::ZoomIn; break;
        case ui::keys::Subtract: previewKey = PreviewKey::ZoomOut; break;
        default: return false;
    }
    if (!enabled || !layout_.Visible()) return false;
    return layout_.KeyDown(previewKey, {.shift = shift.shift, .ctrl = shift.ctrl, .alt = shift.alt});
}

bool PageView::wheel(int delta, bool shift, bool ctrl) {
    if (!acceptsInput()) return false;
    bool taken = false;
    runEvent([&] { taken = layout_.Wheel(delta, {.shift = shift, .ctrl = ctrl}, false); });
    return taken;
}

void PageView::press(int x, int y) {
    if (acceptsInput()) layout_.Press(x, y);
}

void PageView::move(int x, int y, bool leftButtonDown) {
    if (acceptsInput()) layout_.Move(x, y, leftButtonDown);
}

void PageView::release() { layout_.Release(); }

}  // namespace zor::report
