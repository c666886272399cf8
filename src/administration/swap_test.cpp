#include "administration/swap_test.h"

#include "administration/after_screens.h"
#include "administration/introduction.h"
#include "administration/pictures.h"

namespace zor::administration {

TFVtfase::TFVtfase(ui::Application& app, AdministrationLinks& links)
    : TTestPhase(app, links, Subtest::FV, "FVtfase", "MP2", kItems, {300, 197, 191, 108},
                 {292, 320, 40, 40}, {419, 320, 40, 40}, {290, 428, 209, 130}) {
    StyleLabels({&Label1, &Label2, &Label3}, Label4);
    ButtonItem.onClick = [this] { ItemClick(); };
    Label1.onClick = [this] { ItemClick(); };
    Label2.onClick = [this] { GoedBtClick(); };
    Label3.onClick = [this] { FoutBtClick(); };
}

void TFVtfase::resetPromptControls() {
    Label1.caption = "Zeg item " + std::to_string(CurrentStep());
    SetButtonPicture(ButtonItem, links_, kSpeakerOff);
    ButtonItem.enabled = true;
    ButtonItem.visible = true;
    Label1.enabled = true;
    Label1.visible = true;
}

void TFVtfase::ZegTekst(int item) {
    PlayTestSound(player(), audioFolder / SwapPromptFile(item));
    TimerPhase = kPromptStarted;
}

void TFVtfase::ItemClick() {
    links_.main->ClickSound();
    const std::int64_t promptStartMs = answerPromptComing();
    // A failure leaves the item on offer: nothing below has happened yet.
    ZegTekst(CurrentStep());
    answerPromptStarted(CurrentStep(), promptStartMs);
    RGscore.itemIndex = -1;
    RGscore.enabled = false;
    ButtonOT.enabled = false;
    StepAdvanced = false;
}

void TFVtfase::Timer1Timer() {
    if (MP2().mode() == ui::PlayerMode::Stopped) {
        if (PrevTimerPhase == kPromptStarted) TimerPhase = kRunning;
        PrevTimerPhase = TimerPhase;
    }
    switch (TimerPhase) {
        case kPromptStarted:
            ButtonItem.enabled = false;
            Label1.enabled = false;
            SetButtonPicture(ButtonItem, links_, kSpeakerOn);
            break;
        case kRunning:
            showRunningTime();
            SetButtonPicture(ButtonItem, links_, kSpeakerOff);
            break;
        case kStopped:
            ButtonStptime.enabled = false;
            break;
        default:
            break;
    }
}

void TFVtfase::ItemKeyPress() {
    if (ButtonItem.enabled && ButtonItem.visible) ItemClick();
}

void TFVtfase::keyClickSound() { links_.entry->PlayClick(); }

std::string& TFVtfase::lastItemField() { return links_.record().ELaatsteFV; }

record::StringGrid& TFVtfase::scoreGrid() { return links_.record().SGRscoreFV; }

void TFVtfase::offerNextStep() {
    Label1.caption = "Zeg item " + std::to_string(CurrentStep());
    ButtonItem.enabled = true;
    Label1.enabled = true;
}

void TFVtfase::hidePromptControls() {
    ButtonItem.enabled = false;
    ButtonItem.visible = false;
    Label1.visible = false;
}

void TFVtfase::disablePromptControls() {
    ButtonItem.enabled = false;
    Label1.enabled = false;
}

TIntroduction& TFVtfase::introduction() { return *links_.FVin; }

ui::Screen& TFVtfase::afterScreen() { return *links_.FVaft; }

void TFVtfase::beforeFinishSave() {
    // The administration ends with this subtest's after-screen or the
    // finish screen: the entry screen closes when control unwinds to it.
    links_.entry->setModalResult(ui::ModalResult::Cancel);
}

}  // namespace zor::administration
