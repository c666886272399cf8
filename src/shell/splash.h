#pragma once

#include <filesystem>
#include <string>

#include "ui/screen.h"

namespace zor::shell {

// The splash screen shown while the program starts.
class TZORsplash : public ui::Screen {
  public:
    TZORsplash(ui::Application& app, std::filesystem::path pgmpath);

    ui::Picture Image1{*this, "Image1", {0, 0, 800, 600}};

  protected:
    void onShow() override;

  private:
    std::filesystem::path pgmpath_;
};

// The loading screen: a progress bar that runs to 100 and closes itself.
class TLoader : public ui::Screen {
  public:
    explicit TLoader(ui::Application& app);

    ui::Label Label1{*this, "Label1", {0, 240, 800, 50}, "Loading..."};
    ui::ProgressBar ProgressBar1{*this, "ProgressBar1", {200, 320, 400, 20}};
    ui::Timer Timer1;

    void Timer1Timer();

  protected:
    void onShow() override;
};

}  // namespace zor::shell
