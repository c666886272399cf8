#include "administration/administration_flow.h"

#include "administration/deletion_test.h"
#include "administration/introduction.h"
#include "administration/pictures.h"
#include "administration/subtest_choice.h"
#include "administration/swap_test.h"

namespace zor::administration {

void AdministrationFlow::ResetScreens() {
    links_.FWin->ResetIntro();
    links_.FVin->ResetIntro();
    links_.FWtfase->ResetTestScreen();
    links_.FVtfase->ResetTestScreen();
    links_.FWtfase->TimerPhase = TTestPhase::kIdle;
    links_.FVtfase->TimerPhase = TTestPhase::kIdle;
}

void AdministrationFlow::PrepareNewAdministration() {
    auto& record = links_.record();
    TFWtfase& deletion = *links_.FWtfase;
    deletion.IsSecondSubtest = false;
    deletion.StepCount = TFWtfase::kSteps;
    record.CurrentStepFW = 1;
    deletion.BtnA.enabled = true;
    TFVtfase& swap = *links_.FVtfase;
    swap.IsSecondSubtest = false;
    swap.StepCount = TFVtfase::kItems;
    record.CurrentStepFV = 1;
    swap.ButtonItem.enabled = true;
    swap.keyMode = KeyMode::Prompts;
    links_.FWin->Int1.enabled = true;
    links_.FVin->Int1.enabled = true;
}

void AdministrationFlow::StartChosenSubtest() {
    links_.FWtfase->TimerPhase = TTestPhase::kIdle;
    links_.FVtfase->TimerPhase = TTestPhase::kIdle;
    if (links_.ZORkeuze->ChosenSubtest == TZORkeuze::kSwap) {
        links_.FVin->ShowModal();
    } else {
        links_.FWin->ShowModal();
    }
}

void AdministrationFlow::PrepareContinue() {
    for (TIntroduction* intro :
         {static_cast<TIntroduction*>(links_.FWin), static_cast<TIntroduction*>(links_.FVin)}) {
        intro->OfferResume();
        intro->ButtonOT.enabled = true;
        SetButtonPicture(intro->ButtonOT, links_, "BtnOToff.gif");
    }
    links_.FWtfase->BtnA.enabled = true;
    links_.FWtfase->TimerPhase = TTestPhase::kIdle;
    links_.FVtfase->ButtonItem.enabled = true;
    links_.FVtfase->keyMode = KeyMode::Prompts;
    links_.FVtfase->TimerPhase = TTestPhase::kIdle;
}

bool AdministrationFlow::ContinueAdministration() {
    auto& record = links_.record();
    switch (record.AfnameStatus) {
        case 1:
            links_.FVtfase->IsSecondSubtest = false;
            links_.FVin->ShowModal();
            return true;
        case 2:
            links_.FWtfase->IsSecondSubtest = false;
            links_.FWin->ShowModal();
            return true;
        case 3:
        case 5:
            links_.FWtfase->IsSecondSubtest = true;
            record.AfnameStatus = 5;
            links_.FWin->ShowModal();
            return true;
        case 4:
        case 6:
            links_.FVtfase->IsSecondSubtest = true;
            record.AfnameStatus = 6;
            links_.FVin->ShowModal();
            return true;
        default:
            return false;
    }
}

}  // namespace zor::administration
