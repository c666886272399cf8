#include "administration/finish_screen.h"

#include "administration/after_screens.h"
#include "administration/deletion_test.h"
#include "administration/introduction.h"
#include "administration/pictures.h"
#include "administration/subtest_choice.h"
#include "administration/swap_test.h"

namespace zor::administration {

namespace {
// Ends the screen's modal showing, or hides it when it shows none.
void EndShowing(ui::Screen& screen) {
    screen.setModalResult(ui::ModalResult::Cancel);
    screen.Close();
}
}  // namespace

TZORfinish::TZORfinish(ui::Application& app, AdministrationLinks& links)
    : ui::Screen(app, "ZORfinish"), links_(links) {
    fade = ui::fades::Finish;
    Background.stretch = true;
    Label1.fontSize = 37;
    Label1.color = 0xFFFFFF;
    Label1.transparent = true;
    Label1.alignment = ui::Label::Alignment::Center;
    for (ui::Label* label : {&Label2, &Label4}) {
        label->fontSize = 21;
        label->color = 0xFFFF00;
        label->transparent = true;
        label->alignment = ui::Label::Alignment::Center;
    }
    ButtonTR.onClick = [this] { AfdrukkenClick(); };
    ButtonHM.onClick = [this] { HMclick(); };
    ButtonExit.onClick = [this] { Exitclick(); };
}

void TZORfinish::onShow() {
    fade.enabled = true;
    SetPicture(Background, links_, "ZORfinish.jpg");
    SetButtonPicture(ButtonExit, links_, "BtnExit.gif");
    ResetFinish();
}

void TZORfinish::ResetFinish() {
    LatencyState = 0;
    ButtonHM.enabled = false;
    SetButtonPicture(ButtonHM, links_, "BtnHMoff.gif");
    ButtonTR.enabled = true;
    SetButtonPicture(ButtonTR, links_, "BtnTRoff.gif");
    ButtonExit.visible = false;
    Label1.caption = "TESTFASE COMPLEET";
    Label2.caption = "Klik op 'TESTRAPPORT' voor een resultatenoverzicht.";
    Label4.visible = false;
}

void TZORfinish::ReportOpened() {
    SetButtonPicture(ButtonTR, links_, "BtnTRoff.gif");
    Label1.caption = "KLAAR!";
    Label2.caption = "Kies 'TESTRAPPORT' om een rapport te printen.";
    Label4.visible = true;
}

void TZORfinish::AfdrukkenClick() {
    links_.main->ClickSound();
    links_.FWtfase->Hide();
    links_.FVtfase->Hide();
    auto& record = links_.record();
    if (record.AfnameStatus > 4) record.AfnameStatus = 7;
    ButtonHM.enabled = false;
    SetButtonPicture(ButtonTR, links_, "BtnTRon.gif");
    ReportOpened();
    // Whatever happens inside the preview, the way home opens when it returns.
    auto previewReturned = [this](ui::ModalResult) {
        ButtonHM.enabled = true;
        ButtonExit.visible = true;
    };
    try {
        links_.preview->screen().ShowModal(previewReturned);
    } catch (...) {
        previewReturned(ui::ModalResult::Cancel);
        throw;
    }
}

void TZORfinish::HMclick() {
    PendingAction = kHome;
    links_.main->ClickSound();
    ButtonTR.enabled = false;
    SetButtonPicture(ButtonHM, links_, "BtnHMon.gif");
    links_.preview->Recreate();
    Latency();
}

void TZORfinish::LatencyStep() {
    if (PendingAction != kHome) return;
    for (ui::Screen* screen :
         {static_cast<ui::Screen*>(links_.FWtfase), static_cast<ui::Screen*>(links_.FVtfase),
          static_cast<ui::Screen*>(links_.FWin), static_cast<ui::Screen*>(links_.FVin)})
        EndShowing(*screen);
    for (ui::Screen* screen :
         {static_cast<ui::Screen*>(links_.FWaft), static_cast<ui::Screen*>(links_.FVaft)}) {
        screen->setModalResult(ui::ModalResult::Cancel);
        screen->Hide();
        screen->Close();
    }
    EndShowing(*links_.entry);
    links_.main->ZORMainInitialize();
    setModalResult(ui::ModalResult::Cancel);
    ResetFinish();
    Close();
}

void TZORfinish::Exitclick() {
    for (ui::Screen* screen :
         {static_cast<ui::Screen*>(links_.FWaft), static_cast<ui::Screen*>(links_.FVaft),
          static_cast<ui::Screen*>(links_.FWin), static_cast<ui::Screen*>(links_.FVin),
          static_cast<ui::Screen*>(links_.entry), static_cast<ui::Screen*>(links_.ZORkeuze)})
        screen->Hide();
    links_.main->Exit1Click();
}

}  // namespace zor::administration
