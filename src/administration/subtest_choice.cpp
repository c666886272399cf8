#include "administration/subtest_choice.h"

#include "administration/pictures.h"

namespace zor::administration {

TZORkeuze::TZORkeuze(ui::Application& app, AdministrationLinks& links)
    : ui::Screen(app, "ZORkeuze"), links_(links) {
    fade = ui::fades::SubtestChoice;
    Background.stretch = true;
    Keuzetekst.transparent = true;
    ButtonFV.onClick = [this] { FVExecute(); };
    ButtonFW.onClick = [this] { FWExecute(); };
    ButtonExit.onClick = [this] { PrevPage(); };
}

void TZORkeuze::onShow() {
    fade.enabled = true;
    SetPicture(Background, links_, "ZORkeuze.jpg");
    SetPicture(Keuzetekst, links_, "Keuzetekst.gif");
    SetButtonPicture(ButtonExit, links_, "BtnBack.gif");
    ResetChoice();
}

void TZORkeuze::ResetChoice() {
    LatencyState = 0;
    SetButtonPicture(ButtonFV, links_, "BtnFVoff.gif");
    SetButtonPicture(ButtonFW, links_, "BtnFWoff.gif");
    ButtonFV.enabled = true;
    ButtonFW.enabled = true;
}

void TZORkeuze::choose(int subtest, ui::ImageButton& button, const char* pressedPicture) {
    ChosenSubtest = subtest;
    links_.record().AfnameStatus = subtest == kSwap ? 1 : 2;
    links_.main->ClickSound();
    SetButtonPicture(button, links_, pressedPicture);
    ButtonFV.enabled = false;
    ButtonFW.enabled = false;
    Latency();
}

void TZORkeuze::FVExecute() { choose(kSwap, ButtonFV, "BtnFVon.gif"); }

void TZORkeuze::FWExecute() { choose(kDeletion, ButtonFW, "BtnFWon.gif"); }

void TZORkeuze::LatencyStep() {
    ResetChoice();
    LatencyTimer.setEnabled(false);
    fade.enabled = false;
    // The choice's showing ends before the entry screen opens, so that
    // leaving the entry screen leads straight back to the main menu.
    setModalResult(ui::ModalResult::Cancel);
    Close();
    links_.entry->ShowModal();
}

void TZORkeuze::PrevPage() {
    links_.main->ClickSound();
    // A subtest clicked just before must not open the entry screen once the
    // test leader has gone back: the armed step is dropped.
    LatencyTimer.setEnabled(false);
    PrevLatencyState = 0;
    ResetChoice();
    links_.main->ZORMainInitialize();
    Close();
}

}  // namespace zor::administration
