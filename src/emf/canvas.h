#pragma once
// A drawing surface that records into an enhanced metafile: the page canvas of
// the page store. It keeps a pen, a brush and a font like a drawing context and
// creates, selects and deletes the matching objects in the picture only when a
// drawing operation needs them. Coordinates are logical units of the mapping set
// with setMapping().
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "emf/font_metrics.h"
#include "emf/recorder.h"

namespace zor::emf {

struct Pen {
    ColorRef color = rgb(0, 0, 0);
    int width = 1;  // logical units
    std::uint32_t style = pen_style::Solid;
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    ColorRef color = rgb(255, 255, 255);
    std::uint32_t style = brush_style::Solid;
    friend bool operator==(const Brush&, const Brush&) = default;
};

struct Font {
    std::string name = "Arial";
    int height = -11;  // logical units; < 0: em height, > 0: cell height
    int pixelsPerInch = 96;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    ColorRef color = rgb(0, 0, 0);

    // Size in points at pixelsPerInch.
    int size() const;
    void setSize(int points);
    // Changes pixelsPerInch and keeps the size in points.
    void setPixelsPerInchKeepingSize(int ppi);
    LogFont toLogFont() const;
    friend bool operator==(const Font&, const Font&) = default;
};

class Canvas {
  public:
    // frame: the picture's frame in 0.01 mm.
    Canvas(Rect frame, ReferenceDevice device);

    // Anisotropic mapping: window extent in logical units, viewport extent in
    // device pixels, viewport origin in device pixels.
    void setMapping(Size window, Size viewport, Point viewportOrigin);

    const Pen& pen() const { return pen_; }
    void setPen(const Pen& pen) { pen_ = pen; }
    const Brush& brush() const { return brush_; }
    void setBrush(const Brush& brush) { brush_ = brush; }
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    void setBackgroundMode(std::uint32_t mode);  // bk_mode::
    void setBackgroundColor(ColorRef color);
    void setTextAlign(std::uint32_t mode);  // text_align::
    std::uint32_t textAlign() const { return textAlign_; }

    void moveTo(int x, int y);
    void lineTo(int x, int y);
    Point penPos() const { return penPos_; }
    void rectangle(const Rect& box);  // outlined with the pen, filled with the brush
    void fillRect(const Rect& box);   // filled with the brush, no outline
    void ellipse(const Rect& box);
    void polygon(std::span<const Point> points);
    void polyline(std::span<const Point> points);
    // Text (UTF-8) at (x, y) after the text alignment; the pen then stands at the
    // end of the text (x + width, y).
    void textOut(int x, int y, std::string_view text);
    // Text at (x, y) clipped to clip; opaque when the brush is not hollow.
    void textRect(const Rect& clip, int x, int y, std::string_view text);
    int textWidth(std::string_view text);
    int textHeight(std::string_view text);
    // The bitmap stretched to dest.
    void stretchDraw(const Rect& dest, const Bitmap& bitmap);

    // Saves and restores the drawing state: pen, brush, font, text alignment and
    // the picture's own drawing-context state.
    void saveState();
    void restoreState();

    // Deselects and deletes the objects in use and finishes the picture.
    std::vector<std::uint8_t> finish();
    bool finished() const { return recorder_.finished(); }

  private:
    void realisePen();
    void realiseBrush();
    void realiseFont();
    void realiseTextColor();
    const FontMetrics& metrics();
    // Returns the width of the text.
    int drawText(int x, int y, std::uint32_t options, const Rect& clip, std::string_view text);

    Recorder recorder_;
    Pen pen_;
    Brush brush_;
    Font font_;
    std::uint32_t textAlign_ = text_align::Top | text_align::Left;
    Point penPos_;

    // What the picture currently has selected (nothing yet: the defaults).
    std::optional<std::pair<Pen, std::uint32_t>> pickedPen_;
    std::optional<std::pair<Brush, std::uint32_t>> pickedBrush_;
    std::optional<std::pair<Font, std::uint32_t>> pickedFont_;
    std::optional<ColorRef> pickedTextColor_;
    std::optional<FontMetrics> metrics_;
    std::optional<Font> metricsFont_;
    // Picked objects saved by saveState(), restored with the state.
    struct Picked {
        std::optional<std::pair<Pen, std::uint32_t>> pen;
        std::optional<std::pair<Brush, std::uint32_t>> brush;
        std::optional<std::pair<Font, std::uint32_t>> font;
        std::optional<ColorRef> textColor;
        std::uint32_t textAlign;
        Pen wantedPen;
        Brush wantedBrush;
        Font wantedFont;
    };
    std::vector<Picked> saved_;
    std::vector<std::uint32_t> keptAlive_;  // objects still selected in a saved state
};

}  // namespace zor::emf
