#include "administration/test_phase.h"

#include <exception>

#include "administration/finish_screen.h"
#include "administration/introduction.h"
#include "administration/pictures.h"
#include "record/subject_entry_screen.h"
#include "ui/application.h"

namespace zor::administration {

void TTestPhase::StyleLabels(std::initializer_list<ui::Label*> stepAndMarkLabels,
                             ui::Label& hiddenLabel) {
    for (ui::Label* label : stepAndMarkLabels) {
        label->fontSize = 24;
        label->bold = true;
        label->color = 0xFFFF00;
        label->transparent = true;
    }
    hiddenLabel.fontSize = 27;
    hiddenLabel.color = 0xFFFFFF;
    hiddenLabel.transparent = true;
    hiddenLabel.visible = false;
}

TTestPhase::TTestPhase(ui::Application& app, AdministrationLinks& links, Subtest subtest,
                       std::string name, std::string playerName, int stepCount,
                       const ui::Bounds& stopBounds, const ui::Bounds& rightBounds,
                       const ui::Bounds& wrongBounds, const ui::Bounds& interruptBounds)
    : ui::Screen(app, std::move(name)),
      FoutBt{*this, "FoutBt", wrongBounds},
      GoedBt{*this, "GoedBt", rightBounds},
      ButtonStptime{*this, "ButtonStptime", stopBounds},
      ButtonOT{*this, "ButtonOT", interruptBounds},
      Chrono(app.clock()),
      Timer1(app.clock(), 100),
      StepCount(stepCount),
      links_(links),
      subtest_(subtest),
      player_(app.sounds().createPlayer(playerName)) {
    fade = ui::fades::TestScreen;
    Background.stretch = true;
    RGscore.visible = false;
    RGscore.items = {"Goed", "Fout"};
    RGscore.onClick = [this] { RGscoreClick(); };
    GoedBt.onClick = [this] { GoedBtClick(); };
    FoutBt.onClick = [this] { FoutBtClick(); };
    ButtonStptime.onClick = [this] { StopTimerClick(); };
    ButtonOT.onClick = [this] { OnderbrekenClick(); };
    ButtonFinish.onClick = [this] { voltooienClick(); };
    ButtonFinish.visible = false;
    Timer1.onTimer = [this] { Timer1Timer(); };
    Timer1.setEnabled(true);
}

int& TTestPhase::CurrentStep() {
    auto& record = links_.record();
    return subtest_ == Subtest::FW ? record.CurrentStepFW : record.CurrentStepFV;
}

void TTestPhase::onShow() {
    fade.enabled = true;
    SetPicture(Background, links_, subtest_ == Subtest::FW ? "FWtest.jpg" : "FVtest.jpg");
    SetButtonPicture(GoedBt, links_, "BtnGoed.gif");
    SetButtonPicture(FoutBt, links_, "BtnFout.gif");
    if (ButtonOT.fileName().empty()) SetButtonPicture(ButtonOT, links_, "BtnOToff.gif");
    audioFolder = SubtestAudioFolder(links_.main->Audiopath(), subtest_);
    ResetTestScreen();
}

void TTestPhase::onClose() { player_->close(); }

void TTestPhase::ResetTestScreen() {
    keyMode = KeyMode::Prompts;
    Timer1.setInterval(100);
    TimerPhase = kIdle;
    ButtonStptime.enabled = false;
    ButtonStptime.visible = true;
    SetButtonPicture(ButtonStptime, links_, "BtnTIMERoff.gif");
    SetButtonPicture(ButtonFinish, links_, "BtnFINred.gif");
    ButtonFinish.enabled = false;
    ButtonFinish.visible = false;
    ButtonOT.enabled = true;
    ButtonOT.visible = true;
    RGscore.enabled = false;
    setScoringControls(false);
    timeLabel().visible = false;
    resetPromptControls();
    // An administration resumed after its last step was stopped offers
    // finishing at once instead of a prompt that does not exist.
    if (CurrentStep() > StepCount) offerFinish();
}

void TTestPhase::setScoringControls(bool on) {
    GoedBt.enabled = on;
    GoedBt.visible = on;
    FoutBt.enabled = on;
    FoutBt.visible = on;
    rightLabel().enabled = on;
    rightLabel().visible = on;
    wrongLabel().enabled = on;
    wrongLabel().visible = on;
}

record::AnswerSession* TTestPhase::answers() {
    return links_.entry ? &links_.entry->Answers : nullptr;
}

std::int64_t TTestPhase::answerPromptComing() {
    if (auto* session = answers()) session->showFailure();
    return app().clock().nowMs();
}

void TTestPhase::answerPromptStarted(int item, std::int64_t startMs) {
    if (auto* session = answers()) session->promptStarted(subtest_, item, startMs);
}

void TTestPhase::showRunningTime() {
    if (!Chrono.ChronoOn) {
        Chrono.ChronoStart();
        // Where the stopwatch starts is where the recording marks the prompt's end.
        if (auto* session = answers()) session->promptEnded();
    }
    const std::string caption = RunningTimeCaption(Chrono.ChronoElapsed());
    ButtonStptime.enabled = true;
    SetButtonPicture(ButtonStptime, links_, "BtnSTPred.gif");
    keyMode = KeyMode::Stopwatch;
    timeLabel().visible = true;
    timeLabel().caption = caption;
}

void TTestPhase::StopTimerClick() {
    Chrono.ChronoStop();
    if (auto* session = answers()) session->stopClicked();
    // A stop sound that cannot be played must not undo the stop: the
    // sequence completes and the error is reported afterwards.
    std::exception_ptr soundError;
    try {
        PlayTestSound(*player_, links_.main->Audiopath() / kStopSound);
    } catch (...) {
        soundError = std::current_exception();
    }
    TimeText = StoredTimeText(Chrono.ChronoElapsed());
    TimerPhase = kStopped;
    SetButtonPicture(ButtonStptime, links_, "BtnTGon.gif");
    RGscore.enabled = true;
    setScoringControls(true);
    keyMode = KeyMode::Scoring;
    ButtonOT.enabled = false;
    timeLabel().visible = false;
    // A second stop within the same step (a double click before the next
    // poll disables the button) records nothing new.
    if (!StepAdvanced) {
        lastItemField() = lastItemText(CurrentStep());
        ++CurrentStep();
        StepAdvanced = true;
    }
    if (soundError) std::rethrow_exception(soundError);
}

void TTestPhase::GoedBtClick() {
    links_.entry->PlayClick();
    mark(0);
}

void TTestPhase::FoutBtClick() {
    links_.entry->PlayClick();
    mark(1);
}

void TTestPhase::mark(int index) {
    RGscore.itemIndex = index;
    RGscoreClick();
}

void TTestPhase::RGscoreClick() {
    if (RGscore.itemIndex < 0) return;
    ButtonOT.enabled = true;
    RGscore.visible = false;
    RGscore.enabled = false;
    setScoringControls(false);
    const int row = CurrentStep() - 2;
    scoreGrid().SetCell(record::AdministrationRecord::kTimeColumn, row, TimeText);
    scoreGrid().SetCell(record::AdministrationRecord::kMarkColumn, row,
                        RGscore.itemIndex == 0 ? "1" : "0");
    if (CurrentStep() > StepCount) {
        offerFinish();
    } else {
        offerNextStep();
        keyMode = KeyMode::Prompts;
        SetButtonPicture(ButtonStptime, links_, "BtnTIMERoff.gif");
    }
    TimerPhase = phaseAfterMark();
}

void TTestPhase::offerFinish() {
    hidePromptControls();
    ButtonStptime.visible = false;
    ButtonOT.enabled = false;
    ButtonOT.visible = false;
    ButtonFinish.enabled = true;
    ButtonFinish.visible = true;
    // Nothing is left to mark: the keys no longer reach the grid.
    keyMode = KeyMode::Prompts;
}

void TTestPhase::onKeyPress(char32_t& key) {
    switch (keyMode) {
        case KeyMode::Prompts:
            if (key == U' ') ItemKeyPress();
            break;
        case KeyMode::Stopwatch:
            if (key == U' ') TimerKeyPress();
            break;
        case KeyMode::Scoring:
            GoedFoutPress(key);
            break;
    }
}

void TTestPhase::TimerKeyPress() {
    if (ButtonStptime.enabled && ButtonStptime.visible) StopTimerClick();
}

void TTestPhase::GoedFoutPress(char32_t key) {
    if (key != U'g' && key != U'f') return;
    keyClickSound();
    mark(key == U'g' ? 0 : 1);
}

void TTestPhase::OnderbrekenClick() {
    PendingAction = kInterrupt;
    links_.main->ClickSound();
    SetButtonPicture(ButtonOT, links_, "BtnOTon.gif");
    ButtonOT.enabled = false;
    // No prompt may start during the delay: the screen closes under it, and
    // a prompt that ended on the hidden screen would start the stopwatch,
    // whose stale run the next step's time would then include.
    disablePromptControls();
    Latency();
    TIntroduction& intro = introduction();
    intro.NotInterrupted = false;
    intro.ButtonOT.enabled = true;
    intro.ButtonIO.enabled = true;
    intro.OfferResume();
    interruptSteps();
    links_.OfferContinue();
}

void TTestPhase::voltooienClick() {
    PendingAction = kFinish;
    links_.main->ClickSound();
    SetButtonPicture(ButtonFinish, links_, "BtnFINon.gif");
    auto& record = links_.record();
    if (record.AfnameStatus < 5) record.AfnameStatus = finishedStatus();
    if (auto* session = answers()) session->showFailure();
    Latency();
}

void TTestPhase::LatencyStep() {
    if (PendingAction == kInterrupt) {
        player_->close();
        setModalResult(ui::ModalResult::Cancel);
        afterInterrupt();
    } else if (PendingAction == kFinish) {
        SetButtonPicture(ButtonFinish, links_, "BtnFINoff.gif");
        beforeFinishSave();
        player_->close();
        links_.Opslaan1Click([this] {
            if (IsSecondSubtest) {
                links_.Finish->ShowModal();
            } else {
                afterScreen().ShowModal();
            }
        });
    }
}

}  // namespace zor::administration
