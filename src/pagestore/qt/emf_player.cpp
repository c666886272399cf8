#include "pagestore/qt/emf_player.h"

#include <QCoreApplication>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTransform>
#include <cmath>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "emf/font_metrics.h"
#include "emf/interpreter.h"
#include "emf/reader.h"
#include "fonts/font.h"
#include "pagestore/grey.h"
#include "text/encoding.h"

namespace zor::pagestore::qt {
namespace {

using namespace zor::emf;

// Extended-pen style bits.
constexpr std::uint32_t PenStyleMask = 0x0F;
constexpr std::uint32_t PenEndCapMask = 0x0F00;
constexpr std::uint32_t PenEndCapSquare = 0x0100;
constexpr std::uint32_t PenEndCapFlat = 0x0200;
constexpr std::uint32_t PenJoinMask = 0xF000;
constexpr std::uint32_t PenJoinBevel = 0x1000;
constexpr std::uint32_t PenJoinMiter = 0x2000;

// The screen's rules are those of the platform's drawing context: up to 1024 saved
// states, references the picture cannot honour are passed over, the world transform
// is saved with the state and may be modified, the grey stock brushes have the
// platform's shades, stock fonts return to the default font and text may move the
// current position.
const Rules& screenRules() {
    static const Rules rules{.maxSavedStates = 1024,
                             .growObjectTable = true,
                             .restoreKeepsWorldTransform = true,
                             .modifyWorldTransform = true,
                             .lightGrayBrush = rgb(192, 192, 192),
                             .darkGrayBrush = rgb(64, 64, 64),
                             .stockFontsSelectDefault = true,
                             .textUpdatesPosition = true};
    return rules;
}

QColor toQColor(ColorRef c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

QTransform toQTransform(const std::optional<WorldTransform>& world) {
    if (!world) return QTransform();
    return QTransform(world->m11, world->m12, world->m21, world->m22, world->dx, world->dy);
}

// A font object with what text drawing needs of it, worked out on first use.
struct ResolvedFont {
    LogFont log;
    QString filePath;  // the installed file standing in for the face; empty when none
    QString family;
    std::optional<FontMetrics> metrics;  // in logical units; none when unmeasurable
    bool resolved = false;

    void resolve() {
        if (resolved) return;
        resolved = true;
        const std::string face = text::utf16ToUtf8(log.faceName);
        family = QString::fromStdString(face);
        try {
            if (auto f = fonts::resolveFont(
                    {face.empty() ? "Arial" : face, log.weight, log.italic != 0})) {
                filePath = QString::fromStdString(f->filePath());
                family = QString::fromStdString(f->family());
            }
            LogFont measured = log;
            if (measured.faceName.empty()) measured.faceName = u"Arial";
            if (measured.height != 0) metrics.emplace(measured);
        } catch (const std::exception&) {
            metrics.reset();
        }
    }
};

struct RawFontKey {
    QString source;
    int weight;
    bool italic;
    qint64 size;  // 1/64 pixel
    bool operator<(const RawFontKey& o) const {
        return std::tie(source, weight, italic, size) <
               std::tie(o.source, o.weight, o.italic, o.size);
    }
};
using RawFontCache = std::map<RawFontKey, QRawFont>;

// The raw fonts live until the application ends: Qt's font engines must go before it.
RawFontCache& rawFontCache() {
    static RawFontCache* cache = [] {
        qAddPostRoutine([] { rawFontCache().clear(); });
        return new RawFontCache;
    }();
    return *cache;
}

// Raw fonts by file (or family), weight, style and size, shared between pictures.
QRawFont rawFont(const ResolvedFont& font, qreal pixelSize) {
    RawFontCache& cache = rawFontCache();
    const RawFontKey key{font.filePath.isEmpty() ? font.family : font.filePath, font.log.weight,
                         font.log.italic != 0, qint64(std::llround(pixelSize * 64))};
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    if (cache.size() > 256) cache.clear();
    // Through Qt's font database first: only fonts known by their file can be
    // embedded by the PDF and print engines; else straight from the file.
    QFont f(font.family.isEmpty() ? QStringLiteral("Liberation Sans") : font.family);
    f.setWeight(QFont::Weight(std::clamp(font.log.weight, 100, 900)));
    f.setItalic(font.log.italic != 0);
    f.setPixelSize(100);
    f.setHintingPreference(QFont::PreferNoHinting);
    QRawFont raw = QRawFont::fromFont(f);
    if (raw.isValid() && !font.family.isEmpty() && raw.familyName() != font.family)
        raw = QRawFont();
    if (raw.isValid())
        raw.setPixelSize(pixelSize);
    else if (!font.filePath.isEmpty())
        raw = QRawFont(font.filePath, pixelSize, QFont::PreferNoHinting);
    cache.emplace(key, raw);
    return raw;
}

// A painter as a device of the EMF interpreter: the picture's frame lands on the target.
class PainterDevice : public Device {
  public:
    PainterDevice(QPainter& painter, const Header& header, const QRectF& target)
        : painter_(painter), base_(painter.transform()) {
        // The frame (0.01 mm) in the reference device's pixels is what lands on the target.
        const PixelsPerHimetric pixels = devicePixelsPerHimetric(header);
        deviceDpiY_ = pixels.y * 2540.0;
        QRectF frame(header.frame.left * pixels.x, header.frame.top * pixels.y,
                     double(header.frame.width()) * pixels.x,
                     double(header.frame.height()) * pixels.y);
        if (!(frame.width() > 0 && frame.height() > 0))
            frame = QRectF(header.bounds.left, header.bounds.top, double(header.bounds.width()) + 1,
                           double(header.bounds.height()) + 1);
        usable_ =
            frame.width() > 0 && frame.height() > 0 && target.width() > 0 && target.height() > 0;
        if (usable_) {
            deviceToTarget_.translate(target.left(), target.top());
            deviceToTarget_.scale(target.width() / frame.width(), target.height() / frame.height());
            deviceToTarget_.translate(-frame.left(), -frame.top());
        }
        painter_.save();
        painter_.setClipRect(target, Qt::IntersectClip);
        painter_.setRenderHint(QPainter::Antialiasing, true);
    }

    ~PainterDevice() override { painter_.restore(); }

    bool usable() const { return usable_; }

    const Rules& rules() const override { return screenRules(); }
    void mappingChanged() override { updateTransform(); }

    void moveTo(Point p) override {
        if (path_) path_->moveTo(p.x, p.y);
    }
    void lineTo(Point p) override {
        const QPointF to(p.x, p.y);
        if (path_) {
            ensureSubpath();
            path_->lineTo(to);
        } else if (applyPen()) {
            painter_.drawLine(position(), to);
        }
    }

    void ellipse(const Rect& r) override {
        const QRectF box = boxOf(r);
        if (path_) return path_->addEllipse(box);
        if (applyPenAndBrush()) painter_.drawEllipse(box);
    }
    void rectangle(const Rect& r) override {
        const QRectF box = boxOf(r);
        if (path_) return path_->addRect(box);
        if (applyPenAndBrush()) painter_.drawRect(box);
    }
    void roundRect(const Rect& r, Size corner) override {
        const QRectF box = boxOf(r);
        const qreal rx = std::abs(corner.cx) / 2.0, ry = std::abs(corner.cy) / 2.0;
        if (path_) return path_->addRoundedRect(box, rx, ry);
        if (applyPenAndBrush()) painter_.drawRoundedRect(box, rx, ry);
    }

    void poly(const Poly& r) override {
        if (r.points.empty()) return;
        QPolygonF points;
        points.reserve(qsizetype(r.points.size()));
        for (const Point& p : r.points) points.append(QPointF(p.x, p.y));
        switch (r.kind) {
            case PolyKind::Polygon: {
                if (path_) {
                    path_->addPolygon(points);
                    path_->closeSubpath();
                } else if (applyPenAndBrush()) {
                    painter_.drawPolygon(points, fillRule());
                }
                return;
            }
            case PolyKind::Polyline: {
                if (path_) return path_->addPolygon(points);
                if (applyPen()) painter_.drawPolyline(points);
                return;
            }
            case PolyKind::PolylineTo: {
                QPainterPath line(position());
                for (const QPointF& p : points) line.lineTo(p);
                addOrStroke(line, true);
                return;
            }
            case PolyKind::PolyBezier: {
                QPainterPath curve(points.front());
                appendBeziers(curve, points, 1);
                addOrStroke(curve, false);
                return;
            }
            case PolyKind::PolyBezierTo: {
                QPainterPath curve(position());
                appendBeziers(curve, points, 0);
                addOrStroke(curve, true);
                return;
            }
        }
    }

    void bitBlt(const BitBlt& r) override {
        const QRectF dest =
            boxOf(Rect{r.dest.x, r.dest.y, r.dest.x + r.destSize.cx, r.dest.y + r.destSize.cy});
        if (r.bitmap) return drawBitmap(*r.bitmap, r.src, r.srcSize, dest, false);
        switch (r.rop) {
            case rop::PatCopy:
                if (dc().brush.style != brush_style::Null)
                    painter_.fillRect(dest, brushOf(dc().brush));
                return;
            case 0x00000042:
                painter_.fillRect(dest, Qt::black);
                return;  // blackness
            case 0x00FF0062:
                painter_.fillRect(dest, Qt::white);
                return;  // whiteness
            default:
                return;
        }
    }
    void stretchDIBits(const StretchDIBits& r) override {
        if (!r.bitmap) return;
        const QRectF dest =
            boxOf(Rect{r.dest.x, r.dest.y, r.dest.x + r.destSize.cx, r.dest.y + r.destSize.cy});
        drawBitmap(*r.bitmap, r.src, r.srcSize, dest, true);
    }

    double text(const ExtTextOutW& r, Point reference) override;
    void pathRecord(std::uint32_t type) override;

  private:
    QPointF position() const { return QPointF(dc().position.x, dc().position.y); }
    Qt::FillRule fillRule() const { return dc().windingFill ? Qt::WindingFill : Qt::OddEvenFill; }

    static QRectF boxOf(const Rect& r) {
        return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)).normalized();
    }

    // Logical coordinates to the reference device, as the mapping mode defines.
    QTransform pageToDevice() const {
        double sx = 1, sy = 1;
        const Mapping& m = dc().mapping;
        const double pxPerMm = deviceDpiY_ > 0 ? deviceDpiY_ / 25.4 : 96 / 25.4;
        switch (m.mode) {
            case map_mode::LoMetric:
                sx = pxPerMm / 10, sy = -sx;
                break;
            case map_mode::HiMetric:
                sx = pxPerMm / 100, sy = -sx;
                break;
            case map_mode::LoEnglish:
                sx = pxPerMm * 25.4 / 100, sy = -sx;
                break;
            case map_mode::HiEnglish:
                sx = pxPerMm * 25.4 / 1000, sy = -sx;
                break;
            case map_mode::Twips:
                sx = pxPerMm * 25.4 / 1440, sy = -sx;
                break;
            case map_mode::Isotropic:
            case map_mode::Anisotropic: {
                if (m.windowExtent.cx == 0 || m.windowExtent.cy == 0) break;
                sx = double(m.viewportExtent.cx) / m.windowExtent.cx;
                sy = double(m.viewportExtent.cy) / m.windowExtent.cy;
                if (m.mode == map_mode::Isotropic) {
                    const double s = std::min(std::abs(sx), std::abs(sy));
                    sx = std::copysign(s, sx);
                    sy = std::copysign(s, sy);
                }
                if (sx == 0 || sy == 0) sx = sy = 1;
                break;
            }
            default:
                break;
        }
        QTransform t;
        t.translate(m.viewportOrigin.x, m.viewportOrigin.y);
        t.scale(sx, sy);
        t.translate(-m.windowOrigin.x, -m.windowOrigin.y);
        return t;
    }

    void updateTransform() {
        logical_ = toQTransform(dc().worldTransform) * pageToDevice() * deviceToTarget_ * base_;
        painter_.setTransform(logical_);
    }

    void ensureSubpath() {
        if (path_->elementCount() == 0) path_->moveTo(position());
    }

    static void appendBeziers(QPainterPath& path, const QPolygonF& points, qsizetype from) {
        for (qsizetype i = from; i + 2 < points.size(); i += 3)
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
    }

    void addOrStroke(const QPainterPath& piece, bool continues) {
        if (path_) {
            if (continues) ensureSubpath();
            if (continues)
                path_->connectPath(piece);
            else
                path_->addPath(piece);
            return;
        }
        if (applyPen()) painter_.strokePath(piece, painter_.pen());
    }

    // Pens of width 0 draw one pixel wide on any device; wide pens end and join round
    // unless an extended pen says otherwise.
    static QPen penOf(const PenObject& object) {
        const LogPen& pen = object.pen;
        const std::uint32_t style = pen.style & PenStyleMask;
        if (style == pen_style::Null) return QPen(Qt::NoPen);
        QPen p(toQColor(pen.color));
        if (pen.width <= 0) {
            p.setWidthF(1);  // one pixel on any device
            p.setCosmetic(true);
        } else {
            p.setWidthF(pen.width);
        }
        switch (style) {
            case pen_style::Dash:
                p.setStyle(Qt::DashLine);
                break;
            case pen_style::Dot:
                p.setStyle(Qt::DotLine);
                break;
            case pen_style::DashDot:
                p.setStyle(Qt::DashDotLine);
                break;
            case pen_style::DashDotDot:
                p.setStyle(Qt::DashDotDotLine);
                break;
            default:
                p.setStyle(Qt::SolidLine);
                break;
        }
        p.setCapStyle(Qt::RoundCap);
        p.setJoinStyle(Qt::RoundJoin);
        if (object.extended) {
            const std::uint32_t cap = pen.style & PenEndCapMask;
            const std::uint32_t join = pen.style & PenJoinMask;
            if (cap == PenEndCapSquare) p.setCapStyle(Qt::SquareCap);
            if (cap == PenEndCapFlat) p.setCapStyle(Qt::FlatCap);
            if (join == PenJoinBevel) p.setJoinStyle(Qt::BevelJoin);
            if (join == PenJoinMiter) p.setJoinStyle(Qt::MiterJoin);
        }
        return p;
    }

    static QBrush brushOf(const LogBrush& brush) {
        const QColor color = toQColor(brush.color);
        switch (brush.style) {
            case brush_style::Null:
                return QBrush(Qt::NoBrush);
            case brush_style::Hatched: {
                static constexpr Qt::BrushStyle hatches[] = {
                    Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                    Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
                return QBrush(color, brush.hatch < 6 ? hatches[brush.hatch] : Qt::SolidPattern);
            }
            default:
                return QBrush(color);
        }
    }

    bool applyPen() {
        const QPen pen = penOf(dc().pen);
        painter_.setPen(pen);
        return pen.style() != Qt::NoPen;
    }
    bool applyPenAndBrush() {
        const bool stroke = applyPen();
        const QBrush brush = brushOf(dc().brush);
        painter_.setBrush(brush);
        return stroke || brush.style() != Qt::NoBrush;
    }

    void drawBitmap(const Dib& dib, Point src, Size srcSize, const QRectF& dest,
                    bool bottomUpSource) {
        const auto decoded = decodeDib(dib);
        if (!decoded || decoded->width <= 0 || decoded->height <= 0) return;
        const QImage image(decoded->pixels.data(), decoded->width, decoded->height,
                           decoded->width * 4, QImage::Format_RGBA8888);
        QRect source(src.x, src.y, srcSize.cx, srcSize.cy);
        // A bottom-up bitmap counts its source rows from the bottom.
        if (bottomUpSource && dib.height > 0)
            source.moveTop(decoded->height - (src.y + srcSize.cy));
        source = source.normalized().intersected(image.rect());
        if (source.isEmpty()) source = image.rect();
        painter_.drawImage(dest, image, QRectF(source));
    }

    void fillPath(bool fill, bool stroke) {
        if (!path_) return;
        QPainterPath path = std::move(*path_);
        path_.reset();
        path.setFillRule(fillRule());
        if (fill && dc().brush.style != brush_style::Null)
            painter_.fillPath(path, brushOf(dc().brush));
        if (stroke && applyPen()) painter_.strokePath(path, painter_.pen());
    }

    QPainter& painter_;
    QTransform base_;
    QTransform deviceToTarget_;
    QTransform logical_;
    double deviceDpiY_ = 96;
    bool usable_ = false;
    std::unordered_map<std::uint64_t, ResolvedFont> fonts_;  // by font object id; 0: the default
    std::optional<QPainterPath> path_;         // open between begin-path and end-path
    std::optional<QPainterPath> pendingPath_;  // ended, waiting for a fill or stroke
};

void PainterDevice::pathRecord(std::uint32_t type) {
    switch (type) {
        case rec::BeginPath:
            path_.emplace();
            return;
        case rec::AbortPath:
            path_.reset();
            return;
        case rec::EndPath:
            // The path stays defined until a fill, stroke or a new begin-path uses it.
            if (path_) pendingPath_ = std::move(*path_);
            path_.reset();
            return;
        case rec::CloseFigure:
            if (path_) path_->closeSubpath();
            return;
        case rec::FillPath:
        case rec::StrokeAndFillPath:
        case rec::StrokePath: {
            if (!pendingPath_) return;
            path_ = std::move(pendingPath_);
            pendingPath_.reset();
            fillPath(type != rec::StrokePath, type != rec::FillPath);
            return;
        }
        default:
            return;
    }
}

double PainterDevice::text(const ExtTextOutW& r, Point referencePoint) {
    if (r.text.empty() && !(r.options & eto::Opaque)) return 0;
    const DrawingState& dc = this->dc();
    const bool glyphs = (r.options & eto::GlyphIndex) != 0;
    const bool pairs = (r.options & eto::Pdy) != 0;
    // The selected font, or Arial when none is selected; resolved once per font object.
    const std::uint64_t fontId = dc.font ? dc.font->id : 0;
    auto [entry, added] = fonts_.try_emplace(fontId);
    ResolvedFont* font = &entry->second;
    if (added) {
        if (dc.font)
            font->log = dc.font->description;
        else
            font->log.faceName = u"Arial";
    }
    font->resolve();

    // Axes of the logical space on the target.
    const QPointF origin = logical_.map(QPointF(0, 0));
    const QLineF xAxis(origin, logical_.map(QPointF(1, 0)));
    const QLineF yAxis(origin, logical_.map(QPointF(0, 1)));
    const double sx = xAxis.length(), sy = yAxis.length();
    if (!(sx > 0 && sy > 0) || !std::isfinite(sx) || !std::isfinite(sy)) return 0;

    // Em height in logical units.
    double em = 0;
    if (font->log.height < 0)
        em = -double(font->log.height);
    else if (font->metrics)
        em = font->metrics->emHeight();
    else if (font->log.height > 0)
        em = font->log.height * 0.8;
    else
        em = 12.0 * 96 / 72 / sy *
             (deviceToTarget_.m22() != 0 ? std::abs(deviceToTarget_.m22()) : 1);
    const double pixelSize = em * sy;
    if (!(pixelSize > 0.05) || pixelSize > 20000) return 0;
    const QRawFont raw = rawFont(*font, pixelSize);
    if (!raw.isValid()) return 0;

    // Characters, their glyphs and the advances in logical units.
    const QString text = QString::fromUtf16(r.text.data(), qsizetype(r.text.size()));
    QList<quint32> glyphIndexes;
    if (glyphs) {
        for (char16_t g : r.text) glyphIndexes.append(g);
    } else {
        glyphIndexes = raw.glyphIndexesForString(text);
    }
    const qsizetype units = qsizetype(r.text.size());
    std::vector<double> advance(std::size_t(units), 0.0);
    const std::size_t step = pairs ? 2 : 1;
    if (r.dx.size() >= std::size_t(units) * step) {
        for (qsizetype i = 0; i < units; ++i) advance[std::size_t(i)] = r.dx[std::size_t(i) * step];
    } else if (!glyphs && font->metrics) {
        const auto a = font->metrics->advances(r.text);
        for (qsizetype i = 0; i < units && std::size_t(i) < a.size(); ++i)
            advance[std::size_t(i)] = a[std::size_t(i)];
    } else {
        const QList<QPointF> a = raw.advancesForGlyphIndexes(glyphIndexes);
        for (qsizetype i = 0; i < units && i < a.size(); ++i)
            advance[std::size_t(i)] = a[i].x() / sx;
    }
    double width = 0;
    for (double a : advance) width += a;

    // Ascent and descent in logical units.
    double ascent, descent;
    if (font->metrics) {
        ascent = font->metrics->ascent();
        descent = font->metrics->descent();
    } else {
        ascent = raw.ascent() / sy;
        descent = raw.descent() / sy;
    }

    const QPointF reference(referencePoint.x, referencePoint.y);
    const double shift = textStartShift(dc.textAlign, width);
    const double baseline = baselineBelowReference(dc.textAlign, ascent, descent);

    const QRectF rectangle = boxOf(r.rectangle);
    const bool hasRectangle = rectangle.width() > 0 && rectangle.height() > 0;
    if ((r.options & eto::Opaque) && hasRectangle) {
        const ColorRef fill =
            dc.brush.style != brush_style::Null ? dc.brush.color : dc.backgroundColor;
        painter_.fillRect(rectangle, toQColor(fill));
    }
    if (r.text.empty()) return width;

    painter_.save();
    if ((r.options & eto::Clipped) && hasRectangle)
        painter_.setClipRect(rectangle, Qt::IntersectClip);
    const double angle =
        (font->log.escapement != 0 ? font->log.escapement : font->log.orientation) / 10.0;
    const QPointF left = reference - QPointF(shift, 0);
    if (dc.backgroundMode == bk_mode::Opaque && angle == 0) {
        const QRectF cell(QPointF(left.x(), left.y() + baseline - ascent),
                          QPointF(left.x() + width, left.y() + baseline + descent));
        painter_.fillRect(cell.normalized(), toQColor(dc.backgroundColor));
    }

    // Draw in target pixels along the logical x axis, upright as the platform draws text.
    QTransform t;
    const QPointF start = logical_.map(left);
    t.translate(start.x(), start.y());
    t.rotate(-xAxis.angle() - angle);
    painter_.setTransform(t);
    const double ySign = 1.0;
    QList<QPointF> positions;
    positions.reserve(glyphIndexes.size());
    double x = 0, y = 0;
    qsizetype unit = 0;
    for (qsizetype g = 0; g < glyphIndexes.size(); ++g) {
        positions.append(QPointF(x * sx, (baseline + y) * sy * ySign));
        // One glyph per character; a surrogate pair is one character of two units.
        const qsizetype span =
            (!glyphs && unit + 1 < units && QChar::isHighSurrogate(r.text[std::size_t(unit)]) &&
             QChar::isLowSurrogate(r.text[std::size_t(unit + 1)]))
                ? 2
                : 1;
        for (qsizetype k = 0; k < span && unit < units; ++k, ++unit) {
            x += advance[std::size_t(unit)];
            if (pairs && r.dx.size() >= std::size_t(units) * 2)
                y -= r.dx[std::size_t(unit) * 2 + 1];
        }
    }
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(glyphIndexes);
    run.setPositions(positions);
    painter_.setPen(toQColor(dc.textColor));
    painter_.drawGlyphRun(QPointF(0, 0), run);
    if (font->log.underline || font->log.strikeOut) {
        const double thickness = std::max(1.0, raw.lineThickness());
        const double base = baseline * sy;
        auto rule = [&](double yPos) {
            painter_.fillRect(QRectF(0, yPos - thickness / 2, width * sx, thickness),
                              toQColor(dc.textColor));
        };
        if (font->log.underline) rule(base + std::max(raw.underlinePosition(), thickness));
        if (font->log.strikeOut) rule(base - raw.xHeight() / 2);
    }
    painter_.restore();
    painter_.setTransform(logical_);
    return width;
}

}  // namespace

bool playEmf(QPainter& painter, std::span<const std::uint8_t> picture, const QRectF& target) {
    std::optional<Reader> reader;
    try {
        reader.emplace(picture);
    } catch (const std::exception&) {
        return false;
    }
    PainterDevice device(painter, reader->header(), target);
    if (!device.usable()) return true;
    try {
        Interpreter(device).play(*reader);
    } catch (const std::exception&) {
        return false;  // a damaged record: what came before it stays drawn
    }
    return true;
}

void toGrey(QImage& image) {
    if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_RGB32 &&
        image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int g =
                greyOf(std::uint8_t(qRed(p)), std::uint8_t(qGreen(p)), std::uint8_t(qBlue(p)));
            line[x] = qRgba(g, g, g, qAlpha(p));
        }
    }
}

}  // namespace zor::pagestore::qt
