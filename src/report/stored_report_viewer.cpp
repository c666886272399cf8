#include "report/stored_report_viewer.h"

#include <filesystem>

#include "record/answer_recordings.h"
#include "report/report_documents.h"
#include "report/report_files.h"
#include "ui/application.h"

namespace zor::report {

TTRO::TTRO(ui::Application& app, shell::MainMenu& mainMenu, ReportPrinting& printing,
           FolderOpener& folders)
    : ReportScreen(app, "TRO", mainMenu, printing, ReportKind::Viewer),
      LOADbtn(*this, "LOADbtn", {15, 10, 137, 52}),
      CORRbtn(*this, "CORRbtn", {305, 10, 137, 52}),
      folders_(folders) {
    PRbtn.bounds = {160, 10, 137, 52};
    PRbtn.enabled = false;
    Label1.bounds = {434, 24, 60, 16};
    ZoomComboBox.bounds = {500, 21, 97, 21};
    ButtonExit.bounds = {752, 14, 40, 40};
    PrintPreview.backgroundColor.reset();
    CORRbtn.visible = false;
    CORRbtn.load(ButtonPicture("BtnWZNoff.gif"));
    RecordingsLabel.transparent = true;
    RecordingsLabel.color = 0xFFFFFF;
    RecordingsLabel.alignment = ui::Label::Alignment::Right;  // under the zoom box, beside the buttons
    LOADbtn.onClick = [this] { LoadButtonClick(); };
    CORRbtn.onClick = [this] { CORRbtnClick(); };
    RzButton1.onClick = [this] { RzButton1Click(); };
    ButtonExit.onClick = [this] { Exitclick(); };
    FormCreate();
}

void TTRO::FormCreate() {
    LOADbtn.load(ButtonPicture("BtnOPENoff.gif"));
    ResetForComposing();
}

void TTRO::FormActivate() {
    if (ComposePending) {
        repaint();
        BuildCoverPages(PrintPreview.Store(), Pictures());
        Autostart();
        ComposePending = false;
        return;
    }
    // Only a confirmed correction replaces what is shown: a stored report is
    // never replaced by a composition from a correction record it has no part in.
    if (correction_ && correction_->CorrectionConfirmed()) ComposeCorrectedReport();
}

void TTRO::Autostart() { OpenStep(); }

void TTRO::LoadButtonClick() {
    mainMenu_.ClickSound();
    LOADbtn.load(ButtonPicture("BtnOPENon.gif"));
    OpenStep();
}

void TTRO::OpenStep() {
    ui::FileDialogRequest request;
    request.title = "ZOR-rapport openen en afdrukken";
    request.initialDir = TRpath();
    request.defaultExt = "zrp";
    request.filter = "ZOR-rapport (*.zrp)|*.zrp";
    request.hideReadOnly = true;
    request.noChangeDir = true;
    const std::optional<std::string> chosen = app().dialogs().openFile(request);
    FormCreate();  // the dialog's closing handler, confirmed or cancelled
    if (!chosen) return;

    pagestore::TPrintPreview& store = PrintPreview.Store();
    app().cursor = ui::Cursor::HourGlass;
    caption = app().title + " - Loading from file...";
    std::string loadError;
    try {
        store.LoadFromFile(*chosen);
    } catch (const std::exception& e) {
        loadError = e.what();
    }
    ReportJobTitle = "ZOR-rapport - " + *chosen;
    store.SetPrintJobTitle(ReportJobTitle);
    ReportKey = extractTRfilename(ReportJobTitle);
    RecordingsLabel.caption = RecordingsText(mainMenu_.Datapath(), ReportKey);
    caption = app().title;
    app().cursor = ui::Cursor::Default;
    CORRbtn.visible = true;

    // The PDF of a stored report is made when missing and never replaced; a file
    // that did not load has no pages of its own to make it from.
    std::string pdfError;
    const std::filesystem::path pdf = folders::reportPdf(TRpath(), ReportKey);
    std::error_code ignored;
    if (loadError.empty() && store.TotalPages() >= 1 && !std::filesystem::exists(pdf, ignored)) {
        try {
            store.SaveAsPDF(pdf, ClockOfDate(Today()));
        } catch (const std::exception& e) {
            pdfError = e.what();
        }
    }
    if (!loadError.empty()) app().showMessage(loadError);
    if (!pdfError.empty()) app().showMessage(pdfError);
}

std::string TTRO::RecordingsText(const std::filesystem::path& datapath, const std::string& key) {
    if (datapath.empty() || key.empty()) return "Geen opnames";
    const record::StoredRecordings found = record::FindRecordings(datapath, key);
    const std::size_t count = found.deletionItems.size() + found.swapItems.size();
    if (count == 0) return "Geen opnames";
    return "Opnames: " + std::to_string(count) + (count == 1 ? " item" : " items");
}

void TTRO::CORRbtnClick() {
    mainMenu_.ClickSound();
    CORRbtn.load(ButtonPicture("BtnWZNon.gif"));
    if (correction_) correction_->screen().ShowModal();
}

void TTRO::ComposeConfirmedCorrection() {
    ComposePending = false;
    FormActivate();
}

void TTRO::CorrectionClosed() { CORRbtn.load(ButtonPicture("BtnWZNoff.gif")); }

void TTRO::ComposeCorrectedReport() {
    CorrectionHost& correction = *correction_;
    repaint();
    try {
        // A confirmed correction always carries its administration date; the
        // age runs to today should it ever be missing.
        BuildCorrectedReport(PrintPreview.Store(), correction.Record(),
                             correction.StoredAfnameDate().value_or(Today()), Today(),
                             Pictures());
    } catch (...) {
        correction.ClearCorrectionConfirmed();
        CORRbtn.visible = false;
        throw;
    }
    StoreCorrectedReport(correction);
    correction.ClearCorrectionConfirmed();
    CORRbtn.visible = false;
}

void TTRO::StoreCorrectedReport(CorrectionHost& correction) {
    const record::AdministrationRecord& record = correction.Record();
    const std::string date = record.Eafndag + "-" + record.Eafnmnd + "-" + record.Eafnjaar;
    const ReportFileNames names = ReportFileNamesFor(TRpath(), record.Ecode, date, folders::kCorrectedLabel);
    pagestore::TPrintPreview& store = PrintPreview.Store();
    bool stored = false;
    try {
        StoreReport(store, names, ClockOfDate(Today()));
        stored = true;
    } catch (const std::exception&) {
    } catch (...) {
        app().showMessage("Exception Raised");
        stored = true;  // no alternative location for an error of unknown kind
    }
    // The corrected data files are written whatever became of the report files,
    // so a report folder that cannot be written never costs the correction.
    correction.SaveCorrectedAdministration();
    if (stored) return;

    // One offer of another place; a failure there is reported once, never asked again.
    const auto chosen =
        AskAlternativeLocation(folders::reportFileName(record.Ecode, date, folders::kCorrectedLabel));
    if (!chosen) return;
    try {
        StoreAtChosenPlace(
            store, *chosen,
            folders::pdfFileName(folders::administrationKey(record.Ecode, date, folders::kCorrectedLabel)),
            Today());
    } catch (const std::exception& e) {
        app().showMessage(e.what());
    }
}

void TTRO::RzButton1Click() {
    app().showMessage(
        "Vanaf versie 1.0.2.1 zijn de testrapporten ook in PDF-formaat beschikbaar. Deze worden "
        "opgeslagen op de locatie van uw testrapporten in de map \"PDF\". Uw PDF-locatie: [" +
        folders::pdfFolder(TRpath()).string() + "].");
    folders_.OpenFolder(folders::pdfFolder(TRpath()));
}

void TTRO::Exitclick() {
    ComposePending = true;
    mainMenu_.ZORMainInitialize();
    mainMenu_.ClickSound();
    CORRbtn.visible = false;
    Close();
}

}  // namespace zor::report
