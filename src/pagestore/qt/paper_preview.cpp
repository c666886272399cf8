#include "pagestore/qt/paper_preview.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include "emf/mul_div.h"
#include "pagestore/errors.h"
#include "pagestore/qt/emf_player.h"

namespace zor::pagestore::qt {
namespace {

// Larger sheets than this are refused, so that a high zoom cannot exhaust memory.
constexpr std::int64_t MaxSheetBytes = std::int64_t(512) << 20;

PreviewKey previewKey(const QKeyEvent& e) {
    const bool keypad = (e.modifiers() & Qt::KeypadModifier) != 0;
    switch (e.key()) {
        case Qt::Key_Home:
            return PreviewKey::Home;
        case Qt::Key_End:
            return PreviewKey::End;
        case Qt::Key_Left:
            return PreviewKey::Left;
        case Qt::Key_Right:
            return PreviewKey::Right;
        case Qt::Key_Up:
            return PreviewKey::Up;
        case Qt::Key_Down:
            return PreviewKey::Down;
        case Qt::Key_PageUp:
            return PreviewKey::PageUp;
        case Qt::Key_PageDown:
            return PreviewKey::PageDown;
        case Qt::Key_Plus:
            return keypad ? PreviewKey::ZoomIn : PreviewKey::Other;
        case Qt::Key_Minus:
            return keypad ? PreviewKey::ZoomOut : PreviewKey::Other;
        default:
            return PreviewKey::Other;
    }
}

Modifiers modifiersOf(Qt::KeyboardModifiers m) {
    return {(m & Qt::ShiftModifier) != 0, (m & Qt::ControlModifier) != 0,
            (m & Qt::AltModifier) != 0};
}

}  // namespace

TPaperPreview::TPaperPreview(TPrintPreview& store, QWidget* parent)
    : QAbstractScrollArea(parent), store_(store), layout_(store.Display()) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);

    layout_.CanMakeBitmap = [this](int width, int height) {
        if (width <= 0 || height <= 0 || std::int64_t(width) * height * 4 > MaxSheetBytes)
            return false;
        if (sheet_.width() == width && sheet_.height() == height) return true;
        QImage made(width, height, QImage::Format_ARGB32_Premultiplied);
        if (made.isNull()) return false;
        sheet_ = std::move(made);
        frameDrawn_ = false;
        drawn_ = QRegion();
        return true;
    };
    // A zoom chosen by the store's owner moves the scroll bars too.
    layout_.OnLaidOut = [this] {
        if (!applying_) apply();
    };
    store_.OnDisplayChange = [this] { storeChanged(); };
    layout_.SetFrame(options_.BorderWidth, options_.ShadowWidth);
    storeChanged();
}

TPaperPreview::~TPaperPreview() {
    store_.OnDisplayChange = nullptr;
    layout_.CanMakeBitmap = nullptr;
    layout_.OnLaidOut = nullptr;
}

// --- Settings ---------------------------------------------------------------------

void TPaperPreview::SetMargins(int horizontal, int vertical) {
    layout_.SetMargins(horizontal, vertical);
    relayout();
}

void TPaperPreview::SetPaperView(const TPaperPreviewOptions& options) {
    if (options.PaperColor != options_.PaperColor) drawn_ = QRegion();
    if (options.BorderColor != options_.BorderColor ||
        options.ShadowColor != options_.ShadowColor ||
        options.BorderWidth != options_.BorderWidth ||
        options.ShadowWidth != options_.ShadowWidth) {
        frameDrawn_ = false;
        drawn_ = QRegion();
    }
    options_ = options;
    layout_.SetFrame(options_.BorderWidth, options_.ShadowWidth);
    relayout();
}

void TPaperPreview::SetGrayPreview(bool grey) {
    const unsigned flags =
        grey ? store_.Grayscale() | gsPreview : store_.Grayscale() & ~unsigned(gsPreview);
    if (flags == store_.Grayscale()) return;
    store_.SetGrayscale(flags);
    RepaintSheet();
}

void TPaperPreview::SetAnnotation(bool on) {
    if (on == annotation_) return;
    annotation_ = on;
    annotationImage_ = makeOverlay(annotation_ ? store_.OnAnnotation : PageEvent());
    RepaintSheet();
}

void TPaperPreview::SetBackground(bool on) {
    if (on == background_) return;
    background_ = on;
    backgroundImage_ = makeOverlay(background_ ? store_.OnBackground : PageEvent());
    RepaintSheet();
}

void TPaperPreview::UpdateAnnotation() {
    if (!annotation_) return;
    annotationImage_ = makeOverlay(store_.OnAnnotation);
    RepaintSheet();
}

void TPaperPreview::PaperChanged() { relayout(); }

// --- Store and layout -------------------------------------------------------------

void TPaperPreview::storeChanged() {
    const int total = store_.TotalPages();
    const emf::Size paper = store_.PaperSizeInPixels();
    const bool otherPaper =
        paper.cx != layout_.PaperPixelWidth() || paper.cy != layout_.PaperPixelHeight();
    if (total == 0) {
        layout_.SetHasPage(false);
    } else if (shownPages_ == 0 || otherPaper) {
        // The first page arrived, or a loaded report brought its own paper: lay
        // the sheet out for it.
        layout_.SetHasPage(true);
        relayout();
    }
    shownPages_ = total;
    shownPage_ = store_.CurrentPage();
    annotationImage_ = makeOverlay(annotation_ ? store_.OnAnnotation : PageEvent());
    backgroundImage_ = makeOverlay(background_ ? store_.OnBackground : PageEvent());
    RepaintSheet();
    apply();
}

void TPaperPreview::relayout() {
    const emf::Size paper = store_.PaperSizeInPixels();
    layout_.SetPaperPixels(paper.cx, paper.cy);
    layout_.SetDisplaySize(width(), height());
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    layout_.SetScrollBarThickness(bar, bar);
    layout_.Layout();
    apply();
}

void TPaperPreview::apply() {
    applying_ = true;
    setHorizontalScrollBarPolicy(layout_.CanScrollH() ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(layout_.CanScrollV() ? Qt::ScrollBarAlwaysOn
                                                    : Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setRange(0, layout_.HMax());
    horizontalScrollBar()->setPageStep(std::max(1, layout_.ClientWidth()));
    horizontalScrollBar()->setSingleStep(layout_.ScrollStep());
    horizontalScrollBar()->setValue(layout_.HPos());
    verticalScrollBar()->setRange(0, layout_.VMax());
    verticalScrollBar()->setPageStep(std::max(1, layout_.ClientHeight()));
    verticalScrollBar()->setSingleStep(layout_.ScrollStep());
    verticalScrollBar()->setValue(layout_.VPos());
    applying_ = false;
    showCursor();
    viewport()->update();
}

QRect TPaperPreview::sheetOnScreen() const {
    return QRect(layout_.ViewLeft() - layout_.HPos(), layout_.ViewTop() - layout_.VPos(),
                 layout_.ViewWidth(), layout_.ViewHeight());
}

void TPaperPreview::showCursor() {
    // A sheet being dragged keeps the grabbing hand wherever the pointer goes.
    if (layout_.Cursor() == PreviewCursor::Grab) {
        viewport()->setCursor(options_.GrabCursor);
    } else if (!layout_.Visible() || !sheetOnScreen().contains(pointer_)) {
        viewport()->unsetCursor();
    } else {
        viewport()->setCursor(layout_.Cursor() == PreviewCursor::Drag ? options_.DragCursor
                                                                      : options_.Cursor);
    }
}

void TPaperPreview::RepaintSheet() {
    drawn_ = QRegion();
    viewport()->update();
}

std::vector<std::uint8_t> TPaperPreview::makeOverlay(const PageEvent& event) {
    const int page = store_.CurrentPage();
    if (!event || page < 1 || page > store_.TotalPages()) return {};
    // A page image made exactly as a new page of the store.
    const emf::Size pixels = store_.PaperSizeInPixels();
    const emf::Rect frame{0, 0, emf::mulDiv(pixels.cx, 2540, store_.ScreenDpiX()),
                          emf::mulDiv(pixels.cy, 2540, store_.ScreenDpiY())};
    emf::Canvas canvas(frame, emf::ReferenceDevice::screen(store_.ScreenDpiY()));
    canvas.setFont(store_.Font());
    canvas.setMapping({store_.PaperWidth(), store_.PaperHeight()}, pixels, {0, 0});
    emf::Font font = canvas.font();
    if (pixels.cy > 0)
        font.setPixelsPerInchKeepingSize(
            emf::mulDiv(store_.ScreenDpiY(), store_.PaperHeight(), pixels.cy));
    canvas.setFont(font);
    event(store_, page, canvas);
    return canvas.finish();
}

QColor TPaperPreview::shadowColor() const {
    return options_.ShadowColor.isValid() ? options_.ShadowColor : palette().color(QPalette::Dark);
}

// --- Painting ---------------------------------------------------------------------

void TPaperPreview::paintFrame() {
    const int w = sheet_.width(), h = sheet_.height();
    const int b = options_.BorderWidth, s = options_.ShadowWidth;
    QPainter p(&sheet_);
    if (b > 0) {
        // An inside-frame border: the line lies within (0, 0) .. (w - s, h - s).
        const QRect outer(0, 0, w - s, h - s);
        p.fillRect(QRect(outer.left(), outer.top(), outer.width(), b), options_.BorderColor);
        p.fillRect(QRect(outer.left(), outer.bottom() - b + 1, outer.width(), b),
                   options_.BorderColor);
        p.fillRect(QRect(outer.left(), outer.top(), b, outer.height()), options_.BorderColor);
        p.fillRect(QRect(outer.right() - b + 1, outer.top(), b, outer.height()),
                   options_.BorderColor);
    }
    if (s > 0) {
        // The shadow lies offset to the lower right; the two corners it leaves
        // free take the display's own colour.
        p.fillRect(QRect(w - s, s, s, h - s), shadowColor());
        p.fillRect(QRect(s, h - s, w - s, s), shadowColor());
        const QColor own = palette().color(QPalette::Window);
        p.fillRect(QRect(w - s, 0, s, s), own);
        p.fillRect(QRect(0, h - s, s, s), own);
    }
    frameDrawn_ = true;
}

QRect TPaperPreview::paperRect() const {
    const int b = options_.BorderWidth, s = options_.ShadowWidth;
    return QRect(b, b, sheet_.width() - 2 * b - s, sheet_.height() - 2 * b - s);
}

void TPaperPreview::paintContent(const QRect& wanted) {
    // Only the part of the sheet that is wanted and not drawn yet is drawn: at a
    // high zoom the display shows a small part of a large sheet.
    const QRect paper = paperRect();
    const QRegion missing = QRegion(wanted.intersected(paper)).subtracted(drawn_);
    if (missing.isEmpty()) return;
    const QRect area = missing.boundingRect();
    drawn_ += area;
    QPainter p(&sheet_);
    p.setClipRect(area);
    p.fillRect(area, options_.PaperColor);
    const int page = store_.CurrentPage();
    if (page < 1 || page > store_.TotalPages()) return;
    if (!backgroundImage_.empty()) playEmf(p, backgroundImage_, paper);
    try {
        if (const auto* image = store_.GetPage(page)) {
            if (GrayPreview()) {
                QImage grey(area.size(), QImage::Format_ARGB32_Premultiplied);
                grey.fill(Qt::transparent);
                {
                    QPainter onGrey(&grey);
                    onGrey.translate(-area.topLeft());
                    playEmf(onGrey, *image, paper);
                }
                toGrey(grey);
                p.drawImage(area.topLeft(), grey);
            } else {
                playEmf(p, *image, paper);
            }
        }
    } catch (const EInvalidPreviewData&) {
        // A damaged stored page shows as blank paper.
    }
    if (!annotationImage_.empty()) playEmf(p, annotationImage_, paper);
}

void TPaperPreview::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().color(QPalette::Window));
    if (!layout_.Visible() || !layout_.Usable() || sheet_.isNull()) return;
    const QPoint at(layout_.ViewLeft() - layout_.HPos(), layout_.ViewTop() - layout_.VPos());
    if (!frameDrawn_) paintFrame();
    paintContent(viewport()->rect().translated(-at));
    p.drawImage(at, sheet_);
}

void TPaperPreview::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        // The corners beside the shadow take the display's colour, and the
        // default shadow colour comes from the palette too.
        frameDrawn_ = false;
        viewport()->update();
    }
}

void TPaperPreview::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void TPaperPreview::scrollContentsBy(int, int) {
    if (applying_) return;
    layout_.SetHPos(horizontalScrollBar()->value());
    layout_.SetVPos(verticalScrollBar()->value());
    viewport()->update();
}

// --- Input ------------------------------------------------------------------------

void TPaperPreview::keyPressEvent(QKeyEvent* event) {
    if (layout_.KeyDown(previewKey(*event), modifiersOf(event->modifiers()))) {
        apply();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TPaperPreview::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (layout_.Wheel(delta, modifiersOf(event->modifiers()),
                      (event->buttons() & Qt::MiddleButton) != 0)) {
        apply();
        event->accept();
        return;
    }
    event->ignore();
}

void TPaperPreview::mousePressEvent(QMouseEvent* event) {
    if (isEnabled() && !hasFocus()) setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    pointer_ = at;
    if (layout_.Visible() && sheetOnScreen().contains(at)) {
        layout_.Press(at.x(), at.y());
        apply();
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void TPaperPreview::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    pointer_ = at;
    if (layout_.Dragging()) {
        layout_.Move(at.x(), at.y(), (event->buttons() & Qt::LeftButton) != 0);
        apply();
    } else {
        showCursor();
    }
    QAbstractScrollArea::mouseMoveEvent(event);
}

void TPaperPreview::mouseReleaseEvent(QMouseEvent* event) {
    pointer_ = event->position().toPoint();
    layout_.Release();
    apply();
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void TPaperPreview::contextMenuEvent(QContextMenuEvent* event) {
    // The menu belongs to the sheet: a click beside it opens nothing. The menu
    // key opens it wherever the pointer is.
    const bool onSheet =
        event->reason() == QContextMenuEvent::Keyboard || sheetOnScreen().contains(event->pos());
    if (options_.PopupMenu && layout_.Visible() && onSheet) {
        options_.PopupMenu->exec(event->globalPos());
        event->accept();
    }
}

}  // namespace zor::pagestore::qt
