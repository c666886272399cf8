#pragma once
// Writes an enhanced metafile record by record, the way the platform's drawing
// context records a picture: one call per drawing-context operation, the header
// (bounds, frame, reference device, record count, handle count, size) filled in
// by finish(). Bounds are kept in device units by following the mapping records.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "emf/records.h"
#include "emf/types.h"

namespace zor::emf {

// A picture to draw: top row first, three bytes per pixel (R, G, B).
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// The device a picture is recorded for, as the header describes it.
struct ReferenceDevice {
    Size pixels;
    Size millimeters;
    Size micrometers;
    // A 1920 × 1080 screen at the given dots per inch.
    static ReferenceDevice screen(int dotsPerInch);
};

class Recorder {
  public:
    // frame: the picture's frame in 0.01 mm.
    Recorder(Rect frame, ReferenceDevice device);

    void setMapMode(std::uint32_t mode);
    void setWindowExt(Size extent);
    void setWindowOrg(Point origin);
    void setViewportExt(Size extent);
    void setViewportOrg(Point origin);
    void setBkMode(std::uint32_t mode);
    void setBkColor(ColorRef color);
    void setTextAlign(std::uint32_t mode);
    void setTextColor(ColorRef color);

    // Each returns the object-table index of the new object.
    std::uint32_t createPen(const LogPen& pen);
    std::uint32_t createBrush(const LogBrush& brush);
    std::uint32_t createFont(const LogFont& font);
    // handle: a created object's index or stockHandle(...).
    void selectObject(std::uint32_t handle);
    void deleteObject(std::uint32_t handle);

    void moveTo(Point p);
    void lineTo(Point p);
    void rectangle(Rect box);
    void ellipse(Rect box);
    void polygon(std::span<const Point> points);
    void polyline(std::span<const Point> points);
    // Fills box with the selected brush (a pattern copy without source bitmap).
    void fillRect(Rect box);
    // extent: the box the text covers in logical units, for the bounds.
    void extTextOut(Point reference, std::uint32_t options, Rect rectangle,
                    std::u16string_view text, std::span<const std::int32_t> dx, Rect extent);
    // Draws bitmap stretched to dest (logical units) as a 24-bit bitmap.
    void stretchDIBits(Rect dest, const Bitmap& bitmap);
    void saveDC();
    void restoreDC(std::int32_t savedDC = -1);

    // Writes the end record, fills in the header and hands over the picture.
    // The recorder cannot be used afterwards.
    std::vector<std::uint8_t> finish();
    bool finished() const { return finished_; }

    // Logical to device coordinates under the current mapping.
    Point toDevice(Point p) const;

  private:
    struct Context {
        Mapping mapping;
        std::int32_t penWidth = 0;  // logical width of the selected pen
    };

    std::size_t beginRecord(std::uint32_t type);
    void endRecord(std::size_t start);
    // A record of two 32-bit signed values (extents and origins).
    void putPairRecord(std::uint32_t type, std::int32_t first, std::int32_t second);
    void putRect(const Rect& r);
    std::uint32_t allocateHandle(std::int32_t penWidth);
    Rect deviceBounds(std::span<const Point> points, bool withPen) const;
    void include(const Rect& deviceRect);
    void requireOpen() const;

    std::vector<std::uint8_t> out_;
    Rect frame_;
    ReferenceDevice device_;
    std::uint32_t records_ = 0;
    // Object table: FreeSlot, or a pen's width + 1, or 0 for brushes and fonts.
    std::vector<std::int32_t> objects_{0};
    std::uint32_t handleCount_ = 1;
    Context context_;
    std::vector<Context> saved_;
    Point position_;
    bool haveBounds_ = false;
    Rect bounds_;
    bool finished_ = false;
};

}  // namespace zor::emf
