#pragma once

// The drawing surface of the current page: writes PDF content operators, one per line, in
// points with the origin at the page's bottom-left corner and y pointing up.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zor::pdf {

class TPdfDocument;
class PdfFont;
class PdfFontResource;
struct PdfPage;

// A colour with red in the low byte, green, then blue (as the page images store them).
using PdfColor = std::uint32_t;

struct PdfDash {
    std::vector<int> lengths;  // empty: solid
    int phase = 0;
    friend bool operator==(const PdfDash&, const PdfDash&) = default;
};

// What the canvas last wrote into the current graphics state; unknown values are empty.
// "q" saves it and "Q" brings it back, as the PDF viewer does with the real state.
struct PdfGraphicsState {
    std::optional<PdfColor> fillColor;
    std::optional<PdfColor> strokeColor;
    std::optional<double> lineWidth;
    std::optional<PdfDash> dash;
    const PdfFontResource* font = nullptr;
    double fontSize = 0;
};

class PdfCanvas {
  public:
    static constexpr double kKappa = 0.5522847771644592;

    explicit PdfCanvas(TPdfDocument& document) : document_(document) {}

    void bind(PdfPage* page);
    bool isBound() const { return page_ != nullptr; }
    double pageHeight() const;

    void saveState();                                                         // q
    void restoreState();                                                      // Q
    void concat(double a, double b, double c, double d, double e, double f);  // cm
    void setLineWidth(double width);                                          // w
    void setDash(const PdfDash& dash);                                        // d
    void moveTo(double x, double y);
    void lineTo(double x, double y);
    void curveTo(double x1, double y1, double x2, double y2, double x3, double y3);
    void rectangle(double x, double y, double width, double height);
    void closePath();                     // h
    void endPath();                       // n
    void stroke();                        // S
    void fill();                          // f
    void fillStroke();                    // B
    void clip();                          // W
    void setFillColor(PdfColor color);    // rg
    void setStrokeColor(PdfColor color);  // RG
    // Four Bézier curves from the middle of the box's left side round the box.
    void ellipse(double x, double y, double width, double height);
    // Sides and one curve per corner, the corner ellipse radiusX by radiusY; closed.
    void roundRect(double x, double y, double width, double height, double radiusX, double radiusY);

    // Tf, after listing the font in the page resources. The size must lie in 0..300, else
    // PdfInvalidValue "SetFontSize".
    void setFont(const PdfFontResource& font, double size);
    void beginText();                                                                // BT
    void endText();                                                                  // ET
    void setTextMatrix(double a, double b, double c, double d, double e, double f);  // Tm
    void moveText(double x, double y);                                               // Td
    void nextLine();                                                                 // T*
    // Shows text in a WinAnsi font at a size: characters with a WinAnsi code as literal-string
    // runs in the font, the others as glyph runs in its Unicode companion. Writes "Tf" wherever
    // the run's font is not the current one. Every character is recorded as used.
    void showText(PdfFont& font, double size, std::u32string_view text);
    // Shows glyph numbers in the font's Unicode companion.
    void showGlyphs(PdfFont& font, double size, const std::vector<std::uint16_t>& glyphs);
    // The advance of text in the font, in 1/1000 of the font size.
    double textWidth(PdfFont& font, std::u32string_view text) const;

    // Draws a registered image into the box; raises PdfInvalidValue "DrawXObject: unknown <name>"
    // for a name that was never registered.
    void drawImage(const std::string& name, double x, double y, double width, double height);

    const PdfGraphicsState& state() const { return state_; }
    // Forgets the stroke colour, dash and line width, so they are written again when next set.
    void forgetStrokeState();

  private:
    void write(std::string_view text);
    void numbers(std::initializer_list<double> values, std::string_view op);
    PdfPage& page();

    TPdfDocument& document_;
    PdfPage* page_ = nullptr;
    PdfGraphicsState state_;
    std::vector<PdfGraphicsState> savedStates_;
};

}  // namespace zor::pdf
