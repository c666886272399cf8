#pragma once

#include <memory>
#include <string>
#include <vector>

#include "shell/startup.h"
#include "ui/sound.h"

namespace zor::shell {

// A screen of a subsystem that has not been built yet. It says so plainly
// and offers the way back to the main menu.
class PlaceholderScreen : public ui::Screen {
  public:
    PlaceholderScreen(ui::Application& app, MainMenu& main, std::string screenName);

    ui::Label Notice{*this, "Notice", {0, 260, 800, 40}};
    ui::PushButton BackButton{*this, "BackButton", {300, 340, 200, 40}, "Terug naar het hoofdmenu"};

    void BackButtonClick();

  protected:
    MainMenu& main_;
};

// The subject-entry screen until it is built: it resets nothing yet but plays
// the save sound on its own player, as the save notice needs.
class PlaceholderSubjectEntry : public PlaceholderScreen, public SubjectEntry {
  public:
    PlaceholderSubjectEntry(ui::Application& app, MainMenu& main);

    std::unique_ptr<ui::SoundPlayer> MPGeg;
    int resetCount = 0;

    ui::Screen& screen() override { return *this; }
    void ResetAfname() override { ++resetCount; }
    void PlaySaved() override;
};

// Creates a placeholder for every screen of the other subsystems.
class PlaceholderScreenBuilder : public ScreenBuilder {
  public:
    explicit PlaceholderScreenBuilder(ui::Application& app) : app_(app) {}

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
    ui::Screen& make(ShellScreens& shell, const std::string& screenName);

    ui::Application& app_;
    std::vector<std::unique_ptr<ui::Screen>> screens_;
};

// The whole program with placeholders for the screens not built yet.
struct PlaceholderProgram {
    PlaceholderProgram(ui::Application& app, const SettingsStore& settings,
                       std::string programFolder)
        : builder(app), startup(app, settings, std::move(programFolder), builder) {}

    PlaceholderScreenBuilder builder;
    Startup startup;
};

// Builds the program with placeholders and starts it.
std::unique_ptr<PlaceholderProgram> startPlaceholderProgram(ui::Application& app,
                                                            const SettingsStore& settings,
                                                            std::string programFolder);

}  // namespace zor::shell
