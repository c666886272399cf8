#include "zor/page_view_painter.h"

#include <QPainter>
#include <functional>
#include <span>
#include <string_view>

#include "pagestore/qt/emf_player.h"
#include "report/page_view.h"

namespace zor::app {

namespace {

QColor colorOf(std::uint32_t rgb) { return QColor::fromRgb(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// The store is the display's own; reading a page goes through its page cache.
pagestore::TPrintPreview& storeOf(const report::PageView& view) {
    return const_cast<report::PageView&>(view).Store();
}

}  // namespace

bool PageViewPainter::paint(QPainter& p, const ui::Control& c) const {
    const auto* view = dynamic_cast<const report::PageView*>(&c);
    if (!view) return false;
    const QRect area(view->bounds.left, view->bounds.top, view->bounds.width, view->bounds.height);
    p.save();
    p.setClipRect(area);
    if (view->hasBackgroundColor) p.fillRect(area, colorOf(view->backgroundColor));
    const pagestore::PreviewLayout& layout = view->Layout();
    if (!layout.Visible() || !layout.Usable()) {
        p.restore();
        return true;
    }
    // The view is the sheet with its border and the shadow at the lower right,
    // placed by the layout and moved by the scroll positions.
    const int shadow = layout.ShadowWidth();
    const int border = layout.BorderWidth();
    const QRect frame(area.left() + layout.ViewLeft() - layout.HPos(),
                      area.top() + layout.ViewTop() - layout.VPos(),
                      layout.ViewWidth() - shadow, layout.ViewHeight() - shadow);
    p.fillRect(frame.translated(shadow, shadow), Qt::darkGray);
    p.fillRect(frame, Qt::black);
    const QRect sheet = frame.adjusted(border, border, -border, -border);
    p.fillRect(sheet, Qt::white);
    pagestore::TPrintPreview& store = storeOf(*view);
    try {
        if (const std::vector<std::uint8_t>* page = store.GetPage(std::max(1, store.CurrentPage())))
            pagestore::qt::playEmf(p, *page, QRectF(sheet));
    } catch (const std::exception&) {
        // A damaged page leaves the sheet blank; opening the report said so already.
    }
    p.restore();
    return true;
}

std::size_t PageViewPainter::digest(const ui::Control& c) const {
    const auto* view = dynamic_cast<const report::PageView*>(&c);
    if (!view) return 0;
    pagestore::TPrintPreview& store = storeOf(*view);
    const pagestore::PreviewLayout& layout = view->Layout();
    std::size_t d = std::hash<int>{}(layout.ViewWidth() * 100003 + layout.ViewHeight());
    d ^= std::hash<int>{}((layout.HPos() - layout.ViewLeft()) * 7919 + layout.VPos() - layout.ViewTop()) +
         0x9e3779b9 + (d << 6);
    d ^= std::hash<int>{}(store.CurrentPage() * 7919 + store.TotalPages()) + 0x9e3779b9 + (d << 6);
    d ^= std::hash<std::uint32_t>{}(view->backgroundColor) + (d << 3);
    try {
        if (const std::vector<std::uint8_t>* page = store.GetPage(std::max(1, store.CurrentPage())))
            d ^= std::hash<std::string_view>{}(std::string_view(
                     reinterpret_cast<const char*>(page->data()), page->size())) +
                 (d << 5);
    } catch (const std::exception&) {
    }
    return d;
}

}  // namespace zor::app
