#include "pagestore/preview_layout.h"

#include <algorithm>
#include <cstdint>

#include "emf/mul_div.h"
#include "pagestore/print_preview.h"

namespace zor::pagestore {
namespace {

constexpr int WheelNotch = 120;

// numerator / denominator rounded to the nearest whole number, halves to even.
int divideRoundingHalfToEven(std::int64_t numerator, std::int64_t denominator) {
    if (denominator <= 0) return 0;
    std::int64_t q = numerator / denominator;
    std::int64_t r = numerator % denominator;
    if (r < 0) {
        r += denominator;
        --q;
    }
    if (2 * r > denominator || (2 * r == denominator && (q & 1) != 0)) ++q;
    return int(q);
}

}  // namespace

void PreviewLayout::SetDisplaySize(int width, int height) {
    displayWidth_ = std::max(width, 0);
    displayHeight_ = std::max(height, 0);
}

void PreviewLayout::SetMargins(int horizontal, int vertical) {
    marginH_ = std::max(horizontal, 0);
    marginV_ = std::max(vertical, 0);
}

void PreviewLayout::SetScrollBarThickness(int horizontalBarHeight, int verticalBarWidth) {
    hBar_ = std::max(horizontalBarHeight, 0);
    vBar_ = std::max(verticalBarWidth, 0);
}

void PreviewLayout::SetPaperPixels(int width, int height) {
    paperWidth_ = std::max(width, 0);
    paperHeight_ = std::max(height, 0);
}

void PreviewLayout::SetHasPage(bool hasPage) {
    hasPage_ = hasPage;
    if (hasPage) return;
    // A hidden sheet leaves nothing to scroll or drag.
    canScrollH_ = canScrollV_ = false;
    hPos_ = vPos_ = 0;
    cursor_ = PreviewCursor::Normal;
    dragging_ = false;
}

void PreviewLayout::SetFrame(int borderWidth, int shadowWidth) {
    borderWidth_ = std::max(borderWidth, 0);
    shadowWidth_ = std::max(shadowWidth, 0);
}

// --- Zoom ----------------------------------------------------------------------------

void PreviewLayout::SetZoom(int zoom) {
    zoom = std::clamp(zoom, zoomMin_, zoomMax_);
    if (zoom == zoom_ && zoomState_ == zsZoomOther) return;
    const int previous = zoom_;
    const TZoomState previousState = zoomState_;
    zoom_ = zoom;
    zoomState_ = zsZoomOther;
    layout();
    if (!usable_) {
        // No bitmap can be made at this size: the previous zoom stays, and a
        // fitted sheet goes on following the window.
        zoom_ = previous;
        zoomState_ = previousState;
        layout();
        return;
    }
    if (OnZoomChange) OnZoomChange();
}

void PreviewLayout::SetZoomMin(int value) {
    if (value <= 0 || value > zoomMax_ || value == zoomMin_) return;
    zoomMin_ = value;
    if (zoomState_ == zsZoomOther && zoom_ < value) SetZoom(value);
}

void PreviewLayout::SetZoomMax(int value) {
    if (value < zoomMin_ || value == zoomMax_) return;
    zoomMax_ = value;
    if (zoomState_ == zsZoomOther && zoom_ > value) SetZoom(value);
}

void PreviewLayout::SetZoomState(TZoomState state) {
    if (state == zoomState_) return;
    zoomState_ = state;
    Layout();
}

// --- Layout -----------------------------------------------------------------------------

void PreviewLayout::computeSheet(int availableWidth, int availableHeight) {
    const int extra = Extra();
    const int pw = paperWidth_, ph = paperHeight_;
    auto toWidth = [&] {
        viewWidth_ = availableWidth;
        viewHeight_ = extra + emf::mulDiv(availableWidth - extra, ph, pw);
    };
    auto toHeight = [&] {
        viewHeight_ = availableHeight;
        viewWidth_ = extra + emf::mulDiv(availableHeight - extra, pw, ph);
    };
    switch (zoomState_) {
        case zsZoomOther:
            viewWidth_ = extra + emf::mulDiv(pw, zoom_, 100);
            viewHeight_ = extra + emf::mulDiv(ph, zoom_, 100);
            return;
        case zsZoomToWidth:
            toWidth();
            break;
        case zsZoomToHeight:
            toHeight();
            break;
        case zsZoomToFit:
            // The window is relatively taller than the paper: its width limits the sheet.
            if (std::int64_t(availableHeight) * pw > std::int64_t(ph) * availableWidth)
                toWidth();
            else
                toHeight();
            break;
    }
    viewWidth_ = std::max(viewWidth_, extra);
    viewHeight_ = std::max(viewHeight_, extra);
    zoom_ = divideRoundingHalfToEven(std::int64_t(viewHeight_ - extra) * 100, ph);
}

void PreviewLayout::Layout() {
    const int before = zoom_;
    layout();
    if (zoom_ != before && OnZoomChange) OnZoomChange();
}

void PreviewLayout::layout() {
    if (!hasPage_ || paperWidth_ <= 0 || paperHeight_ <= 0) return;
    int availableWidth = displayWidth_ - 2 * marginH_;
    int availableHeight = displayHeight_ - 2 * marginV_;
    int percentH = 0, percentV = 0;
    if (zoomSavePos_) {
        if (HMax() > 0) percentH = std::max(0, emf::mulDiv(hPos_, 100, HMax()));
        if (VMax() > 0) percentV = std::max(0, emf::mulDiv(vPos_, 100, VMax()));
    }
    hPos_ = vPos_ = 0;

    computeSheet(availableWidth, availableHeight);
    bool canH = availableWidth < viewWidth_;
    bool canV = availableHeight < viewHeight_;
    // A scroll bar takes room from the other direction; a fitted sheet is sized
    // again for the smaller room before the other direction is judged.
    if (canH) {
        availableHeight -= hBar_;
        computeSheet(availableWidth, availableHeight);
        if (availableHeight < viewHeight_) {
            canV = true;
            availableWidth -= vBar_;
            computeSheet(availableWidth, availableHeight);
        }
    } else if (canV) {
        availableWidth -= vBar_;
        computeSheet(availableWidth, availableHeight);
        if (availableWidth < viewWidth_) {
            canH = true;
            availableHeight -= hBar_;
            computeSheet(availableWidth, availableHeight);
        }
    }
    canScrollH_ = canH;
    canScrollV_ = canV;
    viewLeft_ = marginH_ + (canH ? 0 : (availableWidth - viewWidth_) / 2);
    viewTop_ = marginV_ + (canV ? 0 : (availableHeight - viewHeight_) / 2);
    usable_ = !CanMakeBitmap || CanMakeBitmap(viewWidth_, viewHeight_);

    if (zoomSavePos_) {
        hPos_ = std::clamp(emf::mulDiv(percentH, HMax(), 100), 0, HMax());
        vPos_ = std::clamp(emf::mulDiv(percentV, VMax(), 100), 0, VMax());
    }
    cursor_ = canH || canV ? PreviewCursor::Drag : PreviewCursor::Normal;
    dragging_ = false;
    if (OnLaidOut) OnLaidOut();
}

int PreviewLayout::ClientWidth() const {
    return std::max(0, displayWidth_ - (canScrollV_ ? vBar_ : 0));
}

int PreviewLayout::ClientHeight() const {
    return std::max(0, displayHeight_ - (canScrollH_ ? hBar_ : 0));
}

int PreviewLayout::HMax() const {
    return canScrollH_ ? std::max(0, viewWidth_ + 2 * marginH_ - ClientWidth()) : 0;
}

int PreviewLayout::VMax() const {
    return canScrollV_ ? std::max(0, viewHeight_ + 2 * marginV_ - ClientHeight()) : 0;
}

void PreviewLayout::SetHPos(int pos) { hPos_ = std::clamp(pos, 0, HMax()); }

void PreviewLayout::SetVPos(int pos) { vPos_ = std::clamp(pos, 0, VMax()); }

// --- Input ------------------------------------------------------------------------------

void PreviewLayout::changeZoomBy(int delta) { SetZoom(zoom_ + delta); }

void PreviewLayout::movePage(PageMove move) {
    if (OnPageMove) OnPageMove(move);
}

bool PreviewLayout::KeyDown(PreviewKey key, Modifiers m) {
    if (m.alt || (m.shift && m.ctrl)) return false;
    const bool plain = !m.shift && !m.ctrl;
    switch (key) {
        case PreviewKey::Home:
            if (m.shift) return false;
            m.ctrl ? SetVPos(0) : SetHPos(0);
            return true;
        case PreviewKey::End:
            if (m.shift) return false;
            m.ctrl ? SetVPos(VMax()) : SetHPos(HMax());
            return true;
        case PreviewKey::Left:
        case PreviewKey::Right: {
            const int amount = m.ctrl ? ClientWidth() : m.shift ? 1 : scrollStep_;
            SetHPos(hPos_ + (key == PreviewKey::Left ? -amount : amount));
            return true;
        }
        case PreviewKey::Up:
        case PreviewKey::Down: {
            const int amount = m.ctrl ? ClientHeight() : m.shift ? 1 : scrollStep_;
            SetVPos(vPos_ + (key == PreviewKey::Up ? -amount : amount));
            return true;
        }
        case PreviewKey::PageDown:
            if (m.shift) return false;
            movePage(m.ctrl ? PageMove::Last : PageMove::Next);
            return true;
        case PreviewKey::PageUp:
            if (m.shift) return false;
            movePage(m.ctrl ? PageMove::First : PageMove::Previous);
            return true;
        case PreviewKey::ZoomIn:
        case PreviewKey::ZoomOut:
            if (!plain) return false;
            changeZoomBy(key == PreviewKey::ZoomIn ? zoomStep_ : -zoomStep_);
            return true;
        case PreviewKey::Other:
            return false;
    }
    return false;
}

bool PreviewLayout::Wheel(int delta, Modifiers m, bool middleButton) {
    if (m.alt || (m.shift && m.ctrl) || (m.ctrl && middleButton)) return false;
    wheelRemainder_ += delta;
    while (wheelRemainder_ >= WheelNotch || wheelRemainder_ <= -WheelNotch) {
        const bool towardUser = wheelRemainder_ < 0;
        wheelRemainder_ += towardUser ? WheelNotch : -WheelNotch;
        if (m.shift || middleButton)
            movePage(towardUser ? PageMove::Next : PageMove::Previous);
        else if (m.ctrl)
            changeZoomBy(towardUser ? -zoomStep_ : zoomStep_);
        else
            SetVPos(vPos_ + (towardUser ? scrollStep_ : -scrollStep_));
    }
    return true;
}

void PreviewLayout::Press(int x, int y) {
    if (!canScrollH_ && !canScrollV_) return;
    dragging_ = true;
    pressX_ = x;
    pressY_ = y;
    cursor_ = PreviewCursor::Grab;
}

void PreviewLayout::Move(int x, int y, bool leftButtonDown) {
    if (!dragging_ || !leftButtonDown) return;
    // The sheet follows the pointer: moving right shows more of its left side.
    if (canScrollH_) SetHPos(hPos_ - (x - pressX_));
    if (canScrollV_) SetVPos(vPos_ - (y - pressY_));
    pressX_ = x;
    pressY_ = y;
}

void PreviewLayout::Release() {
    if (!dragging_) return;
    dragging_ = false;
    cursor_ = PreviewCursor::Drag;
}

void MovePage(TPrintPreview& store, PageMove move) {
    const int current = store.CurrentPage();
    switch (move) {
        case PageMove::Next: store.SetCurrentPage(current + 1); break;
        case PageMove::Previous: store.SetCurrentPage(current - 1); break;
        case PageMove::First: store.SetCurrentPage(1); break;
        case PageMove::Last: store.SetCurrentPage(store.TotalPages()); break;
    }
}

}  // namespace zor::pagestore
