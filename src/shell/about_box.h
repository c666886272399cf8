#pragma once

#include "shell/main_menu.h"
#include "ui/screen.h"

namespace zor::shell {

// The program-information box.
class TAboutBox : public ui::Screen {
  public:
    TAboutBox(ui::Application& app, MainMenu& main);

    ui::Picture ProgramIcon{*this, "ProgramIcon", {16, 16, 64, 64}};
    ui::Label ProductName{*this, "ProductName", {96, 16, 184, 20}, "ZOR - afnameprogramma"};
    ui::Label Version{*this, "Version", {96, 40, 184, 16}, "Versie: 1.0.2.1"};
    ui::Label Copyright{*this, "Copyright", {16, 92, 264, 16}, "Alle rechten voorbehouden."};
    ui::Label Author1{*this, "Author1", {16, 116, 264, 16}, "Testinhoud: het ZOR-testteam"};
    ui::Label Author2{*this, "Author2", {16, 134, 264, 16}, "Normering: het ZOR-normeringsteam"};
    ui::Label Author3{*this, "Author3", {16, 152, 264, 16}, "Programmatuur: het ZOR-ontwikkelteam"};
    ui::Label Publisher{*this, "Publisher", {16, 176, 264, 16}, "Uitgave: Lomba"};
    ui::PushButton OKButton{*this, "OKButton", {111, 208, 75, 25}, "OK"};

    void OKButtonClick();

  protected:
    void onShow() override;

  private:
    MainMenu& main_;
};

}  // namespace zor::shell
