#include "zor/page_view_painter.h"

#include <QPainter>
#include <functional>
#include <span>
#include <string_view>

#include "pagestore/qt/emf_player.h"
#include "report/page_view.h"

namespace zor::app {

namespace {

constexpr int kMargin = 10;
constexpr int kShadow = 3;

QColor colorOf(std::uint32_t rgb) { return QColor::fromRgb(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// The sheet's size on screen for the display's zoom.
QSize sheetSize(const report::PageView& view, pagestore::TPrintPreview& store) {
    const emf::Size paper = store.PaperSizeInPixels();
    const double width = std::max(1, paper.cx);
    const double height = std::max(1, paper.cy);
    const double room_w = std::max(1, view.bounds.width - 2 * kMargin);
    const double room_h = std::max(1, view.bounds.height - 2 * kMargin);
    double scale = 1.0;
    switch (view.ZoomState()) {
        case report::TZoomState::zsZoomToFit: scale = std::min(room_w / width, room_h / height); break;
        case report::TZoomState::zsZoomToWidth: scale = room_w / width; break;
        case report::TZoomState::zsZoomToHeight: scale = room_h / height; break;
        case report::TZoomState::zsCustom: scale = view.Zoom() / 100.0; break;
    }
    return {static_cast<int>(width * scale), static_cast<int>(height * scale)};
}

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
    pagestore::TPrintPreview& store = storeOf(*view);
    const QSize size = sheetSize(*view, store);
    // A sheet narrower than the display is centred; a wider or taller one
    // starts at the margin.
    const int left = area.left() + std::max(kMargin, (area.width() - size.width()) / 2);
    const int top = area.top() + std::max(kMargin, (area.height() - size.height()) / 2);
    const QRect sheet(left, top, size.width(), size.height());
    p.fillRect(sheet.translated(kShadow, kShadow), Qt::darkGray);
    p.fillRect(sheet, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(sheet.adjusted(0, 0, -1, -1));
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
    std::size_t d = std::hash<int>{}(static_cast<int>(view->ZoomState()) * 1000 + view->Zoom());
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
