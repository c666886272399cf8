#pragma once
// The correction screen `Tcorrect` ("Testgegevens Wijzigen"): opened by the
// stored-report viewer, it loads the data files of the administration behind
// the report, lets the test leader change the subject data and the right/wrong
// mark of every test item that was given, and on confirmation has the viewer
// compose and store the corrected report; then it writes the corrected data
// files "<key>_gecorrigeerd_FW.wda" and "<key>_gecorrigeerd_FV.vda". The
// administration's own files are never written.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "correction/correction_viewer.h"
#include "correction/mark_chooser.h"
#include "record/administration_files.h"
#include "record/administration_lock.h"
#include "record/administration_record.h"
#include "shell/main_menu.h"
#include "ui/screen.h"
#include "ui/sound.h"

namespace zor::correction {

class Tcorrect : public ui::Screen {
  public:
    static constexpr int kItems = 12;
    // School and test leader keep at most this many characters on this screen.
    static constexpr std::size_t kShortFieldLength = 12;

    Tcorrect(ui::Application& app, shell::MainMenu& main);

    // The viewer that opens this screen; it is created after this screen, so
    // start-up hands it over once it exists.
    void setViewer(CorrectionViewer& viewer) { viewer_ = &viewer; }

    // --- Controls ------------------------------------------------------------
    ui::Picture Background{*this, "Background", {0, 0, 800, 70}};
    ui::ImageButton CORRbtn{*this, "CORRbtn", {15, 10, 137, 52}};
    ui::ImageButton ButtonExit{*this, "ButtonExit", {752, 14, 40, 40}, "Afdrukvenster sluiten"};
    ui::Label Title{*this, "Title", {170, 24, 560, 24}, "Testgegevens Wijzigen"};

    ui::Label LabelCode{*this, "LabelCode", {20, 100, 150, 20}, "Naam proefpersoon"};
    ui::Edit Ecode{*this, "Ecode", {180, 98, 200, 22}};
    ui::Label LabelSekse{*this, "LabelSekse", {20, 136, 150, 20}, "Geslacht"};
    ui::RadioGroup RGsekse{*this, "RGsekse", {180, 130, 200, 30}};
    ui::Label LabelGebdat{*this, "LabelGebdat", {20, 176, 150, 20}, "Geboortedatum"};
    ui::Edit Egebdag{*this, "Egebdag", {180, 174, 30, 22}};
    ui::Edit Egebmnd{*this, "Egebmnd", {215, 174, 30, 22}};
    ui::Edit Egebjaar{*this, "Egebjaar", {250, 174, 50, 22}};
    ui::Label LabelAfndat{*this, "LabelAfndat", {20, 212, 150, 20}, "Afnamedatum"};
    ui::Edit Eafndag{*this, "Eafndag", {180, 210, 30, 22}};
    ui::Edit Eafnmnd{*this, "Eafnmnd", {215, 210, 30, 22}};
    ui::Edit Eafnjaar{*this, "Eafnjaar", {250, 210, 50, 22}};
    ui::Label LabelSchool{*this, "LabelSchool", {20, 248, 150, 20}, "School"};
    ui::Edit Eschool{*this, "Eschool", {180, 246, 200, 22}};
    ui::Label LabelGroep{*this, "LabelGroep", {20, 284, 150, 20}, "Groep"};
    ui::Edit Egroep{*this, "Egroep", {180, 282, 30, 22}};
    ui::Label LabelTl{*this, "LabelTl", {20, 320, 150, 20}, "Testleider"};
    ui::Edit Etl{*this, "Etl", {180, 318, 200, 22}};

    ui::Label FWpanel{
        *this, "FWpanel", {400, 90, 390, 20}, "FoneemWeglating - testitem goed (G) of fout (F)"};
    ui::Label FVpanel{*this,
                      "FVpanel",
                      {400, 330, 390, 20},
                      "FoneemVerwisseling - testitem goed (G) of fout (F)"};

    // FWitem1acc ... FWitem12acc and FVitem1acc ... FVitem12acc, item n at n - 1.
    MarkChooser& FWitemAcc(int item) { return *fwChoosers_.at(item - 1); }
    MarkChooser& FVitemAcc(int item) { return *fvChoosers_.at(item - 1); }
    // Beside each item: its label with the stored time, the play button of
    // its answer recording (shown when there is one) and the recording's
    // voice onset ("stem na 1,3 s").
    ui::Label& ItemLabel(record::Subtest subtest, int item);
    ui::PushButton& PlayButton(record::Subtest subtest, int item);
    ui::Label& OnsetLabel(record::Subtest subtest, int item);

    // --- State read by the viewer ---------------------------------------------
    // The corrected administration: subject fields, results, data lines.
    record::AdministrationRecord& CorrectedRecord() { return afname_; }
    const record::AdministrationRecord& CorrectedRecord() const { return afname_; }
    // Set when the test leader confirms; the viewer clears it after storing.
    bool CorrectionConfirmed = false;
    // The birth date and the administration date, set when a correction is
    // confirmed; the corrected report counts the age up to StoredAfnameDate.
    std::optional<record::Date> StoredBirthDate;
    std::optional<record::Date> StoredAfnameDate;

    // --- Handlers and operations ----------------------------------------------
    void FormShow();
    void FormClose();
    void CORRbtnClick();
    void ButtonExitClick();
    void AccuChange(MarkChooser& changed);
    void AccuColor(MarkChooser& chooser);
    void EcodeChange();
    void EcodeKeyPress(char32_t& key);
    void Edit1KeyPress(char32_t& key);
    void EditChange(ui::Edit& field);
    void EschoolChange();
    void EtlChange();
    void RGsekseClick();
    // Validates the subject fields and, when they hold, rebuilds the key and
    // both data lines; returns SubjectValid.
    bool CheckEdits();
    // Writes the corrected data files; returns the failure, which it has
    // already shown to the test leader.
    std::optional<record::FileError> Opslaan1Click();
    void BerekenSpeedSS() { afname_.BerekenSpeedSS(); }

    // The files the corrected administration is written to.
    record::AdministrationPaths CorrectedPaths() const;

  protected:
    void onShow() override { FormShow(); }
    void onClose() override { FormClose(); }

  private:
    std::filesystem::path buttonPicture(std::string_view name) const;
    CorrectionViewer& viewer() const;
    void resetScreen();
    void loadAdministration(const std::string& key);
    void showRecord();
    void showMarks();
    void keepShort(ui::Edit& field, std::string& recordField);
    bool subjectDatesConvert();
    // Finds the recordings of the administration `key` and shows the items' extras.
    void showRecordings(const std::string& key);
    void playRecording(record::Subtest subtest, int item);

    shell::MainMenu& main_;
    CorrectionViewer* viewer_ = nullptr;
    record::AdministrationRecord afname_;
    // The administration's key is locked while the screen is open, so that no
    // other program writes it meanwhile.
    record::KeyLocks locks_;
    std::vector<std::unique_ptr<MarkChooser>> fwChoosers_;
    std::vector<std::unique_ptr<MarkChooser>> fvChoosers_;
    std::vector<std::unique_ptr<ui::Label>> itemLabels_;  // FW 1-12, then FV 1-12
    std::vector<std::unique_ptr<ui::PushButton>> playButtons_;
    std::vector<std::unique_ptr<ui::Label>> onsetLabels_;
    std::unique_ptr<ui::SoundPlayer> answerPlayer_;
    // The folder of the loaded administration's recordings.
    std::filesystem::path recordingsFolder_;
};

}  // namespace zor::correction
