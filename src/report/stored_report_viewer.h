#pragma once
// The stored-report viewer `TTRO` (form Testrapport2): opens a stored report
// file, shows and prints it, makes its PDF when missing, leads to the correction
// screen, and composes and stores the report of a confirmed correction under
// the "_gecorrigeerd" names.
#include <filesystem>
#include <string>

#include "report/report_screen.h"

namespace zor::report {

class TTRO : public ReportScreen {
public:
    TTRO(ui::Application& app, shell::MainMenu& mainMenu, ReportPrinting& printing,
         FolderOpener& folders);

    // The correction screen, known once start-up has made it.
    void SetCorrection(CorrectionHost* correction) { correction_ = correction; }

    ui::ImageButton LOADbtn;
    ui::ImageButton CORRbtn;
    // Whether answer recordings exist for the report's administration (they
    // are played at correction).
    ui::Label RecordingsLabel{*this, "RecordingsLabel", {450, 46, 147, 16}};

    std::string ReportJobTitle;
    std::string ReportKey;

    // Creation step: at start-up and whenever the open dialog or the printer
    // set-up dialog closes.
    void FormCreate();
    // Welcome page and open dialog while ComposePending is set; afterwards the
    // report of a confirmed correction, composed and stored.
    void FormActivate();
    void LoadButtonClick();
    void CORRbtnClick();
    void RzButton1Click();
    void Exitclick();
    // The correction screen's confirmation: the corrected report is composed
    // and stored at once, not at the next activation.
    void ComposeConfirmedCorrection();
    // The correction screen closed or could not open: the correction button
    // comes back to rest.
    void CorrectionClosed();

protected:
    void onActivate() override { FormActivate(); }

    // "Opnames: 24 items" or "Geen opnames" for the administration `key`.
    static std::string RecordingsText(const std::filesystem::path& datapath, const std::string& key);

private:
    void Autostart();
    void OpenStep();
    void ComposeCorrectedReport();
    void StoreCorrectedReport(CorrectionHost& correction);

    FolderOpener& folders_;
    CorrectionHost* correction_ = nullptr;
};

}  // namespace zor::report
