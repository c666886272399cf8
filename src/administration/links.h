#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "folders/folders.h"
#include "record/administration_record.h"
#include "record/subject_entry_screen.h"
#include "shell/main_menu.h"
#include "shell/startup.h"
#include "ui/timer.h"

namespace zor::ui {
class Screen;
}

namespace zor::administration {

// The report preview the finish screen opens.
class ReportPreview {
  public:
    virtual ~ReportPreview() = default;
    virtual ui::Screen& screen() = 0;
    // Composes the report page again (the preview's creation step).
    virtual void Recreate() = 0;
};

class TZORkeuze;
class TFWin;
class TFWtfase;
class TFWaft;
class TFVin;
class TFVtfase;
class TFVaft;
class TZORfinish;

// The screens of one administration and the services they reach. Filled in
// as the screens are created; a screen reaches the others only when the test
// leader acts, by which time all exist.
struct AdministrationLinks {
    shell::ShellScreens* shell = nullptr;
    shell::MainMenu* main = nullptr;
    record::TZORinvoer* entry = nullptr;
    ReportPreview* preview = nullptr;
    TZORkeuze* ZORkeuze = nullptr;
    TFWin* FWin = nullptr;
    TFWtfase* FWtfase = nullptr;
    TFWaft* FWaft = nullptr;
    TFVin* FVin = nullptr;
    TFVtfase* FVtfase = nullptr;
    TFVaft* FVaft = nullptr;
    TZORfinish* Finish = nullptr;

    // The record the test screens write into, held by the entry screen.
    record::AdministrationRecord& record() const { return entry->Afname; }
    // Saves the administration with its notice; `then` runs after the notice.
    void Opslaan1Click(std::function<void()> then) const;
    // After an interruption the entry screen offers continuing: `ButtonST`
    // disabled and hidden; `ButtonContin` enabled, shown, "BtnTHred.gif";
    // `ButtonNP` enabled.
    void OfferContinue() const;
    // A picture of the button-pictures folder.
    std::filesystem::path buttonPicture(std::string_view name) const {
        return folders::buttonPicture(main->Pgmpath(), name);
    }
    // A picture of the pictures folder.
    std::filesystem::path picture(std::string_view name) const {
        return folders::graphicsFolder(main->Pgmpath()) / name;
    }
};

}  // namespace zor::administration
