#include "report/report_preview.h"

#include <filesystem>

#include "record/administration_files.h"
#include "report/report_documents.h"
#include "report/report_files.h"
#include "ui/application.h"

namespace zor::report {

TPP::TPP(ui::Application& app, shell::MainMenu& mainMenu, ReportPrinting& printing,
         AdministrationHost& administration)
    : ReportScreen(app, "PP", mainMenu, printing, ReportKind::Preview),
      administration_(administration) {
    RzButton1.onClick = [this] { RzButton1Click(); };
    ButtonExit.onClick = [this] { Exitclick(); };
    FormCreate();
}

void TPP::FormCreate() { ResetForComposing(); }

void TPP::FormActivate() {
    if (!ComposePending) return;
    ComposePending = false;
    repaint();
    scores_ = BuildPreviewReport(PrintPreview.Store(), administration_.Record(), Today(),
                                 Pictures());
}

void TPP::RzButton1Click() {
    app().showMessage(
        "Vanaf versie 1.0.2.1 zijn de testrapporten ook in PDF-formaat beschikbaar. Deze worden "
        "na het sluiten van dit venster opgeslagen op de locatie van uw testrapporten in de map "
        "\"PDF\". Uw PDF-locatie: [" +
        folders::pdfFolder(TRpath()).string() + "].");
}

void TPP::StoreReportFiles() {
    record::AdministrationRecord& record = administration_.Record();
    Edit1.setText(AdministrationDateText(record));
    const std::string date = Edit1.text();
    const ReportFileNames names = ReportFileNamesFor(TRpath(), record.Ecode, date);
    pagestore::TPrintPreview& store = PrintPreview.Store();
    try {
        StoreReport(store, names, ClockOfDate(Today()));
        return;
    } catch (const std::exception&) {
    } catch (...) {
        app().showMessage("Exception Raised");
        return;
    }
    const auto chosen =
        AskAlternativeLocation(folders::reportFileName(record.Ecode, record::FormatDate(Today())));
    if (!chosen) return;
    try {
        StoreAtChosenPlace(store, *chosen,
                           folders::pdfFileName(folders::administrationKey(record.Ecode, date)),
                           Today());
    } catch (const std::exception& e) {
        app().showMessage(e.what());
    }
}

void TPP::Exitclick() {
    mainMenu_.ClickSound();
    StoreReportFiles();

    record::AdministrationRecord& record = administration_.Record();
    administration_.Opslaan1Click();
    if (record.AfnameStatus == 7) {
        std::error_code ignored;
        std::filesystem::remove(
            record::PathsInDataFolder(mainMenu_.Datapath(), record.AfnameKey)
                .incomplete,
            ignored);
    }
    administration_.ReportClosed();
    Close();
}

}  // namespace zor::report
