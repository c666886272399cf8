// zor-tool report: the report of a stored administration, composed as the
// stored-report viewer composes a corrected administration's report, written as
// report file and PDF under the names the report preview gives them.
//   zor-tool report [--date dd-mm-jjjj] datamap sleutel uitvoermap
// The data files are datamap/Data/<sleutel>_FW.wda and _FV.vda. The report file
// goes into the output folder, the PDF into its "PDF" subfolder (made when
// missing). --date sets the composition date (default today).
#include <filesystem>
#include <optional>

#include "administration_scores.h"
#include "pagestore/print_preview.h"
#include "record/administration_files.h"
#include "record/stored_administration.h"
#include "report/picture_file.h"
#include "report/report_documents.h"
#include "subcommand.h"
#include "ui/native_path.h"
#include "tool_paths.h"

namespace zor::tool {

namespace fs = std::filesystem;

int RunReport(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    std::vector<std::string> operands;
    std::optional<record::Date> today;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--date" && i + 1 < arguments.size()) {
            today = record::DateFromText(arguments[++i]);
            if (!today) {
                err << "zor-tool report: \"" << arguments[i] << "\" is geen datum dd-mm-jjjj\n";
                return kExitUsage;
            }
        } else {
            operands.push_back(arguments[i]);
        }
    }
    if (operands.size() != 3) {
        err << "Gebruik: zor-tool report [--date dd-mm-jjjj] datamap sleutel uitvoermap\n";
        return kExitUsage;
    }
    const fs::path dataFolder = fs::path(operands[0]) / record::kDataFolderName;
    const std::string& key = operands[1];
    const fs::path outFolder = operands[2];

    record::AdministrationRecord admin;
    const fs::path dataFW = dataFolder / (key + "_FW.wda");
    const fs::path dataFV = dataFolder / (key + "_FV.vda");
    record::Date afnameDate;
    try {
        record::StoredAdministration stored = record::ReadStoredAdministration(dataFW, dataFV, Today());
        afnameDate = stored.afnameDate;
        record::LoadStoredAdministration(admin, std::move(stored));
    } catch (const record::StoredAdministrationError& e) {
        err << "zor-tool report: " << e.what() << "\n";
        return kExitFailure;
    }
    if (!today) today = Today();

    std::error_code error;
    if (!fs::is_directory(outFolder, error)) {
        err << "zor-tool report: " << outFolder.string() << ": map bestaat niet\n";
        return kExitFailure;
    }
    fs::create_directory(outFolder / "PDF", error);
    if (error) {
        err << "zor-tool report: " << (outFolder / "PDF").string() << ": " << error.message() << "\n";
        return kExitFailure;
    }

    const report::ReportFileNames names = report::ReportFileNamesFor(
        outFolder.string(), admin.Ecode, report::AdministrationDateText(admin));
    const fs::path reportFile = ui::nativePath(names.report);
    const fs::path pdfFile = ui::nativePath(names.pdf);
    try {
        const report::ReportPictures pictures =
            report::LoadReportPictures(GraphicsFolder(), report::ReportKind::Viewer);
        pagestore::TPrintPreview store;
        report::BuildCorrectedReport(store, admin, afnameDate, *today, pictures);
        store.SaveToFile(reportFile);
        store.SaveAsPDF(pdfFile, report::ClockOfDate(*today));
    } catch (const norms::ConversionError& e) {
        err << "zor-tool report: " << dataFW.string() << " / " << dataFV.string() << ": " << e.what()
            << "\n";
        return kExitFailure;
    } catch (const std::exception& e) {
        err << "zor-tool report: " << e.what() << "\n";
        return kExitFailure;
    }
    std::error_code pdfError;
    if (!fs::exists(pdfFile, pdfError)) {
        err << "zor-tool report: " << pdfFile.string() << ": PDF kon niet worden geschreven\n";
        return kExitFailure;
    }
    out << reportFile.string() << "\n" << pdfFile.string() << "\n";
    return kExitSuccess;
}

}  // namespace zor::tool
