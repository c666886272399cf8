#pragma once
// What the subject-entry screen asks of the screens of the administration
// itself: the subtest choice, the two introductions and the two test screens.
// The test screens keep their step counters in the record (CurrentStepFW,
// CurrentStepFV); everything else of theirs is reached through this interface.
#include "record/data_line.h"

namespace zor::record {

class AdministrationScreens {
  public:
    virtual ~AdministrationScreens() = default;

    // The subtest the test leader chose first: 1 phoneme swap, 2 phoneme deletion.
    virtual int ChosenSubtest() const = 0;
    // Part of a new administration's reset: ResetIntro on both introductions,
    // ResetTestScreen on both test screens and their TimerPhase 0.
    virtual void ResetIntroductionsAndTests() = 0;
    // Before a start: both test screens not second subtest, their step counts
    // (15 and 12), their first prompt button and their introductions' first
    // item enabled.
    virtual void PrepareFreshRun() = 0;
    // Before continuing: the introductions' continue button red and their
    // interrupt button enabled ("BtnOToff.gif"); the deletion test's first
    // prompt button and the swap test's item button and item keys enabled;
    // TimerPhase 0 on both test screens.
    virtual void PrepareContinue() = 0;
    // TimerPhase 0 on both test screens.
    virtual void ClearTimerPhases() = 0;
    // Sets the subtest's IsSecondSubtest and shows its introduction modally.
    virtual void ShowIntroduction(Subtest subtest, bool isSecondSubtest) = 0;
};

}  // namespace zor::record
