#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/keys.h"
#include "ui/modal_result.h"
#include "ui/timer.h"

namespace zor::ui {

class Application;

// How a fading screen fades: opacity rises from 0 by `step` up to `maximum`
// when it becomes active and falls from `maximum` to 0 when it is hidden.
struct FadeSettings {
    bool enabled = false;
    int step = 255;
    int maximum = 255;
};

// The fade settings of each kind of screen.
namespace fades {
inline constexpr FadeSettings SubjectEntry{true, 180, 255};
inline constexpr FadeSettings SubtestChoice{true, 180, 255};
inline constexpr FadeSettings Introduction{true, 250, 255};
inline constexpr FadeSettings TestScreen{true, 250, 255};
inline constexpr FadeSettings Finish{true, 250, 255};
inline constexpr FadeSettings AfterScreen{true, 230, 255};
inline constexpr FadeSettings Message{true, 190, 200};
inline constexpr FadeSettings ProgramInformation{true, 2, 230};
// The report preview and the stored-report viewer carry settings that are
// switched off.
inline constexpr FadeSettings ReportScreen{false, 70, 255};
}  // namespace fades

// The opacity levels of one fade, start and end included.
std::vector<int> fadeInLevels(const FadeSettings& fade);
std::vector<int> fadeOutLevels(const FadeSettings& fade);

// A screen of the program: a borderless window with its control models.
// Each screen is created once and lives as long as the program. Derived
// screens name their handlers after the screen's own events and hook them
// into the virtual functions below.
class Screen {
  public:
    Screen(Application& app, std::string name, Bounds bounds = {0, 0, 800, 600});
    virtual ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    Application& app() const { return app_; }
    const std::string& name() const { return name_; }
    const std::vector<Control*>& controls() const { return controls_; }

    // --- Window state -------------------------------------------------------
    std::string caption;
    Bounds bounds;
    std::uint32_t color = 0x000000;  // 0xRRGGBB behind the controls
    bool stayOnTop = false;
    bool fillsWorkArea = false;            // covers the desktop's work area instead of `bounds`
    bool transparentColorEnabled = false;  // aqua areas fully transparent
    FadeSettings fade;

    bool visible() const { return visible_; }
    // 0 (transparent) to 255; a screen that does not fade is opaque.
    int opacity() const { return fade.enabled ? opacity_ : 255; }

    // Shows the screen without a modal showing.
    void Show();
    // Hides the screen (fading out when it fades); a modal showing goes on.
    void Hide();
    // Shows the screen modally above the current one. `then` is the code
    // after the call: it runs with the result once the showing has closed.
    void ShowModal(std::function<void(ModalResult)> then = {});
    // Ends the modal showing with `result`; the showing closes when the
    // current event is over (a lower showing closes once those above it have).
    void setModalResult(ModalResult result);
    ModalResult modalResult() const { return modalResult_; }
    bool showingModally() const;
    // Closes the screen: ends its modal showing with Cancel, or hides it.
    void Close();
    // Whether user input reaches the screen: it is shown and no modal
    // showing lies above it (screens beneath a modal showing are disabled).
    bool receivesInput() const;
    // Draws the screen at once (while a handler still runs).
    void repaint();

    // --- Deferred step ------------------------------------------------------
    int LatencyState = 0;
    int PrevLatencyState = 0;
    // Which step the deferred step carries out; each screen gives the values
    // their meaning (a screen may name it after its own use, as a reference).
    int PendingAction = 0;
    Timer LatencyTimer;
    // Called by click handlers and by LatencyTimer: the first call arms the
    // step, the next call (the tick or a second click) carries it out.
    void Latency();

    // --- Keyboard (routed by the application to the active screen) -----------
    // The control with the keyboard focus; typed characters go to it when it
    // is an edit, after the screen's own onKeyPress has seen them.
    Control* ActiveControl = nullptr;
    virtual void onKeyDown(int& key, Shift shift);
    virtual void onKeyPress(char32_t& key);

  protected:
    // The step for the screen's pending-action code.
    virtual void LatencyStep() {}
    // Lifecycle hooks.
    virtual void onShow() {}
    virtual void onActivate() {}
    virtual void onHide() {}
    virtual void onClose() {}

  private:
    friend class Application;
    friend class Control;
    void registerControl(Control& control) { controls_.push_back(&control); }
    void setOpacity(int opacity);
    void becomeVisible();
    void activate();

    Application& app_;
    std::string name_;
    std::vector<Control*> controls_;
    bool visible_ = false;
    int opacity_ = 255;
    ModalResult modalResult_ = ModalResult::None;
};

}  // namespace zor::ui
