#pragma once

#include <memory>
#include <string>
#include <vector>

#include "shell/startup.h"
#include "ui/screen.h"
#include "ui/sound.h"

namespace zor::shell::testing {

// The subject-entry screen as the shell reaches it: it counts the resets
// and plays the save sound on its own player, as the save notice needs.
class StandInSubjectEntry : public ui::Screen, public SubjectEntry {
  public:
    StandInSubjectEntry(ui::Application& app, MainMenu& main);

    std::unique_ptr<ui::SoundPlayer> MPGeg;
    int resetCount = 0;

    ui::Screen& screen() override { return *this; }
    void ResetAfname() override { ++resetCount; }
    void PlaySaved() override;

  private:
    MainMenu& main_;
};

// Creates a bare, named screen for every screen of the other subsystems,
// so the shell's start-up, menus and exit run on their own.
class StandInScreenBuilder : public ScreenBuilder {
  public:
    explicit StandInScreenBuilder(ui::Application& app) : app_(app) {}

    ui::Screen& createFWintro(ShellScreens& shell) override;
    ui::Screen& createFWtest(ShellScreens& shell) override;
    SubjectEntry& createSubjectEntry(ShellScreens& shell) override;
    ui::Screen& createAfterFW(ShellScreens& shell) override;
    ui::Screen& createAfterFV(ShellScreens& shell) override;
    ui::Screen& createCorrection(ShellScreens& shell) override;
    ui::Screen& createFVtest(ShellScreens& shell) override;
    ui::Screen& createFVintro(ShellScreens& shell) override;
    ui::Screen& createFinish(ShellScreens& shell) override;
    ui::Screen& createReportPreview(ShellScreens& shell) override;
    ui::Screen& createStoredReportViewer(ShellScreens& shell) override;
    ui::Screen& createSubtestChoice(ShellScreens& shell) override;

  private:
    ui::Screen& make(const std::string& screenName);

    ui::Application& app_;
    std::vector<std::unique_ptr<ui::Screen>> screens_;
};

// The shell's start-up with stand-ins for the screens of the other
// subsystems.
struct StandInProgram {
    StandInProgram(ui::Application& app, const SettingsStore& settings, std::string programFolder)
        : builder(app), startup(app, settings, std::move(programFolder), builder) {}

    StandInScreenBuilder builder;
    Startup startup;
};

}  // namespace zor::shell::testing
