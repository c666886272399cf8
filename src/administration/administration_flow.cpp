#include "administration/administration_flow.h"

#include "administration/deletion_test.h"
#include "administration/introduction.h"
#include "administration/pictures.h"
#include "administration/subtest_choice.h"
#include "administration/swap_test.h"

namespace zor::administration {

int AdministrationFlow::ChosenSubtest() const { return links_.ZORkeuze->ChosenSubtest; }

void AdministrationFlow::ResetIntroductionsAndTests() {
    links_.FWin->ResetIntro();
    links_.FVin->ResetIntro();
    links_.FWtfase->ResetTestScreen();
    links_.FVtfase->ResetTestScreen();
    ClearTimerPhases();
}

void AdministrationFlow::PrepareFreshRun() {
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

void AdministrationFlow::PrepareContinue() {
    for (TIntroduction* intro :
         {static_cast<TIntroduction*>(links_.FWin), static_cast<TIntroduction*>(links_.FVin)}) {
        intro->OfferResume();
        intro->ButtonOT.enabled = true;
        SetButtonPicture(intro->ButtonOT, links_, "BtnOToff.gif");
    }
    links_.FWtfase->BtnA.enabled = true;
    links_.FVtfase->ButtonItem.enabled = true;
    links_.FVtfase->keyMode = KeyMode::Prompts;
    ClearTimerPhases();
}

void AdministrationFlow::ClearTimerPhases() {
    links_.FWtfase->TimerPhase = TTestPhase::kIdle;
    links_.FVtfase->TimerPhase = TTestPhase::kIdle;
}

void AdministrationFlow::ShowIntroduction(record::Subtest subtest, bool isSecondSubtest) {
    if (subtest == record::Subtest::FW) {
        links_.FWtfase->IsSecondSubtest = isSecondSubtest;
        links_.FWin->ShowModal();
    } else {
        links_.FVtfase->IsSecondSubtest = isSecondSubtest;
        links_.FVin->ShowModal();
    }
}

}  // namespace zor::administration
