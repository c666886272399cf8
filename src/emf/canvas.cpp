#include "emf/canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "emf/mul_div.h"
#include "text/encoding.h"

namespace zor::emf {

int Font::size() const { return -mulDiv(height, 72, pixelsPerInch); }

void Font::setSize(int points) { height = -mulDiv(points, pixelsPerInch, 72); }

void Font::setPixelsPerInchKeepingSize(int ppi) {
    const int points = size();
    pixelsPerInch = ppi;
    setSize(points);
}

LogFont Font::toLogFont() const {
    LogFont f;
    f.height = height;
    f.weight = bold ? 700 : 400;
    f.italic = italic;
    f.underline = underline;
    f.strikeOut = strikeOut;
    f.charSet = 1;  // default character set
    f.faceName = text::utf8ToUtf16(name);
    if (f.faceName.size() > 31) f.faceName.resize(31);
    return f;
}

Canvas::Canvas(Rect frame, ReferenceDevice device) : recorder_(frame, device) {}

void Canvas::setMapping(Size window, Size viewport, Point viewportOrigin) {
    recorder_.setMapMode(map_mode::Anisotropic);
    recorder_.setWindowExt(window);
    recorder_.setViewportExt(viewport);
    recorder_.setViewportOrg(viewportOrigin);
}

void Canvas::setFont(const Font& font) { font_ = font; }

void Canvas::setBackgroundMode(std::uint32_t mode) { recorder_.setBkMode(mode); }

void Canvas::setBackgroundColor(ColorRef color) { recorder_.setBkColor(color); }

void Canvas::setTextAlign(std::uint32_t mode) {
    if (mode == textAlign_) return;
    textAlign_ = mode;
    recorder_.setTextAlign(mode);
}

void Canvas::realisePen() {
    if (pickedPen_ && pickedPen_->first == pen_) return;
    std::uint32_t handle;
    if (pen_.style == pen_style::Null) {
        handle = stockHandle(StockObject::NullPen);
    } else {
        handle = recorder_.createPen(LogPen{pen_.style, pen_.width, pen_.color});
    }
    recorder_.selectObject(handle);
    if (pickedPen_ && !(pickedPen_->second & StockObjectFlag)) {
        if (saved_.empty())
            recorder_.deleteObject(pickedPen_->second);
        else
            keptAlive_.push_back(pickedPen_->second);
    }
    pickedPen_ = {pen_, handle};
}

void Canvas::realiseBrush() {
    if (pickedBrush_ && pickedBrush_->first == brush_) return;
    std::uint32_t handle;
    if (brush_.style == brush_style::Null) {
        handle = stockHandle(StockObject::NullBrush);
    } else {
        handle = recorder_.createBrush(LogBrush{brush_.style, brush_.color, 0});
    }
    recorder_.selectObject(handle);
    if (pickedBrush_ && !(pickedBrush_->second & StockObjectFlag)) {
        if (saved_.empty())
            recorder_.deleteObject(pickedBrush_->second);
        else
            keptAlive_.push_back(pickedBrush_->second);
    }
    pickedBrush_ = {brush_, handle};
}

void Canvas::realiseFont() {
    Font wanted = font_;
    wanted.color = 0;  // the colour is the text colour, not part of the font object
    if (pickedFont_ && pickedFont_->first == wanted) return;
    const std::uint32_t handle = recorder_.createFont(wanted.toLogFont());
    recorder_.selectObject(handle);
    if (pickedFont_) {
        if (saved_.empty())
            recorder_.deleteObject(pickedFont_->second);
        else
            keptAlive_.push_back(pickedFont_->second);
    }
    pickedFont_ = {wanted, handle};
}

void Canvas::realiseTextColor() {
    if (pickedTextColor_ == font_.color) return;
    recorder_.setTextColor(font_.color);
    pickedTextColor_ = font_.color;
}

const FontMetrics& Canvas::metrics() {
    Font key = font_;
    key.color = 0;
    if (!metrics_ || metricsFont_ != key) {
        metrics_.emplace(key.toLogFont());
        metricsFont_ = key;
    }
    return *metrics_;
}

void Canvas::moveTo(int x, int y) {
    recorder_.moveTo({x, y});
    penPos_ = {x, y};
}

void Canvas::lineTo(int x, int y) {
    realisePen();
    recorder_.lineTo({x, y});
    penPos_ = {x, y};
}

void Canvas::rectangle(const Rect& box) {
    realisePen();
    realiseBrush();
    recorder_.rectangle(box);
}

void Canvas::fillRect(const Rect& box) {
    realiseBrush();
    recorder_.fillRect(box);
}

void Canvas::ellipse(const Rect& box) {
    realisePen();
    realiseBrush();
    recorder_.ellipse(box);
}

void Canvas::polygon(std::span<const Point> points) {
    realisePen();
    realiseBrush();
    recorder_.polygon(points);
}

void Canvas::polyline(std::span<const Point> points) {
    realisePen();
    recorder_.polyline(points);
}

int Canvas::drawText(int x, int y, std::uint32_t options, const Rect& clip, std::string_view text) {
    realiseFont();
    realiseTextColor();
    const std::u16string wide = text::utf8ToUtf16(text);
    const FontMetrics& m = metrics();
    const std::vector<std::int32_t> dx = m.advances(wide);
    int width = 0;
    for (std::int32_t a : dx) width += a;
    // The box the text covers, after the alignment.
    const int left = x - textStartShift(textAlign_, width);
    const int top = y + baselineBelowReference(textAlign_, m.ascent(), m.descent()) - m.ascent();
    recorder_.extTextOut({x, y}, options, clip, wide, dx,
                         Rect{left, top, left + width, top + m.height()});
    return width;
}

void Canvas::textOut(int x, int y, std::string_view text) {
    const int width = drawText(x, y, 0, Rect{}, text);
    moveTo(x + width, y);
}

void Canvas::textRect(const Rect& clip, int x, int y, std::string_view text) {
    std::uint32_t options = eto::Clipped;
    if (brush_.style != brush_style::Null) {
        options |= eto::Opaque;
        realiseBrush();
    }
    drawText(x, y, options, clip, text);
}

int Canvas::textWidth(std::string_view text) { return metrics().width(text::utf8ToUtf16(text)); }

int Canvas::textHeight(std::string_view) { return metrics().height(); }

void Canvas::stretchDraw(const Rect& dest, const Bitmap& bitmap) {
    recorder_.stretchDIBits(dest, bitmap);
}

void Canvas::saveState() {
    recorder_.saveDC();
    saved_.push_back(
        {pickedPen_, pickedBrush_, pickedFont_, pickedTextColor_, textAlign_, pen_, brush_, font_});
}

void Canvas::restoreState() {
    if (saved_.empty()) throw std::logic_error("restoring a canvas state that was not saved");
    recorder_.restoreDC(-1);
    // Objects picked since the save are no longer selected once the state returns.
    for (const auto* picked : {pickedPen_ ? &pickedPen_->second : nullptr,
                               pickedBrush_ ? &pickedBrush_->second : nullptr,
                               pickedFont_ ? &pickedFont_->second : nullptr})
        if (picked && !(*picked & StockObjectFlag)) keptAlive_.push_back(*picked);
    const Picked state = saved_.back();
    saved_.pop_back();
    pickedPen_ = state.pen;
    pickedBrush_ = state.brush;
    pickedFont_ = state.font;
    pickedTextColor_ = state.textColor;
    textAlign_ = state.textAlign;
    pen_ = state.wantedPen;
    brush_ = state.wantedBrush;
    font_ = state.wantedFont;
    // Delete what neither the current state nor a saved one still selects.
    auto inUse = [&](std::uint32_t h) {
        auto holds = [h](const auto& p) { return p && p->second == h; };
        if (holds(pickedPen_) || holds(pickedBrush_) || holds(pickedFont_)) return true;
        return std::any_of(saved_.begin(), saved_.end(), [&](const Picked& s) {
            return holds(s.pen) || holds(s.brush) || holds(s.font);
        });
    };
    std::sort(keptAlive_.begin(), keptAlive_.end());
    keptAlive_.erase(std::unique(keptAlive_.begin(), keptAlive_.end()), keptAlive_.end());
    std::vector<std::uint32_t> still;
    for (std::uint32_t h : keptAlive_) {
        if (inUse(h))
            still.push_back(h);
        else
            recorder_.deleteObject(h);
    }
    keptAlive_ = std::move(still);
}

std::vector<std::uint8_t> Canvas::finish() {
    while (!saved_.empty()) restoreState();
    // Put the stock objects back so that the picture's own objects can go.
    std::vector<std::uint32_t> own = keptAlive_;
    if (pickedPen_ && !(pickedPen_->second & StockObjectFlag)) {
        recorder_.selectObject(stockHandle(StockObject::BlackPen));
        own.push_back(pickedPen_->second);
    }
    if (pickedBrush_ && !(pickedBrush_->second & StockObjectFlag)) {
        recorder_.selectObject(stockHandle(StockObject::WhiteBrush));
        own.push_back(pickedBrush_->second);
    }
    if (pickedFont_) {
        recorder_.selectObject(stockHandle(StockObject::DeviceDefaultFont));
        own.push_back(pickedFont_->second);
    }
    std::sort(own.begin(), own.end());
    own.erase(std::unique(own.begin(), own.end()), own.end());
    for (std::uint32_t h : own) recorder_.deleteObject(h);
    pickedPen_.reset();
    pickedBrush_.reset();
    pickedFont_.reset();
    keptAlive_.clear();
    return recorder_.finish();
}

}  // namespace zor::emf
