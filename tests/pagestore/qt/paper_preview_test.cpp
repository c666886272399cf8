#include "pagestore/qt/paper_preview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <sstream>

#include "qt_app.h"

namespace zor::pagestore::qt {
namespace {

using test::qtApp;

// Pages with a red block at the top left; page n has n blocks down the page.
void compose(TPrintPreview& store, int pages) {
    store.BeginDoc();
    for (int i = 0; i < pages; ++i) {
        if (i > 0) store.NewPage();
        emf::Canvas& c = *store.Canvas();
        c.setPen({emf::rgb(0, 0, 0), 1, emf::pen_style::Null});
        c.setBrush({emf::rgb(255, 0, 0), emf::brush_style::Solid});
        c.fillRect({0, 0, 10500, 14850});
    }
    store.EndDoc();
}

// The sheet as the display shows it: the display's drawing, cut to the sheet's place.
QImage shownSheet(TPaperPreview& preview) {
    const PreviewLayout& layout = preview.Layout();
    if (!layout.Visible()) return {};
    const QImage shown = preview.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    return shown.copy(layout.ViewLeft() - layout.HPos(), layout.ViewTop() - layout.VPos(),
                      layout.ViewWidth(), layout.ViewHeight());
}

struct PaperPreviewTest : ::testing::Test {
    PaperPreviewTest() { qtApp(); }
    TPrintPreview store;
};

TEST_F(PaperPreviewTest, SheetAppearsWithTheFirstPageAndShowsItInItsFrame) {
    TPaperPreview preview(store);
    preview.resize(798, 460);
    preview.SetMargins(10, 10);
    TPaperPreviewOptions view = preview.PaperView();
    view.ShadowColor = QColor(0, 0, 128);
    preview.SetPaperView(view);
    int changes = 0;
    store.OnChange = [&](TPrintPreview&) { ++changes; };
    EXPECT_FALSE(preview.Layout().Visible());
    EXPECT_TRUE(shownSheet(preview).isNull());

    compose(store, 1);
    EXPECT_GT(changes, 0);
    EXPECT_EQ(store.CurrentPage(), 1);
    ASSERT_TRUE(preview.Layout().Visible());
    const QImage sheet = shownSheet(preview);
    ASSERT_EQ(sheet.height(), 440);  // whole page in the 460 pixels high display
    const int w = sheet.width(), h = sheet.height();
    EXPECT_EQ(sheet.pixel(0, h / 2), qRgb(0, 0, 0));        // border
    EXPECT_EQ(sheet.pixel(w - 2, h / 2), qRgb(0, 0, 128));  // shadow on the right
    EXPECT_EQ(sheet.pixel(w / 2, h - 2), qRgb(0, 0, 128));  // and below
    EXPECT_EQ(sheet.pixel(w - 1, 0), preview.palette().color(QPalette::Window).rgb());
    EXPECT_EQ(sheet.pixel(w / 4, h / 4), qRgb(255, 0, 0));              // the page's block
    EXPECT_EQ(sheet.pixel(3 * w / 4, 3 * h / 4), qRgb(255, 255, 255));  // paper

    store.Clear();
    EXPECT_FALSE(preview.Layout().Visible());
}

TEST_F(PaperPreviewTest, TheFrameFollowsTheDisplaysColours) {
    compose(store, 1);
    TPaperPreview preview(store);
    preview.resize(798, 460);
    const int w = shownSheet(preview).width(), h = shownSheet(preview).height();
    QPalette colours = preview.palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::Dark, QColor(0, 128, 0));
    preview.setPalette(colours);
    const QImage sheet = shownSheet(preview);
    EXPECT_EQ(sheet.pixel(w - 1, 0), qRgb(0, 0, 0));  // the corners beside the shadow
    EXPECT_EQ(sheet.pixel(0, h - 1), qRgb(0, 0, 0));
    EXPECT_EQ(sheet.pixel(w - 2, h / 2), qRgb(0, 128, 0));  // the shadow itself
}

TEST_F(PaperPreviewTest, ALoadedReportOnOtherPaperIsLaidOutForThatPaper) {
    compose(store, 1);
    TPaperPreview preview(store);
    preview.resize(798, 460);
    preview.SetMargins(10, 10);
    ASSERT_LT(shownSheet(preview).width(), shownSheet(preview).height());

    TPrintPreview landscape;
    landscape.SetOrientation(poLandscape);
    compose(landscape, 1);
    std::stringstream report;
    landscape.SaveToStream(report);
    store.LoadFromStream(report);
    const QImage sheet = shownSheet(preview);
    EXPECT_GT(sheet.width(), sheet.height());
    // Fitted to the 440 pixels high display: 435 × 1123 / 794 wide plus the frame.
    EXPECT_EQ(sheet.height(), 440);
    EXPECT_EQ(sheet.width(), 5 + 615);
}

TEST_F(PaperPreviewTest, GreyPreviewAndOverlaysAreOnlyShown) {
    compose(store, 1);
    const std::vector<std::uint8_t> stored = *store.GetPage(1);
    TPaperPreview preview(store);
    preview.resize(798, 460);
    const QImage sheet = shownSheet(preview);
    const int w = sheet.width(), h = sheet.height();

    preview.SetGrayPreview(true);
    EXPECT_EQ(shownSheet(preview).pixel(w / 4, h / 4), qRgb(76, 76, 76));
    EXPECT_EQ(store.Grayscale(), unsigned(gsPreview));
    preview.SetGrayPreview(false);
    EXPECT_EQ(shownSheet(preview).pixel(w / 4, h / 4), qRgb(255, 0, 0));

    int annotatedPage = 0;
    store.OnAnnotation = [&](TPrintPreview&, int pageNo, emf::Canvas& canvas) {
        annotatedPage = pageNo;
        canvas.setPen({emf::rgb(0, 0, 0), 1, emf::pen_style::Null});
        canvas.setBrush({emf::rgb(0, 0, 255), emf::brush_style::Solid});
        canvas.fillRect({15000, 20000, 20000, 28000});
    };
    store.OnBackground = [&](TPrintPreview&, int, emf::Canvas& canvas) {
        canvas.setPen({emf::rgb(0, 0, 0), 1, emf::pen_style::Null});
        canvas.setBrush({emf::rgb(0, 255, 0), emf::brush_style::Solid});
        canvas.fillRect({0, 0, 21000, 29700});
    };
    preview.SetAnnotation(true);
    preview.SetBackground(true);
    EXPECT_EQ(annotatedPage, 1);
    EXPECT_EQ(shownSheet(preview).pixel(3 * w / 4, 3 * h / 4), qRgb(0, 0, 255));
    EXPECT_EQ(shownSheet(preview).pixel(w / 4, 3 * h / 4), qRgb(0, 255, 0));  // under the page
    EXPECT_EQ(shownSheet(preview).pixel(w / 4, h / 4), qRgb(255, 0, 0));      // the page on top
    EXPECT_EQ(*store.GetPage(1), stored);
    preview.SetAnnotation(false);
    EXPECT_EQ(shownSheet(preview).pixel(3 * w / 4, 3 * h / 4), qRgb(0, 255, 0));
}

TEST_F(PaperPreviewTest, PageKeysMoveThroughThePagesAndStopAtTheEnds) {
    compose(store, 3);
    TPaperPreview preview(store);
    preview.resize(798, 460);
    auto press = [&](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&preview, &event);
    };
    EXPECT_EQ(store.CurrentPage(), 1);
    press(Qt::Key_PageUp);
    EXPECT_EQ(store.CurrentPage(), 1);
    press(Qt::Key_PageDown);
    EXPECT_EQ(store.CurrentPage(), 2);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(store.CurrentPage(), 3);
    press(Qt::Key_PageDown);
    EXPECT_EQ(store.CurrentPage(), 3);
    press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(store.CurrentPage(), 1);

    int zoomChanges = 0;
    store.OnZoomChange = [&](TPrintPreview&) { ++zoomChanges; };
    const int fitted = preview.Zoom();
    press(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(preview.Zoom(), fitted + 10);
    EXPECT_EQ(preview.ZoomState(), zsZoomOther);
    EXPECT_EQ(zoomChanges, 1);
    press(Qt::Key_Plus);  // the plus key of the main keyboard does not zoom
    EXPECT_EQ(preview.Zoom(), fitted + 10);
}

TEST_F(PaperPreviewTest, ScrollBarsAt200PercentReachTheLowerRightOfThePageAndDrawIt) {
    compose(store, 1);
    TPaperPreview preview(store);
    preview.resize(798, 460);
    preview.SetMargins(10, 10);
    // The zoom as a report screen chooses it: through the store, not the display.
    store.Display().SetZoom(200);
    preview.show();
    QApplication::processEvents();
    ASSERT_EQ(preview.viewport()->width(), preview.Layout().ClientWidth());
    QImage screen(preview.viewport()->size(), QImage::Format_ARGB32);
    auto shown = [&] {
        screen.fill(Qt::cyan);
        preview.viewport()->render(&screen);
        return screen;
    };
    // The top left quarter of the page is the red block.
    EXPECT_EQ(shown().pixel(400, 300), qRgb(255, 0, 0));

    QScrollBar& across = *preview.horizontalScrollBar();
    QScrollBar& down = *preview.verticalScrollBar();
    ASSERT_TRUE(across.isVisible() && down.isVisible());
    across.setValue(across.maximum());
    down.setValue(down.maximum());
    ASSERT_EQ(preview.Layout().HPos(), preview.Layout().HMax());
    ASSERT_EQ(preview.Layout().VPos(), preview.Layout().VMax());
    ASSERT_GT(preview.Layout().VPos(), 0);
    // The lower right of the page is blank paper, then the shadow and the margin.
    const QImage bottom = shown();
    const QPoint paperCorner(
        preview.Layout().ViewLeft() - preview.Layout().HPos() + preview.Layout().ViewWidth() - 5,
        preview.Layout().ViewTop() - preview.Layout().VPos() + preview.Layout().ViewHeight() - 5);
    EXPECT_EQ(bottom.pixel(paperCorner - QPoint(100, 100)), qRgb(255, 255, 255));
    EXPECT_EQ(bottom.pixel(paperCorner + QPoint(3, -50)),
              preview.palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(bottom.pixel(paperCorner + QPoint(10, 0)),
              preview.palette().color(QPalette::Window).rgb());
}

TEST_F(PaperPreviewTest, TheHandShowsOverTheSheetOnly) {
    compose(store, 1);
    TPaperPreview preview(store);
    preview.resize(798, 460);
    preview.SetMargins(10, 10);
    preview.SetZoom(200);
    auto moveTo = [&](QPoint at) {
        QMouseEvent event(QEvent::MouseMove, at, preview.viewport()->mapToGlobal(at), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(preview.viewport(), &event);
        return preview.viewport()->cursor().shape();
    };
    EXPECT_EQ(moveTo({100, 100}), Qt::OpenHandCursor);
    EXPECT_EQ(moveTo({5, 5}), Qt::ArrowCursor);  // the margin beside the sheet
    EXPECT_EQ(moveTo({100, 5}), Qt::ArrowCursor);
    EXPECT_EQ(moveTo({100, 100}), Qt::OpenHandCursor);

    // A drag keeps the grabbing hand beside the sheet; releasing there gives the
    // arrow. At 60 % only the height scrolls and the sheet lies centred.
    preview.SetZoom(60);
    ASSERT_FALSE(preview.Layout().CanScrollH());
    ASSERT_GT(preview.Layout().ViewLeft(), 100);
    auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, preview.viewport()->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(preview.viewport(), &event);
        return preview.viewport()->cursor().shape();
    };
    const int left = preview.Layout().ViewLeft();
    EXPECT_EQ(mouse(QEvent::MouseButtonPress, {left + 50, 100}, Qt::LeftButton),
              Qt::ClosedHandCursor);
    EXPECT_EQ(mouse(QEvent::MouseMove, {left - 50, 100}, Qt::LeftButton), Qt::ClosedHandCursor);
    EXPECT_EQ(mouse(QEvent::MouseButtonRelease, {left - 50, 100}, Qt::NoButton), Qt::ArrowCursor);
}

TEST_F(PaperPreviewTest, TheSheetsMenuOpensOnTheSheetOnly) {
    compose(store, 1);
    TPaperPreview preview(store);
    preview.resize(798, 460);
    QMenu menu;
    menu.addAction("Afdrukken");
    int shown = 0;
    QObject::connect(&menu, &QMenu::aboutToShow, [&] {
        ++shown;
        QTimer::singleShot(0, &menu, &QMenu::close);
    });
    TPaperPreviewOptions view = preview.PaperView();
    view.PopupMenu = &menu;
    preview.SetPaperView(view);
    auto rightClick = [&](QPoint at) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, preview.viewport()->mapToGlobal(at));
        QApplication::sendEvent(preview.viewport(), &event);
    };
    const int left = preview.Layout().ViewLeft();
    ASSERT_GT(left, 20);
    rightClick({left - 10, 100});
    EXPECT_EQ(shown, 0);
    rightClick({left + 10, 100});
    EXPECT_EQ(shown, 1);
}

TEST_F(PaperPreviewTest, ZoomTooLargeToDrawKeepsThePreviousZoom) {
    compose(store, 1);
    TPaperPreview preview(store);
    preview.resize(798, 460);
    preview.SetZoom(150);
    preview.SetZoomMax(5000);
    preview.SetZoom(5000);  // a sheet of some 40000 × 56000 pixels
    EXPECT_EQ(preview.Zoom(), 150);
    EXPECT_EQ(preview.Layout().ViewWidth(), 5 + 1191);
}

}  // namespace
}  // namespace zor::pagestore::qt
