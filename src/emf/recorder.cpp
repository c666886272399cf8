#include "emf/recorder.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <stdexcept>

#include "emf/bytes.h"

namespace zor::emf {
namespace {

constexpr std::size_t HeaderSize = 108;
constexpr std::int32_t FreeSlot = INT_MIN;

using bytes::putF32;
using bytes::putI32;
using bytes::putU16;
using bytes::putU32;
using bytes::putU8;

std::int32_t scale(std::int64_t value, std::int64_t num, std::int64_t den) {
    if (den == 0) return static_cast<std::int32_t>(value);
    const double v = double(value) * double(num) / double(den);
    return static_cast<std::int32_t>(std::llround(v));
}

}  // namespace

ReferenceDevice ReferenceDevice::screen(int dotsPerInch) {
    ReferenceDevice d;
    d.pixels = {1920, 1080};
    d.micrometers = {scale(1920, 25400, dotsPerInch), scale(1080, 25400, dotsPerInch)};
    d.millimeters = {scale(d.micrometers.cx, 1, 1000), scale(d.micrometers.cy, 1, 1000)};
    return d;
}

Recorder::Recorder(Rect frame, ReferenceDevice device) : frame_(frame), device_(device) {
    out_.resize(HeaderSize);  // filled in by finish()
    records_ = 1;
}

void Recorder::requireOpen() const {
    if (finished_) throw std::logic_error("picture already finished");
}

std::size_t Recorder::beginRecord(std::uint32_t type) {
    requireOpen();
    const std::size_t start = out_.size();
    putU32(out_, type);
    putU32(out_, 0);  // size, set by endRecord
    return start;
}

void Recorder::endRecord(std::size_t start) {
    while (out_.size() % 4 != 0) out_.push_back(0);
    bytes::patchU32(out_, start + 4, static_cast<std::uint32_t>(out_.size() - start));
    ++records_;
}

void Recorder::putRect(const Rect& r) {
    putI32(out_, r.left);
    putI32(out_, r.top);
    putI32(out_, r.right);
    putI32(out_, r.bottom);
}

Point Recorder::toDevice(Point p) const {
    const Mapping& m = context_.mapping;
    if (m.mode != map_mode::Anisotropic && m.mode != map_mode::Isotropic) return p;
    return {scale(std::int64_t(p.x) - m.windowOrigin.x, m.viewportExtent.cx, m.windowExtent.cx) +
                m.viewportOrigin.x,
            scale(std::int64_t(p.y) - m.windowOrigin.y, m.viewportExtent.cy, m.windowExtent.cy) +
                m.viewportOrigin.y};
}

Rect Recorder::deviceBounds(std::span<const Point> points, bool withPen) const {
    Rect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const Point& p : points) {
        const Point d = toDevice(p);
        r.left = std::min(r.left, d.x);
        r.top = std::min(r.top, d.y);
        r.right = std::max(r.right, d.x);
        r.bottom = std::max(r.bottom, d.y);
    }
    if (withPen && context_.penWidth > 1) {
        // Half the pen's width in device units on each side.
        const Point origin = toDevice({0, 0});
        const Point width = toDevice({context_.penWidth, context_.penWidth});
        const std::int32_t hx = (std::abs(width.x - origin.x) + 1) / 2;
        const std::int32_t hy = (std::abs(width.y - origin.y) + 1) / 2;
        r = {r.left - hx, r.top - hy, r.right + hx, r.bottom + hy};
    }
    return r;
}

void Recorder::include(const Rect& d) {
    if (d.left > d.right || d.top > d.bottom) return;
    if (!haveBounds_) {
        bounds_ = d;
        haveBounds_ = true;
        return;
    }
    bounds_.left = std::min(bounds_.left, d.left);
    bounds_.top = std::min(bounds_.top, d.top);
    bounds_.right = std::max(bounds_.right, d.right);
    bounds_.bottom = std::max(bounds_.bottom, d.bottom);
}

void Recorder::putPairRecord(std::uint32_t type, std::int32_t first, std::int32_t second) {
    const auto at = beginRecord(type);
    putI32(out_, first);
    putI32(out_, second);
    endRecord(at);
}

void Recorder::setMapMode(std::uint32_t mode) {
    const auto at = beginRecord(rec::SetMapMode);
    putU32(out_, mode);
    endRecord(at);
    context_.mapping.mode = mode;
}

void Recorder::setWindowExt(Size e) {
    putPairRecord(rec::SetWindowExtEx, e.cx, e.cy);
    context_.mapping.windowExtent = e;
}

void Recorder::setWindowOrg(Point o) {
    putPairRecord(rec::SetWindowOrgEx, o.x, o.y);
    context_.mapping.windowOrigin = o;
}

void Recorder::setViewportExt(Size e) {
    putPairRecord(rec::SetViewportExtEx, e.cx, e.cy);
    context_.mapping.viewportExtent = e;
}

void Recorder::setViewportOrg(Point o) {
    putPairRecord(rec::SetViewportOrgEx, o.x, o.y);
    context_.mapping.viewportOrigin = o;
}

void Recorder::setBkMode(std::uint32_t mode) {
    const auto at = beginRecord(rec::SetBkMode);
    putU32(out_, mode);
    endRecord(at);
}

void Recorder::setBkColor(ColorRef color) {
    const auto at = beginRecord(rec::SetBkColor);
    putU32(out_, color);
    endRecord(at);
}

void Recorder::setTextAlign(std::uint32_t mode) {
    const auto at = beginRecord(rec::SetTextAlign);
    putU32(out_, mode);
    endRecord(at);
}

void Recorder::setTextColor(ColorRef color) {
    const auto at = beginRecord(rec::SetTextColor);
    putU32(out_, color);
    endRecord(at);
}

std::uint32_t Recorder::allocateHandle(std::int32_t penWidth) {
    auto free = std::find(objects_.begin() + 1, objects_.end(), FreeSlot);
    std::uint32_t index;
    if (free != objects_.end()) {
        index = static_cast<std::uint32_t>(free - objects_.begin());
        *free = penWidth;
    } else {
        if (objects_.size() >= 0xFFFF) throw std::length_error("too many objects in one picture");
        index = static_cast<std::uint32_t>(objects_.size());
        objects_.push_back(penWidth);
    }
    handleCount_ = std::max<std::uint32_t>(handleCount_, index + 1);
    return index;
}

std::uint32_t Recorder::createPen(const LogPen& pen) {
    requireOpen();
    const std::uint32_t handle = allocateHandle(std::max(pen.width, 0) + 1);
    const auto at = beginRecord(rec::CreatePen);
    putU32(out_, handle);
    putU32(out_, pen.style);
    putI32(out_, pen.width);
    putI32(out_, 0);
    putU32(out_, pen.color);
    endRecord(at);
    return handle;
}

std::uint32_t Recorder::createBrush(const LogBrush& brush) {
    requireOpen();
    const std::uint32_t handle = allocateHandle(0);
    const auto at = beginRecord(rec::CreateBrushIndirect);
    putU32(out_, handle);
    putU32(out_, brush.style);
    putU32(out_, brush.color);
    putU32(out_, brush.hatch);
    endRecord(at);
    return handle;
}

std::uint32_t Recorder::createFont(const LogFont& font) {
    requireOpen();
    const std::uint32_t handle = allocateHandle(0);
    const auto at = beginRecord(rec::ExtCreateFontIndirectW);
    putU32(out_, handle);
    putI32(out_, font.height);
    putI32(out_, font.width);
    putI32(out_, font.escapement);
    putI32(out_, font.orientation);
    putI32(out_, font.weight);
    for (std::uint8_t b :
         {font.italic, font.underline, font.strikeOut, font.charSet, font.outPrecision,
          font.clipPrecision, font.quality, font.pitchAndFamily})
        putU8(out_, b);
    // Face name: 32 characters, NUL-terminated and NUL-padded.
    for (std::size_t i = 0; i < 32; ++i)
        putU16(out_, i < 31 && i < font.faceName.size() ? font.faceName[i] : 0);
    // The rest of the extended description (full name, style, version, style size,
    // match, reserved, vendor, culture, panose): all empty.
    for (int i = 0; i < 64 + 32; ++i) putU16(out_, 0);
    for (int i = 0; i < 6; ++i) putU32(out_, 0);
    for (int i = 0; i < 12; ++i) putU8(out_, 0);  // panose and padding
    endRecord(at);
    return handle;
}

void Recorder::selectObject(std::uint32_t handle) {
    requireOpen();
    if (handle & StockObjectFlag) {
        const auto stock = StockObject(handle & ~StockObjectFlag);
        if (stock == StockObject::WhitePen || stock == StockObject::BlackPen ||
            stock == StockObject::NullPen)
            context_.penWidth = 0;
    } else if (handle == 0 || handle >= objects_.size() || objects_[handle] == FreeSlot) {
        throw std::invalid_argument("selecting an object that does not exist");
    } else {
        // Pens are kept as width + 1; brushes and fonts as 0 and leave the pen alone.
        if (objects_[handle] > 0) context_.penWidth = objects_[handle] - 1;
    }
    const auto at = beginRecord(rec::SelectObject);
    putU32(out_, handle);
    endRecord(at);
}

void Recorder::deleteObject(std::uint32_t handle) {
    requireOpen();
    if (handle == 0 || handle >= objects_.size() || objects_[handle] == FreeSlot)
        throw std::invalid_argument("deleting an object that does not exist");
    objects_[handle] = FreeSlot;
    const auto at = beginRecord(rec::DeleteObject);
    putU32(out_, handle);
    endRecord(at);
}

void Recorder::moveTo(Point p) {
    putPairRecord(rec::MoveToEx, p.x, p.y);
    position_ = p;
}

void Recorder::lineTo(Point p) {
    putPairRecord(rec::LineTo, p.x, p.y);
    const Point ends[] = {position_, p};
    include(deviceBounds(ends, true));
    position_ = p;
}

void Recorder::rectangle(Rect box) {
    const auto at = beginRecord(rec::Rectangle);
    putRect(box);
    endRecord(at);
    const Point corners[] = {{box.left, box.top}, {box.right, box.bottom}};
    include(deviceBounds(corners, true));
}

void Recorder::ellipse(Rect box) {
    const auto at = beginRecord(rec::Ellipse);
    putRect(box);
    endRecord(at);
    const Point corners[] = {{box.left, box.top}, {box.right, box.bottom}};
    include(deviceBounds(corners, true));
}

void Recorder::polygon(std::span<const Point> points) {
    requireOpen();
    const Rect bounds = deviceBounds(points, true);
    const auto at = beginRecord(rec::Polygon);
    putRect(bounds);
    putU32(out_, static_cast<std::uint32_t>(points.size()));
    for (const Point& p : points) {
        putI32(out_, p.x);
        putI32(out_, p.y);
    }
    endRecord(at);
    include(bounds);
}

void Recorder::polyline(std::span<const Point> points) {
    requireOpen();
    const Rect bounds = deviceBounds(points, true);
    const auto at = beginRecord(rec::Polyline);
    putRect(bounds);
    putU32(out_, static_cast<std::uint32_t>(points.size()));
    for (const Point& p : points) {
        putI32(out_, p.x);
        putI32(out_, p.y);
    }
    endRecord(at);
    include(bounds);
}

void Recorder::fillRect(Rect box) {
    requireOpen();
    const Point corners[] = {{box.left, box.top}, {box.right, box.bottom}};
    Rect bounds = deviceBounds(corners, false);
    const auto at = beginRecord(rec::BitBlt);
    putRect(bounds);
    putI32(out_, box.left);
    putI32(out_, box.top);
    putI32(out_, box.width());
    putI32(out_, box.height());
    putU32(out_, rop::PatCopy);
    putI32(out_, 0);  // source x, y
    putI32(out_, 0);
    for (float f : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) putF32(out_, f);
    putU32(out_, 0);                              // source background colour
    putU32(out_, 0);                              // usage
    for (int i = 0; i < 4; ++i) putU32(out_, 0);  // no source bitmap
    endRecord(at);
    include(bounds);
}

void Recorder::extTextOut(Point reference, std::uint32_t options, Rect rectangle,
                          std::u16string_view text, std::span<const std::int32_t> dx, Rect extent) {
    requireOpen();
    if (!dx.empty() && dx.size() != text.size())
        throw std::invalid_argument("one advance per character is needed");
    const Point corners[] = {{extent.left, extent.top}, {extent.right, extent.bottom}};
    Rect bounds = deviceBounds(corners, false);
    if (options & eto::Clipped) {
        const Point clip[] = {{rectangle.left, rectangle.top}, {rectangle.right, rectangle.bottom}};
        const Rect c = deviceBounds(clip, false);
        bounds = {std::max(bounds.left, c.left), std::max(bounds.top, c.top),
                  std::min(bounds.right, c.right), std::min(bounds.bottom, c.bottom)};
    }
    const Point unitX[] = {{0, 0}, {1000, 1000}};
    const Rect unit = deviceBounds(unitX, false);
    // Scale of one logical unit in 0.01 mm, as the compatible graphics mode records it.
    const float exScale = float(unit.width()) / 1000.0f * 100.0f * float(device_.millimeters.cx) /
                          float(device_.pixels.cx);
    const float eyScale = float(unit.height()) / 1000.0f * 100.0f * float(device_.millimeters.cy) /
                          float(device_.pixels.cy);

    const std::size_t fixed = 76;
    const std::size_t stringBytes = (text.size() * 2 + 3) / 4 * 4;
    const auto at = beginRecord(rec::ExtTextOutW);
    putRect(bounds);
    putU32(out_, 1);  // compatible graphics mode
    putF32(out_, exScale);
    putF32(out_, eyScale);
    putI32(out_, reference.x);
    putI32(out_, reference.y);
    putU32(out_, static_cast<std::uint32_t>(text.size()));
    putU32(out_, static_cast<std::uint32_t>(fixed));
    putU32(out_, options);
    putRect(rectangle);
    putU32(out_, dx.empty() ? 0 : static_cast<std::uint32_t>(fixed + stringBytes));
    for (char16_t c : text) putU16(out_, c);
    while ((out_.size() - at) % 4 != 0) out_.push_back(0);
    for (std::int32_t d : dx) putI32(out_, d);
    endRecord(at);
    include(bounds);
}

void Recorder::stretchDIBits(Rect dest, const Bitmap& bitmap) {
    requireOpen();
    if (bitmap.width <= 0 || bitmap.height <= 0 ||
        bitmap.rgb.size() != std::size_t(bitmap.width) * std::size_t(bitmap.height) * 3)
        throw std::invalid_argument("bitmap pixels do not match its size");
    const std::size_t stride = (std::size_t(bitmap.width) * 3 + 3) / 4 * 4;
    const std::size_t bitsSize = stride * std::size_t(bitmap.height);
    if (bitsSize > 0x7FFFFFFF - 200) throw std::length_error("bitmap too large for a record");
    const Point corners[] = {{dest.left, dest.top}, {dest.right, dest.bottom}};
    const Rect bounds = deviceBounds(corners, false);
    const std::uint32_t fixed = 80, infoSize = 40;
    const auto at = beginRecord(rec::StretchDIBits);
    putRect(bounds);
    putI32(out_, dest.left);
    putI32(out_, dest.top);
    putI32(out_, 0);  // source x, y, width, height
    putI32(out_, 0);
    putI32(out_, bitmap.width);
    putI32(out_, bitmap.height);
    putU32(out_, fixed);
    putU32(out_, infoSize);
    putU32(out_, fixed + infoSize);
    putU32(out_, static_cast<std::uint32_t>(bitsSize));
    putU32(out_, 0);  // RGB colours
    putU32(out_, rop::SrcCopy);
    putI32(out_, dest.width());
    putI32(out_, dest.height());
    // Bitmap information header: bottom-up rows of 24-bit BGR pixels.
    putU32(out_, infoSize);
    putI32(out_, bitmap.width);
    putI32(out_, bitmap.height);
    putU16(out_, 1);
    putU16(out_, 24);
    putU32(out_, 0);
    putU32(out_, static_cast<std::uint32_t>(bitsSize));
    putI32(out_, 3780);  // 96 dots per inch in dots per metre
    putI32(out_, 3780);
    putU32(out_, 0);
    putU32(out_, 0);
    for (int y = bitmap.height - 1; y >= 0; --y) {
        const std::uint8_t* row = bitmap.rgb.data() + std::size_t(y) * bitmap.width * 3;
        for (int x = 0; x < bitmap.width; ++x) {
            putU8(out_, row[3 * x + 2]);
            putU8(out_, row[3 * x + 1]);
            putU8(out_, row[3 * x]);
        }
        for (std::size_t pad = std::size_t(bitmap.width) * 3; pad < stride; ++pad) putU8(out_, 0);
    }
    endRecord(at);
    include(bounds);
}

void Recorder::saveDC() {
    const auto at = beginRecord(rec::SaveDC);
    endRecord(at);
    saved_.push_back(context_);
}

void Recorder::restoreDC(std::int32_t savedDC) {
    requireOpen();
    if (savedDC >= 0 || std::size_t(-std::int64_t(savedDC)) > saved_.size())
        throw std::invalid_argument("restoring a state that was not saved");
    const auto at = beginRecord(rec::RestoreDC);
    putI32(out_, savedDC);
    endRecord(at);
    context_ = saved_[saved_.size() - std::size_t(-std::int64_t(savedDC))];
    saved_.resize(saved_.size() - std::size_t(-std::int64_t(savedDC)));
}

std::vector<std::uint8_t> Recorder::finish() {
    const auto at = beginRecord(rec::Eof);
    putU32(out_, 0);   // palette entries
    putU32(out_, 16);  // palette offset
    putU32(out_, 20);  // size of this record, repeated at its end
    endRecord(at);
    finished_ = true;

    std::vector<std::uint8_t> h;
    h.reserve(HeaderSize);
    putU32(h, rec::Header);
    putU32(h, HeaderSize);
    const Rect bounds = haveBounds_ ? bounds_ : Rect{0, 0, -1, -1};
    for (std::int32_t v : {bounds.left, bounds.top, bounds.right, bounds.bottom}) putI32(h, v);
    for (std::int32_t v : {frame_.left, frame_.top, frame_.right, frame_.bottom}) putI32(h, v);
    putU32(h, HeaderSignature);
    putU32(h, FormatVersion);
    putU32(h, static_cast<std::uint32_t>(out_.size()));
    putU32(h, records_);
    putU16(h, static_cast<std::uint16_t>(handleCount_));
    putU16(h, 0);
    putU32(h, 0);  // no description
    putU32(h, 0);
    putU32(h, 0);  // no palette
    putI32(h, device_.pixels.cx);
    putI32(h, device_.pixels.cy);
    putI32(h, device_.millimeters.cx);
    putI32(h, device_.millimeters.cy);
    putU32(h, 0);  // no pixel format
    putU32(h, 0);
    putU32(h, 0);  // no OpenGL
    putI32(h, device_.micrometers.cx);
    putI32(h, device_.micrometers.cy);
    std::copy(h.begin(), h.end(), out_.begin());
    return std::move(out_);
}

}  // namespace zor::emf
