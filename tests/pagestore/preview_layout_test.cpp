#include "pagestore/preview_layout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace zor::pagestore {
namespace {

using ::testing::ElementsAre;

// A4 at 96 dots per inch; border 1 and shadow 3 make the sheet 5 pixels larger.
struct PreviewLayoutTest : ::testing::Test {
    PreviewLayout layout;
    int zoomChanges = 0;
    std::vector<PageMove> moves;

    PreviewLayoutTest() {
        layout.SetPaperPixels(794, 1123);
        layout.SetMargins(10, 10);
        layout.SetScrollBarThickness(16, 16);
        layout.SetHasPage(true);
        layout.OnZoomChange = [this] { ++zoomChanges; };
        layout.OnPageMove = [this](PageMove m) { moves.push_back(m); };
    }

    void show(int width, int height) {
        layout.SetDisplaySize(width, height);
        layout.Layout();
    }
};

TEST_F(PreviewLayoutTest, ZoomIsKeptWithinItsLimits) {
    show(798, 460);
    layout.SetZoom(5);
    EXPECT_EQ(layout.Zoom(), 10);
    layout.SetZoom(600);
    EXPECT_EQ(layout.Zoom(), 500);
    EXPECT_EQ(layout.ViewWidth(), 5 + 3970);

    layout.SetZoomMax(300);  // the zoom follows a lowered limit
    EXPECT_EQ(layout.Zoom(), 300);
    layout.SetZoomMin(400);  // above the maximum: refused
    EXPECT_EQ(layout.ZoomMin(), 10);
    layout.SetZoomMin(0);
    EXPECT_EQ(layout.ZoomMin(), 10);
}

TEST_F(PreviewLayoutTest, SettingTheFittedZoomStillSwitchesToAFixedZoom) {
    // A display in which the fitted zoom is exactly 100.
    show(2000, 1123 + 5 + 20);
    ASSERT_EQ(layout.ZoomState(), zsZoomToFit);
    ASSERT_EQ(layout.Zoom(), 100);
    const int before = zoomChanges;
    layout.SetZoom(100);
    EXPECT_EQ(layout.ZoomState(), zsZoomOther);
    EXPECT_EQ(layout.Zoom(), 100);
    EXPECT_EQ(zoomChanges, before + 1);
    layout.SetZoom(100);  // now unchanged: nothing happens
    EXPECT_EQ(zoomChanges, before + 1);
}

TEST_F(PreviewLayoutTest, WholePageFitsTheHeightInAWideWindowAndTheWidthInANarrowOne) {
    show(1000, 400);
    EXPECT_EQ(layout.ViewHeight(), 380);
    EXPECT_EQ(layout.ViewWidth(), 5 + 265);  // 375 × 794 / 1123
    EXPECT_EQ(layout.Zoom(), 33);
    EXPECT_FALSE(layout.CanScrollH());
    EXPECT_FALSE(layout.CanScrollV());
    EXPECT_EQ(layout.ViewLeft(), 10 + (980 - 270) / 2);
    EXPECT_EQ(layout.ViewTop(), 10);
    EXPECT_EQ(layout.Cursor(), PreviewCursor::Normal);

    show(300, 900);
    EXPECT_EQ(layout.ViewWidth(), 280);
    EXPECT_EQ(layout.ViewHeight(), 5 + 389);  // 275 × 1123 / 794
    EXPECT_EQ(layout.Zoom(), 35);             // 389 × 100 / 1123 = 34.6
    EXPECT_EQ(layout.ViewLeft(), 10);
}

TEST_F(PreviewLayoutTest, FittedZoomRoundsHalvesToEven) {
    layout.SetPaperPixels(600, 1000);  // paper 1000 pixels high: 10 pixels a percent
    show(1000, 20 + 5 + 125);
    EXPECT_EQ(layout.Zoom(), 12);  // 12.5
    show(1000, 20 + 5 + 135);
    EXPECT_EQ(layout.Zoom(), 14);  // 13.5
    show(1000, 20 + 5 + 145);
    EXPECT_EQ(layout.Zoom(), 14);  // 14.5
    show(1000, 20 + 5 + 146);
    EXPECT_EQ(layout.Zoom(), 15);  // 14.6
}

TEST_F(PreviewLayoutTest, FitToWidthWithAVerticalScrollBarNeedsNoHorizontalOne) {
    layout.SetZoomState(zsZoomToWidth);
    show(400, 300);
    EXPECT_TRUE(layout.CanScrollV());
    EXPECT_FALSE(layout.CanScrollH());
    EXPECT_EQ(layout.ViewWidth(), 364);  // 400 - 2 × 10 - the vertical bar
    EXPECT_EQ(layout.ViewHeight(), 5 + 508);
    EXPECT_EQ(layout.VMax(), 513 + 20 - 300);
    EXPECT_EQ(layout.Cursor(), PreviewCursor::Drag);
}

TEST_F(PreviewLayoutTest, FitToHeightWithAHorizontalScrollBarNeedsNoVerticalOne) {
    layout.SetZoomState(zsZoomToHeight);
    show(300, 500);
    EXPECT_TRUE(layout.CanScrollH());
    EXPECT_FALSE(layout.CanScrollV());
    EXPECT_EQ(layout.ViewHeight(), 464);     // 500 - 2 × 10 - the horizontal bar
    EXPECT_EQ(layout.ViewWidth(), 5 + 325);  // 459 × 794 / 1123
    EXPECT_EQ(layout.Zoom(), 41);            // 459 × 100 / 1123 = 40.9
    EXPECT_EQ(layout.HMax(), 330 + 20 - 300);
    EXPECT_EQ(layout.ViewTop(), 10);
}

TEST_F(PreviewLayoutTest, TwoHundredPercentScrollsBothWays) {
    show(798, 460);
    layout.SetZoom(200);
    EXPECT_EQ(layout.ViewWidth(), 5 + 1588);
    EXPECT_EQ(layout.ViewHeight(), 5 + 2246);
    EXPECT_TRUE(layout.CanScrollH());
    EXPECT_TRUE(layout.CanScrollV());
    EXPECT_EQ(layout.ClientWidth(), 782);
    EXPECT_EQ(layout.HMax(), 1593 + 20 - 782);
    EXPECT_EQ(layout.VMax(), 2251 + 20 - 444);
    EXPECT_EQ(layout.ViewLeft(), 10);
    EXPECT_EQ(layout.ViewTop(), 10);
}

TEST_F(PreviewLayoutTest, ZoomKeepsTheRelativeScrollPosition) {
    show(798, 460);
    layout.SetZoom(200);
    layout.SetVPos(layout.VMax() / 2);
    layout.SetZoom(300);
    EXPECT_NEAR(layout.VPos(), layout.VMax() / 2, layout.VMax() / 100 + 1);

    layout.SetZoomSavePos(false);
    layout.SetZoom(250);
    EXPECT_EQ(layout.VPos(), 0);
}

TEST_F(PreviewLayoutTest, ZoomThatCannotBeDrawnKeepsThePreviousOne) {
    layout.CanMakeBitmap = [](int w, int h) { return std::int64_t(w) * h <= 4000 * 4000; };
    show(798, 460);
    layout.SetZoom(300);
    const int changes = zoomChanges;
    layout.SetZoom(500);  // 3975 × 5620 pixels: too large
    EXPECT_EQ(layout.Zoom(), 300);
    EXPECT_TRUE(layout.Usable());
    EXPECT_EQ(zoomChanges, changes);
}

TEST_F(PreviewLayoutTest, ZoomThatCannotBeDrawnLeavesAWholePageDisplayFittingTheWindow) {
    layout.CanMakeBitmap = [](int w, int h) { return std::int64_t(w) * h <= 4000 * 4000; };
    show(1000, 400);
    ASSERT_EQ(layout.Zoom(), 33);
    const int changes = zoomChanges;
    layout.SetZoom(500);
    EXPECT_EQ(layout.Zoom(), 33);
    EXPECT_EQ(layout.ZoomState(), zsZoomToFit);
    EXPECT_EQ(zoomChanges, changes);
    show(300, 900);  // the sheet still follows the window
    EXPECT_EQ(layout.Zoom(), 35);
}

TEST_F(PreviewLayoutTest, WheelStepsPerWholeNotchAndKeepsTheRemainder) {
    show(798, 460);
    layout.SetZoom(200);
    const int step = layout.ScrollStep();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(layout.Wheel(-40, {}, false));
    EXPECT_EQ(layout.VPos(), step);
    layout.Wheel(-360, {}, false);
    EXPECT_EQ(layout.VPos(), 4 * step);
    layout.Wheel(-100, {}, false);
    EXPECT_EQ(layout.VPos(), 4 * step);
    layout.Wheel(130, {}, false);  // the remainder runs back through zero: 30 left
    EXPECT_EQ(layout.VPos(), 4 * step);
    layout.Wheel(90, {}, false);
    EXPECT_EQ(layout.VPos(), 3 * step);

    layout.Wheel(-120, {.shift = true}, false);
    layout.Wheel(120, {}, true);
    EXPECT_THAT(moves, ElementsAre(PageMove::Next, PageMove::Previous));
    layout.Wheel(120, {.ctrl = true}, false);
    EXPECT_EQ(layout.Zoom(), 210);
    layout.Wheel(-240, {.ctrl = true}, false);
    EXPECT_EQ(layout.Zoom(), 190);

    EXPECT_FALSE(layout.Wheel(-120, {.shift = true, .ctrl = true}, false));
    EXPECT_FALSE(layout.Wheel(-120, {.alt = true}, false));
}

TEST_F(PreviewLayoutTest, KeysScrollPageAndZoom) {
    show(798, 460);
    layout.SetZoom(200);
    const int step = layout.ScrollStep();
    EXPECT_TRUE(layout.KeyDown(PreviewKey::Down, {}));
    EXPECT_EQ(layout.VPos(), step);
    layout.KeyDown(PreviewKey::Down, {.shift = true});
    EXPECT_EQ(layout.VPos(), step + 1);
    layout.KeyDown(PreviewKey::Down, {.ctrl = true});
    EXPECT_EQ(layout.VPos(), step + 1 + layout.ClientHeight());
    layout.KeyDown(PreviewKey::Up, {.ctrl = true});
    layout.KeyDown(PreviewKey::Up, {.ctrl = true});  // stops at the top
    EXPECT_EQ(layout.VPos(), 0);
    layout.KeyDown(PreviewKey::End, {.ctrl = true});
    EXPECT_EQ(layout.VPos(), layout.VMax());
    layout.KeyDown(PreviewKey::Home, {.ctrl = true});
    EXPECT_EQ(layout.VPos(), 0);

    layout.KeyDown(PreviewKey::Right, {});
    EXPECT_EQ(layout.HPos(), step);
    layout.KeyDown(PreviewKey::Left, {.shift = true});
    EXPECT_EQ(layout.HPos(), step - 1);
    layout.KeyDown(PreviewKey::End, {});
    EXPECT_EQ(layout.HPos(), layout.HMax());
    layout.KeyDown(PreviewKey::Home, {});
    EXPECT_EQ(layout.HPos(), 0);

    layout.KeyDown(PreviewKey::PageDown, {});
    layout.KeyDown(PreviewKey::PageDown, {.ctrl = true});
    layout.KeyDown(PreviewKey::PageUp, {});
    layout.KeyDown(PreviewKey::PageUp, {.ctrl = true});
    EXPECT_THAT(moves,
                ElementsAre(PageMove::Next, PageMove::Last, PageMove::Previous, PageMove::First));

    layout.KeyDown(PreviewKey::ZoomIn, {});
    EXPECT_EQ(layout.Zoom(), 210);
    layout.KeyDown(PreviewKey::ZoomOut, {});
    layout.KeyDown(PreviewKey::ZoomOut, {});
    EXPECT_EQ(layout.Zoom(), 190);

    // Combinations the display does not use go to the platform.
    EXPECT_FALSE(layout.KeyDown(PreviewKey::Home, {.shift = true}));
    EXPECT_FALSE(layout.KeyDown(PreviewKey::PageDown, {.shift = true}));
    EXPECT_FALSE(layout.KeyDown(PreviewKey::ZoomIn, {.ctrl = true}));
    EXPECT_FALSE(layout.KeyDown(PreviewKey::Other, {}));
    EXPECT_EQ(moves.size(), 4u);
}

TEST_F(PreviewLayoutTest, DraggingMovesTheSheetWithThePointer) {
    show(798, 460);
    layout.Press(100, 100);
    EXPECT_FALSE(layout.Dragging());  // nothing to scroll at the fitted size
    layout.SetZoom(200);
    layout.SetHPos(100);
    layout.SetVPos(100);
    layout.Press(300, 300);
    EXPECT_EQ(layout.Cursor(), PreviewCursor::Grab);
    layout.Move(280, 250, true);
    EXPECT_EQ(layout.HPos(), 120);
    EXPECT_EQ(layout.VPos(), 150);
    layout.Move(290, 260, false);  // without the button nothing moves
    EXPECT_EQ(layout.HPos(), 120);
    layout.Release();
    EXPECT_FALSE(layout.Dragging());
    EXPECT_EQ(layout.Cursor(), PreviewCursor::Drag);
}

TEST_F(PreviewLayoutTest, NothingIsLaidOutWithoutAPage) {
    layout.SetHasPage(false);
    show(798, 460);
    EXPECT_FALSE(layout.Visible());
    EXPECT_EQ(layout.ViewWidth(), 0);
}

TEST_F(PreviewLayoutTest, AnEmptiedDisplayNeitherScrollsNorDrags) {
    show(798, 460);
    layout.SetZoom(200);
    layout.SetVPos(300);
    layout.Press(300, 300);
    ASSERT_TRUE(layout.Dragging());

    layout.SetHasPage(false);
    EXPECT_FALSE(layout.CanScrollH());
    EXPECT_FALSE(layout.CanScrollV());
    EXPECT_EQ(layout.VPos(), 0);
    EXPECT_EQ(layout.ClientWidth(), 798);
    EXPECT_FALSE(layout.Dragging());
    EXPECT_EQ(layout.Cursor(), PreviewCursor::Normal);
    layout.KeyDown(PreviewKey::End, {.ctrl = true});
    EXPECT_EQ(layout.VPos(), 0);
}

}  // namespace
}  // namespace zor::pagestore
