#pragma once

#include <memory>
#include <vector>

#include "administration/administration_flow.h"
#include "administration/after_screens.h"
#include "administration/deletion_test.h"
#include "administration/finish_screen.h"
#include "administration/introduction.h"
#include "administration/links.h"
#include "administration/subtest_choice.h"
#include "administration/swap_test.h"
#include "record/subject_entry_screen.h"
#include "shell/startup.h"

namespace zor::administration {

// Creates the subject-entry screen and the screens of an administration in
// the program's start-up order and links them. The report and correction
// screens come from a derived builder, which also sets `links.preview`.
class AdministrationScreenBuilder : public shell::ScreenBuilder {
  public:
    explicit AdministrationScreenBuilder(ui::Application& app);

    AdministrationLinks links;
    AdministrationFlow flow{links};

    ui::Screen& createFWintro(shell::ShellScreens& shell) override;
    ui::Screen& createFWtest(shell::ShellScreens& shell) override;
    shell::SubjectEntry& createSubjectEntry(shell::ShellScreens& shell) override;
    ui::Screen& createAfterFW(shell::ShellScreens& shell) override;
    ui::Screen& createAfterFV(shell::ShellScreens& shell) override;
    ui::Screen& createFVtest(shell::ShellScreens& shell) override;
    ui::Screen& createFVintro(shell::ShellScreens& shell) override;
    ui::Screen& createFinish(shell::ShellScreens& shell) override;
    ui::Screen& createSubtestChoice(shell::ShellScreens& shell) override;

  private:
    template <class S>
    S& keep(std::unique_ptr<S> screen, S*& link) {
        link = screen.get();
        owned_.push_back(std::move(screen));
        return *link;
    }

    ui::Application& app_;
    std::vector<std::unique_ptr<ui::Screen>> owned_;
};

}  // namespace zor::administration
