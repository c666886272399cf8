#pragma once
// The arithmetic of the page preview display, free of any toolkit: the zoom and
// its limits, the size and place of the sheet in the display with its margins and
// scroll bars, and what keys, the mouse wheel and dragging do to the scroll
// positions, the shown page and the zoom. The displays (the Qt paper preview and the
// report screens' page view) feed it their size and input and draw what it says.
//
// Sizes are screen pixels. The display's outer size includes the scroll bars; the
// sheet's view is the paper plus twice the border plus the shadow ("extra").
#include <functional>

namespace zor::pagestore {

class TPrintPreview;

enum TZoomState { zsZoomOther, zsZoomToWidth, zsZoomToHeight, zsZoomToFit };

enum class PreviewKey {
    Home,
    End,
    Left,
    Right,
    Up,
    Down,
    PageUp,
    PageDown,
    ZoomIn,
    ZoomOut,
    Other
};
enum class PageMove { Next, Previous, First, Last };
enum class PreviewCursor { Normal, Drag, Grab };

struct Modifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

class PreviewLayout {
  public:
    // --- What the display tells ----------------------------------------------------
    // The display's outer size, the margins around the sheet and the thickness of
    // the scroll bars.
    void SetDisplaySize(int width, int height);
    void SetMargins(int horizontal, int vertical);
    void SetScrollBarThickness(int horizontalBarHeight, int verticalBarWidth);
    // The paper in screen pixels; 0 × 0 when there is none.
    void SetPaperPixels(int width, int height);
    int PaperPixelWidth() const { return paperWidth_; }
    int PaperPixelHeight() const { return paperHeight_; }
    // Whether a page is shown; without one nothing is laid out and nothing scrolls.
    void SetHasPage(bool hasPage);
    // Border and shadow widths of the sheet.
    void SetFrame(int borderWidth, int shadowWidth);
    int BorderWidth() const { return borderWidth_; }
    int ShadowWidth() const { return shadowWidth_; }
    int Extra() const { return 2 * borderWidth_ + shadowWidth_; }

    // Whether an off-screen bitmap of this size can be made for the sheet.
    std::function<bool(int width, int height)> CanMakeBitmap;
    std::function<void()> OnZoomChange;
    std::function<void(PageMove)> OnPageMove;
    // After every layout, so that a display follows changes made by others.
    std::function<void()> OnLaidOut;

    // --- Zoom -------------------------------------------------------------------------
    int Zoom() const { return zoom_; }
    void SetZoom(int zoom);
    int ZoomMin() const { return zoomMin_; }
    void SetZoomMin(int value);
    int ZoomMax() const { return zoomMax_; }
    void SetZoomMax(int value);
    int ZoomStep() const { return zoomStep_; }
    void SetZoomStep(int value) { zoomStep_ = value; }
    bool ZoomSavePos() const { return zoomSavePos_; }
    void SetZoomSavePos(bool value) { zoomSavePos_ = value; }
    TZoomState ZoomState() const { return zoomState_; }
    void SetZoomState(TZoomState state);

    // --- Layout -------------------------------------------------------------------------
    // Lays the sheet out again; fires OnZoomChange when the zoom changed.
    void Layout();
    bool Usable() const { return usable_; }
    bool Visible() const { return hasPage_; }
    int ViewLeft() const { return viewLeft_; }
    int ViewTop() const { return viewTop_; }
    int ViewWidth() const { return viewWidth_; }
    int ViewHeight() const { return viewHeight_; }
    bool CanScrollH() const { return canScrollH_; }
    bool CanScrollV() const { return canScrollV_; }
    // The client area: the display without the scroll bars that show.
    int ClientWidth() const;
    int ClientHeight() const;
    // Scroll positions run from 0 to their maximum.
    int HMax() const;
    int VMax() const;
    int HPos() const { return hPos_; }
    int VPos() const { return vPos_; }
    void SetHPos(int pos);
    void SetVPos(int pos);
    int ScrollStep() const { return scrollStep_; }
    void SetScrollStep(int step) { scrollStep_ = step; }
    PreviewCursor Cursor() const { return cursor_; }

    // --- Input -----------------------------------------------------------------------------
    // Returns false for keys the display leaves to the platform.
    bool KeyDown(PreviewKey key, Modifiers modifiers);
    // delta: the wheel's amount (120 a notch; negative toward the user). Returns
    // false when the wheel is passed on.
    bool Wheel(int delta, Modifiers modifiers, bool middleButton);
    // Dragging the sheet with the mouse; positions in display coordinates.
    void Press(int x, int y);
    void Move(int x, int y, bool leftButtonDown);
    void Release();
    bool Dragging() const { return dragging_; }

  private:
    void computeSheet(int availableWidth, int availableHeight);
    // Lays out without telling of a zoom change.
    void layout();
    void changeZoomBy(int delta);
    void movePage(PageMove move);

    int displayWidth_ = 0, displayHeight_ = 0;
    int marginH_ = 0, marginV_ = 0;
    int hBar_ = 16, vBar_ = 16;
    int paperWidth_ = 0, paperHeight_ = 0;
    bool hasPage_ = false;
    int borderWidth_ = 1, shadowWidth_ = 3;

    int zoom_ = 100, zoomMin_ = 10, zoomMax_ = 500, zoomStep_ = 10;
    bool zoomSavePos_ = true;
    TZoomState zoomState_ = zsZoomToFit;

    bool usable_ = true;
    int viewLeft_ = 0, viewTop_ = 0, viewWidth_ = 0, viewHeight_ = 0;
    bool canScrollH_ = false, canScrollV_ = false;
    int hPos_ = 0, vPos_ = 0;
    int scrollStep_ = 20;
    PreviewCursor cursor_ = PreviewCursor::Normal;

    int wheelRemainder_ = 0;
    bool dragging_ = false;
    int pressX_ = 0, pressY_ = 0;
};

// Shows the page a display's page move asks for; the store keeps it within its pages.
void MovePage(TPrintPreview& store, PageMove move);

}  // namespace zor::pagestore
