#include "shell/about_box.h"

#include "folders/folders.h"

namespace zor::shell {

TAboutBox::TAboutBox(ui::Application& app, MainMenu& main)
    : ui::Screen(app, "AboutBox", {0, 0, 296, 247}), main_(main) {
    caption = "Programma-informatie";
    fade = ui::fades::ProgramInformation;
    color = 0xF0F0F0;
    ProgramIcon.stretch = true;
    ProductName.bold = true;
    OKButton.isDefault = true;
    OKButton.onClick = [this] { OKButtonClick(); };
}

void TAboutBox::onShow() { ProgramIcon.load(folders::graphicsFolder(main_.Pgmpath()) / "ZORlogo.jpg"); }

void TAboutBox::OKButtonClick() {
    main_.ClickSound();
    setModalResult(ui::ModalResult::OK);
}

}  // namespace zor::shell
