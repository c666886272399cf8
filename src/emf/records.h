#pragma once
// Typed view of the records of an enhanced metafile, as emf::Reader yields them.
//
// Each struct carries the fields of one record kind, already checked against the
// record's size. Coordinates are logical units unless a field says otherwise;
// "bounds" fields are in device units as the format defines them. Records the
// reader has no struct for come as UnknownRecord with their raw bytes.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "emf/types.h"

namespace zor::emf {

struct Header {
    Rect bounds;  // device units, inclusive
    Rect frame;   // 0.01 mm, inclusive
    std::uint32_t version = 0;
    std::uint32_t bytes = 0;    // size of the whole picture
    std::uint32_t records = 0;  // number of records, this one and the end record included
    std::uint16_t handles = 0;  // object-table size, index 0 included
    std::uint32_t palEntries = 0;
    Size device;       // reference device in pixels
    Size millimeters;  // reference device in millimetres
    std::u16string description;
    std::optional<Size> micrometers;  // present in newer headers
};

struct SetMapMode {
    std::uint32_t mode = 0;
};
struct SetWindowExtEx {
    Size extent;
};
struct SetWindowOrgEx {
    Point origin;
};
struct SetViewportExtEx {
    Size extent;
};
struct SetViewportOrgEx {
    Point origin;
};
struct SetBkMode {
    std::uint32_t mode = 0;
};
struct SetTextAlign {
    std::uint32_t mode = 0;
};
struct SetTextColor {
    ColorRef color = 0;
};
struct SetBkColor {
    ColorRef color = 0;
};
struct MoveToEx {
    Point point;
};
struct LineTo {
    Point point;
};
struct SaveDC {};
// savedDC < 0: relative to the current state (-1 = the last saved one).
struct RestoreDC {
    std::int32_t savedDC = -1;
};
struct SetWorldTransform {
    XForm xform;
};
// mode: 1 identity, 2 left-multiply, 3 right-multiply, 4 set.
struct ModifyWorldTransform {
    XForm xform;
    std::uint32_t mode = 0;
};

// handle: an object-table index, or StockObjectFlag plus a StockObject number.
struct SelectObject {
    std::uint32_t handle = 0;
    bool isStock() const { return (handle & StockObjectFlag) != 0; }
    std::optional<StockObject> stock() const {
        if (!isStock()) return std::nullopt;
        return StockObject(handle & ~StockObjectFlag);
    }
};
struct DeleteObject {
    std::uint32_t handle = 0;
};

struct LogPen {
    std::uint32_t style = pen_style::Solid;  // low byte: pen_style; higher bits: end caps, joins
    std::int32_t width = 0;                  // logical units; 0 = one device pixel
    ColorRef color = 0;
};
// Made from EMR_CREATEPEN and also from EMR_EXTCREATEPEN (which other programs write).
struct CreatePen {
    std::uint32_t handle = 0;
    LogPen pen;
    bool extended = false;  // came from EMR_EXTCREATEPEN
};

struct LogBrush {
    std::uint32_t style = brush_style::Solid;
    ColorRef color = 0;
    std::uint32_t hatch = 0;
};
struct CreateBrushIndirect {
    std::uint32_t handle = 0;
    LogBrush brush;
};

struct LogFont {
    std::int32_t height = 0;  // < 0: em height; > 0: cell height (logical units)
    std::int32_t width = 0;
    std::int32_t escapement = 0;   // tenths of a degree
    std::int32_t orientation = 0;  // tenths of a degree
    std::int32_t weight = 400;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 1;  // DEFAULT_CHARSET
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::u16string faceName;  // at most 31 characters
};
struct ExtCreateFontIndirectW {
    std::uint32_t handle = 0;
    LogFont font;
};

struct EllipseRecord {
    Rect box;
};
struct RectangleRecord {
    Rect box;
};
struct RoundRect {
    Rect box;
    Size corner;
};

enum class PolyKind { PolyBezier, Polygon, Polyline, PolyBezierTo, PolylineTo };
// The eight poly records with 32-bit and with 16-bit points.
struct Poly {
    PolyKind kind = PolyKind::Polygon;
    bool shortPoints = false;  // the record stored 16-bit points
    Rect bounds;
    std::vector<Point> points;
};

// A device-independent bitmap as a record carries it: the information header
// fields, the colour table and the pixel bits exactly as stored.
struct Dib {
    std::int32_t width = 0;
    std::int32_t height = 0;  // > 0: bottom-up rows; < 0: top-down
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;  // 0 = uncompressed (BI_RGB), 3 = bit fields
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
    std::vector<std::uint32_t> colors;  // colour table entries 0x00RRGGBB (RGBQUAD order)
    std::vector<std::uint8_t> bits;

    // Bytes in one stored row (rows are padded to four bytes).
    std::uint64_t stride() const;
};

// Decoded pixels, top row first, four bytes per pixel: R, G, B, 255.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};
// Decodes uncompressed 1, 4, 8, 16, 24 and 32-bit bitmaps; nothing for other
// encodings or for bits that do not cover the image.
std::optional<RgbaImage> decodeDib(const Dib& dib);

// EMR_BITBLT and EMR_STRETCHBLT. Without a bitmap the operation paints with the
// brush (rop::PatCopy fills the destination with the brush colour).
struct BitBlt {
    bool stretch = false;  // EMR_STRETCHBLT
    Rect bounds;
    Point dest;
    Size destSize;
    std::uint32_t rop = 0;
    Point src;
    Size srcSize;  // BitBlt: the destination size
    XForm srcTransform;
    ColorRef srcBkColor = 0;
    std::uint32_t usage = 0;
    std::optional<Dib> bitmap;
};

struct StretchDIBits {
    Rect bounds;
    Point dest;
    Point src;
    Size srcSize;
    std::uint32_t usage = 0;
    std::uint32_t rop = 0;
    Size destSize;
    std::optional<Dib> bitmap;
};

struct ExtTextOutW {
    Rect bounds;
    std::uint32_t graphicsMode = 1;
    float exScale = 0;
    float eyScale = 0;
    Point reference;
    std::uint32_t options = 0;  // eto:: flags
    Rect rectangle;             // clip / opaque rectangle; empty with eto::NoRect
    std::u16string text;        // characters, or glyph indices with eto::GlyphIndex
    // Advances in logical units: one per character, or (dx, dy) pairs with eto::Pdy.
    // Empty when the record has none.
    std::vector<std::int32_t> dx;
};

struct Eof {};

// A record the reader has no struct for (EMR_GDICOMMENT included). payload is the
// record after its type and size fields and points into the reader's data.
struct UnknownRecord {
    std::uint32_t type = 0;
    std::span<const std::uint8_t> payload;
};

using Record =
    std::variant<Header, SetMapMode, SetWindowExtEx, SetWindowOrgEx, SetViewportExtEx,
                 SetViewportOrgEx, SetBkMode, SetTextAlign, SetTextColor, SetBkColor, MoveToEx,
                 LineTo, SaveDC, RestoreDC, SetWorldTransform, ModifyWorldTransform, SelectObject,
                 DeleteObject, CreatePen, CreateBrushIndirect, ExtCreateFontIndirectW,
                 EllipseRecord, RectangleRecord, RoundRect, Poly, BitBlt, StretchDIBits,
                 ExtTextOutW, Eof, UnknownRecord>;

}  // namespace zor::emf
