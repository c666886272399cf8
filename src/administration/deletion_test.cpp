#include "administration/deletion_test.h"

#include "administration/after_screens.h"
#include "administration/introduction.h"
#include "administration/pictures.h"

namespace zor::administration {

TFWtfase::TFWtfase(ui::Application& app, AdministrationLinks& links)
    : TTestPhase(app, links, Subtest::FW, "FWtfase", "MP1", kSteps, {300, 212, 191, 108},
                 {269, 330, 40, 40}, {418, 330, 40, 40}, {290, 429, 209, 130}) {
    StyleLabels({&Label1, &Label2, &Label3, &Label4}, Label5);
    BtnA.onClick = [this] { BtnAClick(); };
    Label1.onClick = [this] { BtnAClick(); };
    BtnB.onClick = [this] { BtnBClick(); };
    Label2.onClick = [this] { BtnBClick(); };
    Label4.onClick = [this] { GoedBtClick(); };
    Label3.onClick = [this] { FoutBtClick(); };
}

std::string TFWtfase::StepLabel(int step, PromptPart part) {
    const std::string suffix = part == PromptPart::A ? "a" : "b";
    if (step <= 3) return "Zeg voorbeeld " + std::to_string(step) + suffix;
    return "Zeg item " + std::to_string(step - 3) + suffix;
}

void TFWtfase::showStepLabels() {
    Label1.caption = StepLabel(CurrentStep(), PromptPart::A);
    Label2.caption = StepLabel(CurrentStep(), PromptPart::B);
}

void TFWtfase::resetPromptControls() {
    if (CurrentStep() <= StepCount) showStepLabels();
    SetButtonPicture(BtnA, links_, kSpeakerOff);
    SetButtonPicture(BtnB, links_, kSpeakerOff);
    BtnA.enabled = true;
    BtnA.visible = true;
    BtnB.enabled = false;
    BtnB.visible = true;
    RGscore.visible = false;
    Label1.visible = true;
    Label1.enabled = true;
    Label2.visible = true;
    Label2.enabled = false;
}

void TFWtfase::PlayStepPrompt(int step, PromptPart part) {
    PlayTestSound(player(), audioFolder / DeletionPromptFile(step, part));
    if (part == PromptPart::B) TimerPhase = kPromptStarted;
}

void TFWtfase::BtnAClick() {
    SetButtonPicture(BtnA, links_, kSpeakerOn);
    Label1.enabled = false;
    links_.main->ClickSound();
    try {
        PlayStepPrompt(CurrentStep(), PromptPart::A);
    } catch (...) {
        // The prompt cannot sound: prompt A stays on offer.
        SetButtonPicture(BtnA, links_, kSpeakerOff);
        Label1.enabled = true;
        throw;
    }
    for (ui::Control* c :
         {static_cast<ui::Control*>(&BtnA), static_cast<ui::Control*>(&BtnB),
          static_cast<ui::Control*>(&Label1), static_cast<ui::Control*>(&Label2),
          static_cast<ui::Control*>(&ButtonOT), static_cast<ui::Control*>(&RGscore)})
        c->enabled = false;
    StepAdvanced = false;
    PromptAPlayed = true;
}

void TFWtfase::BtnBClick() {
    links_.main->ClickSound();
    const std::int64_t promptStartMs = answerPromptComing();
    // A failure leaves prompt B on offer: nothing below has happened yet.
    PlayStepPrompt(CurrentStep(), PromptPart::B);
    // The examples are not recorded: only items are marked again at correction.
    if (CurrentStep() > 3) answerPromptStarted(CurrentStep() - 3, promptStartMs);
    RGscore.itemIndex = -1;
    ButtonOT.enabled = false;
    BtnA.enabled = false;
    BtnB.enabled = false;
    Label1.enabled = false;
    Label2.enabled = false;
}

void TFWtfase::Timer1Timer() {
    if (MP1().mode() == ui::PlayerMode::Stopped) {
        if (PrevTimerPhase == kPromptStarted) TimerPhase = kRunning;
        PrevTimerPhase = TimerPhase;
        SetButtonPicture(BtnA, links_, kSpeakerOff);
        if (PromptAPlayed) {
            BtnB.enabled = true;
            Label2.enabled = true;
            keyMode = KeyMode::Prompts;
        }
    }
    switch (TimerPhase) {
        case kPromptStarted:
            BtnB.enabled = false;
            Label2.enabled = false;
            SetButtonPicture(BtnB, links_, kSpeakerOn);
            PromptAPlayed = false;
            break;
        case kRunning:
            showRunningTime();
            MP1().close();
            SetButtonPicture(BtnB, links_, kSpeakerOff);
            BtnB.enabled = false;
            Label2.enabled = false;
            break;
        case kStopped:
            ButtonStptime.enabled = false;
            break;
        default:
            break;
    }
}

void TFWtfase::ItemKeyPress() {
    if (BtnA.enabled && BtnA.visible) {
        BtnAClick();
    }
    if (BtnB.enabled && BtnB.visible) BtnBClick();
}

void TFWtfase::keyClickSound() { links_.main->ClickSound(); }

std::string& TFWtfase::lastItemField() { return links_.record().ElaatsteFW; }

std::string TFWtfase::lastItemText(int step) const {
    return step > 3 ? std::to_string(step) : "vb" + std::to_string(step);
}

record::StringGrid& TFWtfase::scoreGrid() { return links_.record().SGRscoreFW; }

void TFWtfase::offerNextStep() {
    showStepLabels();
    BtnA.enabled = true;
    Label1.enabled = true;
    BtnB.enabled = false;
    Label2.enabled = false;
}

void TFWtfase::hidePromptControls() {
    BtnA.enabled = false;
    BtnA.visible = false;
    BtnB.enabled = false;
    BtnB.visible = false;
    Label1.visible = false;
    Label2.visible = false;
}

void TFWtfase::disablePromptControls() {
    BtnA.enabled = false;
    Label1.enabled = false;
    BtnB.enabled = false;
    Label2.enabled = false;
}

TIntroduction& TFWtfase::introduction() { return *links_.FWin; }

ui::Screen& TFWtfase::afterScreen() { return *links_.FWaft; }

void TFWtfase::interruptSteps() { SetButtonPicture(links_.FWin->ButtonOT, links_, "BtnOToff.gif"); }

void TFWtfase::afterInterrupt() {
    SetButtonPicture(ButtonOT, links_, "BtnOToff.gif");
    ButtonOT.enabled = true;
}

}  // namespace zor::administration
