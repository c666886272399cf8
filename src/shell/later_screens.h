#pragma once

namespace zor::ui {
class Screen;
}

namespace zor::shell {

// What the shell needs of the subject-entry screen `TZORinvoer`.
class SubjectEntry {
  public:
    virtual ~SubjectEntry() = default;
    virtual ui::Screen& screen() = 0;
    // Resets the administration record.
    virtual void ResetAfname() = 0;
    // Plays the save sound on the entry screen's own player.
    virtual void PlaySaved() = 0;
    // Offers to recover each administration a program left unsaved when it
    // ended unexpectedly; called once, when the main menu first shows.
    virtual void OfferRecovery() {}
};

// The screens of the other subsystems that the main screen opens, hides or
// closes. Filled in during start-up, in creation order; the main screen
// reaches them only when the test leader acts, by which time all exist.
struct LaterScreens {
    ui::Screen* FWin = nullptr;     // phoneme-deletion introduction
    ui::Screen* FWtfase = nullptr;  // phoneme-deletion test screen
    SubjectEntry* ZORinvoer = nullptr;
    ui::Screen* AfterFW = nullptr;   // screen after phoneme deletion
    ui::Screen* AfterFV = nullptr;   // screen after phoneme swap
    ui::Screen* Correct = nullptr;   // correction screen
    ui::Screen* FVtfase = nullptr;   // phoneme-swap test screen
    ui::Screen* FVin = nullptr;      // phoneme-swap introduction
    ui::Screen* Finish = nullptr;    // finish screen
    ui::Screen* PP = nullptr;        // report preview
    ui::Screen* TRO = nullptr;       // stored-report viewer `TTRO`
    ui::Screen* ZORkeuze = nullptr;  // subtest choice

    // Whether start-up has created them all.
    bool complete() const {
        return FWin && FWtfase && ZORinvoer && AfterFW && AfterFV && Correct && FVtfase && FVin &&
               Finish && PP && TRO && ZORkeuze;
    }
};

}  // namespace zor::shell
