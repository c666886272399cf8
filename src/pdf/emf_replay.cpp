#include "pdf/emf_replay.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "emf/font_metrics.h"
#include "emf/interpreter.h"
#include "pdf/dib_bitmap.h"
#include "pdf/pdf_errors.h"
#include "pdf/pdf_image.h"
#include "text/encoding.h"

namespace zor::pdf {
namespace {

// The replay's own rules: at most 10 saved states, and a picture the replay cannot
// follow (too many saved states, a restore without a saved state, an object index
// outside the header's table) ends the export. A restore drops the world transform,
// the modify-world-transform record and stock fonts are passed over, the grey stock
// brushes have their own shades and text never moves the current position.
const emf::Rules& replayRules() {
    static const emf::Rules rules{.maxSavedStates = 10,
                                  .growObjectTable = false,
                                  .restoreKeepsWorldTransform = false,
                                  .modifyWorldTransform = false,
                                  .lightGrayBrush = 0xAAAAAA,
                                  .darkGrayBrush = 0x666666,
                                  .stockFontsSelectDefault = false,
                                  .textUpdatesPosition = false};
    return rules;
}

// What the replay uses of a font object: the angle in whole degrees and the metrics
// of the installed font that stands in for it.
struct FontState {
    int angle = 0;
    int ascent = 0;
    int descent = 0;
    int emHeight = 0;
    emf::LogFont description;

    explicit FontState(const emf::LogFont& font)
        : angle(font.orientation != 0 ? font.orientation / 10 : font.escapement / 10),
          description(font) {
        emf::FontMetrics metrics(font);
        ascent = metrics.ascent();
        descent = metrics.descent();
        emHeight = metrics.emHeight();
    }
};

struct PdfPoint {
    double x;
    double y;
};

PdfDash dashFor(std::uint32_t penStyle) {
    switch (penStyle & 0xFF) {
        case emf::pen_style::Dash:
            return {{4, 4}, 0};
        case emf::pen_style::Dot:
            return {{1, 1}, 0};
        case emf::pen_style::DashDot:
            return {{4, 1, 1, 1}, 0};
        case emf::pen_style::DashDotDot:
            return {{4, 1, 1, 1, 1, 1}, 0};
        default:
            return {};
    }
}

// The PDF page as a device of the EMF interpreter.
class PdfDevice : public emf::Device {
  public:
    PdfDevice(TPdfDocument& document, double offsetX, double offsetY)
        : document_(document),
          canvas_(document.canvas()),
          callerOffsetX_(offsetX),
          callerOffsetY_(offsetY),
          pageHeight_(canvas_.pageHeight()),
          dpi_(document.referenceDpi()) {}

    void run(std::span<const std::uint8_t> pageImage) {
        if (!canvas_.isBound()) throw PdfInvalidOperation("GetPage");
        emf::Reader reader(pageImage);
        canvas_.saveState();
        emf::Interpreter(*this).play(reader);
        strokeOpenPath();
        canvas_.restoreState();
    }

    const emf::Rules& rules() const override { return replayRules(); }
    void refuse(const std::string& reason) override { throw PageImageError(reason); }

    // Lines drawn by consecutive line-to records form one path, stroked before anything else.
    void beforeRecord(const emf::Record& record) override {
        if (!std::holds_alternative<emf::LineTo>(record)) strokeOpenPath();
    }

    void header(const emf::Header& header) override {
        if (int dpi = recordingDpi(header); dpi > 0) dpi_ = dpi;
    }

    void mappingChanged() override {
        const emf::Mapping& m = dc().mapping;
        double base = 72.0 / dpi_;
        // Before the page image sets its extents, one logical unit is one device pixel.
        bool haveX = m.windowExtent.cx != 0 && m.viewportExtent.cx != 0;
        bool haveY = m.windowExtent.cy != 0 && m.viewportExtent.cy != 0;
        double ratioX = haveX ? double(m.viewportExtent.cx) / m.windowExtent.cx : 1;
        double ratioY = haveY ? double(m.viewportExtent.cy) / m.windowExtent.cy : 1;
        scaleX_ = ratioX * base;
        scaleY_ = ratioY * base;
        // device = (logical - window origin) * ratio + viewport origin
        double ox = (m.viewportOrigin.x - m.windowOrigin.x * ratioX) * base;
        double oy = (m.viewportOrigin.y - m.windowOrigin.y * ratioY) * base;
        // Only scale and shift of the world transform are followed; shear is not.
        if (const auto& world = dc().worldTransform) {
            ox += world->dx * scaleX_;
            oy += world->dy * scaleY_;
            scaleX_ *= world->m11;
            scaleY_ *= world->m22;
        }
        offsetX_ = ox + callerOffsetX_;
        offsetY_ = pageHeight_ + callerOffsetY_ - oy;
    }

    void poly(const emf::Poly& r) override {
        bool polygon = r.kind == emf::PolyKind::Polygon;
        if ((!polygon && r.kind != emf::PolyKind::Polyline) || r.points.empty()) return;
        if (penNone() && (!polygon || hollow())) return;
        applyPenAndBrush();
        moveToPoint(r.points.front());
        for (std::size_t i = 1; i < r.points.size(); ++i) lineToPoint(r.points[i]);
        if (polygon) {
            canvas_.closePath();
            paintClosedShape();
        } else {
            canvas_.stroke();
        }
    }

    void ellipse(const emf::Rect& box) override {
        if (invisible()) return;
        applyPenAndBrush();
        auto [x, y, w, h] = mappedBox(box);
        canvas_.ellipse(x, y, w, h);
        paintClosedShape();
    }

    void rectangle(const emf::Rect& box) override {
        if (invisible()) return;
        applyPenAndBrush();
        auto [x, y, w, h] = mappedBox(box);
        canvas_.rectangle(x, y, w, h);
        paintClosedShape();
    }

    void roundRect(const emf::Rect& box, emf::Size corner) override {
        if (invisible()) return;
        applyPenAndBrush();
        auto [x, y, w, h] = mappedBox(normalised(box));
        canvas_.roundRect(x, y, w, h, std::fabs(corner.cx * scaleX_) / 2,
                          std::fabs(corner.cy * scaleY_) / 2);
        paintClosedShape();
    }

    void lineTo(emf::Point to) override {
        if (penNone()) return;
        applyPen();
        if (!pathOpen_) moveToPoint(dc().position);
        lineToPoint(to);
        pathOpen_ = true;
    }

    void bitBlt(const emf::BitBlt& r) override {
        Box dest{double(r.dest.x), double(r.dest.y), double(r.destSize.cx), double(r.destSize.cy)};
        if (r.bitmap) {
            drawBitmap(*r.bitmap, r.src, r.stretch ? r.srcSize : r.destSize, dest, false);
        } else if (r.rop == emf::rop::PatCopy && !hollow()) {
            canvas_.endPath();
            setFillColor(dc().brush.color);
            auto a = map(dest.x, dest.y), b = map(dest.x + dest.width, dest.y + dest.height);
            canvas_.rectangle(std::min(a.x, b.x), std::min(a.y, b.y), std::fabs(b.x - a.x),
                              std::fabs(b.y - a.y));
            canvas_.fill();
        }
    }

    void stretchDIBits(const emf::StretchDIBits& r) override {
        if (!r.bitmap) return;
        Box dest{double(r.dest.x), double(r.dest.y), double(r.destSize.cx), double(r.destSize.cy)};
        drawBitmap(*r.bitmap, r.src, r.srcSize, dest, r.bitmap->height > 0);
    }

    double text(const emf::ExtTextOutW& r, emf::Point reference) override;

  private:
    struct Box {
        double x, y, width, height;
    };

    // A pen the picture created with width 0, and the null pen, draw nothing.
    bool penNone() const {
        const emf::PenObject& pen = dc().pen;
        return (pen.created && pen.pen.width == 0) ||
               (pen.pen.style & 0xFF) == emf::pen_style::Null;
    }
    bool hollow() const { return dc().brush.style == emf::brush_style::Null; }
    bool invisible() const { return penNone() && hollow(); }

    PdfPoint map(double x, double y) const {
        return {x * scaleX_ + offsetX_, offsetY_ - y * scaleY_};
    }
    PdfPoint map(const emf::Point& p) const { return map(p.x, p.y); }

    // A logical box as x of the left side, y of the bottom side, width and height, in points.
    Box mappedBox(const emf::Rect& r) const {
        PdfPoint a = map(r.left, r.top), b = map(r.right, r.bottom);
        return {std::min(a.x, b.x), std::min(a.y, b.y), std::fabs(b.x - a.x), std::fabs(b.y - a.y)};
    }

    // The vertical pixels per inch of the screen the page image was recorded for, as its header
    // gives them; 0 when the header does not tell. A page stored on one screen and exported on
    // another keeps its size this way.
    static int recordingDpi(const emf::Header& header) {
        long dpi = std::lround(emf::devicePixelsPerHimetric(header).y * 2540);
        return dpi >= 10 && dpi <= 10000 ? int(dpi) : 0;
    }

    static emf::Rect normalised(const emf::Rect& r) {
        return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
    }

    void moveToPoint(const emf::Point& p) {
        auto q = map(p);
        canvas_.moveTo(q.x, q.y);
    }
    void lineToPoint(const emf::Point& p) {
        auto q = map(p);
        canvas_.lineTo(q.x, q.y);
    }

    // The font of the drawing context, Arial when it never selected one; measured once.
    const FontState& font() {
        static const emf::LogFont arial = [] {
            emf::LogFont f;
            f.faceName = u"Arial";
            return f;
        }();
        const auto& selected = dc().font;
        const std::uint64_t id = selected ? selected->id : 0;
        auto it = fonts_.find(id);
        if (it == fonts_.end())
            it = fonts_.emplace(id, FontState(selected ? selected->description : arial)).first;
        return it->second;
    }

    void strokeOpenPath() {
        if (!pathOpen_) return;
        canvas_.stroke();
        pathOpen_ = false;
    }

    void setFillColor(PdfColor color) {
        if (canvas_.state().fillColor != color) canvas_.setFillColor(color);
    }

    void applyStroke(PdfColor color, const PdfDash& dash, double width) {
        const auto& state = canvas_.state();
        if (state.strokeColor != color) canvas_.setStrokeColor(color);
        if (state.dash != dash) canvas_.setDash(dash);
        if (state.lineWidth != width) canvas_.setLineWidth(width);
    }

    void applyPen() {
        if (penNone()) {
            canvas_.forgetStrokeState();
            return;
        }
        const emf::LogPen& pen = dc().pen.pen;
        applyStroke(pen.color, dashFor(pen.style), double(pen.width) * scaleX_);
    }

    void applyPenAndBrush() {
        strokeOpenPath();
        applyPen();
        if (!hollow()) setFillColor(dc().brush.color);
    }

    void paintClosedShape() {
        if (hollow()) {
            canvas_.stroke();
        } else if (penNone()) {
            canvas_.fill();
        } else {
            canvas_.fillStroke();
        }
    }

    // dest: the destination's logical left, top, width and height.
    void drawBitmap(const emf::Dib& dib, emf::Point source, emf::Size sourceSize, const Box& dest,
                    bool sourceFromBottom) {
        auto bitmap = bitmapFromDib(dib, source, sourceSize, sourceFromBottom);
        if (!bitmap) return;
        auto image = makeBitmapImage(*bitmap, document_.jpegQuality(), document_.compression());
        std::string name = document_.nextImageName();
        document_.registerXObject(image, name);
        double width = dest.width * scaleX_;
        double height = dest.height * scaleY_;
        double x = dest.x * scaleX_ + offsetX_;
        double y = offsetY_ - dest.y * scaleY_ - height;
        canvas_.drawImage(name, x, y, width, height);
    }

    TPdfDocument& document_;
    PdfCanvas& canvas_;
    double callerOffsetX_;
    double callerOffsetY_;
    double pageHeight_;
    int dpi_;
    double scaleX_ = 1;
    double scaleY_ = 1;
    double offsetX_ = 0;
    double offsetY_ = 0;
    bool pathOpen_ = false;
    std::unordered_map<std::uint64_t, FontState> fonts_;  // by font object id; 0: the default
};

double PdfDevice::text(const emf::ExtTextOutW& r, emf::Point reference) {
    const FontState& font = this->font();
    const emf::DrawingState& dc = this->dc();
    const auto& d = font.description;
    double size = std::fabs((d.height < 0 ? -double(d.height) : font.emHeight) * scaleY_);
    PdfFont& pdfFont =
        document_.font(text::utf16ToUtf8(d.faceName), d.weight > 599, d.italic != 0, d.charSet);
    // The font is set before anything else of the text, so that it holds beyond the
    // clipping state the text may open and close.
    const auto& written = canvas_.state();
    if (written.font != &pdfFont || written.fontSize != size) canvas_.setFont(pdfFont, size);
    bool glyphs = (r.options & emf::eto::GlyphIndex) != 0;
    std::u32string characters = text::utf8ToUtf32(text::utf16ToUtf8(r.text));

    std::int64_t width = 0;
    if (!r.dx.empty()) {
        std::size_t step = (r.options & emf::eto::Pdy) ? 2 : 1;
        for (std::size_t i = 0; i < r.dx.size(); i += step) width += r.dx[i];
    } else if (!glyphs) {
        width = std::llround(canvas_.textWidth(pdfFont, characters) * size / 1000 /
                             std::fabs(scaleX_));
    }

    const std::int64_t shift = emf::textStartShift(dc.textAlign, width);
    const std::int64_t baseline =
        emf::baselineBelowReference<std::int64_t>(dc.textAlign, font.ascent, font.descent);

    if ((r.options & emf::eto::Opaque) && !hollow() && font.angle == 0) {
        canvas_.endPath();
        setFillColor(dc.brush.color);
        auto [x, y, w, h] = mappedBox(normalised(r.rectangle));
        canvas_.rectangle(x, y, w, h);
        canvas_.fill();
    }
    setFillColor(dc.textColor);

    const emf::Rect& clip = r.rectangle;
    bool clipped = clip.left < clip.right && clip.top < clip.bottom;
    if (clipped) {
        canvas_.saveState();
        double right = clip.right - 1.0, bottom = clip.bottom - 1.0;
        auto corner = [&](double x, double y, bool first) {
            auto p = map(x, y);
            first ? canvas_.moveTo(p.x, p.y) : canvas_.lineTo(p.x, p.y);
        };
        corner(clip.left, clip.top, true);
        corner(clip.left, bottom, false);
        corner(right, bottom, false);
        corner(right, clip.top, false);
        canvas_.closePath();
        canvas_.clip();
        canvas_.endPath();
    }

    canvas_.beginText();
    double baseX = double(reference.x) - double(shift);
    double baseY = double(reference.y) + double(baseline);
    if (font.angle == 0) {
        auto p = map(baseX, baseY);
        canvas_.moveText(p.x, p.y);
    } else {
        // Shift and offset are taken along the rotated text axes.
        double a = font.angle * std::numbers::pi / 180;
        double c = std::cos(a), s = std::sin(a);
        auto p = map(reference.x, reference.y);
        double dx = -double(shift) * scaleX_, dy = -double(baseline) * scaleY_;
        canvas_.setTextMatrix(c, s, -s, c, p.x + dx * c - dy * s, p.y + dx * s + dy * c);
    }
    if (glyphs) {
        canvas_.showGlyphs(pdfFont, size, std::vector<std::uint16_t>(r.text.begin(), r.text.end()));
    } else {
        canvas_.showText(pdfFont, size, characters);
    }
    canvas_.endText();

    if (font.angle == 0 && (d.underline || d.strikeOut)) {
        double penWidth = size / 15;
        auto line = [&](double y) {
            applyStroke(dc.textColor, {}, penWidth);
            auto from = map(baseX, y), to = map(baseX + double(width), y);
            canvas_.moveTo(from.x, from.y);
            canvas_.lineTo(to.x, to.y);
            canvas_.stroke();
        };
        if (d.underline) line(baseY + size / 8 / std::fabs(scaleX_));
        if (d.strikeOut) line(baseY - size / 3 / std::fabs(scaleX_));
    }
    if (clipped) canvas_.restoreState();
    return double(width);
}

}  // namespace

void replayPageImage(TPdfDocument& document, std::span<const std::uint8_t> pageImage,
                     double offsetX, double offsetY) {
    PdfDevice(document, offsetX, offsetY).run(pageImage);
}

}  // namespace zor::pdf
