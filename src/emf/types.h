#pragma once
// Basic value types and constants of the enhanced-metafile (EMF) format: points,
// sizes and rectangles as the format stores them (32-bit signed), colours as
// 0x00BBGGRR, and the record-type, stock-object and mode numbers.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace zor::emf {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A colour as the format stores it: red in the low byte, then green, then blue.
using ColorRef = std::uint32_t;

constexpr ColorRef rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return ColorRef(r) | (ColorRef(g) << 8) | (ColorRef(b) << 16);
}
constexpr std::uint8_t redOf(ColorRef c) { return std::uint8_t(c & 0xFF); }
constexpr std::uint8_t greenOf(ColorRef c) { return std::uint8_t((c >> 8) & 0xFF); }
constexpr std::uint8_t blueOf(ColorRef c) { return std::uint8_t((c >> 16) & 0xFF); }

// The 2-D transform of the world-transform records.
struct XForm {
    float m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
    friend bool operator==(const XForm&, const XForm&) = default;
};

// Thrown for data that is not a well-formed enhanced metafile.
class FormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Record type numbers.
namespace rec {
constexpr std::uint32_t Header = 1;
constexpr std::uint32_t PolyBezier = 2;
constexpr std::uint32_t Polygon = 3;
constexpr std::uint32_t Polyline = 4;
constexpr std::uint32_t PolyBezierTo = 5;
constexpr std::uint32_t PolylineTo = 6;
constexpr std::uint32_t SetWindowExtEx = 9;
constexpr std::uint32_t SetWindowOrgEx = 10;
constexpr std::uint32_t SetViewportExtEx = 11;
constexpr std::uint32_t SetViewportOrgEx = 12;
constexpr std::uint32_t Eof = 14;
constexpr std::uint32_t SetMapMode = 17;
constexpr std::uint32_t SetBkMode = 18;
constexpr std::uint32_t SetTextAlign = 22;
constexpr std::uint32_t SetTextColor = 24;
constexpr std::uint32_t SetBkColor = 25;
constexpr std::uint32_t MoveToEx = 27;
constexpr std::uint32_t SaveDC = 33;
constexpr std::uint32_t RestoreDC = 34;
constexpr std::uint32_t SetWorldTransform = 35;
constexpr std::uint32_t ModifyWorldTransform = 36;
constexpr std::uint32_t SelectObject = 37;
constexpr std::uint32_t CreatePen = 38;
constexpr std::uint32_t CreateBrushIndirect = 39;
constexpr std::uint32_t DeleteObject = 40;
constexpr std::uint32_t Ellipse = 42;
constexpr std::uint32_t Rectangle = 43;
constexpr std::uint32_t RoundRect = 44;
constexpr std::uint32_t LineTo = 54;
constexpr std::uint32_t GdiComment = 70;
constexpr std::uint32_t BitBlt = 76;
constexpr std::uint32_t StretchBlt = 77;
constexpr std::uint32_t StretchDIBits = 81;
constexpr std::uint32_t ExtCreateFontIndirectW = 82;
constexpr std::uint32_t ExtTextOutW = 84;
constexpr std::uint32_t PolyBezier16 = 85;
constexpr std::uint32_t Polygon16 = 86;
constexpr std::uint32_t Polyline16 = 87;
constexpr std::uint32_t PolyBezierTo16 = 88;
constexpr std::uint32_t PolylineTo16 = 89;
constexpr std::uint32_t ExtCreatePen = 95;
// Fill mode and path brackets; the reader passes these on with their raw bytes.
constexpr std::uint32_t SetPolyFillMode = 19;
constexpr std::uint32_t BeginPath = 59;
constexpr std::uint32_t EndPath = 60;
constexpr std::uint32_t CloseFigure = 61;
constexpr std::uint32_t FillPath = 62;
constexpr std::uint32_t StrokeAndFillPath = 63;
constexpr std::uint32_t StrokePath = 64;
constexpr std::uint32_t AbortPath = 68;
}  // namespace rec

// Stock objects are selected by this flag plus their number.
constexpr std::uint32_t StockObjectFlag = 0x80000000u;
enum class StockObject : std::uint32_t {
    WhiteBrush = 0,
    LightGrayBrush = 1,
    GrayBrush = 2,
    DarkGrayBrush = 3,
    BlackBrush = 4,
    NullBrush = 5,
    WhitePen = 6,
    BlackPen = 7,
    NullPen = 8,
    OemFixedFont = 10,
    AnsiFixedFont = 11,
    AnsiVarFont = 12,
    SystemFont = 13,
    DeviceDefaultFont = 14,
    DefaultPalette = 15,
    SystemFixedFont = 16,
    DefaultGuiFont = 17,
    DcBrush = 18,
    DcPen = 19,
};
constexpr std::uint32_t stockHandle(StockObject o) {
    return StockObjectFlag | static_cast<std::uint32_t>(o);
}

namespace pen_style {
constexpr std::uint32_t Solid = 0;
constexpr std::uint32_t Dash = 1;
constexpr std::uint32_t Dot = 2;
constexpr std::uint32_t DashDot = 3;
constexpr std::uint32_t DashDotDot = 4;
constexpr std::uint32_t Null = 5;
constexpr std::uint32_t InsideFrame = 6;
}  // namespace pen_style

namespace brush_style {
constexpr std::uint32_t Solid = 0;
constexpr std::uint32_t Null = 1;  // hollow
constexpr std::uint32_t Hatched = 2;
}  // namespace brush_style

namespace map_mode {
constexpr std::uint32_t Text = 1;
constexpr std::uint32_t LoMetric = 2;
constexpr std::uint32_t HiMetric = 3;
constexpr std::uint32_t LoEnglish = 4;
constexpr std::uint32_t HiEnglish = 5;
constexpr std::uint32_t Twips = 6;
constexpr std::uint32_t Isotropic = 7;
constexpr std::uint32_t Anisotropic = 8;
}  // namespace map_mode

// The mapping of a drawing context from logical units to device pixels; a fresh
// context maps one unit to one pixel.
struct Mapping {
    std::uint32_t mode = map_mode::Text;
    Size windowExtent{1, 1};
    Point windowOrigin;
    Size viewportExtent{1, 1};
    Point viewportOrigin;
};

namespace bk_mode {
constexpr std::uint32_t Transparent = 1;
constexpr std::uint32_t Opaque = 2;
}  // namespace bk_mode

namespace text_align {
constexpr std::uint32_t Top = 0;
constexpr std::uint32_t Left = 0;
constexpr std::uint32_t UpdateCp = 1;
constexpr std::uint32_t Right = 2;
constexpr std::uint32_t Center = 6;
constexpr std::uint32_t Bottom = 8;
constexpr std::uint32_t Baseline = 24;
}  // namespace text_align

// How far left of its reference point a text of the given width starts under the
// alignment: half the width when centred, the whole width when right-aligned.
template <class T>
constexpr T textStartShift(std::uint32_t align, T width) {
    if ((align & text_align::Center) == text_align::Center) return width / 2;
    if (align & text_align::Right) return width;
    return T(0);
}

// How far below its reference point the baseline of a text lies under the alignment:
// the ascent for top alignment, nothing for baseline alignment, minus the descent for
// bottom alignment (y grows downwards).
template <class T>
constexpr T baselineBelowReference(std::uint32_t align, T ascent, T descent) {
    if ((align & text_align::Baseline) == text_align::Baseline) return T(0);
    if (align & text_align::Bottom) return -descent;
    return ascent;
}

// Options of the text-out record.
namespace eto {
constexpr std::uint32_t Opaque = 0x0002;
constexpr std::uint32_t Clipped = 0x0004;
constexpr std::uint32_t GlyphIndex = 0x0010;
constexpr std::uint32_t RtlReading = 0x0080;
constexpr std::uint32_t NoRect = 0x0100;
constexpr std::uint32_t Pdy = 0x2000;
}  // namespace eto

// Raster operations.
namespace rop {
constexpr std::uint32_t SrcCopy = 0x00CC0020;
constexpr std::uint32_t PatCopy = 0x00F00021;
}  // namespace rop

constexpr std::uint32_t HeaderSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t FormatVersion = 0x00010000;

}  // namespace zor::emf
