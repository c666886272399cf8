#include "ui/application.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "ui/screen.h"

namespace zor::ui {

Application::Application(Clock& clock, Dialogs& dialogs, PictureSource& pictures,
                         SoundSystem& sounds)
    : clock_(clock), dialogs_(dialogs), pictures_(pictures), sounds_(sounds) {
    clock_.tickWrapper = [this](const std::function<void()>& tick) { runEvent(tick); };
}

Application::~Application() { clock_.tickWrapper = nullptr; }

void Application::registerScreen(Screen& screen) { screens_.push_back(&screen); }

void Application::unregisterScreen(Screen& screen) {
    std::erase(screens_, &screen);
    std::erase_if(stack_, [&](const Showing& s) { return s.screen == &screen; });
    if (lastShown_ == &screen) lastShown_ = nullptr;
}

void Application::showMessage(const std::string& text) { dialogs_.message(title, text); }

void Application::runEvent(const std::function<void()>& event) {
    ++eventDepth_;
    try {
        event();
    } catch (const std::exception& e) {
        showMessage(e.what());
    }
    --eventDepth_;
    if (eventDepth_ == 0) closeEndedShowings();
    if (eventDepth_ == 0) {
        // A listener may show a message box, whose own events come back here.
        const auto listeners = eventEndListeners_;
        for (const auto& [id, listener] : listeners) runStep(listener);
    }
    if (eventDepth_ == 0 && observer) observer->refresh();
}

int Application::addEventEndListener(std::function<void()> listener) {
    eventEndListeners_.emplace_back(++nextListenerId_, std::move(listener));
    return nextListenerId_;
}

void Application::removeEventEndListener(int id) {
    std::erase_if(eventEndListeners_, [id](const auto& entry) { return entry.first == id; });
}

std::vector<Screen*> Application::modalStack() const {
    std::vector<Screen*> out;
    for (const auto& s : stack_) out.push_back(s.screen);
    return out;
}

Screen* Application::activeScreen() const {
    if (!stack_.empty()) return stack_.back().screen;
    return lastShown_ && lastShown_->visible() ? lastShown_ : nullptr;
}

int Application::keyDown(int key, Shift shift) {
    if (Screen* s = activeScreen()) runEvent([&] { s->onKeyDown(key, shift); });
    return key;
}

void Application::keyPress(char32_t key) {
    Screen* s = activeScreen();
    if (!s) return;
    runEvent([&] {
        s->onKeyPress(key);
        if (key == 0) return;
        if (auto* edit = dynamic_cast<Edit*>(s->ActiveControl)) edit->keyPress(key);
    });
}

void Application::runStep(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception& e) {
        showMessage(e.what());
    }
}

void Application::pushShowing(Screen& screen, std::function<void(ModalResult)> then) {
    if (screen.showingModally()) {
        throw std::logic_error("Scherm " + screen.name() + " wordt al modaal getoond.");
    }
    screen.modalResult_ = ModalResult::None;
    stack_.push_back({&screen, std::move(then)});
    try {
        screen.becomeVisible();
        screen.activate();
    } catch (...) {
        // A screen that fails while opening does not stay on the stack.
        std::erase_if(stack_, [&](const Showing& s) { return s.screen == &screen; });
        screen.visible_ = false;
        throw;
    }
}

void Application::closeEndedShowings() {
    if (closing_) return;
    closing_ = true;
    while (!stack_.empty() && stack_.back().screen->modalResult_ != ModalResult::None) {
        Showing showing = std::move(stack_.back());
        stack_.pop_back();
        Screen& screen = *showing.screen;
        const ModalResult result = screen.modalResult_;
        ++eventDepth_;
        runStep([&] {
            screen.onClose();
            screen.Hide();
        });
        runStep([&] { reactivateTop(); });
        if (showing.then) runStep([&] { showing.then(result); });
        --eventDepth_;
    }
    closing_ = false;
}

void Application::reactivateTop() {
    Screen* top = stack_.empty() ? lastShown_ : stack_.back().screen;
    if (!top || top->modalResult_ != ModalResult::None) return;
    top->activate();
}

void Application::terminate() {
    if (terminated_) return;
    terminated_ = true;
    if (observer) observer->terminated();
}

}  // namespace zor::ui
