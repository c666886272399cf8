#include "ui/screen.h"

#include <algorithm>

#include "ui/application.h"

namespace zor::ui {

std::vector<int> fadeInLevels(const FadeSettings& fade) {
    std::vector<int> levels{0};
    const int step = std::max(1, fade.step);
    while (levels.back() < fade.maximum)
        levels.push_back(std::min(levels.back() + step, fade.maximum));
    return levels;
}

std::vector<int> fadeOutLevels(const FadeSettings& fade) {
    std::vector<int> levels{fade.maximum};
    const int step = std::max(1, fade.step);
    while (levels.back() > 0) levels.push_back(std::max(levels.back() - step, 0));
    return levels;
}

Screen::Screen(Application& app, std::string name, Bounds bounds)
    : bounds(bounds), LatencyTimer(app.clock(), 500), app_(app), name_(std::move(name)) {
    LatencyTimer.onTimer = [this] { Latency(); };
    app_.registerScreen(*this);
}

Screen::~Screen() { app_.unregisterScreen(*this); }

void Screen::setOpacity(int opacity) {
    opacity_ = opacity;
    repaint();
}

void Screen::repaint() {
    if (app_.observer) app_.observer->repaintNow(*this);
}

void Screen::becomeVisible() {
    const bool wasVisible = visible_;
    visible_ = true;
    if (!wasVisible) onShow();
}

void Screen::activate() {
    if (!visible_ || app_.terminated()) return;
    if (fade.enabled) {
        for (int level : fadeInLevels(fade)) setOpacity(level);
    }
    onActivate();
}

void Screen::Show() {
    const bool wasVisible = visible_;
    app_.lastShown_ = this;
    becomeVisible();
    if (!wasVisible && app_.modalStack().empty()) activate();
}

void Screen::Hide() {
    if (!visible_) return;
    if (fade.enabled) {
        for (int level : fadeOutLevels(fade)) setOpacity(level);
    }
    visible_ = false;
    onHide();
}

void Screen::ShowModal(std::function<void(ModalResult)> then) {
    app_.pushShowing(*this, std::move(then));
}

bool Screen::showingModally() const {
    auto stack = app_.modalStack();
    return std::find(stack.begin(), stack.end(), this) != stack.end();
}

bool Screen::receivesInput() const {
    if (!visible_) return false;
    auto stack = app_.modalStack();
    return stack.empty() || stack.back() == this;
}

void Screen::setModalResult(ModalResult result) {
    modalResult_ = result;
    if (app_.eventDepth_ == 0) app_.closeEndedShowings();
}

void Screen::Close() {
    if (showingModally()) {
        setModalResult(ModalResult::Cancel);
    } else {
        onClose();
        Hide();
    }
}

void Screen::Latency() {
    LatencyState = 1;
    LatencyTimer.setEnabled(true);
    if (PrevLatencyState == 1) LatencyState = 2;
    PrevLatencyState = LatencyState;
    if (LatencyState == 2) {
        LatencyTimer.setEnabled(false);
        LatencyStep();
    }
}

void Screen::onKeyDown(int&, Shift) {}
void Screen::onKeyPress(char32_t&) {}

}  // namespace zor::ui
