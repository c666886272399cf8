#include "emf/reader.h"

#include <string>

#include "emf/bytes.h"

namespace zor::emf {
namespace {

constexpr std::size_t BaseHeaderSize = 88;

// One record's bytes with bounds-checked field access.
class RecordView {
  public:
    RecordView(std::span<const std::uint8_t> bytes, std::uint32_t type)
        : bytes_(bytes), type_(type) {}

    std::size_t size() const { return bytes_.size(); }

    void require(std::size_t minimum) const {
        if (bytes_.size() < minimum) fail("is shorter than its fields");
    }
    // Checks that [offset, offset + length) lies inside the record.
    void requireRange(std::uint64_t offset, std::uint64_t length) const {
        if (offset > bytes_.size() || length > bytes_.size() - offset)
            fail("points outside itself");
    }
    [[noreturn]] void fail(const char* what) const {
        throw FormatError("record of type " + std::to_string(type_) + " " + what);
    }

    std::uint32_t u32(std::size_t at) const { return checked(at, 4), bytes::getU32(bytes_, at); }
    std::int32_t i32(std::size_t at) const { return checked(at, 4), bytes::getI32(bytes_, at); }
    std::uint16_t u16(std::size_t at) const { return checked(at, 2), bytes::getU16(bytes_, at); }
    std::int16_t i16(std::size_t at) const { return static_cast<std::int16_t>(u16(at)); }
    std::uint8_t u8(std::size_t at) const { return checked(at, 1), bytes_[at]; }
    float f32(std::size_t at) const { return checked(at, 4), bytes::getF32(bytes_, at); }
    Point point(std::size_t at) const { return {i32(at), i32(at + 4)}; }
    Size sizeAt(std::size_t at) const { return {i32(at), i32(at + 4)}; }
    Rect rect(std::size_t at) const { return {i32(at), i32(at + 4), i32(at + 8), i32(at + 12)}; }
    XForm xform(std::size_t at) const {
        return {f32(at), f32(at + 4), f32(at + 8), f32(at + 12), f32(at + 16), f32(at + 20)};
    }
    std::u16string utf16(std::size_t at, std::uint64_t count) const {
        requireRange(at, count * 2);
        std::u16string s(static_cast<std::size_t>(count), u'\0');
        for (std::size_t i = 0; i < s.size(); ++i)
            s[i] = char16_t(bytes::getU16(bytes_, at + 2 * i));
        return s;
    }
    std::span<const std::uint8_t> slice(std::size_t at, std::size_t length) const {
        requireRange(at, length);
        return bytes_.subspan(at, length);
    }

  private:
    void checked(std::size_t at, std::size_t n) const {
        if (at > bytes_.size() || n > bytes_.size() - at) fail("is shorter than its fields");
    }

    std::span<const std::uint8_t> bytes_;
    std::uint32_t type_;
};

std::u16string untilNul(std::u16string s) {
    if (auto nul = s.find(u'\0'); nul != std::u16string::npos) s.resize(nul);
    return s;
}

Header parseHeader(const RecordView& r) {
    r.require(BaseHeaderSize);
    if (r.u32(40) != HeaderSignature) r.fail("lacks the EMF signature");
    Header h;
    h.bounds = r.rect(8);
    h.frame = r.rect(24);
    h.version = r.u32(44);
    h.bytes = r.u32(48);
    h.records = r.u32(52);
    h.handles = r.u16(56);
    const std::uint32_t nDescription = r.u32(60);
    const std::uint32_t offDescription = r.u32(64);
    h.palEntries = r.u32(68);
    h.device = r.sizeAt(72);
    h.millimeters = r.sizeAt(80);
    if (nDescription > 0) h.description = untilNul(r.utf16(offDescription, nDescription));
    // The micrometre extension is there when the record is long enough for it and
    // the description does not start inside it.
    const bool descriptionInside = nDescription > 0 && offDescription < 108;
    if (r.size() >= 108 && !descriptionInside) h.micrometers = r.sizeAt(100);
    return h;
}

std::optional<Dib> parseDib(const RecordView& r, std::uint32_t offBmi, std::uint32_t cbBmi,
                            std::uint32_t offBits, std::uint32_t cbBits) {
    if (cbBmi == 0) return std::nullopt;
    r.requireRange(offBmi, cbBmi);
    r.requireRange(offBits, cbBits);
    const std::uint32_t headerSize = r.u32(offBmi);
    if (headerSize < 40 || headerSize > cbBmi) r.fail("carries an unsupported bitmap header");
    Dib dib;
    dib.width = r.i32(offBmi + 4);
    dib.height = r.i32(offBmi + 8);
    dib.planes = r.u16(offBmi + 12);
    dib.bitCount = r.u16(offBmi + 14);
    dib.compression = r.u32(offBmi + 16);
    dib.sizeImage = r.u32(offBmi + 20);
    dib.xPelsPerMeter = r.i32(offBmi + 24);
    dib.yPelsPerMeter = r.i32(offBmi + 28);
    dib.clrUsed = r.u32(offBmi + 32);
    dib.clrImportant = r.u32(offBmi + 36);
    std::uint64_t entries = dib.clrUsed;
    if (entries == 0 && dib.bitCount <= 8) entries = std::uint64_t(1) << dib.bitCount;
    if (dib.compression == 3 && headerSize == 40) entries = 3;  // the three colour masks
    // A table longer than the header block holds is cut to what is there.
    const std::uint64_t room = (cbBmi - headerSize) / 4;
    if (entries > room) entries = room;
    dib.colors.reserve(static_cast<std::size_t>(entries));
    for (std::uint64_t i = 0; i < entries; ++i)
        dib.colors.push_back(r.u32(offBmi + headerSize + static_cast<std::size_t>(4 * i)) &
                             0x00FFFFFF);
    auto bits = r.slice(offBits, cbBits);
    dib.bits.assign(bits.begin(), bits.end());
    return dib;
}

Poly parsePoly(const RecordView& r, PolyKind kind, bool shortPoints) {
    r.require(28);
    Poly p;
    p.kind = kind;
    p.shortPoints = shortPoints;
    p.bounds = r.rect(8);
    const std::uint64_t count = r.u32(24);
    const std::uint64_t pointSize = shortPoints ? 4 : 8;
    r.requireRange(28, count * pointSize);
    p.points.reserve(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 28 + i * pointSize;
        p.points.push_back(shortPoints ? Point{r.i16(at), r.i16(at + 2)} : r.point(at));
    }
    return p;
}

LogFont parseLogFont(const RecordView& r, std::size_t at) {
    r.require(at + 92);
    LogFont f;
    f.height = r.i32(at);
    f.width = r.i32(at + 4);
    f.escapement = r.i32(at + 8);
    f.orientation = r.i32(at + 12);
    f.weight = r.i32(at + 16);
    f.italic = r.u8(at + 20);
    f.underline = r.u8(at + 21);
    f.strikeOut = r.u8(at + 22);
    f.charSet = r.u8(at + 23);
    f.outPrecision = r.u8(at + 24);
    f.clipPrecision = r.u8(at + 25);
    f.quality = r.u8(at + 26);
    f.pitchAndFamily = r.u8(at + 27);
    f.faceName = untilNul(r.utf16(at + 28, 32));
    return f;
}

ExtTextOutW parseExtTextOut(const RecordView& r) {
    r.require(60);
    ExtTextOutW t;
    t.bounds = r.rect(8);
    t.graphicsMode = r.u32(24);
    t.exScale = r.f32(28);
    t.eyScale = r.f32(32);
    t.reference = r.point(36);
    const std::uint64_t chars = r.u32(44);
    const std::uint32_t offString = r.u32(48);
    t.options = r.u32(52);
    std::size_t offDxField = 56;
    if (!(t.options & eto::NoRect)) {
        t.rectangle = r.rect(56);
        offDxField = 72;
    }
    const std::uint32_t offDx = r.u32(offDxField);
    t.text = r.utf16(offString, chars);
    if (offDx != 0 && chars > 0) {
        const std::uint64_t count = chars * ((t.options & eto::Pdy) ? 2 : 1);
        r.requireRange(offDx, count * 4);
        t.dx.reserve(static_cast<std::size_t>(count));
        for (std::size_t i = 0; i < count; ++i) t.dx.push_back(r.i32(offDx + 4 * i));
    }
    return t;
}

BitBlt parseBitBlt(const RecordView& r, bool stretch) {
    r.require(stretch ? 108 : 100);
    BitBlt b;
    b.stretch = stretch;
    b.bounds = r.rect(8);
    b.dest = r.point(24);
    b.destSize = r.sizeAt(32);
    b.rop = r.u32(40);
    b.src = r.point(44);
    b.srcTransform = r.xform(52);
    b.srcBkColor = r.u32(76);
    b.usage = r.u32(80);
    b.srcSize = stretch ? r.sizeAt(100) : b.destSize;
    b.bitmap = parseDib(r, r.u32(84), r.u32(88), r.u32(92), r.u32(96));
    return b;
}

StretchDIBits parseStretchDIBits(const RecordView& r) {
    r.require(80);
    StretchDIBits s;
    s.bounds = r.rect(8);
    s.dest = r.point(24);
    s.src = r.point(32);
    s.srcSize = r.sizeAt(40);
    s.usage = r.u32(64);
    s.rop = r.u32(68);
    s.destSize = r.sizeAt(72);
    s.bitmap = parseDib(r, r.u32(48), r.u32(52), r.u32(56), r.u32(60));
    return s;
}

CreatePen parseExtCreatePen(const RecordView& r) {
    r.require(52);
    CreatePen p;
    p.extended = true;
    p.handle = r.u32(8);
    p.pen.style = r.u32(28);
    p.pen.width = static_cast<std::int32_t>(r.u32(32));
    p.pen.color = r.u32(40);
    if (r.u32(36) == brush_style::Null) p.pen.style = (p.pen.style & ~0xFFu) | pen_style::Null;
    return p;
}

Record parseRecord(const RecordView& r, std::uint32_t type, std::span<const std::uint8_t> raw) {
    switch (type) {
        case rec::Header:
            return parseHeader(r);
        case rec::PolyBezier:
            return parsePoly(r, PolyKind::PolyBezier, false);
        case rec::Polygon:
            return parsePoly(r, PolyKind::Polygon, false);
        case rec::Polyline:
            return parsePoly(r, PolyKind::Polyline, false);
        case rec::PolyBezierTo:
            return parsePoly(r, PolyKind::PolyBezierTo, false);
        case rec::PolylineTo:
            return parsePoly(r, PolyKind::PolylineTo, false);
        case rec::PolyBezier16:
            return parsePoly(r, PolyKind::PolyBezier, true);
        case rec::Polygon16:
            return parsePoly(r, PolyKind::Polygon, true);
        case rec::Polyline16:
            return parsePoly(r, PolyKind::Polyline, true);
        case rec::PolyBezierTo16:
            return parsePoly(r, PolyKind::PolyBezierTo, true);
        case rec::PolylineTo16:
            return parsePoly(r, PolyKind::PolylineTo, true);
        case rec::SetWindowExtEx:
            return SetWindowExtEx{r.sizeAt(8)};
        case rec::SetWindowOrgEx:
            return SetWindowOrgEx{r.point(8)};
        case rec::SetViewportExtEx:
            return SetViewportExtEx{r.sizeAt(8)};
        case rec::SetViewportOrgEx:
            return SetViewportOrgEx{r.point(8)};
        case rec::Eof:
            return Eof{};
        case rec::SetMapMode:
            return SetMapMode{r.u32(8)};
        case rec::SetBkMode:
            return SetBkMode{r.u32(8)};
        case rec::SetTextAlign:
            return SetTextAlign{r.u32(8)};
        case rec::SetTextColor:
            return SetTextColor{r.u32(8)};
        case rec::SetBkColor:
            return SetBkColor{r.u32(8)};
        case rec::MoveToEx:
            return MoveToEx{r.point(8)};
        case rec::LineTo:
            return LineTo{r.point(8)};
        case rec::SaveDC:
            return SaveDC{};
        case rec::RestoreDC:
            return RestoreDC{r.i32(8)};
        case rec::SetWorldTransform:
            return SetWorldTransform{r.xform(8)};
        case rec::ModifyWorldTransform:
            return ModifyWorldTransform{r.xform(8), r.u32(32)};
        case rec::SelectObject:
            return SelectObject{r.u32(8)};
        case rec::DeleteObject:
            return DeleteObject{r.u32(8)};
        case rec::CreatePen:
            return CreatePen{r.u32(8), LogPen{r.u32(12), r.i32(16), r.u32(24)}, false};
        case rec::ExtCreatePen:
            return parseExtCreatePen(r);
        case rec::CreateBrushIndirect:
            return CreateBrushIndirect{r.u32(8), LogBrush{r.u32(12), r.u32(16), r.u32(20)}};
        case rec::ExtCreateFontIndirectW:
            return ExtCreateFontIndirectW{r.u32(8), parseLogFont(r, 12)};
        case rec::Ellipse:
            return EllipseRecord{r.rect(8)};
        case rec::Rectangle:
            return RectangleRecord{r.rect(8)};
        case rec::RoundRect:
            return RoundRect{r.rect(8), r.sizeAt(24)};
        case rec::BitBlt:
            return parseBitBlt(r, false);
        case rec::StretchBlt:
            return parseBitBlt(r, true);
        case rec::StretchDIBits:
            return parseStretchDIBits(r);
        case rec::ExtTextOutW:
            return parseExtTextOut(r);
        default:
            return UnknownRecord{type, raw.subspan(8)};
    }
}

}  // namespace

std::size_t pictureSize(std::span<const std::uint8_t> data) {
    if (data.size() < BaseHeaderSize) throw FormatError("too short for a picture header");
    if (bytes::getU32(data, 0) != rec::Header) throw FormatError("does not start with a header");
    const std::uint32_t headerSize = bytes::getU32(data, 4);
    const std::uint32_t total = bytes::getU32(data, 48);
    if (bytes::getU32(data, 40) != HeaderSignature) throw FormatError("lacks the EMF signature");
    if (headerSize < BaseHeaderSize || headerSize % 4 != 0 || headerSize > total)
        throw FormatError("has a header of impossible size");
    if (total > data.size()) throw FormatError("is truncated");
    return total;
}

Reader::Reader(std::span<const std::uint8_t> data) {
    data_ = data.first(pictureSize(data));
    const std::uint32_t headerSize = bytes::getU32(data_, 4);
    header_ = parseHeader(RecordView(data_.first(headerSize), rec::Header));
}

std::optional<Record> Reader::next() {
    if (ended_) return std::nullopt;
    if (data_.size() - position_ < 8)
        throw FormatError("picture ends without an end-of-file record");
    const std::uint32_t type = bytes::getU32(data_, position_);
    const std::uint32_t size = bytes::getU32(data_, position_ + 4);
    if (size < 8 || size % 4 != 0 || size > data_.size() - position_)
        throw FormatError("record of type " + std::to_string(type) + " has an impossible size");
    if (position_ > 0 && type == rec::Header) throw FormatError("second header inside the picture");
    auto raw = data_.subspan(position_, size);
    Record record = parseRecord(RecordView(raw, type), type, raw);
    position_ += size;
    if (type == rec::Eof) ended_ = true;
    return record;
}

}  // namespace zor::emf
