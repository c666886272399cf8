#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/answer_recorder.h"
#include "ui/clock.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/keys.h"
#include "ui/modal_result.h"
#include "ui/pictures.h"
#include "ui/sound.h"

namespace zor::ui {

class Screen;

// What the front end learns from the runtime.
class ApplicationObserver {
  public:
    virtual ~ApplicationObserver() = default;
    // Models may have changed: redraw the visible screens.
    virtual void refresh() {}
    // A screen must be drawn now, while a handler still runs (fading, a
    // farewell picture).
    virtual void repaintNow(Screen&) {}
    // Show the menu at the cursor.
    virtual void popup(PopupMenu&) {}
    // The program ends; the front end leaves its event loop.
    virtual void terminated() {}
};

// The runtime of the screens: the services they use, every screen in order
// of creation, the modal screen stack and the event handling.
class Application {
  public:
    Application(Clock& clock, Dialogs& dialogs, PictureSource& pictures, SoundSystem& sounds);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Clock& clock() const { return clock_; }
    Dialogs& dialogs() const { return dialogs_; }
    PictureSource& pictures() const { return pictures_; }
    SoundSystem& sounds() const { return sounds_; }
    // The microphone for answer recordings; none until the front end sets one.
    AnswerRecorder& recorder() const { return *recorder_; }
    void setRecorder(AnswerRecorder& recorder) { recorder_ = &recorder; }

    std::string title;
    Cursor cursor = Cursor::Default;
    ApplicationObserver* observer = nullptr;

    // Runs one event (a click, a key, a timer tick, a continuation) with the
    // program's error handling: an error is shown in a message box and ends
    // the current action. When the outermost event is over, showings whose
    // result has been set close from the top.
    void runEvent(const std::function<void()>& event);
    // Runs after every outermost event, once its showings have closed: the
    // place to keep something in step with every change an event may make.
    // Returns a number for removeEventEndListener.
    int addEventEndListener(std::function<void()> listener);
    void removeEventEndListener(int id);

    // Plain message box titled with the application title.
    void showMessage(const std::string& text);

    // Key events from the front end, routed to the active screen; typed
    // characters then go to the screen's focused edit. keyDown returns the key
    // the screen's handlers leave for the controls (0 when they swallowed it).
    int keyDown(int key, Shift shift);
    void keyPress(char32_t key);

    // Screens in creation order.
    const std::vector<Screen*>& screens() const { return screens_; }
    // The modal showings, bottom first.
    std::vector<Screen*> modalStack() const;
    // The screen that receives input: the top modal showing, else the
    // screen shown last.
    Screen* activeScreen() const;

    // Ends the program: no screen becomes active any more.
    void terminate();
    bool terminated() const { return terminated_; }

  private:
    friend class Screen;
    struct Showing {
        Screen* screen;
        std::function<void(ModalResult)> then;
    };
    void registerScreen(Screen& screen);
    void unregisterScreen(Screen& screen);
    void pushShowing(Screen& screen, std::function<void(ModalResult)> then);
    void closeEndedShowings();
    // Runs one step of closing a showing; an error is shown and the next step runs.
    void runStep(const std::function<void()>& step);
    void reactivateTop();

    Clock& clock_;
    Dialogs& dialogs_;
    PictureSource& pictures_;
    SoundSystem& sounds_;
    NullAnswerRecorder noRecorder_;
    AnswerRecorder* recorder_ = &noRecorder_;
    std::vector<Screen*> screens_;
    std::vector<Showing> stack_;
    std::vector<std::pair<int, std::function<void()>>> eventEndListeners_;
    int nextListenerId_ = 0;
    Screen* lastShown_ = nullptr;
    int eventDepth_ = 0;
    bool closing_ = false;
    bool terminated_ = false;
};

}  // namespace zor::ui
