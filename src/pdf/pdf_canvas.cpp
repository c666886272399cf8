#include "pdf/pdf_canvas.h"

#include <algorithm>
#include <cstdio>

#include "pdf/pdf_document.h"
#include "pdf/pdf_errors.h"
#include "pdf/pdf_font.h"
#include "pdf/pdf_output.h"
#include "text/encoding.h"

namespace zor::pdf {
namespace {

// A piece of WinAnsi text as a literal string: only the delimiters and the backslash are
// escaped, every other byte stands as it is.
std::string contentString(std::string_view bytes) {
    std::string s = "(";
    for (char c : bytes) {
        if (c == '(' || c == ')' || c == '\\') s += '\\';
        s += c;
    }
    return s + ")";
}

void appendHex4(std::string& s, unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFFu);
    s += text;
}

std::string colorComponents(PdfColor color) {
    return contentNumber((color & 0xFF) / 255.0) + contentNumber(((color >> 8) & 0xFF) / 255.0) +
           contentNumber(((color >> 16) & 0xFF) / 255.0);
}

// The WinAnsi code a character is written with, if it has one.
std::optional<unsigned char> winAnsiCode(char32_t c) {
    if (c == U'\u00A0') return ' ';
    return text::cp1252FromCodePoint(c);
}

}  // namespace

void PdfCanvas::bind(PdfPage* page) {
    page_ = page;
    state_ = {};
    savedStates_.clear();
}

PdfPage& PdfCanvas::page() {
    if (!page_) throw PdfInvalidOperation("GetPage");
    return *page_;
}

double PdfCanvas::pageHeight() const { return page_ ? page_->height : 0; }

void PdfCanvas::write(std::string_view text) {
    auto& data = page().contents->data();
    data += text;
    data += '\n';
}

void PdfCanvas::numbers(std::initializer_list<double> values, std::string_view op) {
    std::string line;
    for (double v : values) line += contentNumber(v);
    line += op;
    write(line);
}

void PdfCanvas::saveState() {
    write("q");
    savedStates_.push_back(state_);
}

void PdfCanvas::restoreState() {
    write("Q");
    if (!savedStates_.empty()) {
        state_ = savedStates_.back();
        savedStates_.pop_back();
    }
}

void PdfCanvas::concat(double a, double b, double c, double d, double e, double f) {
    numbers({a, b, c, d, e, f}, "cm");
}

void PdfCanvas::setLineWidth(double width) {
    numbers({width}, "w");
    state_.lineWidth = width;
}

void PdfCanvas::setDash(const PdfDash& dash) {
    std::string line = "[";
    for (int length : dash.lengths) line += std::to_string(length) + " ";
    line += "] " + std::to_string(dash.phase) + " d";
    write(line);
    state_.dash = dash;
}

void PdfCanvas::moveTo(double x, double y) { numbers({x, y}, "m"); }
void PdfCanvas::lineTo(double x, double y) { numbers({x, y}, "l"); }
void PdfCanvas::curveTo(double x1, double y1, double x2, double y2, double x3, double y3) {
    numbers({x1, y1, x2, y2, x3, y3}, "c");
}
void PdfCanvas::rectangle(double x, double y, double width, double height) {
    numbers({x, y, width, height}, "re");
}
void PdfCanvas::closePath() { write("h"); }
void PdfCanvas::endPath() { write("n"); }
void PdfCanvas::stroke() { write("S"); }
void PdfCanvas::fill() { write("f"); }
void PdfCanvas::fillStroke() { write("B"); }
void PdfCanvas::clip() { write("W"); }

void PdfCanvas::setFillColor(PdfColor color) {
    write(colorComponents(color) + "rg");
    state_.fillColor = color;
}

void PdfCanvas::setStrokeColor(PdfColor color) {
    write(colorComponents(color) + "RG");
    state_.strokeColor = color;
}

void PdfCanvas::forgetStrokeState() {
    state_.strokeColor.reset();
    state_.lineWidth.reset();
    state_.dash.reset();
}

void PdfCanvas::ellipse(double x, double y, double width, double height) {
    double rx = width / 2, ry = height / 2;
    double cx = x + rx, cy = y + ry;
    double kx = rx * kKappa, ky = ry * kKappa;
    moveTo(x, cy);
    curveTo(x, cy + ky, cx - kx, y + height, cx, y + height);
    curveTo(cx + kx, y + height, x + width, cy + ky, x + width, cy);
    curveTo(x + width, cy - ky, cx + kx, y, cx, y);
    curveTo(cx - kx, y, x, cy - ky, x, cy);
}

void PdfCanvas::roundRect(double x, double y, double width, double height, double radiusX,
                          double radiusY) {
    double rx = std::min(radiusX, width / 2), ry = std::min(radiusY, height / 2);
    double kx = rx * kKappa, ky = ry * kKappa;
    double right = x + width, top = y + height;
    moveTo(x + rx, y);
    lineTo(right - rx, y);
    curveTo(right - rx + kx, y, right, y + ry - ky, right, y + ry);
    lineTo(right, top - ry);
    curveTo(right, top - ry + ky, right - rx + kx, top, right - rx, top);
    lineTo(x + rx, top);
    curveTo(x + rx - kx, top, x, top - ry + ky, x, top - ry);
    lineTo(x, y + ry);
    curveTo(x, y + ry - ky, x + rx - kx, y, x + rx, y);
    closePath();
}

void PdfCanvas::setFont(const PdfFontResource& font, double size) {
    if (!(size >= 0 && size <= 300)) throw PdfInvalidValue("SetFontSize");
    auto& fonts = *page().fonts;
    if (!fonts.contains(font.resourceName())) fonts.set(font.resourceName(), font.dictionary());
    write("/" + font.resourceName() + " " + contentNumber(size) + "Tf");
    state_.font = &font;
    state_.fontSize = size;
}

void PdfCanvas::beginText() { write("BT"); }
void PdfCanvas::endText() { write("ET"); }
void PdfCanvas::setTextMatrix(double a, double b, double c, double d, double e, double f) {
    numbers({a, b, c, d, e, f}, "Tm");
}
void PdfCanvas::moveText(double x, double y) { numbers({x, y}, "Td"); }
void PdfCanvas::nextLine() { write("T*"); }

void PdfCanvas::showText(PdfFont& font, double size, std::u32string_view text) {
    std::string run;
    bool glyphRun = false;
    auto flush = [&] {
        if (run.empty()) return;
        const PdfFontResource& runFont =
            glyphRun ? static_cast<const PdfFontResource&>(*font.companion()) : font;
        if (state_.font != &runFont || state_.fontSize != size) setFont(runFont, size);
        write(glyphRun ? "<" + run + "> Tj" : contentString(run) + " Tj");
        run.clear();
    };
    // Spaces between two characters without a WinAnsi code stay in their glyph run.
    auto insideGlyphRun = [&](std::size_t at) {
        if (!glyphRun || text[at] != U' ') return false;
        auto next = text.find_first_not_of(U' ', at);
        return next != std::u32string_view::npos && !winAnsiCode(text[next]);
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        auto code = winAnsiCode(c);
        if (code && !insideGlyphRun(i)) {
            if (glyphRun) flush();
            glyphRun = false;
            run += char(*code);
            font.markUsed(*code);
        } else {
            if (!glyphRun) flush();
            glyphRun = true;
            appendHex4(run, document_.unicodeFont(font).useCharacter(c));
        }
    }
    flush();
}

void PdfCanvas::showGlyphs(PdfFont& font, double size, const std::vector<std::uint16_t>& glyphs) {
    auto& companion = document_.unicodeFont(font);
    if (state_.font != &companion || state_.fontSize != size) setFont(companion, size);
    std::string run;
    for (std::uint16_t glyph : glyphs) {
        companion.useGlyph(glyph);
        appendHex4(run, glyph);
    }
    write("<" + run + "> Tj");
}

double PdfCanvas::textWidth(PdfFont& font, std::u32string_view text) const {
    double width = 0;
    for (char32_t c : text) {
        if (auto code = winAnsiCode(c)) {
            width += font.charWidth(*code);
        } else {
            width += double(font.face().advanceWidth(c)) * 1000.0 / font.face().unitsPerEm();
        }
    }
    return width;
}

void PdfCanvas::drawImage(const std::string& name, double x, double y, double width,
                          double height) {
    auto image = document_.xObject(name);
    if (!image) throw PdfInvalidValue("DrawXObject: unknown " + name);
    auto& xObjects = *page().xObjects;
    if (!xObjects.contains(name)) xObjects.set(name, image);
    saveState();
    concat(width, 0, 0, height, x, y);
    write("/" + name + " Do");
    restoreState();
}

}  // namespace zor::pdf
