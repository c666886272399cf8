#pragma once

#include "administration/links.h"
#include "ui/controls.h"
#include "ui/screen.h"

namespace zor::administration {

// The end of an administration: the report button opens the report
// preview; the home button, once the preview has been closed, unwinds the
// whole screen stack to the main menu.
class TZORfinish : public ui::Screen {
  public:
    static constexpr int kHome = 1;  // PendingAction

    TZORfinish(ui::Application& app, AdministrationLinks& links);

    ui::Picture Background{*this, "Background", {0, 0, 800, 600}};
    ui::Label Label1{*this, "Label1", {0, 200, 800, 45}};
    ui::Label Label2{*this, "Label2", {0, 270, 800, 30}};
    ui::Label Label4{*this, "Label4", {0, 305, 800, 30}, "of keer terug naar het hoofdmenu."};
    ui::ImageButton ButtonHM{*this, "ButtonHM", {134, 429, 209, 130}};
    ui::ImageButton ButtonTR{*this, "ButtonTR", {452, 429, 209, 130}};
    ui::ImageButton ButtonExit{*this, "ButtonExit", {744, 14, 40, 40}, "Programma sluiten"};

    void ResetFinish();
    void ReportOpened();
    void AfdrukkenClick();
    void HMclick();
    void Exitclick();

  protected:
    void onShow() override;
    void LatencyStep() override;

  private:
    AdministrationLinks& links_;
};

}  // namespace zor::administration
