#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "ui/application.h"
#include "ui/qt/screen_painter.h"
#include "ui/screen.h"

namespace zor::ui::qt {

class QtPictureSource;

// Makes the widgets that show controls of another subsystem (a report's page
// display, with its scroll bars) as children of the window, over the screen
// the control belongs to.
class ControlWidgets {
  public:
    virtual ~ControlWidgets() = default;
    // A new widget showing `c` when it is of this maker's kind; null otherwise.
    virtual std::unique_ptr<QWidget> makeWidget(Control& c, QWidget& parent) const = 0;
};

// The program's one window: a borderless black backdrop that fills the
// display, with the visible screens drawn on it at their design size,
// centred, each at its own opacity, the modal showings above the others and
// the top one receiving the mouse and the keyboard. Every user action goes
// to the screen models as an event of the application; the window redraws
// the models after every event.
class FrontWindow : public QWidget, public ApplicationObserver {
public:
    static constexpr int kDesignWidth = 800;
    static constexpr int kDesignHeight = 600;

    FrontWindow(Application& app, const QtPictureSource& pictures);
    ~FrontWindow() override;

    // Shows the window over the whole display, also where no window manager
    // honours a full-screen request.
    void showOnDisplay();

    // ApplicationObserver.
    void refresh() override;
    void repaintNow(Screen& screen) override;
    void terminated() override;

    const Application& application() const { return app_; }

    // The visible screens, bottom first.
    std::vector<Screen*> drawingOrder() const;
    // Where a screen lies in the window.
    QRect screenRect(const Screen& screen) const;
    // Shows a menu at the cursor and runs the item chosen.
    void popup(PopupMenu& menu) override;

    // Adds a painter for controls of another subsystem; it must outlive the window.
    void addControlPainter(const ControlPainter& painter) { painter_.addControlPainter(painter); }
    // Adds a maker of widgets for controls of another subsystem; it must outlive the window.
    void addControlWidgets(const ControlWidgets& maker) { widgetMakers_.push_back(&maker); }
    // Removes the widgets made so far; their controls' screens may go after this.
    void releaseControlWidgets() { widgets_.clear(); }

    // Called after every event of the application, once the window has
    // taken in the models' changes.
    std::function<void()> afterEvent;
    // Called when the program ends (by default the event loop is left).
    std::function<void()> onTerminated;
    // Called when the window is asked to close by the desktop (Alt+F4, the
    // window manager); the window itself stays: the program decides.
    std::function<void()> onCloseRequested;
    // Called for a right click outside the screens, on the bare backdrop.
    std::function<void(QPoint globalPos)> onBackdropContextMenu;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; }

private:
    const QImage& screenImage(const Screen& screen);
    void scheduleUpdate();
    // Shows the widgets of the controls of the visible screens where no other
    // screen lies over them, and hides the rest.
    void placeWidgets();
    QWidget* widgetFor(Control& control);
    // The active screen and the point in its coordinates, when the window
    // point lies on it.
    Screen* activeScreenAt(QPoint windowPos, QPoint& local) const;
    void clickControl(Screen& screen, Control& control, QPoint local);
    void updateCursor();
    // Gives the keyboard to the screen's first control in Tab order when no
    // control has it.
    void settleFocus(Screen& screen);
    void moveFocus(Screen& screen, bool forward);
    bool clickDefaultButton(Screen& screen, bool cancel);
    // Runs the enabled menu item of a visible screen whose shortcut is the
    // key pressed; returns whether there was one.
    bool runShortcut(const QKeyEvent& event);

    Application& app_;
    ScreenPainter painter_;
    struct Drawn {
        std::size_t digest;
        QImage image;
    };
    // Every screen drawn so far, redrawn only when its models changed.
    std::unordered_map<const Screen*, Drawn> images_;
    std::vector<const ControlWidgets*> widgetMakers_;
    // The widget made for each control seen so far; null for controls without one.
    std::unordered_map<const Control*, std::unique_ptr<QWidget>> widgets_;
    Control* pressed_ = nullptr;
    QPoint mouse_{-1, -1};  // the last mouse position in the window
    bool terminated_ = false;
    static constexpr qint64 kFrameMs = 16;
    QElapsedTimer lastPaint_;
    QTimer frameTimer_;
};

}  // namespace zor::ui::qt
