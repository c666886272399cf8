#pragma once

#include "shell/later_screens.h"
#include "shell/main_menu.h"
#include "ui/screen.h"

namespace zor::shell {

// The save notice: a slate-blue panel "DATA OPGESLAGEN" in the middle of a
// transparent screen; it closes itself one second after it is shown and
// plays the save sound as it closes.
class Tmessage : public ui::Screen {
  public:
    Tmessage(ui::Application& app, MainMenu& main, LaterScreens& later);

    ui::Picture Panel{*this, "Panel", {230, 220, 340, 160}};

  protected:
    void onShow() override;
    void LatencyStep() override;

  private:
    MainMenu& main_;
    LaterScreens& later_;
};

}  // namespace zor::shell
