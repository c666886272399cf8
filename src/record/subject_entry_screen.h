#pragma once
// The subject-entry screen `TZORinvoer` ("Testgegevens"): registers the child,
// guards against a second administration of the same child on one day, starts
// and continues administrations, and saves them (with the backup procedure when
// the data folder cannot be written). It owns the administration record, keeps
// its recovery journal after every change and holds its key's lock while it is
// open.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "record/administration_lock.h"
#include "record/administration_record.h"
#include "record/answer_recordings.h"
#include "record/administration_screens.h"
#include "record/recovery_journal.h"
#include "shell/later_screens.h"
#include "shell/main_menu.h"
#include "shell/startup.h"
#include "ui/screen.h"
#include "ui/sound.h"

namespace zor::record {

class TZORinvoer : public ui::Screen, public shell::SubjectEntry {
  public:
    // `tests` must stay valid for the screen's lifetime; it is used only once
    // the test leader acts, when every screen exists.
    TZORinvoer(ui::Application& app, shell::ShellScreens& shell, AdministrationScreens& tests);
    ~TZORinvoer() override;

    // The administration; the edits below show its subject fields.
    AdministrationRecord Afname;

    ui::Picture Background{*this, "Background", {0, 0, 800, 600}};
    ui::Label Title{*this, "Title", {0, 24, 800, 40}, "Testgegevens"};
    ui::Label LabelCode{*this, "LabelCode", {60, 100, 290, 26}, "Naam proefpersoon"};
    ui::Label LabelSekse{*this, "LabelSekse", {60, 140, 290, 26}, "Geslacht"};
    ui::Label LabelGebdatum{*this, "LabelGebdatum", {60, 180, 290, 26}, "Geboortedatum"};
    ui::Label LabelAfndatum{*this, "LabelAfndatum", {60, 220, 290, 26}, "Afnamedatum"};
    ui::Label LabelSchool{*this, "LabelSchool", {60, 260, 290, 26}, "School"};
    ui::Label LabelGroep{*this, "LabelGroep", {60, 300, 290, 26}, "Groep"};
    ui::Label LabelTl{*this, "LabelTl", {60, 340, 290, 26}, "Testleider"};
    ui::Edit Ecode{*this, "Ecode", {360, 100, 300, 26}};
    ui::RadioGroup RGsekse{*this, "RGsekse", {360, 136, 300, 32}};
    ui::Edit Egebdag{*this, "Egebdag", {360, 180, 40, 26}};
    ui::Edit Egebmnd{*this, "Egebmnd", {410, 180, 40, 26}};
    ui::Edit Egebjaar{*this, "Egebjaar", {460, 180, 60, 26}};
    ui::Edit Eafndag{*this, "Eafndag", {360, 220, 40, 26}};
    ui::Edit Eafnmnd{*this, "Eafnmnd", {410, 220, 40, 26}};
    ui::Edit Eafnjaar{*this, "Eafnjaar", {460, 220, 60, 26}};
    ui::Edit Eschool{*this, "Eschool", {360, 260, 300, 26}};
    ui::Edit Egroep{*this, "Egroep", {360, 300, 40, 26}};
    ui::Edit Etl{*this, "Etl", {360, 340, 300, 26}};
    ui::ImageButton Filesave{*this, "Filesave", {14, 14, 40, 40}, "Bestand opslaan"};
    ui::ImageButton ButtonExit{*this, "ButtonExit", {744, 14, 40, 40}, "Opslaan en teruggaan"};
    ui::ImageButton ButtonNP{*this, "ButtonNP", {134, 429, 209, 130}};
    ui::ImageButton ButtonST{*this, "ButtonST", {452, 429, 209, 130}};
    ui::ImageButton ButtonContin{*this, "ButtonContin", {452, 429, 209, 130}};
    // Whether the child's answers are recorded in this administration. The
    // box is ticked by the test leader per administration; the `opnemen`
    // setting remembers the last choice and offers it ticked, but an offered
    // tick that nobody touched is confirmed at the start ("Ja" records, the
    // default "Nee" does not), so that no child is recorded unasked.
    // Disabled while the microphone is looked for, and with the reason as its
    // hint when there is none.
    ui::CheckBox CBopnemen{*this, "CBopnemen", {360, 384, 300, 26}, "Antwoorden opnemen"};
    std::unique_ptr<ui::SoundPlayer> MPGeg;
    // The recording of this administration's answers, used by the test screens.
    AnswerSession Answers;

    // Handlers.
    void FormShow();
    void EcodeKeyPress(char32_t& key);
    void Edit1KeyPress(char32_t& key);  // the birth-date fields
    void EcodeChange();
    void Edit1Change(ui::Edit& edit);  // every other editable field
    bool MayContinue();
    void STExecute();
    void KnContinClick();
    void NPExecute();
    void PrevPage();
    // Saves the administration; `then` runs once the save notice has closed,
    // or at once when no notice shows (nothing saved, backup refused or failed).
    void Opslaan1Click(std::function<void()> then = {});
    void ResumeAfname();
    void PlayClick();
    void CBopnemenClick();

    // SubjectEntry.
    ui::Screen& screen() override { return *this; }
    void ResetAfname() override;
    void PlaySaved() override;
    void OfferRecovery() override;

    // The recovery journal of the open administration.
    const JournalKeeper& journal() const { return journal_; }

  protected:
    void LatencyStep() override;
    void onShow() override { FormShow(); }

  private:
    shell::MainMenu& Main() const;
    std::filesystem::path ButtonPicture(std::string_view name) const;
    // The data folder; empty when the setting is missing.
    const std::filesystem::path& DataFolder() const;
    // Puts the record's subject fields into the edits without running their handlers.
    void ShowRecord();
    void FieldChanged(ui::Edit& edit, std::string& field);
    ui::Control* NextInTabOrder(const ui::Edit& edit);
    // The code can be typed until the administration has its data lines.
    void LockCodeOnceStarted();
    // The same-day check of a start; true when the start is accepted.
    // `resuming`: a resumed administration cannot be abandoned, so a
    // dismissed question keeps both administrations, as "Nee" does.
    bool AcceptSameDay(bool resuming = false);
    // The administration the start overwrites ("Ja" to the same-day question)
    // keeps its recordings apart; called once its key's lock is held.
    void SetOverwrittenRecordingsAside();
    // A resumed administration whose new key (today) names another
    // administration's files asks the same-day question.
    void ResolveResumeCollision(const std::string& resumedKey);
    // The locks of the resumed file's key and of its key today; the refusal
    // when another program holds one.
    std::optional<std::string> TakeResumeLocks(const std::string& resumedKey);
    // After every event: the journal and the lock follow the administration.
    void KeepJournal();
    // One recovery file found at start-up.
    void OfferRecoveryOf(const std::filesystem::path& journal);
    // Stores the files at a place the test leader picks; true when they were written.
    bool BackupProcedure();
    void ReturnToMainMenu(bool immediately);
    void OpenIntroductionByStatus();
    // Offers the recording box for a new administration: disabled until the
    // microphone check has answered.
    void OfferRecording();
    // The microphone check's answer: the box enabled, or the reason it cannot be.
    void ShowMicrophoneCheck(const std::optional<std::string>& problem);
    // At the start or the continuation: recording begins when the box is
    // ticked (and, when only offered, confirmed).
    void BeginRecording();

    shell::ShellScreens& shell_;
    AdministrationScreens& tests_;
    bool showingRecord_ = false;
    JournalKeeper journal_;
    KeyLocks locks_;
    int eventEndListener_ = 0;
    // The last same-day question was answered "Ja": another administration's
    // files are overwritten.
    bool overwritesExisting_ = false;
    // The box's tick comes from the setting, not from the test leader.
    bool recordingOnlyOffered_ = false;
    ui::MicrophoneCheck microphoneCheck_;
};

}  // namespace zor::record
