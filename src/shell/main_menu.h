#pragma once

#include <filesystem>
#include <string>

namespace zor::ui {
class Screen;
}

namespace zor::shell {

// What the screens of the other subsystems use of the main screen: the
// main-menu reset, the click sound, the confirmed exit, the folders and the
// resume choice. Files in the folders are named by the folders service.
class MainMenu {
  public:
    virtual ~MainMenu() = default;

    // Resets the main menu and reads the folder settings again.
    virtual void ZORMainInitialize() = 0;
    // Plays the click sound on the main screen's player.
    virtual void ClickSound() = 0;
    // Asks for confirmation and ends the program, closing every open screen.
    virtual void Exit1Click() = 0;

    // The program folder, holding Graphics/ and Audio/.
    virtual const std::filesystem::path& Pgmpath() const = 0;
    // The data folder (the "datapath" setting; empty when unset).
    virtual const std::filesystem::path& Datapath() const = 0;
    // <program>/Audio
    virtual const std::filesystem::path& Audiopath() const = 0;
    // The report folder ("trpath"), read afresh at every call.
    virtual std::filesystem::path reportFolder() const = 0;

    // 1 when the subject-entry screen opens to resume an administration.
    virtual int ResumeMode() const = 0;
    // The incomplete-administration file chosen in the resume dialog (a
    // Linux path; empty when none).
    virtual const std::string& ResumeFileName() const = 0;

    // The `opnemen` setting: whether the test leader last chose to record
    // the child's answers; remembering it throws files::WriteError.
    virtual bool RecordAnswersChosen() const = 0;
    virtual void RememberRecordAnswers(bool on) = 0;

    virtual ui::Screen& screen() = 0;
};

}  // namespace zor::shell
