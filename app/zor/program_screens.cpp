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

// The correction screen as the stored-report viewer reaches it.
class ProgramScreenBuilder::CorrectionLink : public report::CorrectionHost {
  public:
    CorrectionLink(correction::Tcorrect& correction, ui::Application& app)
        : correction_(correction), app_(app) {}
    ui::Screen& screen() override { return correction_; }
    record::AdministrationRecord& Record() override { return correction_.CorrectedRecord(); }
    record::Date StoredAfnameDate() const override {
        if (correction_.StoredAfnameDate) return *correction_.StoredAfnameDate;
        // A confirmed correction always sets the date; today is the sound
        // fallback should it ever be missing.
        const auto days = std::chrono::floor<std::chrono::days>(app_.clock().wallNow());
        const std::chrono::year_month_day ymd{days};
        return record::Date{static_cast<int>(ymd.year()), static_cast<int>(unsigned(ymd.month())),
                            static_cast<int>(unsigned(ymd.day()))};
    }
    bool CorrectionConfirmed() const override { return correction_.CorrectionConfirmed; }
    void ClearCorrectionConfirmed() override { correction_.CorrectionConfirmed = false; }
    void SaveCorrectedAdministration() override { correction_.Opslaan1Click(); }

  private:
    correction::Tcorrect& correction_;
    ui::Application& app_;
};

// The stored-report viewer as the correction screen reaches it.
class ProgramScreenBuilder::ViewerLink : public correction::CorrectionViewer {
  public:
    ViewerLink(report::TTRO& viewer, shell::MainMenu& main) : viewer_(viewer), main_(main) {}
    std::string ReportKey() const override { return viewer_.ReportKey; }
    void ComposeCorrectedReport() override {
        viewer_.ComposePending = false;
        viewer_.FormActivate();
    }
    void CorrectionClosed() override {
        viewer_.CORRbtn.load(main_.Pgmpath() + "\\Graphics\\Buttons\\BtnWZNoff.gif");
    }

  private:
    report::TTRO& viewer_;
    shell::MainMenu& main_;
};

ProgramScreenBuilder::ProgramScreenBuilder(ui::Application& app, report::ReportPrinting& printing,
                                           report::FolderOpener& folders)
    : AdministrationScreenBuilder(app), app_(app), printing_(printing), folders_(folders) {}

ProgramScreenBuilder::~ProgramScreenBuilder() = default;

ui::Screen& ProgramScreenBuilder::createCorrection(shell::ShellScreens& shell) {
    correction_ = std::make_unique<correction::Tcorrect>(app_, *shell.main);
    correctionLink_ = std::make_unique<CorrectionLink>(*correction_, app_);
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
        viewer_->SetCorrection(correctionLink_.get());
        viewerLink_ = std::make_unique<ViewerLink>(*viewer_, *shell.main);
        correction_->setViewer(*viewerLink_);
    }
    return *viewer_;
}

}  // namespace zor::app
