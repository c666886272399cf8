#pragma once

#include <string>

#include "administration/links.h"
#include "ui/controls.h"
#include "ui/screen.h"

namespace zor::administration {

// The screen shown after a first subtest: it offers the other subtest ("Ja")
// or ends the administration ("Nee").
class TAfterScreen : public ui::Screen {
  public:
    ui::Picture Background{*this, "Background", {0, 0, 800, 600}};
    ui::Label Label3;
    ui::Label Label4{*this, "Label4", {0, 250, 800, 40}, "aansluitend afnemen?"};
    ui::ImageButton BtnYes{*this, "BtnYes", {300, 330, 40, 40}};
    ui::Label Label1{*this, "Label1", {350, 335, 60, 30}, "Ja"};
    ui::ImageButton BtnNo{*this, "BtnNo", {440, 330, 40, 40}};
    ui::Label Label2{*this, "Label2", {490, 335, 60, 30}, "Nee"};
    ui::ImageButton ButtonHM{*this, "ButtonHM", {134, 429, 209, 130}};
    ui::ImageButton ButtonTR{*this, "ButtonTR", {452, 429, 209, 130}};

    virtual void YesClick() = 0;
    virtual void NoClick() = 0;

  protected:
    TAfterScreen(ui::Application& app, AdministrationLinks& links, std::string name,
                 std::string question);
    void onShow() override;
    // The finish screen on top, reset, after the subtest's screens have gone.
    void openFinishScreen(ui::Screen& intro, ui::Screen& test);

    AdministrationLinks& links_;
};

// After phoneme deletion: offers phoneme swap.
class TFWaft : public TAfterScreen {
  public:
    TFWaft(ui::Application& app, AdministrationLinks& links);
    void YesClick() override;
    void NoClick() override;
};

// After phoneme swap: offers phoneme deletion.
class TFVaft : public TAfterScreen {
  public:
    TFVaft(ui::Application& app, AdministrationLinks& links);
    void YesClick() override;
    void NoClick() override;
};

}  // namespace zor::administration
