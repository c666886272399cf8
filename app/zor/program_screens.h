#pragma once

#include <memory>

#include "administration/administration_screens.h"
#include "correction/correction_screen.h"
#include "report/report_preview.h"
#include "report/report_services.h"
#include "report/stored_report_viewer.h"

namespace zor::app {

// Creates every screen of the program in start-up order and links them: the
// administration screens with the subject entry, the finish screen's report
// button with the report preview `TPP`, and the stored-report viewer `TTRO`
// with the correction screen `Tcorrect` both ways.
class ProgramScreenBuilder : public administration::AdministrationScreenBuilder {
  public:
    ProgramScreenBuilder(ui::Application& app, report::ReportPrinting& printing,
                         report::FolderOpener& folders);
    ~ProgramScreenBuilder() override;

    ui::Screen& createCorrection(shell::ShellScreens& shell) override;
    ui::Screen& createReportPreview(shell::ShellScreens& shell) override;
    ui::Screen& createStoredReportViewer(shell::ShellScreens& shell) override;

    report::TPP* PP = nullptr;
    report::TTRO* TRO = nullptr;
    correction::Tcorrect* Correct = nullptr;

  private:
    class PreviewLink;
    class AdministrationLink;
    class CorrectionLink;

    ui::Application& app_;
    report::ReportPrinting& printing_;
    report::FolderOpener& folders_;
    std::unique_ptr<report::TPP> preview_;
    std::unique_ptr<report::TTRO> viewer_;
    std::unique_ptr<correction::Tcorrect> correction_;
    std::unique_ptr<PreviewLink> previewLink_;
    std::unique_ptr<AdministrationLink> administrationLink_;
    std::unique_ptr<CorrectionLink> correctionLink_;
};

}  // namespace zor::app
