#pragma once

#include <functional>

#include "ui/screen.h"

namespace zor::shell {

class TZORMAINForm;

// The black backdrop under every screen. When it first becomes active it
// shows the main screen modally; when that showing ends it closes the main
// screen, which ends the program.
class TBackblack : public ui::Screen {
  public:
    TBackblack(ui::Application& app, TZORMAINForm& main);

    // Runs once the main screen has been closed; the program then ends.
    std::function<void()> onMainClosed;

  protected:
    void onActivate() override;

  private:
    TZORMAINForm& main_;
    bool mainShown_ = false;
};

}  // namespace zor::shell
