#pragma once
// The on-screen page display of a page store: the current page shown as a sheet
// of paper with a border and an offset shadow, at a zoom, scrolled and navigated
// with keys, the mouse wheel and dragging, optionally in grey and with an
// annotation drawn over and a background drawn under the page.
//
// Usage (a report screen's lower panel):
//     TPaperPreview preview(store, panel);
//     store.Display().SetMargins(10, 10);
//     store.OnAnnotation = [&](TPrintPreview&, int pageNo, emf::Canvas& c) { ... };
//     store.Display().SetZoomState(zsZoomToFit);   // "Hele pagina"
//
// The display settings (zoom, margins, scroll positions) and the events are the
// store's: whoever owns the store sets them with or without a display on screen,
// and the display follows.
#include <QAbstractScrollArea>
#include <QColor>
#include <QCursor>
#include <QImage>
#include <QRegion>
#include <functional>
#include <optional>
#include <vector>

#include "emf/canvas.h"
#include "pagestore/print_preview.h"
#include "pagestore/preview_layout.h"

class QMenu;

namespace zor::pagestore::qt {

struct TPaperPreviewOptions {
    QColor PaperColor = Qt::white;
    QColor BorderColor = Qt::black;
    int BorderWidth = 1;
    QColor ShadowColor;  // invalid: the platform's button-shadow colour
    int ShadowWidth = 3;
    QCursor Cursor = Qt::ArrowCursor;
    QCursor DragCursor = Qt::OpenHandCursor;
    QCursor GrabCursor = Qt::ClosedHandCursor;
    QMenu* PopupMenu = nullptr;
};

class TPaperPreview : public QAbstractScrollArea {
  public:
    using PageEvent = TPrintPreview::PageEvent;

    explicit TPaperPreview(TPrintPreview& store, QWidget* parent = nullptr);
    ~TPaperPreview() override;

    TPrintPreview& Store() { return store_; }
    PreviewLayout& Layout() { return layout_; }

    // --- Display settings --------------------------------------------------------
    int Zoom() const { return layout_.Zoom(); }
    void SetZoom(int zoom) { layout_.SetZoom(zoom), apply(); }
    TZoomState ZoomState() const { return layout_.ZoomState(); }
    void SetZoomState(TZoomState state) { layout_.SetZoomState(state), apply(); }
    void SetZoomMin(int value) { layout_.SetZoomMin(value), apply(); }
    void SetZoomMax(int value) { layout_.SetZoomMax(value), apply(); }
    void SetZoomStep(int value) { layout_.SetZoomStep(value); }
    void SetZoomSavePos(bool value) { layout_.SetZoomSavePos(value); }
    void SetMargins(int horizontal, int vertical);
    const TPaperPreviewOptions& PaperView() const { return options_; }
    void SetPaperView(const TPaperPreviewOptions& options);
    // The gsPreview member of the store's Grayscale setting.
    bool GrayPreview() const { return (store_.Grayscale() & gsPreview) != 0; }
    void SetGrayPreview(bool grey);
    bool Annotation() const { return annotation_; }
    void SetAnnotation(bool on);
    bool Background() const { return background_; }
    void SetBackground(bool on);
    // Makes the annotation again (after the printer set-up changed, for instance).
    void UpdateAnnotation();
    // Lays the sheet out again for the store's current paper (after a change of
    // paper, orientation or units).
    void PaperChanged();

    // Draws the page on the sheet again at the next paint.
    void RepaintSheet();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    void storeChanged();
    void relayout();
    // Makes the scroll bars, the cursor and the screen follow the layout.
    void apply();
    // The sheet's place in the viewport, scrolled.
    QRect sheetOnScreen() const;
    // The sheet's pointer over the sheet, the display's own elsewhere.
    void showCursor();
    void paintFrame();
    QRect paperRect() const;
    void paintContent(const QRect& wanted);
    std::vector<std::uint8_t> makeOverlay(const PageEvent& event);
    QColor shadowColor() const;

    TPrintPreview& store_;
    PreviewLayout& layout_;
    TPaperPreviewOptions options_;
    bool annotation_ = false;
    bool background_ = false;
    std::vector<std::uint8_t> annotationImage_;
    std::vector<std::uint8_t> backgroundImage_;
    int shownPages_ = 0;
    int shownPage_ = 0;

    QImage sheet_;
    bool frameDrawn_ = false;
    QRegion drawn_;  // the part of the paper that shows the current content
    bool applying_ = false;
    QPoint pointer_{-1, -1};  // where the mouse was last seen in the viewport
};

}  // namespace zor::pagestore::qt
