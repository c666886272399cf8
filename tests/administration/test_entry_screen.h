#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "administration/administration_flow.h"
#include "administration/links.h"
#include "record/administration_record.h"
#include "shell/startup.h"
#include "ui/screen.h"
#include "ui/sound.h"

namespace zor::administration::testing {

// The subject-entry screen as far as an administration needs it, until the
// real one is built: it holds the record, saves it with the record's file
// functions and the shell's save notice, resets, starts and continues
// administrations through the flow, and resumes from an incomplete file
// when the main menu opens it in resume mode.
class TestEntryScreen : public ui::Screen, public EntryScreen {
  public:
    TestEntryScreen(ui::Application& app, shell::ShellScreens& shell, AdministrationLinks& links,
                    AdministrationFlow& flow);

    // EntryScreen
    ui::Screen& screen() override { return *this; }
    void ResetAfname() override;
    void PlaySaved() override;
    record::AdministrationRecord& record() override { return record_; }
    void Opslaan1Click(std::function<void()> then) override;
    void PlayClick() override;
    void OfferContinue() override { continueOffered = true; }

    // The start button after a valid entry of the given subject.
    void Start();
    // The continue button of an interrupted or resumed administration.
    // Returns whether an introduction opened.
    bool Continue();

    bool continueOffered = false;
    // AfnameStatus at every save that wrote files.
    std::vector<int> statusAtSaves;
    std::unique_ptr<ui::SoundPlayer> MPGeg;

  protected:
    void onShow() override;

  private:
    shell::ShellScreens& shell_;
    AdministrationLinks& links_;
    AdministrationFlow& flow_;
    record::AdministrationRecord record_;
};

}  // namespace zor::administration::testing
