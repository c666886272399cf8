#include "pdf/emf_replay.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "emf/font_metrics.h"
#include "emf/reader.h"
#include "pdf/dib_bitmap.h"
#include "pdf/pdf_errors.h"
#include "pdf/pdf_image.h"
#include "text/encoding.h"

namespace zor::pdf {
namespace {

constexpr std::size_t kMaxSavedStates = 10;

struct PenState {
    bool none = false;
    PdfColor color = 0;
    std::uint32_t style = emf::pen_style::Solid;
    double width = 0;  // logical units
};

struct BrushState {
    bool hollow = false;
    PdfColor color = 0xFFFFFF;
};

struct FontState {
    int angle = 0;  // whole degrees
    int ascent = 0;
    int descent = 0;
    int emHeight = 0;
    emf::LogFont description;
};

using TableEntry = std::variant<std::monostate, PenState, BrushState, FontState>;

// The drawing-context state that the page image's save and restore records keep. The defaults
// are those of a fresh drawing context: black pen, white brush, black text.
struct DcState {
    emf::Point position;
    emf::Size windowExtent;
    emf::Point windowOrigin;
    emf::Size viewportExtent;
    emf::Point viewportOrigin;
    PenState pen;
    BrushState brush;
    PdfColor textColor = 0;
    std::uint32_t textAlign = 0;
    std::uint32_t backgroundMode = 0;
    PdfColor backgroundColor = 0xFFFFFF;
    std::optional<FontState> font;
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

class Replay {
  public:
    Replay(TPdfDocument& document, double offsetX, double offsetY)
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
        while (auto record = reader.next()) {
            if (!std::holds_alternative<emf::LineTo>(*record)) strokeOpenPath();
            std::visit(*this, *record);
        }
        strokeOpenPath();
        canvas_.restoreState();
    }

    void operator()(const emf::Header& header) {
        table_.assign(header.handles, std::monostate{});
        if (int dpi = recordingDpi(header); dpi > 0) dpi_ = dpi;
        updateMapping();
    }
    void operator()(const emf::SetWindowExtEx& r) {
        dc_.windowExtent = r.extent;
        updateMapping();
    }
    void operator()(const emf::SetWindowOrgEx& r) {
        dc_.windowOrigin = r.origin;
        updateMapping();
    }
    void operator()(const emf::SetViewportExtEx& r) {
        dc_.viewportExtent = r.extent;
        updateMapping();
    }
    void operator()(const emf::SetViewportOrgEx& r) {
        dc_.viewportOrigin = r.origin;
        updateMapping();
    }
    void operator()(const emf::SetBkMode& r) { dc_.backgroundMode = r.mode; }
    void operator()(const emf::SetTextAlign& r) { dc_.textAlign = r.mode; }
    void operator()(const emf::SetTextColor& r) { dc_.textColor = r.color; }
    void operator()(const emf::SetBkColor& r) { dc_.backgroundColor = r.color; }
    void operator()(const emf::MoveToEx& r) { dc_.position = r.point; }

    void operator()(const emf::SaveDC&) {
        if (saved_.size() >= kMaxSavedStates) {
            throw PageImageError("Page image: more than 10 nested saved states");
        }
        saved_.push_back(dc_);
    }

    void operator()(const emf::RestoreDC& r) {
        // A negative number counts back from the last saved state; a positive one names a
        // saved state by its depth.
        std::int64_t count =
            r.savedDC < 0 ? -std::int64_t(r.savedDC) : std::int64_t(saved_.size()) - r.savedDC + 1;
        if (r.savedDC == 0 || count <= 0 || count > std::int64_t(saved_.size())) {
            throw PageImageError("Page image: restore without a saved state");
        }
        dc_ = saved_[saved_.size() - std::size_t(count)];
        saved_.resize(saved_.size() - std::size_t(count));
        worldTransform_.reset();
        updateMapping();
    }

    void operator()(const emf::SetWorldTransform& r) {
        worldTransform_ = r.xform;
        updateMapping();
    }

    void operator()(const emf::SelectObject& r) {
        if (auto stock = r.stock()) {
            selectStock(*stock);
            return;
        }
        const TableEntry& entry = tableEntry(r.handle);
        if (auto* pen = std::get_if<PenState>(&entry)) dc_.pen = *pen;
        if (auto* brush = std::get_if<BrushState>(&entry)) dc_.brush = *brush;
        if (auto* font = std::get_if<FontState>(&entry)) dc_.font = *font;
    }

    void operator()(const emf::CreatePen& r) {
        PenState pen;
        pen.color = r.pen.color;
        pen.style = r.pen.style;
        pen.width = double(r.pen.width);
        pen.none = r.pen.width == 0 || (r.pen.style & 0xFF) == emf::pen_style::Null;
        tableEntry(r.handle) = pen;
    }

    void operator()(const emf::CreateBrushIndirect& r) {
        tableEntry(r.handle) = BrushState{r.brush.style == emf::brush_style::Null, r.brush.color};
    }

    void operator()(const emf::ExtCreateFontIndirectW& r) {
        TableEntry& entry = tableEntry(r.handle);
        emf::FontMetrics metrics(r.font);
        FontState font;
        font.angle = r.font.orientation != 0 ? r.font.orientation / 10 : r.font.escapement / 10;
        font.ascent = metrics.ascent();
        font.descent = metrics.descent();
        font.emHeight = metrics.emHeight();
        font.description = r.font;
        entry = font;
    }

    void operator()(const emf::DeleteObject& r) {
        if ((r.handle & emf::StockObjectFlag) == 0) tableEntry(r.handle) = std::monostate{};
    }

    void operator()(const emf::Poly& r) {
        bool polygon = r.kind == emf::PolyKind::Polygon;
        if ((!polygon && r.kind != emf::PolyKind::Polyline) || r.points.empty()) return;
        if (dc_.pen.none && (!polygon || dc_.brush.hollow)) return;
        applyPenAndBrush();
        moveTo(r.points.front());
        for (std::size_t i = 1; i < r.points.size(); ++i) lineTo(r.points[i]);
        if (polygon) {
            canvas_.closePath();
            paintClosedShape();
        } else {
            canvas_.stroke();
        }
    }

    void operator()(const emf::EllipseRecord& r) {
        if (invisible()) return;
        applyPenAndBrush();
        auto [x, y, w, h] = mappedBox(r.box);
        canvas_.ellipse(x, y, w, h);
        paintClosedShape();
    }

    void operator()(const emf::RectangleRecord& r) {
        if (invisible()) return;
        applyPenAndBrush();
        auto [x, y, w, h] = mappedBox(r.box);
        canvas_.rectangle(x, y, w, h);
        paintClosedShape();
    }

    void operator()(const emf::RoundRect& r) {
        if (invisible()) return;
        applyPenAndBrush();
        auto [x, y, w, h] = mappedBox(normalised(r.box));
        canvas_.roundRect(x, y, w, h, std::fabs(r.corner.cx * scaleX_) / 2,
                          std::fabs(r.corner.cy * scaleY_) / 2);
        paintClosedShape();
    }

    void operator()(const emf::LineTo& r) {
        if (dc_.pen.none) {
            dc_.position = r.point;
            return;
        }
        applyPen();
        if (!pathOpen_) moveTo(dc_.position);
        lineTo(r.point);
        dc_.position = r.point;
        pathOpen_ = true;
    }

    void operator()(const emf::BitBlt& r) {
        Box dest{double(r.dest.x), double(r.dest.y), double(r.destSize.cx), double(r.destSize.cy)};
        if (r.bitmap) {
            drawBitmap(*r.bitmap, r.src, r.stretch ? r.srcSize : r.destSize, dest, false);
        } else if (r.rop == emf::rop::PatCopy && !dc_.brush.hollow) {
            canvas_.endPath();
            setFillColor(dc_.brush.color);
            auto a = map(dest.x, dest.y), b = map(dest.x + dest.width, dest.y + dest.height);
            canvas_.rectangle(std::min(a.x, b.x), std::min(a.y, b.y), std::fabs(b.x - a.x),
                              std::fabs(b.y - a.y));
            canvas_.fill();
        }
    }

    void operator()(const emf::StretchDIBits& r) {
        if (!r.bitmap) return;
        Box dest{double(r.dest.x), double(r.dest.y), double(r.destSize.cx), double(r.destSize.cy)};
        drawBitmap(*r.bitmap, r.src, r.srcSize, dest, r.bitmap->height > 0);
    }

    void operator()(const emf::ExtTextOutW& r) { textOut(r); }

    // Records without an effect on the page.
    void operator()(const emf::SetMapMode&) {}
    void operator()(const emf::ModifyWorldTransform&) {}
    void operator()(const emf::Eof&) {}
    void operator()(const emf::UnknownRecord&) {}

  private:
    struct Box {
        double x, y, width, height;
    };

    void updateMapping() {
        double base = 72.0 / dpi_;
        // Before the page image sets its extents, one logical unit is one device pixel.
        bool haveX = dc_.windowExtent.cx != 0 && dc_.viewportExtent.cx != 0;
        bool haveY = dc_.windowExtent.cy != 0 && dc_.viewportExtent.cy != 0;
        double ratioX = haveX ? double(dc_.viewportExtent.cx) / dc_.windowExtent.cx : 1;
        double ratioY = haveY ? double(dc_.viewportExtent.cy) / dc_.windowExtent.cy : 1;
        scaleX_ = ratioX * base;
        scaleY_ = ratioY * base;
        // device = (logical - window origin) * ratio + viewport origin
        double ox = (dc_.viewportOrigin.x - dc_.windowOrigin.x * ratioX) * base;
        double oy = (dc_.viewportOrigin.y - dc_.windowOrigin.y * ratioY) * base;
        if (worldTransform_) {
            ox += worldTransform_->dx * scaleX_;
            oy += worldTransform_->dy * scaleY_;
            scaleX_ *= worldTransform_->m11;
            scaleY_ *= worldTransform_->m22;
        }
        offsetX_ = ox + callerOffsetX_;
        offsetY_ = pageHeight_ + callerOffsetY_ - oy;
    }

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
        double pixels = header.device.cy;
        double inches = header.micrometers && header.micrometers->cy > 0
                            ? header.micrometers->cy / 25400.0
                            : header.millimeters.cy / 25.4;
        if (pixels <= 0 || inches <= 0) return 0;
        long dpi = std::lround(pixels / inches);
        return dpi >= 10 && dpi <= 10000 ? int(dpi) : 0;
    }

    static emf::Rect normalised(const emf::Rect& r) {
        return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
    }

    void moveTo(const emf::Point& p) {
        auto q = map(p);
        canvas_.moveTo(q.x, q.y);
    }
    void lineTo(const emf::Point& p) {
        auto q = map(p);
        canvas_.lineTo(q.x, q.y);
    }

    TableEntry& tableEntry(std::uint32_t index) {
        if (index == 0 || index >= table_.size()) {
            throw PageImageError("Page image: object index " + std::to_string(index) +
                                 " outside the object table");
        }
        return table_[index];
    }

    void selectStock(emf::StockObject stock) {
        auto brush = [&](PdfColor color) { dc_.brush = {false, color}; };
        auto pen = [&](PdfColor color) { dc_.pen = {false, color, emf::pen_style::Solid, 0}; };
        switch (stock) {
            case emf::StockObject::WhiteBrush:
                brush(0xFFFFFF);
                break;
            case emf::StockObject::LightGrayBrush:
                brush(0xAAAAAA);
                break;
            case emf::StockObject::GrayBrush:
                brush(0x808080);
                break;
            case emf::StockObject::DarkGrayBrush:
                brush(0x666666);
                break;
            case emf::StockObject::BlackBrush:
                brush(0x000000);
                break;
            case emf::StockObject::NullBrush:
                dc_.brush.hollow = true;
                break;
            case emf::StockObject::WhitePen:
                pen(0xFFFFFF);
                break;
            case emf::StockObject::BlackPen:
                pen(0x000000);
                break;
            case emf::StockObject::NullPen:
                dc_.pen.none = true;
                break;
            default:
                break;
        }
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
        if (dc_.pen.none) {
            canvas_.forgetStrokeState();
            return;
        }
        applyStroke(dc_.pen.color, dashFor(dc_.pen.style), dc_.pen.width * scaleX_);
    }

    void applyPenAndBrush() {
        strokeOpenPath();
        applyPen();
        if (!dc_.brush.hollow) setFillColor(dc_.brush.color);
    }

    bool invisible() const { return dc_.pen.none && dc_.brush.hollow; }

    void paintClosedShape() {
        if (dc_.brush.hollow) {
            canvas_.stroke();
        } else if (dc_.pen.none) {
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

    void textOut(const emf::ExtTextOutW& r) {
        FontState font = dc_.font.value_or(defaultFont());
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

        std::uint32_t align = dc_.textAlign;
        std::int64_t shift = (align & emf::text_align::Center) == emf::text_align::Center
                                 ? width / 2
                             : (align & emf::text_align::Right) ? width
                                                                : 0;
        std::int64_t vertical = (align & emf::text_align::Baseline) == emf::text_align::Baseline ? 0
                                : (align & emf::text_align::Bottom) ? font.descent
                                                                    : -font.ascent;

        if ((r.options & emf::eto::Opaque) && !dc_.brush.hollow && font.angle == 0) {
            canvas_.endPath();
            setFillColor(dc_.brush.color);
            auto [x, y, w, h] = mappedBox(normalised(r.rectangle));
            canvas_.rectangle(x, y, w, h);
            canvas_.fill();
        }
        setFillColor(dc_.textColor);

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
        double baseX = double(r.reference.x) - double(shift);
        double baseY = double(r.reference.y) - double(vertical);
        if (font.angle == 0) {
            auto p = map(baseX, baseY);
            canvas_.moveText(p.x, p.y);
        } else {
            // Shift and offset are taken along the rotated text axes.
            double a = font.angle * std::numbers::pi / 180;
            double c = std::cos(a), s = std::sin(a);
            auto p = map(r.reference.x, r.reference.y);
            double dx = -double(shift) * scaleX_, dy = double(vertical) * scaleY_;
            canvas_.setTextMatrix(c, s, -s, c, p.x + dx * c - dy * s, p.y + dx * s + dy * c);
        }
        if (glyphs) {
            canvas_.showGlyphs(pdfFont, size,
                               std::vector<std::uint16_t>(r.text.begin(), r.text.end()));
        } else {
            canvas_.showText(pdfFont, size, characters);
        }
        canvas_.endText();

        if (font.angle == 0 && (d.underline || d.strikeOut)) {
            double penWidth = size / 15;
            auto line = [&](double y) {
                applyStroke(dc_.textColor, {}, penWidth);
                auto from = map(baseX, y), to = map(baseX + double(width), y);
                canvas_.moveTo(from.x, from.y);
                canvas_.lineTo(to.x, to.y);
                canvas_.stroke();
            };
            if (d.underline) line(baseY + size / 8 / std::fabs(scaleX_));
            if (d.strikeOut) line(baseY - size / 3 / std::fabs(scaleX_));
        }
        if (clipped) canvas_.restoreState();
    }

    // The font of a drawing context that never selected one.
    static FontState defaultFont() {
        FontState font;
        font.description.faceName = u"Arial";
        emf::FontMetrics metrics(font.description);
        font.ascent = metrics.ascent();
        font.descent = metrics.descent();
        font.emHeight = metrics.emHeight();
        return font;
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
    std::optional<emf::XForm> worldTransform_;
    bool pathOpen_ = false;
    DcState dc_;
    std::vector<DcState> saved_;
    std::vector<TableEntry> table_;
};

}  // namespace

void replayPageImage(TPdfDocument& document, std::span<const std::uint8_t> pageImage,
                     double offsetX, double offsetY) {
    Replay(document, offsetX, offsetY).run(pageImage);
}

}  // namespace zor::pdf
