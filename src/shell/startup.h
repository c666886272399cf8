#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "shell/about_box.h"
#include "shell/backdrop.h"
#include "shell/later_screens.h"
#include "shell/main_screen.h"
#include "shell/message_screen.h"
#include "shell/settings.h"
#include "shell/splash.h"
#include "ui/application.h"
#include "ui/timer.h"

namespace zor::shell {

// The screens of the shell, and the pointers to the screens of the other
// subsystems, filled in as start-up creates them.
struct ShellScreens {
    std::unique_ptr<TZORsplash> splash;
    std::unique_ptr<TLoader> loader;
    std::unique_ptr<TZORMAINForm> main;
    std::unique_ptr<TAboutBox> about;
    std::unique_ptr<Tmessage> message;  // exists from step 8 on
    std::unique_ptr<TBackblack> backdrop;
    LaterScreens later;
};

// Creates the screens of the other subsystems. Each function is called once,
// in start-up order; the builder owns what it creates (for the program's
// lifetime) and may keep `shell` to reach the main screen, the message screen
// and the other screens later. Constructors load no pictures: that happens
// when a screen is shown.
class ScreenBuilder {
  public:
    virtual ~ScreenBuilder() = default;
    virtual ui::Screen& createFWintro(ShellScreens& shell) = 0;         // TFWin
    virtual ui::Screen& createFWtest(ShellScreens& shell) = 0;          // TFWtfase
    virtual SubjectEntry& createSubjectEntry(ShellScreens& shell) = 0;  // TZORinvoer
    virtual ui::Screen& createAfterFW(ShellScreens& shell) = 0;
    virtual ui::Screen& createAfterFV(ShellScreens& shell) = 0;
    virtual ui::Screen& createCorrection(ShellScreens& shell) = 0;  // Tcorrect
    virtual ui::Screen& createFVtest(ShellScreens& shell) = 0;      // TFVtfase
    virtual ui::Screen& createFVintro(ShellScreens& shell) = 0;     // TFVin
    virtual ui::Screen& createFinish(ShellScreens& shell) = 0;
    virtual ui::Screen& createReportPreview(ShellScreens& shell) = 0;       // TPP
    virtual ui::Screen& createStoredReportViewer(ShellScreens& shell) = 0;  // TTRO
    virtual ui::Screen& createSubtestChoice(ShellScreens& shell) = 0;       // TZORkeuze
};

// The program's start-up: splash, loading screen, every screen created once
// in its fixed order, and the backdrop that carries the main menu. `start`
// returns at once; the sequence goes on on the clock and ends when the
// program ends (Application::terminated()).
class Startup {
  public:
    inline static const std::string kApplicationTitle = "Klomperix Test";

    Startup(ui::Application& app, const SettingsStore& settings, std::filesystem::path programFolder,
            ScreenBuilder& builder);

    void start();
    ShellScreens& screens() { return screens_; }

  private:
    void createFirstScreens();
    void createLastScreens();
    void finish();

    ui::Application& app_;
    const SettingsStore& settings_;
    std::filesystem::path programFolder_;
    ScreenBuilder& builder_;
    ShellScreens screens_;
    ui::Timer splashTimer_;
};

}  // namespace zor::shell
