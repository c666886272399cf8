#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "administration/links.h"
#include "administration/prompts.h"
#include "administration/stopwatch.h"
#include "ui/screen.h"
#include "ui/sound.h"
#include "ui/timer.h"

namespace zor::record {
class AnswerSession;
}

namespace zor::administration {

class TIntroduction;

// What the keys of a test screen do at the moment.
enum class KeyMode { Prompts, Stopwatch, Scoring };

// The part of a test screen the two subtests share: the stopwatch with its
// stop sequence, marking an answer, interrupting and finishing. A step is
// timed from the end of its (last) prompt until the test leader stops the
// stopwatch; the time and the mark go into the record's score grid.
class TTestPhase : public ui::Screen {
  public:
    // PendingAction values.
    static constexpr int kInterrupt = 1;
    static constexpr int kFinish = 2;
    // TimerPhase values.
    static constexpr int kIdle = 0;
    static constexpr int kPromptStarted = 1;
    static constexpr int kRunning = 2;
    static constexpr int kStopped = 3;

    ui::Picture Background{*this, "Background", {0, 0, 800, 600}};
    ui::RadioGroup RGscore{*this, "RGscore"};
    ui::ImageButton FoutBt;
    ui::ImageButton GoedBt;
    ui::ImageButton ButtonStptime;
    ui::ImageButton ButtonOT;
    ui::ImageButton ButtonFinish{*this, "ButtonFinish", {290, 429, 209, 130}};
    TYRChronometre Chrono;
    // The poll: runs for the screen's whole life, also while it is hidden.
    ui::Timer Timer1;

    int StepCount;
    int TimerPhase = kIdle;
    int PrevTimerPhase = kIdle;
    bool StepAdvanced = false;
    std::string TimeText;
    bool IsSecondSubtest = false;
    KeyMode keyMode = KeyMode::Prompts;
    std::filesystem::path audioFolder;

    // The step administered next (1-based), kept in the record, where the
    // data lines count the steps passed from it.
    int& CurrentStep();
    ui::SoundPlayer& player() { return *player_; }

    // The look both test screens give their labels: yellow bold step and mark
    // labels, and one larger white label that starts hidden.
    static void StyleLabels(std::initializer_list<ui::Label*> stepAndMarkLabels,
                            ui::Label& hiddenLabel);

    void StopTimerClick();
    void RGscoreClick();
    // The mouse marks: the entry screen's click sound, then the mark.
    void GoedBtClick();
    void FoutBtClick();
    void OnderbrekenClick();
    void voltooienClick();
    // Puts the screen back to the prompt of the current step: the stopwatch
    // idle, marking and finishing off, interrupting on offer.
    void ResetTestScreen();

    void onKeyPress(char32_t& key) override;

  protected:
    TTestPhase(ui::Application& app, AdministrationLinks& links, Subtest subtest, std::string name,
               std::string playerName, int stepCount, const ui::Bounds& stopBounds,
               const ui::Bounds& rightBounds, const ui::Bounds& wrongBounds,
               const ui::Bounds& interruptBounds);

    // The labels of the two subtests carry different names.
    virtual ui::Label& timeLabel() = 0;
    virtual ui::Label& rightLabel() = 0;
    virtual ui::Label& wrongLabel() = 0;

    // Puts the subtest's own prompt controls back for the current step.
    virtual void resetPromptControls() = 0;

    virtual void Timer1Timer() = 0;
    // Space in prompts mode.
    virtual void ItemKeyPress() = 0;
    // The scoring keys' click sound.
    virtual void keyClickSound() = 0;
    // The record's last-item field and its text for the current step.
    virtual std::string& lastItemField() = 0;
    virtual std::string lastItemText(int step) const = 0;
    virtual record::StringGrid& scoreGrid() = 0;
    // Offers the next step's prompt after a mark.
    virtual void offerNextStep() = 0;
    // Hides the prompt controls once the last step is marked.
    virtual void hidePromptControls() = 0;
    // Takes the prompt controls out of use while the screen is being left.
    virtual void disablePromptControls() = 0;
    virtual int phaseAfterMark() const = 0;
    virtual int finishedStatus() const = 0;
    virtual TIntroduction& introduction() = 0;
    virtual ui::Screen& afterScreen() = 0;
    virtual void interruptSteps() = 0;
    virtual void afterInterrupt() = 0;
    virtual void beforeFinishSave() = 0;

    void onShow() override;
    void onClose() override;
    void LatencyStep() override;

    // The poll's stopwatch part: starts it, shows the running time.
    void showRunningTime();
    // A timed prompt is about to start: a recording failure is told now,
    // before it; returns the prompt's start time.
    std::int64_t answerPromptComing();
    // The timed prompt of test item `item` (1-12) started at `startMs`: its
    // answer's take begins (after the play request, which it never delays).
    void answerPromptStarted(int item, std::int64_t startMs);
    void setScoringControls(bool on);
    // After the last step only finishing is offered.
    void offerFinish();

    AdministrationLinks& links_;
    Subtest subtest_;

  private:
    // The entry screen's recording of the answers, when there is an entry screen.
    record::AnswerSession* answers();
    void GoedFoutPress(char32_t key);
    void TimerKeyPress();
    void mark(int index);

    std::unique_ptr<ui::SoundPlayer> player_;
};

}  // namespace zor::administration
