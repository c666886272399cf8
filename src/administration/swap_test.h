#pragma once

#include "administration/test_phase.h"
#include "ui/controls.h"

namespace zor::administration {

// The phoneme-swap test screen: twelve items of one prompt each; the
// stopwatch runs from the end of the prompt.
class TFVtfase : public TTestPhase {
  public:
    static constexpr int kItems = 12;

    TFVtfase(ui::Application& app, AdministrationLinks& links);

    ui::ImageButton ButtonItem{*this, "ButtonItem", {275, 134, 40, 40}};
    ui::Label Label1{*this, "Label1", {351, 139, 300, 30}};
    ui::Label Label4{*this, "Label4", {489, 326, 300, 32}};
    ui::Label Label2{*this, "Label2", {340, 325, 80, 30}, "Goed"};
    ui::Label Label3{*this, "Label3", {467, 325, 80, 30}, "Fout"};

    ui::SoundPlayer& MP2() { return player(); }

    void ItemClick();

  protected:
    ui::Label& timeLabel() override { return Label4; }
    ui::Label& rightLabel() override { return Label2; }
    ui::Label& wrongLabel() override { return Label3; }
    void resetPromptControls() override;
    void Timer1Timer() override;
    void ItemKeyPress() override;
    void keyClickSound() override;
    std::string& lastItemField() override;
    std::string lastItemText(int step) const override { return std::to_string(step); }
    record::StringGrid& scoreGrid() override;
    void offerNextStep() override;
    void hidePromptControls() override;
    void disablePromptControls() override;
    int phaseAfterMark() const override { return kStopped; }
    int finishedStatus() const override { return 3; }
    TIntroduction& introduction() override;
    ui::Screen& afterScreen() override;
    void interruptSteps() override {}
    void afterInterrupt() override {}
    void beforeFinishSave() override;

  private:
    void ZegTekst(int item);
};

}  // namespace zor::administration
