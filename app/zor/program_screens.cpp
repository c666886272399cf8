#include "zor/program_screens.h"

#include "administration/finish_screen.h"
#include "shell/main_screen.h"

namespace zor::app {

// The report preview as the finish screen opens it; composing again is the
// preview's creation step.
class ProgramScreenBuilder::PreviewLink : public administration::ReportPreview {
  public:
    explicit PreviewLink(report::TPP& preview) : preview_(preview) {}
    ui::Screen& screen() override { return preview_; }
    void Recreate() override { preview_.FormCreate(); }

  private:
    report::TPP& preview_;
};

// The subject entry and the finish screen as the report preview reaches them.
class ProgramScreenBuilder::AdministrationLink : public report::AdministrationHost {
  public:
    explicit AdministrationLink(administration::AdministrationLinks& links) : links_(links) {}
    record::AdministrationRecord& Record() override { return links_.record(); }
    void Opslaan1Click() override { links_.entry->Opslaan1Click(); }
    void ReportClosed() override {
        links_.Finish->ButtonHM.enabled = true;
        links_.Finish->ButtonExit.visible = true;
    }

  private:
    administration::AdministrationLinks& links_;
};

// The stored-report viewer and the correction screen as each reaches the other.
class ProgramScreenBuilder::CorrectionLink : public report::CorrectionHost,
                                             public correction::CorrectionViewer {
  public:
    CorrectionLink(report::TTRO& viewer, correction::Tcorrect& correction)
        : viewer_(viewer), correction_(correction) {}

    // As the viewer sees the correction screen.
    ui::Screen& screen() override { return correction_; }
    record::AdministrationRecord& Record() override { return correction_.CorrectedRecord(); }
    std::optional<record::Date> StoredAfnameDate() const override {
        return correction_.StoredAfnameDate;
    }
    bool CorrectionConfirmed() const override { return correction_.CorrectionConfirmed; }
    void ClearCorrectionConfirmed() override { correction_.CorrectionConfirmed = false; }
    void SaveCorrectedAdministration() override { correction_.Opslaan1Click(); }

    // As the correction screen sees the viewer.
    std::string ReportKey() const override { return viewer_.ReportKey; }
    void ComposeCorrectedReport() override { viewer_.ComposeConfirmedCorrection(); }
    void CorrectionClosed() override { viewer_.CorrectionClosed(); }

  private:
    report::TTRO& viewer_;
    correction::Tcorrect& correction_;
};

ProgramScreenBuilder::ProgramScreenBuilder(ui::Application& app, report::ReportPrinting& printing,
                                           report::FolderOpener& folders)
    : AdministrationScreenBuilder(app), app_(app), printing_(printing), folders_(folders) {}

ProgramScreenBuilder::~ProgramScreenBuilder() = default;

ui::Screen& ProgramScreenBuilder::createCorrection(shell::ShellScreens& shell) {
    correction_ = std::make_unique<correction::Tcorrect>(app_, *shell.main);
    Correct = correction_.get();
    return *correction_;
}

ui::Screen& ProgramScreenBuilder::createReportPreview(shell::ShellScreens& shell) {
    administrationLink_ = std::make_unique<AdministrationLink>(links);
    preview_ = std::make_unique<report::TPP>(app_, *shell.main, printing_, *administrationLink_);
    previewLink_ = std::make_unique<PreviewLink>(*preview_);
    links.preview = previewLink_.get();
    PP = preview_.get();
    return *preview_;
}

ui::Screen& ProgramScreenBuilder::createStoredReportViewer(shell::ShellScreens& shell) {
    viewer_ = std::make_unique<report::TTRO>(app_, *shell.main, printing_, folders_);
    TRO = viewer_.get();
    if (correction_) {
        correctionLink_ = std::make_unique<CorrectionLink>(*viewer_, *correction_);
        viewer_->SetCorrection(correctionLink_.get());
        correction_->setViewer(*correctionLink_);
    }
    return *viewer_;
}

}  // namespace zor::app
