#include "administration/after_screens.h"

#include "administration/deletion_test.h"
#include "administration/finish_screen.h"
#include "administration/introduction.h"
#include "administration/pictures.h"
#include "administration/swap_test.h"

namespace zor::administration {

namespace {
// Hides a screen and ends its showing.
void HideAndClose(ui::Screen& screen) {
    screen.Hide();
    screen.Close();
}
}  // namespace

TAfterScreen::TAfterScreen(ui::Application& app, AdministrationLinks& links, std::string name,
                           std::string question)
    : ui::Screen(app, std::move(name)),
      Label3{*this, "Label3", {0, 205, 800, 40}, std::move(question)},
      links_(links) {
    fade = ui::fades::AfterScreen;
    Background.stretch = true;
    for (ui::Label* label : {&Label3, &Label4}) {
        label->fontSize = 27;
        label->color = 0xFFFF00;
        label->transparent = true;
        label->alignment = ui::Label::Alignment::Center;
    }
    for (ui::Label* label : {&Label1, &Label2}) {
        label->fontSize = 24;
        label->bold = true;
        label->color = 0xFFFF00;
        label->transparent = true;
    }
    ButtonHM.enabled = false;
    ButtonTR.enabled = false;
    BtnYes.onClick = [this] { YesClick(); };
    Label1.onClick = [this] { YesClick(); };
    BtnNo.onClick = [this] { NoClick(); };
    Label2.onClick = [this] { NoClick(); };
}

void TAfterScreen::onShow() {
    fade.enabled = true;
    SetPicture(Background, links_, "ZORvervolg.jpg");
    SetButtonPicture(BtnYes, links_, "BtnGoed.gif");
    SetButtonPicture(BtnNo, links_, "BtnFout.gif");
    SetButtonPicture(ButtonHM, links_, "BtnHMoff.gif");
    SetButtonPicture(ButtonTR, links_, "BtnTRoff.gif");
}

void TAfterScreen::openFinishScreen(ui::Screen& intro, ui::Screen& test) {
    HideAndClose(intro);
    test.Hide();
    links_.Finish->ResetFinish();
    test.Close();
    links_.Finish->Hide();
    links_.Finish->ShowModal();
}

TFWaft::TFWaft(ui::Application& app, AdministrationLinks& links)
    : TAfterScreen(app, links, "FWaft", "Wilt u de deeltest 'FONEEMVERWISSELING'") {}

void TFWaft::YesClick() {
    links_.main->ClickSound();
    links_.record().AfnameStatus = 6;
    TFVtfase& swap = *links_.FVtfase;
    swap.StepCount = TFVtfase::kItems;
    links_.record().CurrentStepFV = 1;
    swap.IsSecondSubtest = true;
    setModalResult(ui::ModalResult::Cancel);
    links_.FWin->setModalResult(ui::ModalResult::Cancel);
    HideAndClose(*links_.FWin);
    HideAndClose(*links_.FWtfase);
    links_.FVin->ShowModal([this](ui::ModalResult) {
        HideAndClose(*this);
        links_.FVtfase->ButtonItem.enabled = true;
        links_.FVin->Int1.enabled = true;
    });
}

void TFWaft::NoClick() {
    links_.main->ClickSound();
    links_.record().AfnameStatus = 4;
    links_.Opslaan1Click([this] { openFinishScreen(*links_.FWin, *links_.FWtfase); });
}

TFVaft::TFVaft(ui::Application& app, AdministrationLinks& links)
    : TAfterScreen(app, links, "FVaft", "Wilt u de deeltest 'FONEEMWEGLATING'") {}

void TFVaft::YesClick() {
    links_.record().AfnameStatus = 5;
    links_.main->ClickSound();
    TFWtfase& deletion = *links_.FWtfase;
    deletion.StepCount = TFWtfase::kSteps;
    links_.record().CurrentStepFW = 1;
    deletion.IsSecondSubtest = true;
    setModalResult(ui::ModalResult::Cancel);
    HideAndClose(*links_.FVin);
    HideAndClose(*links_.FVtfase);
    links_.FWin->ShowModal([this](ui::ModalResult) {
        HideAndClose(*this);
        links_.FWtfase->BtnA.enabled = true;
        links_.FWin->Int1.enabled = true;
    });
}

void TFVaft::NoClick() {
    links_.main->ClickSound();
    // The administration was saved when the swap test finished, with this
    // same status: nothing new to save.
    links_.record().AfnameStatus = 3;
    openFinishScreen(*links_.FVin, *links_.FVtfase);
}

}  // namespace zor::administration
