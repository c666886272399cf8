#include "emf/interpreter.h"

#include <cmath>

#include "emf/bytes.h"

namespace zor::emf {
namespace {

// The largest object table a picture may ask for when the table may grow.
constexpr std::size_t MaxObjects = 65536;

bool finite(const XForm& x) {
    return std::isfinite(x.m11) && std::isfinite(x.m12) && std::isfinite(x.m21) &&
           std::isfinite(x.m22) && std::isfinite(x.dx) && std::isfinite(x.dy);
}

WorldTransform toWorld(const XForm& x) { return {x.m11, x.m12, x.m21, x.m22, x.dx, x.dy}; }

// a applied first, then b.
WorldTransform combined(const WorldTransform& a, const WorldTransform& b) {
    return {a.m11 * b.m11 + a.m12 * b.m21,         a.m11 * b.m12 + a.m12 * b.m22,
            a.m21 * b.m11 + a.m22 * b.m21,         a.m21 * b.m12 + a.m22 * b.m22,
            a.dx * b.m11 + a.dy * b.m21 + b.dx, a.dx * b.m12 + a.dy * b.m22 + b.dy};
}

}  // namespace

PixelsPerHimetric devicePixelsPerHimetric(const Header& header) {
    double across = header.millimeters.cx * 100.0, down = header.millimeters.cy * 100.0;
    if (header.micrometers && header.micrometers->cx > 0 && header.micrometers->cy > 0) {
        across = header.micrometers->cx / 10.0;
        down = header.micrometers->cy / 10.0;
    }
    if (!(across > 0 && down > 0)) return {};
    return {header.device.cx / across, header.device.cy / down};
}

void Device::refuse(const std::string&) {}

Interpreter::Interpreter(Device& device) : device_(device), rules_(device.rules()) {
    device_.state_ = &dc_;
}

void Interpreter::play(Reader& reader) {
    while (auto record = reader.next()) {
        device_.beforeRecord(*record);
        std::visit(*this, *record);
    }
}

void Interpreter::operator()(const Header& header) {
    objects_.assign(header.handles, std::monostate{});
    device_.header(header);
    device_.mappingChanged();
}

void Interpreter::operator()(const MoveToEx& r) {
    dc_.position = r.point;
    device_.moveTo(r.point);
}

void Interpreter::operator()(const LineTo& r) {
    device_.lineTo(r.point);
    dc_.position = r.point;
}

void Interpreter::operator()(const SaveDC&) {
    if (saved_.size() >= rules_.maxSavedStates) {
        return device_.refuse("Page image: more than " + std::to_string(rules_.maxSavedStates) +
                              " nested saved states");
    }
    saved_.push_back(dc_);
}

void Interpreter::operator()(const RestoreDC& r) {
    // A negative number counts back from the last saved state; a positive one names a
    // saved state by its depth.
    const std::int64_t count =
        r.savedDC < 0 ? -std::int64_t(r.savedDC) : std::int64_t(saved_.size()) - r.savedDC + 1;
    if (r.savedDC == 0 || count <= 0 || count > std::int64_t(saved_.size())) {
        return device_.refuse("Page image: restore without a saved state");
    }
    const std::size_t keep = saved_.size() - std::size_t(count);
    dc_ = saved_[keep];
    saved_.resize(keep);
    if (!rules_.restoreKeepsWorldTransform) dc_.worldTransform.reset();
    device_.mappingChanged();
}

void Interpreter::operator()(const SetWorldTransform& r) {
    if (!finite(r.xform)) return;
    dc_.worldTransform = toWorld(r.xform);
    device_.mappingChanged();
}

void Interpreter::operator()(const ModifyWorldTransform& r) {
    if (!rules_.modifyWorldTransform || !finite(r.xform)) return;
    const WorldTransform current = dc_.worldTransform.value_or(WorldTransform{});
    const WorldTransform given = toWorld(r.xform);
    switch (r.mode) {
        case 1:  // identity
            dc_.worldTransform = WorldTransform{};
            break;
        case 2:  // the record's transform applies first
            dc_.worldTransform = combined(given, current);
            break;
        case 3:  // the record's transform applies last
            dc_.worldTransform = combined(current, given);
            break;
        case 4:  // set
            dc_.worldTransform = toWorld(r.xform);
            break;
        default:
            return;
    }
    device_.mappingChanged();
}

Interpreter::Object* Interpreter::object(std::uint32_t index, bool creating) {
    if (creating && rules_.growObjectTable && index < MaxObjects && index >= objects_.size())
        objects_.resize(std::size_t(index) + 1);
    if (index == 0 || index >= objects_.size()) {
        device_.refuse("Page image: object index " + std::to_string(index) +
                       " outside the object table");
        return nullptr;
    }
    return &objects_[index];
}

void Interpreter::selectStock(StockObject stock) {
    auto brush = [&](ColorRef color) { dc_.brush = {brush_style::Solid, color, 0}; };
    auto pen = [&](std::uint32_t style, ColorRef color) {
        dc_.pen = PenObject{{style, 0, color}, false, false};
    };
    switch (stock) {
        case StockObject::WhiteBrush:
            return brush(rgb(255, 255, 255));
        case StockObject::LightGrayBrush:
            return brush(rules_.lightGrayBrush);
        case StockObject::GrayBrush:
            return brush(rgb(128, 128, 128));
        case StockObject::DarkGrayBrush:
            return brush(rules_.darkGrayBrush);
        case StockObject::BlackBrush:
            return brush(rgb(0, 0, 0));
        case StockObject::NullBrush:
            dc_.brush = {brush_style::Null, 0, 0};
            return;
        case StockObject::WhitePen:
            return pen(pen_style::Solid, rgb(255, 255, 255));
        case StockObject::BlackPen:
            return pen(pen_style::Solid, rgb(0, 0, 0));
        case StockObject::NullPen:
            return pen(pen_style::Null, 0);
        case StockObject::OemFixedFont:
        case StockObject::AnsiFixedFont:
        case StockObject::AnsiVarFont:
        case StockObject::SystemFont:
        case StockObject::DeviceDefaultFont:
        case StockObject::SystemFixedFont:
        case StockObject::DefaultGuiFont:
            if (rules_.stockFontsSelectDefault) dc_.font.reset();
            return;
        default:
            return;
    }
}

void Interpreter::operator()(const SelectObject& r) {
    if (auto stock = r.stock()) return selectStock(*stock);
    const Object* entry = object(r.handle, false);
    if (!entry) return;
    if (auto* pen = std::get_if<PenObject>(entry)) dc_.pen = *pen;
    if (auto* brush = std::get_if<LogBrush>(entry)) dc_.brush = *brush;
    if (auto* font = std::get_if<std::shared_ptr<const FontObject>>(entry)) dc_.font = *font;
}

void Interpreter::operator()(const DeleteObject& r) {
    if (r.handle & StockObjectFlag) return;
    if (Object* entry = object(r.handle, false)) *entry = std::monostate{};
}

void Interpreter::operator()(const CreatePen& r) {
    if (Object* entry = object(r.handle, true)) *entry = PenObject{r.pen, r.extended, true};
}

void Interpreter::operator()(const CreateBrushIndirect& r) {
    if (Object* entry = object(r.handle, true)) *entry = r.brush;
}

void Interpreter::operator()(const ExtCreateFontIndirectW& r) {
    if (Object* entry = object(r.handle, true))
        *entry = std::make_shared<const FontObject>(FontObject{r.font, nextFontId_++});
}

void Interpreter::operator()(const Poly& r) {
    device_.poly(r);
    if (r.points.empty()) return;
    // The to-forms continue from the current position and leave it at their last point.
    if (r.kind == PolyKind::PolylineTo) dc_.position = r.points.back();
    if (r.kind == PolyKind::PolyBezierTo && r.points.size() >= 3)
        dc_.position = r.points[r.points.size() / 3 * 3 - 1];
}

void Interpreter::operator()(const ExtTextOutW& r) {
    const bool fromPosition =
        rules_.textUpdatesPosition && (dc_.textAlign & text_align::UpdateCp) != 0;
    const double width = device_.text(r, fromPosition ? dc_.position : r.reference);
    if (fromPosition && (dc_.textAlign & text_align::Center) != text_align::Center)
        dc_.position.x += std::int32_t(
            std::lround((dc_.textAlign & text_align::Right) ? -width : width));
}

void Interpreter::operator()(const UnknownRecord& r) {
    switch (r.type) {
        case rec::SetPolyFillMode:
            if (r.payload.size() >= 4) dc_.windingFill = bytes::getU32(r.payload, 0) == 2;
            return;
        case rec::BeginPath:
        case rec::EndPath:
        case rec::AbortPath:
        case rec::CloseFigure:
        case rec::FillPath:
        case rec::StrokeAndFillPath:
        case rec::StrokePath:
            return device_.pathRecord(r.type);
        default:
            return;
    }
}

}  // namespace zor::emf
