#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "shell/later_screens.h"
#include "shell/main_menu.h"
#include "shell/settings.h"
#include "ui/screen.h"
#include "ui/sound.h"

namespace zor::shell {

class TAboutBox;

// The notification-area icon's registration.
struct NotificationIcon {
    bool registered = false;
    int id = 0;
    int callbackMessage = 1124;  // the platform's first user message number plus 100
    std::string tip;
};

// The platform's mouse message for a right-button press on the icon.
inline constexpr int kRightButtonDown = 516;

// The main screen: the hub with the three choices (new administration,
// resume an incomplete administration, open stored reports), program
// information and the two ways of ending the program.
class TZORMAINForm : public ui::Screen, public MainMenu {
  public:
    TZORMAINForm(ui::Application& app, const SettingsStore& settings, std::filesystem::path programFolder,
                 LaterScreens& later);

    // Controls.
    ui::Picture Background{*this, "Background", {0, 0, 800, 600}};
    ui::ImageButton ButtonNT{*this, "ButtonNT", {59, 429, 209, 130}};
    ui::ImageButton ButtonTH{*this, "ButtonTH", {290, 429, 209, 130}};
    ui::ImageButton ButtonTRO{*this, "ButtonTRO", {521, 429, 209, 130}};
    ui::ImageButton ButtonExit{*this, "ButtonExit", {744, 14, 40, 40}, "Programma sluiten"};
    ui::ImageButton About{*this, "About", {14, 14, 40, 40}, "Programma-info"};
    ui::Label Label1{*this, "Label1", {0, 280, 800, 40}, "TOT ZIENS!"};
    ui::PopupMenu PopupMenu1{*this, "PopupMenu1"};
    ui::PopupMenu TaskBarMenu1{*this, "TaskBarMenu1"};
    std::unique_ptr<ui::SoundPlayer> MP1;
    // Shows the farewell picture for one second before the program ends.
    ui::Timer FarewellTimer;

    // State.
    // The menu choice the deferred step carries out: 0 none, 1 new
    // administration, 2 resume, 3 stored reports.
    int& MenuAction = PendingAction;
    bool showInTaskbar = false;
    NotificationIcon icon;
    // The program-information box, created right after the main screen.
    TAboutBox* AboutBox = nullptr;

    // Handlers.
    void Formcreate();
    void Formshow();
    void FormDestroy();
    void ZORchoiceExecute();  // ButtonNT
    void ButtonTHClick();
    void ButtonTROClick();
    void FileExit1Execute();   // ButtonExit
    // Ends the program as the menu's "Sluiten" does, without asking: the
    // system asks the program to stop. False while start-up is still going
    // on (nothing to close yet).
    bool EndOnRequest();
    void HelpAbout1Execute();  // About
    // The notification icon's callback with the mouse message.
    void TrayIconCallback(int mouseMessage);
    // A right click on the program's task-bar button.
    void TaskBarRightClick() { TaskBarMenu1.popup(); }

    // MainMenu.
    void ZORMainInitialize() override;
    void ClickSound() override;
    void Exit1Click() override;
    const std::filesystem::path& Pgmpath() const override { return pgmpath_; }
    const std::filesystem::path& Datapath() const override { return datapath_; }
    const std::filesystem::path& Audiopath() const override { return audiopath_; }
    std::filesystem::path reportFolder() const override;
    int ResumeMode() const override { return resumeMode_; }
    const std::string& ResumeFileName() const override { return resumeFileName_; }
    bool RecordAnswersChosen() const override { return RecordAnswersSetting(settings_); }
    void RememberRecordAnswers(bool on) override { StoreRecordAnswersSetting(settings_, on); }
    ui::Screen& screen() override { return *this; }

    void onKeyDown(int& key, ui::Shift shift) override;

  protected:
    void LatencyStep() override;
    void onShow() override { Formshow(); }

  private:
    // Closes every screen above the main screen and shows the farewell.
    void closeAllAndSayFarewell();
    std::filesystem::path buttonPicture(std::string_view name) const;
    void recomputeFolders();
    void farewellOver();

    const SettingsStore& settings_;
    std::filesystem::path programFolder_;
    LaterScreens& later_;
    std::filesystem::path pgmpath_;
    std::filesystem::path datapath_;
    std::filesystem::path audiopath_;
    int resumeMode_ = 0;
    bool recoveryOffered_ = false;
    std::string resumeFileName_;
};

}  // namespace zor::shell
