#pragma once
// The report preview `TPP` (form Printpreview2): shows the report right after an
// administration, prints it, and on closing stores it as report file and PDF in
// the report folder, saves the administration and hands back to the finish screen.
#include "report/report_screen.h"

namespace zor::report {

class TPP : public ReportScreen {
public:
    TPP(ui::Application& app, shell::MainMenu& mainMenu, ReportPrinting& printing,
        AdministrationHost& administration);

    // Creation step: at start-up, from the finish screen's home button, and
    // whenever the printer set-up dialog closes.
    void FormCreate();
    void FormActivate();
    void RzButton1Click();
    void Exitclick();

    const ReportScores& Scores() const { return scores_; }

protected:
    void onActivate() override { FormActivate(); }

private:
    void StoreReportFiles();

    AdministrationHost& administration_;
    ReportScores scores_;
};

}  // namespace zor::report
