#pragma once

#include "administration/test_phase.h"
#include "ui/controls.h"

namespace zor::administration {

// The phoneme-deletion test screen: three examples and twelve items, each
// step with prompt A and prompt B; the stopwatch runs from the end of B.
class TFWtfase : public TTestPhase {
  public:
    static constexpr int kSteps = 15;
    // TimerPhase after a mark.
    static constexpr int kScored = 4;

    TFWtfase(ui::Application& app, AdministrationLinks& links);

    ui::ImageButton BtnA{*this, "BtnA", {269, 116, 40, 40}};
    ui::Label Label1{*this, "Label1", {331, 121, 300, 30}};
    ui::ImageButton BtnB{*this, "BtnB", {269, 158, 40, 40}};
    ui::Label Label2{*this, "Label2", {331, 162, 300, 30}};
    ui::Label Label5{*this, "Label5", {492, 330, 300, 32}};
    ui::Label Label4{*this, "Label4", {317, 335, 80, 30}, "Goed"};
    ui::Label Label3{*this, "Label3", {466, 335, 80, 30}, "Fout"};

    bool PromptAPlayed = false;

    ui::SoundPlayer& MP1() { return player(); }

    void BtnAClick();
    void BtnBClick();
    // "Zeg voorbeeld 2a", "Zeg item 1b".
    static std::string StepLabel(int step, PromptPart part);

  protected:
    ui::Label& timeLabel() override { return Label5; }
    ui::Label& rightLabel() override { return Label4; }
    ui::Label& wrongLabel() override { return Label3; }
    void resetPromptControls() override;
    void Timer1Timer() override;
    void ItemKeyPress() override;
    void keyClickSound() override;
    std::string& lastItemField() override;
    std::string lastItemText(int step) const override;
    record::StringGrid& scoreGrid() override;
    void offerNextStep() override;
    void hidePromptControls() override;
    void disablePromptControls() override;
    int phaseAfterMark() const override { return kScored; }
    int finishedStatus() const override { return 4; }
    TIntroduction& introduction() override;
    ui::Screen& afterScreen() override;
    void interruptSteps() override;
    void afterInterrupt() override;
    void beforeFinishSave() override {}

  private:
    void PlayStepPrompt(int step, PromptPart part);
    void showStepLabels();
};

}  // namespace zor::administration
