#include "record/subject_entry_screen.h"

#include <filesystem>

#include "folders/folders.h"
#include "record/administration_files.h"
#include "record/administration_lock.h"
#include "record/key_filters.h"
#include "record/text_fields.h"
#include "shell/message_screen.h"
#include "ui/application.h"

namespace zor::record {
namespace {

namespace fs = std::filesystem;

const char* const kNoCodeMessage = "Type eerst een proefpersoonnaam...";
const char* const kExistsMessage = "Proefpersoon bestaat al, type een andere code in s.v.p.!";
const char* const kNoSexMessage = "Geef het geslacht van de proefpersoon in s.v.p.!";
const char* const kBirthDateMessage =
    "Ongeldige ingave! Vul een correcte geboortedatum [dd-mm-jjjj] in s.v.p.!";
const char* const kSameDayQuestion =
    "Er bestaat al een testafname van vandaag voor deze proefpersoon. Wilt u deze afname "
    "overschrijven? (`Nee` maakt een nieuwe afname aan met toevoeging van `#[volgnr]`.)";
const char* const kSameDayTitle = "Bestaande testafname gevonden...";
const char* const kBackupStartMessage = "Data niet opgeslagen!!! Backup-procedure wordt opgestart.";
const char* const kBackupDoneMessage =
    "Data opgeslagen op backuplocatie. Het ZOR-afnameprogramma heeft t.b.v. van "
    "schrijfbewerkingen geen toegang tot de (tijdens het installatieproces opgegeven) locatie "
    "voor de opslag van uw data en testrapporten.";
const char* const kBackupFailedMessage = "Data niet opgeslagen op de backuplocatie! ";
const char* const kRecoveryTitle = "Testafname herstellen";
const char* const kRecordingHint =
    "Neemt de antwoorden van het kind op, om ze bij het corrigeren terug te luisteren. "
    "Alleen met toestemming voor dit kind.";
const char* const kRecordingQuestion =
    "De antwoorden van dit kind worden opgenomen (\"Antwoorden opnemen\" staat aan). Is daar "
    "toestemming voor gegeven?\n\nJa: de antwoorden worden opgenomen.\nNee: de afname gaat "
    "door zonder opnames.";
const char* const kRecordingTitle = "Antwoorden opnemen";
const char* const kSearchingMicrophoneHint = "Microfoon wordt gezocht…";
const char* const kNoRecordingPrefix = "Opnemen kan niet: ";
const char* const kCheckUnfinishedReason =
    "de microfoon was nog niet gevonden toen de afname begon.";

// "<code>_dd-mm-yyyy": the code part, or nothing for a name of another form.
std::optional<std::string> CodeOfKey(const std::string& key) {
    constexpr std::size_t kDateSuffixLength = 11;
    if (key.size() <= kDateSuffixLength || key[key.size() - kDateSuffixLength] != '_')
        return std::nullopt;
    return key.substr(0, key.size() - kDateSuffixLength);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The sequence number on line 1 of an incomplete-administration file; 0 when
// it holds none.
int SequenceNumber(const std::vector<std::string>& memo) {
    if (memo.size() < 2) return 0;
    try {
        return norms::CellToInt(memo[1]);
    } catch (const norms::ConversionError&) {
        return 0;
    }
}

// The sequence number in a code's suffix (" #3" gives 3); 0 without one.
int SuffixNumber(std::string_view code) {
    const std::size_t hash = code.rfind(" #");
    if (hash == std::string_view::npos) return 0;
    const std::string_view digits = code.substr(hash + 2);
    if (digits.empty() || digits.size() > 4 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return 0;
    return std::stoi(std::string(digits));
}

}  // namespace

TZORinvoer::TZORinvoer(ui::Application& app, shell::ShellScreens& shell,
                       AdministrationScreens& tests)
    : ui::Screen(app, "ZORinvoer"),
      MPGeg(app.sounds().createPlayer("MPGeg")),
      Answers(app, Afname,
              [&app](const std::string& notice) { app.showMessage(notice); }),
      shell_(shell),
      tests_(tests),
      microphoneCheck_(app.clock()) {
    fade = {true, 180, 255};
    Background.stretch = true;
    Title.alignment = ui::Label::Alignment::Center;
    Title.fontSize = 27;
    Title.bold = true;
    Title.color = 0xFFFF00;
    Title.transparent = true;
    for (ui::Label* label : {&LabelCode, &LabelSekse, &LabelGebdatum, &LabelAfndatum, &LabelSchool,
                             &LabelGroep, &LabelTl}) {
        label->fontSize = 19;
        label->color = 0xFFFFFF;
        label->transparent = true;
    }
    RGsekse.items = {"Meisje", "Jongen"};
    Ecode.maxLength = kMaxTypedCodeLength;
    Egebdag.maxLength = 2;
    Egebmnd.maxLength = 2;
    Egebjaar.maxLength = 4;
    Eschool.maxLength = 30;
    Egroep.maxLength = 2;
    Etl.maxLength = 30;
    for (ui::Edit* date : {&Eafndag, &Eafnmnd, &Eafnjaar}) date->readOnly = true;
    ButtonContin.enabled = false;
    ButtonContin.visible = false;

    Ecode.onKeyPress = [this](char32_t& key) { EcodeKeyPress(key); };
    for (ui::Edit* date : {&Egebdag, &Egebmnd, &Egebjaar}) {
        date->onKeyPress = [this](char32_t& key) { Edit1KeyPress(key); };
    }
    Ecode.onChange = [this] { EcodeChange(); };
    for (ui::Edit* edit : {&Egebdag, &Egebmnd, &Egebjaar, &Eschool, &Egroep, &Etl}) {
        edit->onChange = [this, edit] { Edit1Change(*edit); };
    }
    RGsekse.onClick = [this] { Afname.RGsekse = static_cast<Sex>(RGsekse.itemIndex); };
    Filesave.onClick = [this] { Opslaan1Click(); };
    ButtonExit.onClick = [this] { PrevPage(); };
    ButtonNP.onClick = [this] { NPExecute(); };
    ButtonST.onClick = [this] { STExecute(); };
    ButtonContin.onClick = [this] { KnContinClick(); };
    CBopnemen.onClick = [this] { CBopnemenClick(); };
    eventEndListener_ = app.addEventEndListener([this] { KeepJournal(); });
}

TZORinvoer::~TZORinvoer() {
    app().removeEventEndListener(eventEndListener_);
    Answers.end();
}

void TZORinvoer::KeepJournal() {
    // Open: shown for this administration, which has its data lines.
    const bool open = showingModally() && !Afname.MdataFW.empty();
    std::optional<std::string> notice;
    try {
        notice = journal_.Update(Afname, open ? DataFolder() : fs::path(), open,
                                 app().clock().wallNow());
    } catch (const norms::ConversionError&) {
        // A result cell that is no number: the save will report it.
    }
    if (open) {
        locks_.ReleaseAllBut(Afname.AfnameKey);
    } else {
        locks_.ReleaseAll();
    }
    if (notice) app().showMessage(*notice);
}

shell::MainMenu& TZORinvoer::Main() const { return *shell_.main; }

fs::path TZORinvoer::ButtonPicture(std::string_view name) const {
    return folders::buttonPicture(Main().Pgmpath(), name);
}

const fs::path& TZORinvoer::DataFolder() const { return Main().Datapath(); }

void TZORinvoer::PlayClick() {
    MPGeg->setFileName((folders::audioFolder(Main().Pgmpath()) / "start.wav").string());
    MPGeg->open();
    MPGeg->play();
}

void TZORinvoer::PlaySaved() {
    MPGeg->setFileName((folders::audioFolder(Main().Pgmpath()) / "Save.wav").string());
    MPGeg->open();
    MPGeg->play();
}

void TZORinvoer::FormShow() {
    Afname.AfnameDate = LocalDate(app().clock().wallNow());
    Background.load(folders::graphicsFolder(Main().Pgmpath()) / "ZORinvoer.jpg");
    Filesave.load(ButtonPicture("BtnSave.gif"));
    ButtonExit.load(ButtonPicture("BtnBack.gif"));
    fade.enabled = true;
    ResetAfname();
    if (Main().ResumeMode() == 1) ResumeAfname();
}

void TZORinvoer::ResetAfname() {
    Afname.ResetAfname();
    ShowRecord();
    // Emptying the code makes the subject incomplete, as typing would.
    Afname.MayContinue();
    LockCodeOnceStarted();
    ActiveControl = &Ecode;
    tests_.ResetIntroductionsAndTests();
    app().sounds().beginAdministration();
    ButtonNP.load(ButtonPicture("BtnHMoff.gif"));
    ButtonST.load(ButtonPicture("BtnSToff.gif"));
    ButtonNP.enabled = true;
    ButtonST.enabled = true;
    ButtonST.visible = true;
    ButtonContin.enabled = false;
    ButtonContin.visible = false;
    OfferRecording();
}

void TZORinvoer::OfferRecording() {
    // The last take of the administration before may still be in its second
    // after the stop: it is written in its own time.
    Answers.endInBackground();
    CBopnemen.enabled = false;
    CBopnemen.checked = false;
    CBopnemen.hint = kSearchingMicrophoneHint;
    recordingOnlyOffered_ = false;
    // The sound server may keep the check waiting: the screen goes on meanwhile.
    microphoneCheck_.start(app().recorder(), [this](const std::optional<std::string>& problem) {
        ShowMicrophoneCheck(problem);
    });
}

void TZORinvoer::ShowMicrophoneCheck(const std::optional<std::string>& problem) {
    if (problem) {
        CBopnemen.hint = kNoRecordingPrefix + *problem;
        return;
    }
    CBopnemen.enabled = true;
    CBopnemen.hint = kRecordingHint;
    CBopnemen.checked = Main().RecordAnswersChosen();
    recordingOnlyOffered_ = CBopnemen.checked;
}

void TZORinvoer::CBopnemenClick() {
    recordingOnlyOffered_ = false;
    // Remembering is a convenience: a settings file that cannot be written
    // is reported, the choice holds for this administration all the same.
    try {
        Main().RememberRecordAnswers(CBopnemen.checked);
    } catch (const std::exception& e) {
        app().showMessage(std::string("De keuze \"Antwoorden opnemen\" is niet onthouden. ") +
                          e.what());
    }
}

void TZORinvoer::BeginRecording() {
    // Without the check's answer the box stays as it is, unticked: the choice
    // is made now.
    if (microphoneCheck_.waiting()) {
        microphoneCheck_.cancel();
        CBopnemen.hint = std::string(kNoRecordingPrefix) + kCheckUnfinishedReason;
    }
    if (Answers.recording()) return;
    if (!CBopnemen.checked || !CBopnemen.enabled) return;
    if (recordingOnlyOffered_) {
        const ui::ModalResult answer = app().dialogs().confirm(
            kRecordingQuestion, ui::ConfirmButtons::YesNo,
            {.title = kRecordingTitle,
             .defaultButton = ui::ModalResult::No,
             .fontFamily = {},
             .messagePointSize = 0});
        recordingOnlyOffered_ = false;
        if (answer != ui::ModalResult::Yes) {
            CBopnemen.checked = false;
            return;
        }
    }
    // The choice is made: it holds for the whole administration.
    CBopnemen.enabled = false;
    Answers.begin(DataFolder());
}

void TZORinvoer::ShowRecord() {
    showingRecord_ = true;
    // The length limit is for typing: a code with its sequence suffix (" #2")
    // is longer and must show, and stay in the record, whole.
    Ecode.maxLength = 0;
    Ecode.setText(Afname.Ecode);
    Ecode.maxLength = kMaxTypedCodeLength;
    RGsekse.itemIndex = static_cast<int>(Afname.RGsekse);
    Egebdag.setText(Afname.Egebdag);
    Egebmnd.setText(Afname.Egebmnd);
    Egebjaar.setText(Afname.Egebjaar);
    Eafndag.setText(Afname.Eafndag);
    Eafnmnd.setText(Afname.Eafnmnd);
    Eafnjaar.setText(Afname.Eafnjaar);
    Eschool.setText(Afname.Eschool);
    Egroep.setText(Afname.Egroep);
    Etl.setText(Afname.Etl);
    showingRecord_ = false;
}

void TZORinvoer::EcodeKeyPress(char32_t& key) {
    if (IsCodeKey(key)) return;
    key = 0;
    app().showMessage(std::string(kCodeKeyMessage));
}

void TZORinvoer::Edit1KeyPress(char32_t& key) {
    if (IsDigitKey(key)) return;
    key = 0;
    app().showMessage(std::string(kDigitKeyMessage));
}

void TZORinvoer::EcodeChange() {
    // Pasted text passes no key filter; characters no code may hold go, so
    // that the code can always name the administration's files.
    if (!showingRecord_) {
        std::string code = Ecode.text();
        std::erase_if(code, [](char c) { return !IsCodeCharacter(c); });
        if (code != Ecode.text()) {
            Ecode.setText(code);  // runs this handler again with the clean code
            return;
        }
    }
    FieldChanged(Ecode, Afname.Ecode);
}

void TZORinvoer::Edit1Change(ui::Edit& edit) {
    std::string& field = &edit == &Egebdag    ? Afname.Egebdag
                         : &edit == &Egebmnd  ? Afname.Egebmnd
                         : &edit == &Egebjaar ? Afname.Egebjaar
                         : &edit == &Eschool  ? Afname.Eschool
                         : &edit == &Egroep   ? Afname.Egroep
                                              : Afname.Etl;
    FieldChanged(edit, field);
}

void TZORinvoer::FieldChanged(ui::Edit& edit, std::string& field) {
    field = edit.text();
    if (showingRecord_) return;
    if (CharacterCount(edit.text()) >= static_cast<std::size_t>(edit.maxLength)) {
        ActiveControl = NextInTabOrder(edit);
    }
    MayContinue();
}

// The code names the administration's files and finds its data lines; changed
// after the start, the results would no longer reach them at the next save.
void TZORinvoer::LockCodeOnceStarted() { Ecode.readOnly = !Afname.MdataFW.empty(); }

ui::Control* TZORinvoer::NextInTabOrder(const ui::Edit& edit) {
    if (&edit == &Ecode) return &RGsekse;
    if (&edit == &Egebdag) return &Egebmnd;
    if (&edit == &Egebmnd) return &Egebjaar;
    if (&edit == &Egebjaar) return &Eschool;
    if (&edit == &Eschool) return &Egroep;
    if (&edit == &Egroep) return &Etl;
    return &Ecode;
}

bool TZORinvoer::MayContinue() {
    if (!Afname.MayContinue()) return false;
    ButtonST.load(ButtonPicture("BtnSTred.gif"));
    return true;
}

void TZORinvoer::STExecute() {
    PlayClick();
    shell_.later.ZORkeuze->Hide();
    tests_.PrepareFreshRun();
    Afname.CurrentStepFW = 1;
    Afname.CurrentStepFV = 1;

    Afname.SubjectValid = false;
    ui::Dialogs& dialogs = app().dialogs();
    if (Afname.Ecode.empty()) {
        dialogs.confirm(kNoCodeMessage, ui::ConfirmButtons::OK);
        return;
    }
    if (Afname.FindSubjectRow(Afname.Ecode) > 0) {
        dialogs.confirm(kExistsMessage, ui::ConfirmButtons::OK);
        return;
    }
    if (Afname.RGsekse == Sex::None) {
        dialogs.confirm(kNoSexMessage, ui::ConfirmButtons::OK);
        return;
    }
    if (!MayContinue()) {
        dialogs.confirm(kBirthDateMessage, ui::ConfirmButtons::OK);
        const std::string& month = Afname.Egebmnd;
        const bool monthFine = month.size() == 2 && IsDigit(month[0]) && IsDigit(month[1]) &&
                               std::stoi(month) <= 12;
        ActiveControl = monthFine ? &Egebdag : &Egebmnd;
        return;
    }
    if (!AcceptSameDay()) return;
    if (const auto refusal =
            locks_.Take(DataFolder(), Afname.AfnameKey, app().clock().wallNow())) {
        dialogs.confirm(*refusal, ui::ConfirmButtons::OK);
        return;
    }
    SetOverwrittenRecordingsAside();

    Afname.SubjectValid = true;
    PendingAction = 2;
    BeginRecording();
    Afname.AppendDataLines();
    LockCodeOnceStarted();
    ButtonST.load(ButtonPicture("BtnSTon.gif"));
    ButtonNP.enabled = false;
    Latency();
}

bool TZORinvoer::AcceptSameDay(bool resuming) {
    overwritesExisting_ = false;
    Afname.AfnameKey = Afname.SubjectKey();
    Afname.MemoCom.resize(std::max<std::size_t>(Afname.MemoCom.size(), 2));
    Afname.MemoCom[0] = Afname.AfnameKey;
    int n = 0;
    const fs::path& folder = DataFolder();
    while (true) {
        const AdministrationPaths paths = PathsInDataFolder(folder, Afname.AfnameKey);
        std::error_code missing;
        const bool incomplete =
            !folder.empty() && std::filesystem::exists(paths.incomplete, missing);
        // A finished administration has no incomplete-administration file any
        // more, but its data files would be overwritten all the same.
        const bool finished = !folder.empty() && !incomplete &&
                              (std::filesystem::exists(paths.dataFW, missing) ||
                               std::filesystem::exists(paths.dataFV, missing));
        if (!incomplete && !finished) {
            Afname.MemoCom[1] = std::to_string(n);
            return true;
        }
        if (incomplete) {
            LinesFile existing = ReadLinesFile(paths.incomplete);
            if (existing.error) throw std::runtime_error(existing.error->message);
            Afname.MemoCom = std::move(existing.lines);
            Afname.MemoCom.resize(std::max<std::size_t>(Afname.MemoCom.size(), 2));
        } else {
            Afname.MemoCom = {Afname.AfnameKey, std::to_string(SuffixNumber(Afname.Ecode))};
        }
        const int loaded = SequenceNumber(Afname.MemoCom);
        n = loaded;
        // "Nee", the default, keeps the existing administration and starts a
        // new one beside it.
        const ui::ModalResult answer =
            app().dialogs().confirm(kSameDayQuestion, ui::ConfirmButtons::YesNo,
                                    {.title = kSameDayTitle,
                                     .defaultButton = ui::ModalResult::No,
                                     .fontFamily = "Arial",
                                     .messagePointSize = 8});
        if (answer == ui::ModalResult::Yes) {
            overwritesExisting_ = true;
            return true;
        }
        if (answer != ui::ModalResult::No && !resuming) return false;

        n = n + 1 == 1 ? 2 : n + 1;
        Afname.VolgnrSuffix = " #" + std::to_string(n);
        std::string code = Afname.Ecode;
        if (loaded > 0) {
            const std::size_t hash = code.find('#');
            code = code.substr(0, hash == std::string::npos || hash == 0 ? hash : hash - 1);
        }
        Afname.Ecode = code + Afname.VolgnrSuffix;
        ShowRecord();
        Afname.AfnameKey = Afname.SubjectKey();
        Afname.MemoCom[0] = Afname.AfnameKey;
    }
}

void TZORinvoer::KnContinClick() {
    shell_.later.ZORkeuze->Hide();
    PendingAction = 3;
    PlayClick();
    BeginRecording();
    ButtonContin.load(ButtonPicture("BtnTHon.gif"));
    Latency();
    tests_.PrepareContinue();
    if (const int row = Afname.FindSubjectRow(Afname.Ecode); row > 0) Afname.ReplaceDataLines(row);
}

void TZORinvoer::OpenIntroductionByStatus() {
    switch (Afname.AfnameStatus) {
        case 1:
            tests_.ShowIntroduction(Subtest::FV, false);
            break;
        case 2:
            tests_.ShowIntroduction(Subtest::FW, false);
            break;
        case 3:
            Afname.AfnameStatus = 5;
            tests_.ShowIntroduction(Subtest::FW, true);
            break;
        case 4:
            Afname.AfnameStatus = 6;
            tests_.ShowIntroduction(Subtest::FV, true);
            break;
        case 5:
            tests_.ShowIntroduction(Subtest::FW, true);
            break;
        case 6:
            tests_.ShowIntroduction(Subtest::FV, true);
            break;
        default:
            break;
    }
}

void TZORinvoer::NPExecute() {
    PlayClick();
    PendingAction = 1;
    ButtonNP.load(ButtonPicture("BtnHMon.gif"));
    ButtonST.load(ButtonPicture("BtnSToff.gif"));
    ButtonContin.load(ButtonPicture("BtnTHoff.gif"));
    Latency();
}

void TZORinvoer::PrevPage() {
    PlayClick();
    ReturnToMainMenu(true);
}

void TZORinvoer::ReturnToMainMenu(bool immediately) {
    if (!Afname.Ecode.empty() && Afname.SubjectValid) Opslaan1Click();
    Main().ZORMainInitialize();
    ButtonNP.load(ButtonPicture("BtnHMoff.gif"));
    if (immediately) ButtonST.load(ButtonPicture("BtnSToff.gif"));
    ButtonNP.enabled = true;
    ButtonST.enabled = true;
    shell_.later.ZORkeuze->Hide();
    shell_.later.ZORkeuze->setModalResult(ui::ModalResult::Cancel);
    Close();
}

void TZORinvoer::Opslaan1Click(std::function<void()> then) {
    PendingAction = 4;
    const SaveResult result = SaveAdministration(Afname, DataFolder());
    if (result.outcome == SaveResult::Outcome::kSaved) journal_.Saved(Afname);
    const bool saved = result.outcome == SaveResult::Outcome::kSaved ||
                       (result.outcome == SaveResult::Outcome::kNeedsBackup && BackupProcedure());
    if (!saved) {
        if (then) then();
        return;
    }
    shell_.message->ShowModal([then = std::move(then)](ui::ModalResult) {
        if (then) then();
    });
}

// Without a writable data folder the test leader picks another place. The save
// notice says the data are stored, so it appears only when they are.
bool TZORinvoer::BackupProcedure() {
    ui::Dialogs& dialogs = app().dialogs();
    dialogs.confirm(kBackupStartMessage, ui::ConfirmButtons::OK);
    ui::FileDialogRequest request;
    request.filter = "ZOR-bestand|*.zta|ZOR-bestand|*.zta";
    request.defaultExt = "zta";
    request.fileName = folders::incompleteFileName(Afname.AfnameKey);
    request.title = app().title + " - Kies een alternatieve locatie...";
    request.overwritePrompt = true;
    request.hideReadOnly = true;
    const std::optional<std::string> chosen = dialogs.saveFile(request);
    if (!chosen) return false;

    app().cursor = ui::Cursor::HourGlass;
    const std::vector<FileError> errors = WriteBackupFiles(Afname, *chosen);
    caption = app().title;
    app().cursor = ui::Cursor::Default;
    if (!errors.empty()) {
        dialogs.confirm(kBackupFailedMessage + errors.front().message, ui::ConfirmButtons::OK);
        return false;
    }
    dialogs.confirm(kBackupDoneMessage, ui::ConfirmButtons::OK);
    return true;
}

void TZORinvoer::ResumeAfname() {
    const std::string resumedKey = fs::path(Main().ResumeFileName()).stem().string();
    ResumeResult result;
    if (Main().ResumeFileName().empty()) {
        result = ResumeFromFiles(Afname, Main().ResumeFileName(), DataFolder());
    } else if (std::optional<std::string> refusal = TakeResumeLocks(resumedKey)) {
        result = {ResumeResult::Outcome::kLoadFailed, *refusal, {}, Main().ResumeFileName()};
    } else {
        result = ResumeFromFiles(Afname, Main().ResumeFileName(), DataFolder());
    }
    if (result.outcome == ResumeResult::Outcome::kNothingChosen) return;
    ButtonST.enabled = false;
    ButtonST.visible = false;
    ButtonContin.enabled = true;
    ButtonContin.visible = true;
    ButtonContin.load(ButtonPicture("BtnTHred.gif"));
    ButtonNP.enabled = true;
    ShowRecord();
    LockCodeOnceStarted();
    if (result.outcome == ResumeResult::Outcome::kResumed) {
        ResolveResumeCollision(resumedKey);
        // On a later day the administration has a new key: its recordings go with it.
        if (!DataFolder().empty() && Afname.AfnameKey != resumedKey) {
            try {
                CarryRecordings(DataFolder(), resumedKey, Afname.AfnameKey);
            } catch (const std::exception& e) {
                app().showMessage(
                    std::string("De opnames van de eerdere afnamedag zijn niet meegenomen. ") +
                    e.what());
            }
        }
        return;
    }
    // Nothing was loaded: continuing has nothing to open; the file stays for another try.
    Afname.AfnameStatus = 0;
    if (result.outcome == ResumeResult::Outcome::kLoadFailed) {
        app().showMessage(result.message);
    } else {
        app().dialogs().confirm(result.message, ui::ConfirmButtons::OK);
    }
}

std::optional<std::string> TZORinvoer::TakeResumeLocks(const std::string& resumedKey) {
    const auto now = app().clock().wallNow();
    std::vector<std::string> keys{resumedKey};
    if (const std::optional<std::string> code = CodeOfKey(resumedKey)) {
        keys.push_back(*code + "_" + Afname.Eafndag + "-" + Afname.Eafnmnd + "-" +
                       Afname.Eafnjaar);
    }
    for (const std::string& key : keys) {
        if (std::optional<std::string> refusal = locks_.Take(DataFolder(), key, now)) {
            locks_.ReleaseAll();
            return refusal;
        }
    }
    return std::nullopt;
}

void TZORinvoer::ResolveResumeCollision(const std::string& resumedKey) {
    if (Afname.AfnameKey == resumedKey) return;
    const std::string code = Afname.Ecode;
    const int row = Afname.FindSubjectRow(code);
    if (!AcceptSameDay(true)) return;
    if (Afname.Ecode != code && row > 0) {
        // The data lines carry the code: they follow its new sequence suffix.
        Afname.ReplaceDataLines(row);
        LockCodeOnceStarted();
    }
    if (const auto refusal =
            locks_.Take(DataFolder(), Afname.AfnameKey, app().clock().wallNow())) {
        app().dialogs().confirm(*refusal, ui::ConfirmButtons::OK);
        return;
    }
    SetOverwrittenRecordingsAside();
}

void TZORinvoer::SetOverwrittenRecordingsAside() {
    if (!overwritesExisting_ || DataFolder().empty()) return;
    overwritesExisting_ = false;
    // The recordings are the test leader's: a failure is told, the start goes on.
    try {
        SetRecordingsAside(DataFolder(), Afname.AfnameKey);
    } catch (const std::exception& e) {
        app().showMessage("De opnames van de overschreven afname zijn niet apart gezet; ze "
                          "kunnen bij het corrigeren voor die van deze afname worden gehouden. " +
                          std::string(e.what()));
    }
}

void TZORinvoer::OfferRecovery() {
    const fs::path& folder = DataFolder();
    if (folder.empty()) return;
    for (const fs::path& journal : FindJournals(folder)) {
        // A recovery file never keeps the program from starting.
        try {
            OfferRecoveryOf(journal);
        } catch (const std::exception& e) {
            app().showMessage(e.what());
        }
        locks_.ReleaseAll();
    }
}

void TZORinvoer::OfferRecoveryOf(const fs::path& journal) {
    const fs::path& folder = DataFolder();
    const auto now = app().clock().wallNow();
    ui::Dialogs& dialogs = app().dialogs();
    const auto setAside = [&](const std::string& why) {
        const SetAsideResult moved = SetJournalAside(folder, journal, now);
        if (moved.error) {
            app().showMessage(why + moved.error->message);
        } else if (!why.empty()) {
            app().showMessage(why + "Het is apart gezet als \"" + moved.moved.string() + "\".");
        }
    };
    const JournalRead read = ReadJournal(journal);
    if (!read.state) {
        setAside("Het herstelbestand \"" + journal.string() + "\" is onbruikbaar: " +
                 read.problem + ". ");
        return;
    }
    const JournalState& state = *read.state;
    // Held by a running program: its administration is open there.
    if (LiveHolder(folder, state.key, locks_.self(), now)) return;
    if (locks_.Take(folder, state.key, now)) return;

    const std::string question =
        "Het ZOR-afnameprogramma is onverwacht gestopt tijdens de testafname \"" + state.key +
        "\" (laatst bijgewerkt op " + read.updated +
        ").\n\nWilt u deze afname herstellen?\n\nJa: de gegevens tot en met de laatste "
        "score worden opgeslagen; zet de afname daarna voort met \"Testafname hervatten\".\n"
        "Nee: het herstelbestand wordt apart gezet in de map \"" +
        SetAsideFolder(folder).string() + "\".";
    const ui::ModalResult answer =
        dialogs.confirm(question, ui::ConfirmButtons::YesNo,
                        {.title = kRecoveryTitle,
                         .defaultButton = ui::ModalResult::Yes,
                         .fontFamily = {},
                         .messagePointSize = 0});
    if (answer != ui::ModalResult::Yes) {
        setAside("");
        return;
    }
    if (const std::optional<FileError> error = WriteRecoveredFiles(folder, state)) {
        app().showMessage("De testafname \"" + state.key + "\" is niet hersteld. " +
                          error->message + " Het herstelbestand \"" + journal.string() +
                          "\" blijft bewaard.");
        return;
    }
    std::error_code ignored;
    fs::remove(journal, ignored);
    dialogs.confirm("De testafname \"" + state.key +
                        "\" is hersteld. Zet de afname voort met \"Testafname hervatten\".",
                    ui::ConfirmButtons::OK,
                    {.title = kRecoveryTitle,
                     .defaultButton = std::nullopt,
                     .fontFamily = {},
                     .messagePointSize = 0});
}

void TZORinvoer::LatencyStep() {
    switch (PendingAction) {
        case 1:
            ReturnToMainMenu(false);
            break;
        case 2:
            tests_.ClearTimerPhases();
            tests_.ShowIntroduction(tests_.ChosenSubtest() == 1 ? Subtest::FV : Subtest::FW, false);
            break;
        case 3:
            Afname.SubjectValid = true;
            OpenIntroductionByStatus();
            break;
        case 4:
            fade.enabled = true;
            break;
        default:
            break;
    }
}

}  // namespace zor::record
