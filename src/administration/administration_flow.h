#pragma once

#include "administration/links.h"
#include "record/administration_screens.h"

namespace zor::administration {

// What the subject-entry screen does with the screens of an administration:
// its reset, preparing a new or continued administration, and opening an
// introduction.
class AdministrationFlow : public record::AdministrationScreens {
  public:
    explicit AdministrationFlow(AdministrationLinks& links) : links_(links) {}

    int ChosenSubtest() const override;
    void ResetIntroductionsAndTests() override;
    void PrepareFreshRun() override;
    void PrepareContinue() override;
    void ClearTimerPhases() override;
    void ShowIntroduction(record::Subtest subtest, bool isSecondSubtest) override;

  private:
    AdministrationLinks& links_;
};

}  // namespace zor::administration
