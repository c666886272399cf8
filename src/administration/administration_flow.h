#pragma once

#include "administration/links.h"

namespace zor::administration {

// The steps of the subject-entry screen that concern the screens of an
// administration: its reset, starting a new administration and continuing
// an interrupted or resumed one.
class AdministrationFlow {
  public:
    explicit AdministrationFlow(AdministrationLinks& links) : links_(links) {}

    // Part of `ResetAfname`: both introductions and both test screens reset.
    void ResetScreens();
    // The start button, before the entry is checked: both subtests prepared
    // from their first step, neither as the second subtest.
    void PrepareNewAdministration();
    // The start button's deferred step after a valid entry: the chosen
    // subtest's introduction opens on top of the entry screen.
    void StartChosenSubtest();
    // The continue button (`KnContinClick`), its immediate steps: both
    // introductions offer resuming, both test screens their prompt.
    void PrepareContinue();
    // The continue button's deferred step: by `AfnameStatus`, the subtest
    // under way is prepared and its introduction opens on top. Returns false
    // when both subtests are finished and nothing opens.
    bool ContinueAdministration();

  private:
    AdministrationLinks& links_;
};

}  // namespace zor::administration
