#include "ui/qt/front_window.h"

#include <algorithm>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QHelpEvent>
#include <QKeySequence>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "ui/qt/key_input.h"
#include "ui/qt/qt_pictures.h"

namespace zor::ui::qt {

namespace {
// Edits and radio groups take the keyboard, when a click or Tab gives it them.
bool focusable(const Control& c) {
    return c.visible && c.enabled &&
           (dynamic_cast<const Edit*>(&c) != nullptr || dynamic_cast<const RadioGroup*>(&c) != nullptr);
}

// Tab passes read-only edits by: they show a value that cannot be changed,
// such as the administration date.
bool tabStop(const Control& c) {
    const auto* edit = dynamic_cast<const Edit*>(&c);
    return focusable(c) && !(edit && edit->readOnly);
}

// The arrow keys pick the previous or next item of a radio group with the
// keyboard, round the group; other keys leave it as it is.
void stepRadioGroup(RadioGroup& group, int key) {
    const int count = int(group.items.size());
    const bool back = key == keys::Left || key == keys::Up;
    if (count == 0 || !(back || key == keys::Right || key == keys::Down)) return;
    const int next = group.itemIndex < 0 ? (back ? count - 1 : 0)
                                         : (group.itemIndex + (back ? count - 1 : 1)) % count;
    group.select(next);
}
}  // namespace

FrontWindow::FrontWindow(Application& app, const QtPictureSource& pictures)
    : app_(app), painter_(pictures, *this) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(kDesignWidth, kDesignHeight);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setWindowTitle(QString::fromStdString(app_.title));
    frameTimer_.setSingleShot(true);
    connect(&frameTimer_, &QTimer::timeout, this, [this] { update(); });
    app_.observer = this;
}

FrontWindow::~FrontWindow() {
    if (app_.observer == this) app_.observer = nullptr;
}

void FrontWindow::showOnDisplay() {
    if (QScreen* display = QGuiApplication::primaryScreen()) setGeometry(display->geometry());
    showFullScreen();
}

void FrontWindow::refresh() {
    if (Screen* active = app_.activeScreen()) settleFocus(*active);
    setWindowTitle(QString::fromStdString(app_.title));
    placeWidgets();
    updateCursor();
    scheduleUpdate();
    if (afterEvent) afterEvent();
}

void FrontWindow::repaintNow(Screen&) {
    // A handler that draws while it runs (a farewell picture it then waits
    // on) shows the cursor it has set as well.
    placeWidgets();
    updateCursor();
    repaint();
}

QWidget* FrontWindow::widgetFor(Control& control) {
    auto [it, added] = widgets_.try_emplace(&control);
    if (added) {
        for (const ControlWidgets* maker : widgetMakers_) {
            if ((it->second = maker->makeWidget(control, *this))) {
                it->second->hide();
                break;
            }
        }
    }
    return it->second.get();
}

void FrontWindow::placeWidgets() {
    if (widgetMakers_.empty()) return;
    const std::vector<Screen*> order = drawingOrder();
    std::vector<QWidget*> shown;
    for (std::size_t i = 0; i < order.size(); ++i) {
        Screen& screen = *order[i];
        const QRect area = screenRect(screen);
        for (Control* c : screen.controls()) {
            QWidget* widget = c->visible ? widgetFor(*c) : nullptr;
            if (!widget) continue;
            const QRect place = rectOf(c->bounds).translated(area.topLeft());
            // A widget lies above all drawing: it shows once its screen has
            // faded in, and not while another screen covers any of it.
            bool covered = screen.opacity() < 255;
            for (std::size_t j = i + 1; j < order.size() && !covered; ++j)
                covered = screenRect(*order[j]).intersects(place);
            if (covered) continue;
            widget->setGeometry(place);
            widget->setEnabled(c->enabled);
            shown.push_back(widget);
            if (widget->isHidden()) widget->show();
            // The widget of the screen with the keyboard takes the keys while
            // no edit of that screen has them; the keys it leaves pass on to
            // the window.
            if (&screen == app_.activeScreen() && !screen.ActiveControl && focusWidget() != widget)
                widget->setFocus();
        }
    }
    for (auto& [control, widget] : widgets_) {
        if (!widget || widget->isHidden() ||
            std::find(shown.begin(), shown.end(), widget.get()) != shown.end())
            continue;
        const bool hadFocus = focusWidget() == widget.get();
        widget->hide();
        if (hadFocus) setFocus();
    }
}

void FrontWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeWidgets();
}

void FrontWindow::terminated() {
    terminated_ = true;
    if (onTerminated) {
        onTerminated();
    } else {
        QCoreApplication::quit();
    }
}

std::vector<Screen*> FrontWindow::drawingOrder() const {
    const std::vector<Screen*> stack = app_.modalStack();
    auto modal = [&](Screen* s) { return std::find(stack.begin(), stack.end(), s) != stack.end(); };
    std::vector<Screen*> order;
    for (bool onTop : {false, true}) {
        for (Screen* s : app_.screens())
            if (s->visible() && !modal(s) && s->stayOnTop == onTop) order.push_back(s);
    }
    for (Screen* s : stack)
        if (s->visible()) order.push_back(s);
    return order;
}

QRect FrontWindow::screenRect(const Screen& screen) const {
    if (screen.fillsWorkArea) return rect();
    const QPoint design((width() - kDesignWidth) / 2, (height() - kDesignHeight) / 2);
    const Bounds& b = screen.bounds;
    // A screen smaller than the design size without a place of its own
    // (a dialog-like box) is centred on the design area.
    if (b.left == 0 && b.top == 0 && (b.width < kDesignWidth || b.height < kDesignHeight)) {
        return {design + QPoint((kDesignWidth - b.width) / 2, (kDesignHeight - b.height) / 2),
                QSize(b.width, b.height)};
    }
    return {design + QPoint(b.left, b.top), QSize(b.width, b.height)};
}

void FrontWindow::settleFocus(Screen& screen) {
    if (screen.ActiveControl && focusable(*screen.ActiveControl)) return;
    screen.ActiveControl = nullptr;
    for (Control* c : screen.controls()) {
        if (tabStop(*c)) {
            screen.ActiveControl = c;
            return;
        }
    }
}

void FrontWindow::moveFocus(Screen& screen, bool forward) {
    std::vector<Control*> stops;
    for (Control* c : screen.controls())
        if (tabStop(*c) || c == screen.ActiveControl) stops.push_back(c);
    auto it = std::find(stops.begin(), stops.end(), screen.ActiveControl);
    // The focused control counts only as the place Tab starts from.
    std::size_t index = it == stops.end() ? stops.size() : std::size_t(it - stops.begin());
    for (std::size_t n = 0; n < stops.size(); ++n) {
        index = forward ? (index + 1) % stops.size()
                        : (index + stops.size() - 1) % stops.size();
        if (!tabStop(*stops[index])) continue;
        screen.ActiveControl = stops[index];
        if (auto* edit = dynamic_cast<Edit*>(stops[index])) edit->caret = -1;
        return;
    }
}

const QImage& FrontWindow::screenImage(const Screen& screen) {
    // Only the screen with the keyboard shows a caret.
    const bool keyboard = &screen == app_.activeScreen();
    const QSize size = screenRect(screen).size();
    const std::size_t digest = painter_.fullDigest(screen, size, keyboard);
    Drawn& drawn = images_[&screen];
    if (drawn.image.isNull() || drawn.digest != digest)
        drawn = {digest, painter_.render(screen, size, keyboard)};
    return drawn.image;
}

void FrontWindow::paintEvent(QPaintEvent*) {
    lastPaint_.start();
    const std::vector<Screen*> order = drawingOrder();
    // What lies beneath an opaque screen that covers it is not drawn.
    auto covers = [&](const Screen& s, const QRect& area) {
        return s.opacity() >= 255 && !s.transparentColorEnabled && screenRect(s).contains(area);
    };
    std::size_t first = 0;
    for (std::size_t i = order.size(); i-- > 1;) {
        bool hidesBelow = true;
        for (std::size_t j = 0; j < i && hidesBelow; ++j)
            hidesBelow = covers(*order[i], screenRect(*order[j]));
        if (hidesBelow) {
            first = i;
            break;
        }
    }
    QPainter p(this);
    if (order.empty() || !covers(*order[first], rect())) p.fillRect(rect(), Qt::black);
    for (std::size_t i = first; i < order.size(); ++i) {
        Screen* s = order[i];
        p.setOpacity(std::clamp(s->opacity(), 0, 255) / 255.0);
        p.drawImage(screenRect(*s).topLeft(), screenImage(*s));
    }
}

void FrontWindow::scheduleUpdate() {
    // The display shows no more than one picture a frame: events that come
    // faster (a 1 ms timer) are drawn together at the next frame.
    const qint64 since = lastPaint_.isValid() ? lastPaint_.elapsed() : kFrameMs;
    if (since >= kFrameMs) {
        update();
    } else if (!frameTimer_.isActive()) {
        frameTimer_.start(int(kFrameMs - since));
    }
}

Screen* FrontWindow::activeScreenAt(QPoint windowPos, QPoint& local) const {
    Screen* active = app_.activeScreen();
    if (!active || !active->visible()) return nullptr;
    const QRect area = screenRect(*active);
    if (!area.contains(windowPos)) return nullptr;
    local = windowPos - area.topLeft();
    return active;
}

void FrontWindow::mousePressEvent(QMouseEvent* event) {
    pressed_ = nullptr;
    mouse_ = event->position().toPoint();
    QPoint local;
    Screen* screen = activeScreenAt(event->position().toPoint(), local);
    if (!screen) {
        if (event->button() == Qt::RightButton && onBackdropContextMenu)
            onBackdropContextMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    pressed_ = controlAt(*screen, local);
    if (pressed_ && focusable(*pressed_)) {
        screen->ActiveControl = pressed_;
        if (auto* edit = dynamic_cast<Edit*>(pressed_))
            edit->caret = layout::caretAt(*edit, *this, local.x());
        update();
    }
}

void FrontWindow::mouseReleaseEvent(QMouseEvent* event) {
    Control* pressed = std::exchange(pressed_, nullptr);
    if (event->button() != Qt::LeftButton || !pressed) return;
    QPoint local;
    Screen* screen = activeScreenAt(event->position().toPoint(), local);
    // A click counts when the button goes up over the control it went down on.
    if (screen && controlAt(*screen, local) == pressed) clickControl(*screen, *pressed, local);
}

void FrontWindow::clickControl(Screen& screen, Control& control, QPoint local) {
    if (auto* c = dynamic_cast<ImageButton*>(&control)) return c->click();
    if (auto* c = dynamic_cast<Label*>(&control)) return c->click();
    if (auto* c = dynamic_cast<PushButton*>(&control)) return c->click();
    if (auto* c = dynamic_cast<CheckBox*>(&control)) return c->click();
    if (auto* c = dynamic_cast<RadioGroup*>(&control)) {
        const int item = layout::radioItemAt(*c, local);
        if (item >= 0) c->select(item);
        return;
    }
    if (auto* c = dynamic_cast<ComboBox*>(&control)) {
        if (!c->enabled) return;
        QMenu menu(this);
        // The choice shown is ticked in the list, as a drop-down list marks it.
        for (std::size_t i = 0; i < c->items.size(); ++i) {
            QAction* action = menu.addAction(QString::fromStdString(c->items[i]));
            action->setCheckable(true);
            action->setChecked(int(i) == c->itemIndex);
        }
        const QRect area = rectOf(c->bounds).translated(screenRect(screen).topLeft());
        QAction* chosen = menu.exec(mapToGlobal(area.bottomLeft()));
        if (chosen) c->select(int(menu.actions().indexOf(chosen)));
        return;
    }
}

void FrontWindow::mouseMoveEvent(QMouseEvent* event) {
    mouse_ = event->position().toPoint();
    updateCursor();
}

void FrontWindow::updateCursor() {
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (app_.cursor == Cursor::HourGlass) {
        shape = Qt::WaitCursor;
    } else {
        QPoint local;
        if (Screen* screen = activeScreenAt(mouse_, local)) {
            const Control* c = controlAt(*screen, local);
            const Cursor wanted = c ? c->cursor : app_.cursor;
            if (wanted == Cursor::Hand) shape = Qt::PointingHandCursor;
            if (wanted == Cursor::HourGlass) shape = Qt::WaitCursor;
        }
    }
    if (cursor().shape() != shape) setCursor(shape);
}

bool FrontWindow::clickDefaultButton(Screen& screen, bool cancel) {
    for (Control* c : screen.controls()) {
        auto* button = dynamic_cast<PushButton*>(c);
        if (button && button->visible && button->enabled &&
            (cancel ? button->isCancel : button->isDefault)) {
            button->click();
            return true;
        }
    }
    return false;
}

bool FrontWindow::runShortcut(const QKeyEvent& event) {
    const QKeySequence pressed(event.keyCombination());
    for (Screen* screen : app_.screens()) {
        if (!screen->visible()) continue;
        for (Control* c : screen->controls()) {
            auto* menu = dynamic_cast<PopupMenu*>(c);
            if (!menu) continue;
            for (std::size_t i = 0; i < menu->items.size(); ++i) {
                const MenuItem& item = menu->items[i];
                if (item.enabled && !item.shortcut.empty() &&
                    QKeySequence(QString::fromStdString(item.shortcut)) == pressed) {
                    menu->choose(int(i));
                    return true;
                }
            }
        }
    }
    return false;
}

void FrontWindow::keyPressEvent(QKeyEvent* event) {
    Screen* screen = app_.activeScreen();
    if (!screen) return;
    if (runShortcut(*event)) return;
    settleFocus(*screen);

    // The screen's key handlers come first: they may swallow a key (set it
    // to 0) or change it before the controls see it.
    const int originalKey = virtualKey(event->key(), event->modifiers());
    const Shift shift = shiftOf(event->modifiers());
    const int key = originalKey != 0 ? app_.keyDown(originalKey, shift) : 0;
    if (originalKey != 0 && key == 0) return;
    if (app_.activeScreen() != screen) return;

    if (key == keys::Return && clickDefaultButton(*screen, false)) return;
    if (key == keys::Escape && clickDefaultButton(*screen, true)) return;
    auto* edit = dynamic_cast<Edit*>(screen->ActiveControl);
    if (key == keys::Tab) {
        moveFocus(*screen, !shift.shift);
    } else if (auto* group = dynamic_cast<RadioGroup*>(screen->ActiveControl)) {
        stepRadioGroup(*group, key);
    } else if (edit && edit->enabled && !edit->readOnly) {
        EditCursor cursor{edit->text(), edit->caret};
        const bool changed = cursor.pressKey(key);
        edit->caret = cursor.caret;
        if (changed) edit->type(cursor.text);
    }

    // Typed characters go through the screen and the edit's own filter.
    const QString text = event->text();
    if (!text.isEmpty() && key != keys::Tab && app_.activeScreen() == screen)
        app_.keyPress(text.toUcs4().front());
    update();
}

void FrontWindow::popup(PopupMenu& model) {
    QMenu menu(this);
    for (const MenuItem& item : model.items) {
        QAction* action = menu.addAction(QString::fromStdString(item.caption));
        action->setEnabled(item.enabled);
        if (!item.shortcut.empty())
            action->setShortcut(QKeySequence(QString::fromStdString(item.shortcut)));
    }
    QAction* chosen = menu.exec(QCursor::pos());
    if (chosen) model.choose(int(menu.actions().indexOf(chosen)));
}

void FrontWindow::closeEvent(QCloseEvent* event) {
    if (terminated_) {
        event->accept();
        return;
    }
    event->ignore();
    // The desktop's close command acts as the program's own Alt+F4.
    QKeyEvent altF4(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
    if (onCloseRequested) {
        onCloseRequested();
    } else {
        runShortcut(altF4);
    }
}

bool FrontWindow::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        QPoint local;
        Screen* screen = activeScreenAt(help->pos(), local);
        const Control* c = screen ? controlAt(*screen, local) : nullptr;
        if (c && !c->hint.empty()) {
            QToolTip::showText(help->globalPos(), QString::fromStdString(c->hint), this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace zor::ui::qt
