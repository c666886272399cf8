#include "correction/correction_screen.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <stdexcept>

#include "folders/folders.h"
#include "record/answer_recordings.h"
#include "record/key_filters.h"
#include "record/data_line.h"
#include "record/stored_administration.h"
#include "record/text_fields.h"
#include "ui/application.h"

namespace zor::correction {
namespace {

namespace fs = std::filesystem;
using record::IsCodeKey;
using record::IsDigitKey;
using record::kCodeKeyMessage;
using record::kDigitKeyMessage;
using record::Subtest;

const std::string kNoCodeMessage = "Type eerst een proefpersoonnaam";
const std::string kBirthDateMessage =
    "Ongeldige ingave! Vul een correcte geboortedatum [dd-mm-jjjj] in s.v.p.!";
const std::string kConfirmQuestion =
    "Hiermee worden de gegevens van deze testafname gewijzigd. Het nieuwe testrapport en de "
    "bijbehorende datafiles worden als nieuw bestand opgeslagen onder dezelfde danwel "
    "aangepaste naam met toevoeging van het label \"_gecorrigeerd\". Doorgaan?";
const std::string kNoAdministrationMessage =
    "Er is geen testafname geladen: zonder afnamedatum kan niets gecorrigeerd worden.";
const std::string kNotSavedPrefix = "De gecorrigeerde data zijn niet opgeslagen. ";

constexpr std::size_t kCodeFieldLength = 30;
constexpr int kPanelLeft = 400;
constexpr int kFWPanelTop = 115;
constexpr int kFVPanelTop = 355;
constexpr int kChoosersPerLine = 4;
constexpr int kItemWidth = 96;
constexpr int kItemHeight = 70;

// "3,4 s" for a stored time of 34 tenths; empty for a cell without one.
std::string StoredTimeSeconds(const std::string& tenthsCell) {
    const std::optional<int> tenths = [&]() -> std::optional<int> {
        int value = 0;
        const auto [end, error] =
            std::from_chars(tenthsCell.data(), tenthsCell.data() + tenthsCell.size(), value);
        if (error != std::errc() || end != tenthsCell.data() + tenthsCell.size() || value < 0)
            return std::nullopt;
        return value;
    }();
    if (!tenths) return {};
    return std::to_string(*tenths / 10) + "," + std::to_string(*tenths % 10) + " s";
}

// A code that can name the corrected files and be read back from a data line:
// only the characters the code field accepts (and the space of a sequence suffix).
bool IsStorableCode(std::string_view code) {
    return !code.empty() && code.size() <= record::kMaxCodeLength &&
           std::all_of(code.begin(), code.end(), record::IsCodeCharacter);
}

bool IsStorableKey(std::string_view key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), record::IsCodeCharacter);
}

std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}


}  // namespace

Tcorrect::Tcorrect(ui::Application& app, shell::MainMenu& main)
    : ui::Screen(app, "correct"), main_(main) {
    caption = "Testgegevens Wijzigen";
    color = 0x000000;
    Background.stretch = true;
    Title.fontSize = 20;
    Title.bold = true;
    Title.color = 0xFFFF00;
    Title.transparent = true;
    for (ui::Label* label : {&LabelCode, &LabelSekse, &LabelGebdat, &LabelAfndat, &LabelSchool,
                             &LabelGroep, &LabelTl, &FWpanel, &FVpanel}) {
        label->color = 0xFFFFFF;
    }
    FWpanel.bold = true;
    FVpanel.bold = true;

    Ecode.maxLength = static_cast<int>(kCodeFieldLength);
    Egebdag.maxLength = 2;
    Egebmnd.maxLength = 2;
    Egebjaar.maxLength = 4;
    Eschool.maxLength = static_cast<int>(record::kMaxSchoolLength);
    Egroep.maxLength = static_cast<int>(record::kMaxGroupLength);
    Etl.maxLength = static_cast<int>(record::kMaxTestLeaderLength);
    for (ui::Edit* field : {&Eafndag, &Eafnmnd, &Eafnjaar}) field->readOnly = true;
    Eafndag.maxLength = 2;
    Eafnmnd.maxLength = 2;
    Eafnjaar.maxLength = 4;
    RGsekse.items = {"Meisje", "Jongen"};

    CORRbtn.onClick = [this] { CORRbtnClick(); };
    ButtonExit.onClick = [this] { ButtonExitClick(); };
    Ecode.onKeyPress = [this](char32_t& key) { EcodeKeyPress(key); };
    Ecode.onChange = [this] { EcodeChange(); };
    for (ui::Edit* field : {&Egebdag, &Egebmnd, &Egebjaar}) {
        field->onKeyPress = [this](char32_t& key) { Edit1KeyPress(key); };
        field->onChange = [this, field] { EditChange(*field); };
    }
    Eschool.onChange = [this] { EschoolChange(); };
    Etl.onChange = [this] { EtlChange(); };
    Egroep.onChange = [this] { afname_.Egroep = Egroep.text(); };
    RGsekse.onClick = [this] { RGsekseClick(); };

    const auto makeChoosers = [this](Subtest subtest, int panelTop,
                                     std::vector<std::unique_ptr<MarkChooser>>& choosers) {
        const std::string prefix(record::SubtestCode(subtest));
        for (int item = 1; item <= kItems; ++item) {
            const int left = kPanelLeft + ((item - 1) % kChoosersPerLine) * kItemWidth;
            const int top = panelTop + ((item - 1) / kChoosersPerLine) * kItemHeight;
            const std::string number = std::to_string(item);
            itemLabels_.push_back(std::make_unique<ui::Label>(
                *this, prefix + "label" + number, ui::Bounds{left, top, kItemWidth - 4, 18},
                "Item " + number));
            itemLabels_.back()->color = 0xFFFFFF;
            auto chooser = std::make_unique<MarkChooser>(*this, prefix + "item" + number + "acc",
                                                         ui::Bounds{left, top + 20, 56, 22}, item);
            MarkChooser& changed = *chooser;
            chooser->onChange = [this, &changed] { AccuChange(changed); };
            choosers.push_back(std::move(chooser));
            auto play = std::make_unique<ui::PushButton>(
                *this, prefix + "play" + number, ui::Bounds{left + 60, top + 20, 30, 22},
                "\u25B6");
            play->hint = "Antwoord van item " + number + " afspelen";
            play->visible = false;
            play->onClick = [this, subtest, item] { playRecording(subtest, item); };
            playButtons_.push_back(std::move(play));
            onsetLabels_.push_back(std::make_unique<ui::Label>(
                *this, prefix + "onset" + number, ui::Bounds{left, top + 44, kItemWidth - 4, 18}));
            onsetLabels_.back()->color = 0xFFFFFF;
            onsetLabels_.back()->fontSize = 8;
        }
    };
    makeChoosers(Subtest::FW, kFWPanelTop, fwChoosers_);
    makeChoosers(Subtest::FV, kFVPanelTop, fvChoosers_);
    answerPlayer_ = app.sounds().createPlayer("MPopname");
}

ui::Label& Tcorrect::ItemLabel(Subtest subtest, int item) {
    return *itemLabels_.at(std::size_t((subtest == Subtest::FW ? 0 : kItems) + item - 1));
}

ui::PushButton& Tcorrect::PlayButton(Subtest subtest, int item) {
    return *playButtons_.at(std::size_t((subtest == Subtest::FW ? 0 : kItems) + item - 1));
}

ui::Label& Tcorrect::OnsetLabel(Subtest subtest, int item) {
    return *onsetLabels_.at(std::size_t((subtest == Subtest::FW ? 0 : kItems) + item - 1));
}

fs::path Tcorrect::buttonPicture(std::string_view name) const {
    return folders::buttonPicture(main_.Pgmpath(), name);
}

CorrectionViewer& Tcorrect::viewer() const {
    if (!viewer_)
        throw std::logic_error("Het correctiescherm is niet aan het rapportvenster gekoppeld.");
    return *viewer_;
}

record::AdministrationPaths Tcorrect::CorrectedPaths() const {
    return record::PathsInDataFolder(main_.Datapath(),
                                     afname_.AfnameKey + std::string(folders::kCorrectedLabel));
}

// --- Opening -------------------------------------------------------------------

void Tcorrect::FormShow() {
    CorrectionConfirmed = false;
    StoredBirthDate.reset();
    StoredAfnameDate.reset();
    try {
        Background.load(folders::graphicsFolder(main_.Pgmpath()) / "Toolbar.jpg");
        CORRbtn.load(buttonPicture("BtnWZNoff.gif"));
        ButtonExit.load(buttonPicture("BtnExit.gif"));
        resetScreen();
        const std::string key = viewer().ReportKey();
        if (const auto refusal =
                locks_.Take(main_.Datapath(), key, app().clock().wallNow()))
            throw std::runtime_error(*refusal);
        loadAdministration(key);
        showRecordings(key);
    } catch (...) {
        locks_.ReleaseAll();
        // The screen does not open; the viewer's button comes back to rest.
        if (viewer_) viewer_->CorrectionClosed();
        throw;
    }
    showRecord();
    ActiveControl = &Ecode;
}

void Tcorrect::resetScreen() {
    afname_.AfnameDate = record::LocalDate(app().clock().wallNow());
    afname_.ResetAfname();
    // The administration date comes from the loaded data line, never from today.
    afname_.Eafndag.clear();
    afname_.Eafnmnd.clear();
    afname_.Eafnjaar.clear();
    afname_.MemoCom.clear();
    afname_.AfnameKey.clear();
    afname_.AfnameStatus = 0;
    afname_.SubjectValid = false;
    afname_.SpeedSSFW = 0;
    afname_.SpeedSSFV = 0;
    afname_.CurrentStepFW = 1;
    afname_.CurrentStepFV = 1;
    afname_.Edit3.clear();
    Ecode.maxLength = static_cast<int>(kCodeFieldLength);
}

void Tcorrect::loadAdministration(const std::string& key) {
    if (!record::IsPlainFileName(key)) {
        throw std::runtime_error("Kan de testafname \"" + key +
                                 "\" niet openen: de naam van het testrapport bevat geen "
                                 "geldige afnamenaam.");
    }
    afname_.MemoCom = {key};
    const record::AdministrationPaths paths =
        record::PathsInDataFolder(main_.Datapath(), key);
    try {
        // resetScreen set the record's date to today.
        record::LoadStoredAdministration(
            afname_, record::ReadStoredAdministration(paths.dataFW, paths.dataFV, afname_.AfnameDate));
    } catch (const record::StoredAdministrationError& e) {
        if (e.kind() == record::StoredAdministrationError::Kind::kUnreadable) {
            throw std::runtime_error(e.what());
        }
        // A refused line: the subtest's message, then the screen and that grid emptied.
        resetScreen();
        (e.subtest() == Subtest::FW ? afname_.SGdataFW : afname_.SGdataFV).ClearColumn(1);
        app().dialogs().confirm(record::RefusalBoxText(e), ui::ConfirmButtons::OK);
    }
}

void Tcorrect::showRecord() {
    // A code loaded with a sequence suffix may be longer than a typed one.
    Ecode.maxLength =
        static_cast<int>(std::max(kCodeFieldLength, record::CharacterCount(afname_.Ecode)));
    // Each field's change handler copies the text back into its own record field.
    Ecode.setText(afname_.Ecode);
    RGsekse.itemIndex = static_cast<int>(afname_.RGsekse);
    Egebdag.setText(afname_.Egebdag);
    Egebmnd.setText(afname_.Egebmnd);
    Egebjaar.setText(afname_.Egebjaar);
    Eafndag.setText(afname_.Eafndag);
    Eafnmnd.setText(afname_.Eafnmnd);
    Eafnjaar.setText(afname_.Eafnjaar);
    Eschool.setText(afname_.Eschool);
    Egroep.setText(afname_.Egroep);
    Etl.setText(afname_.Etl);
    showMarks();
}

void Tcorrect::showMarks() {
    for (int item = 1; item <= kItems; ++item) {
        FWitemAcc(item).showMark(
            afname_.SGRscoreFW.Cell(record::AdministrationRecord::kMarkColumn,
                                    record::AdministrationRecord::kFirstItemRowFW + item - 1));
        AccuColor(FWitemAcc(item));
        FVitemAcc(item).showMark(
            afname_.SGRscoreFV.Cell(record::AdministrationRecord::kMarkColumn, item - 1));
        AccuColor(FVitemAcc(item));
    }
}

void Tcorrect::showRecordings(const std::string& key) {
    const fs::path& datapath = main_.Datapath();
    recordingsFolder_ = record::RecordingsFolder(datapath, key);
    const record::StoredRecordings found = record::FindRecordings(datapath, key);
    for (Subtest subtest : {Subtest::FW, Subtest::FV}) {
        const record::StringGrid& grid = subtest == Subtest::FW ? afname_.SGRscoreFW : afname_.SGRscoreFV;
        const int firstRow = subtest == Subtest::FW ? record::AdministrationRecord::kFirstItemRowFW : 0;
        for (int item = 1; item <= kItems; ++item) {
            const std::string time = StoredTimeSeconds(
                grid.Cell(record::AdministrationRecord::kTimeColumn, firstRow + item - 1));
            ItemLabel(subtest, item).caption =
                "Item " + std::to_string(item) + (time.empty() ? "" : " (" + time + ")");
            const bool recorded = found.has(subtest, item);
            PlayButton(subtest, item).visible = recorded;
            OnsetLabel(subtest, item).caption.clear();
            if (!recorded) continue;
            const auto answer = record::ReadAnswerRecording(
                recordingsFolder_ / record::AnswerFileName(subtest, item));
            if (!answer) {
                OnsetLabel(subtest, item).caption = "opname onleesbaar";
                continue;
            }
            // Information for the test leader only: the marks and times stay as stored.
            const std::optional<double> onset = record::VoiceOnsetAfterPrompt(*answer);
            OnsetLabel(subtest, item).caption =
                onset ? record::VoiceOnsetText(*onset) : "geen stem gevonden";
        }
    }
}

void Tcorrect::playRecording(Subtest subtest, int item) {
    answerPlayer_->setFileName((recordingsFolder_ / record::AnswerFileName(subtest, item)).string());
    answerPlayer_->open();
    answerPlayer_->play();
}

// --- Editing ---------------------------------------------------------------------

void Tcorrect::AccuChange(MarkChooser& changed) {
    constexpr int kMark = record::AdministrationRecord::kMarkColumn;
    for (int item = 1; item <= kItems; ++item) {
        // Items that were not given keep what the data line gave them.
        if (FWitemAcc(item).enabled) {
            afname_.SGRscoreFW.SetCell(kMark,
                                       record::AdministrationRecord::kFirstItemRowFW + item - 1,
                                       FWitemAcc(item).mark());
        }
        if (FVitemAcc(item).enabled) {
            afname_.SGRscoreFV.SetCell(kMark, item - 1, FVitemAcc(item).mark());
        }
    }
    AccuColor(changed);
    ActiveControl = &Ecode;
}

void Tcorrect::AccuColor(MarkChooser& chooser) {
    chooser.color = chooser.itemIndex == MarkChooser::kWrong ? MarkChooser::kWrongColor
                                                             : MarkChooser::kRightColor;
}

void Tcorrect::EcodeKeyPress(char32_t& key) {
    if (IsCodeKey(key)) return;
    app().showMessage(std::string(kCodeKeyMessage));
    key = 0;
}

void Tcorrect::Edit1KeyPress(char32_t& key) {
    if (IsDigitKey(key)) return;
    app().showMessage(std::string(kDigitKeyMessage));
    key = 0;
}

void Tcorrect::EcodeChange() {
    afname_.Ecode = Ecode.text();
    if (record::CharacterCount(Ecode.text()) >= static_cast<std::size_t>(Ecode.maxLength)) {
        ActiveControl = &RGsekse;
    }
}

void Tcorrect::EditChange(ui::Edit& field) {
    std::string* recordField = &afname_.Egebjaar;
    ui::Control* next = &Eschool;
    if (&field == &Egebdag) {
        recordField = &afname_.Egebdag;
        next = &Egebmnd;
    } else if (&field == &Egebmnd) {
        recordField = &afname_.Egebmnd;
        next = &Egebjaar;
    }
    *recordField = field.text();
    if (record::CharacterCount(field.text()) >= static_cast<std::size_t>(field.maxLength)) {
        ActiveControl = next;
    }
}

void Tcorrect::keepShort(ui::Edit& field, std::string& recordField) {
    if (record::CharacterCount(field.text()) > kShortFieldLength) {
        field.setText(record::FirstCharacters(field.text(), kShortFieldLength));
        field.caret = static_cast<int>(kShortFieldLength);
    }
    recordField = field.text();
}

void Tcorrect::EschoolChange() { keepShort(Eschool, afname_.Eschool); }

void Tcorrect::EtlChange() { keepShort(Etl, afname_.Etl); }

void Tcorrect::RGsekseClick() { afname_.RGsekse = static_cast<record::Sex>(RGsekse.itemIndex); }

// --- Correcting ------------------------------------------------------------------

void Tcorrect::CORRbtnClick() {
    main_.ClickSound();
    CORRbtn.load(buttonPicture("BtnWZNon.gif"));
    if (!CheckEdits()) return;
    if (app().dialogs().confirm(kConfirmQuestion, ui::ConfirmButtons::OKCancel) !=
        ui::ModalResult::OK) {
        CORRbtn.load(buttonPicture("BtnWZNoff.gif"));
        return;
    }
    CorrectionConfirmed = true;
    setModalResult(ui::ModalResult::OK);
    viewer().ComposeCorrectedReport();
}

bool Tcorrect::CheckEdits() {
    afname_.SubjectValid = false;
    if (afname_.Ecode.empty()) {
        CORRbtn.load(buttonPicture("BtnWZNoff.gif"));
        app().dialogs().confirm(kNoCodeMessage, ui::ConfirmButtons::OK);
        ActiveControl = &Ecode;
        return false;
    }
    // Pasted text passes no key filter; the code names files, so it is checked here.
    if (!IsStorableCode(afname_.Ecode)) {
        CORRbtn.load(buttonPicture("BtnWZNoff.gif"));
        app().showMessage(std::string(kCodeKeyMessage));
        ActiveControl = &Ecode;
        return false;
    }
    // Complete subject fields and a birth date that is a date; sets Edit3 and
    // AgeMonths to the age today.
    if (!afname_.MayContinue()) {
        CORRbtn.load(buttonPicture("BtnWZNoff.gif"));
        app().dialogs().confirm(kBirthDateMessage, ui::ConfirmButtons::OK);
        const std::optional<int> month = WholeNumber(afname_.Egebmnd);
        const bool monthFits = afname_.Egebmnd.size() == 2 && month && *month <= 12;
        ActiveControl = monthFits ? static_cast<ui::Control*>(&Egebdag) : &Egebmnd;
        return false;
    }
    if (!subjectDatesConvert()) {
        CORRbtn.load(buttonPicture("BtnWZNoff.gif"));
        app().showMessage(kNoAdministrationMessage);
        return false;
    }
    afname_.SubjectValid = true;
    afname_.AfnameKey = afname_.SubjectKey();
    if (afname_.MemoCom.empty()) afname_.MemoCom.emplace_back();
    afname_.MemoCom[0] = afname_.AfnameKey;
    // Each list then holds exactly one line: the corrected administration, its
    // speed scores computed with the age on the administration date.
    afname_.MdataFW.clear();
    afname_.MdataFV.clear();
    afname_.AppendDataLines();
    return true;
}

// The birth date and the administration date as dates; from here on the age
// counts up to the administration date.
bool Tcorrect::subjectDatesConvert() {
    StoredBirthDate = record::DateFromParts(afname_.Egebdag, afname_.Egebmnd, afname_.Egebjaar);
    StoredAfnameDate = record::DateFromParts(afname_.Eafndag, afname_.Eafnmnd, afname_.Eafnjaar);
    if (!StoredBirthDate || !StoredAfnameDate) return false;
    afname_.ComputeAge(*StoredAfnameDate, *StoredBirthDate);
    return true;
}

std::optional<record::FileError> Tcorrect::Opslaan1Click() {
    const int row = afname_.FindSubjectRow(afname_.Ecode);
    if (row > 0) afname_.ReplaceDataLines(row);
    if (afname_.Ecode.empty()) return std::nullopt;

    std::optional<record::FileError> failure;
    const record::AdministrationPaths paths = CorrectedPaths();
    if (!IsStorableKey(afname_.AfnameKey)) {
        failure =
            record::FileError{paths.dataFW, "Ongeldige afnamenaam \"" + afname_.AfnameKey + "\"."};
    } else {
        failure = record::WriteLinesFile(paths.dataFW, afname_.MdataFW);
        if (!failure) failure = record::WriteLinesFile(paths.dataFV, afname_.MdataFV);
    }
    if (failure) app().showMessage(kNotSavedPrefix + failure->message);
    return failure;
}

// --- Leaving -----------------------------------------------------------------------

void Tcorrect::ButtonExitClick() {
    main_.ClickSound();
    Close();
}

void Tcorrect::FormClose() {
    answerPlayer_->close();
    locks_.ReleaseAll();
    CORRbtn.load(buttonPicture("BtnWZNoff.gif"));
    if (viewer_) viewer_->CorrectionClosed();
}

}  // namespace zor::correction
