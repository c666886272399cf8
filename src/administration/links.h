#pragma once

#include <functional>

#include "record/administration_record.h"
#include "shell/later_screens.h"
#include "shell/main_menu.h"

namespace zor::ui {
class Screen;
}

namespace zor::administration {

// What the screens of an administration need of the subject-entry screen
// `TZORinvoer`, which holds the administration record.
class EntryScreen : public shell::SubjectEntry {
  public:
    // The record the test screens write into: `AfnameStatus`, the score
    // grids, `ElaatsteFW` / `ELaatsteFV` and the test screens' current steps.
    virtual record::AdministrationRecord& record() = 0;
    // Saves the administration (`Opslaan1Click`: the data files, the
    // incomplete-administration file, the backup procedure when they cannot be
    // written) and shows the save notice; `then` runs once the notice has
    // closed (at once when nothing was saved and no notice shows).
    virtual void Opslaan1Click(std::function<void()> then) = 0;
    // The entry screen's click sound on its own player.
    virtual void PlayClick() = 0;
    // After an interruption the entry screen offers continuing: `ButtonST`
    // disabled and hidden; `ButtonContin` enabled, shown, "BtnTHred.gif";
    // `ButtonNP` enabled.
    virtual void OfferContinue() = 0;
};

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
    shell::MainMenu* main = nullptr;
    EntryScreen* entry = nullptr;
    ReportPreview* preview = nullptr;
    TZORkeuze* ZORkeuze = nullptr;
    TFWin* FWin = nullptr;
    TFWtfase* FWtfase = nullptr;
    TFWaft* FWaft = nullptr;
    TFVin* FVin = nullptr;
    TFVtfase* FVtfase = nullptr;
    TFVaft* FVaft = nullptr;
    TZORfinish* Finish = nullptr;

    record::AdministrationRecord& record() const { return entry->record(); }
    // A picture of the button-pictures folder.
    std::string buttonPicture(const std::string& name) const {
        return main->Pgmpath() + "\\Graphics\\Buttons\\" + name;
    }
    // A picture of the pictures folder.
    std::string picture(const std::string& name) const {
        return main->Pgmpath() + "\\Graphics\\" + name;
    }
};

}  // namespace zor::administration
