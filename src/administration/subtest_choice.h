#pragma once

#include "administration/links.h"
#include "ui/controls.h"
#include "ui/screen.h"

namespace zor::administration {

// The choice of the first subtest of a new administration.
class TZORkeuze : public ui::Screen {
  public:
    // ChosenSubtest values.
    static constexpr int kSwap = 1;
    static constexpr int kDeletion = 2;

    TZORkeuze(ui::Application& app, AdministrationLinks& links);

    ui::Picture Background{*this, "Background", {0, 0, 800, 600}};
    ui::Picture Keuzetekst{*this, "Keuzetekst", {168, 134, 443, 190}};
    ui::ImageButton ButtonFV{*this, "ButtonFV", {452, 429, 209, 130}};
    ui::ImageButton ButtonFW{*this, "ButtonFW", {134, 429, 209, 130}};
    ui::ImageButton ButtonExit{*this, "ButtonExit", {744, 14, 40, 40}, "Ga terug"};

    int ChosenSubtest = 0;

    void ResetChoice();
    void FVExecute();
    void FWExecute();
    void PrevPage();

  protected:
    void onShow() override;
    void LatencyStep() override;

  private:
    void choose(int subtest, ui::ImageButton& button, const char* pressedPicture);

    AdministrationLinks& links_;
};

}  // namespace zor::administration
