// zor-tool pdf: the PDF of stored report files, as the stored-report viewer
// writes it when it opens a report (page 1, named by the report's key, in the
// "PDF" folder beside the report file).
//   zor-tool pdf [--date dd-mm-jjjj] rapport.zrp [uit.pdf]
//   zor-tool pdf [--date dd-mm-jjjj] --missing rapportmap
// --missing writes every PDF of the folder's report files that does not exist
// yet and never replaces one. --date sets the creation date (default today).
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>

#include "pagestore/print_preview.h"
#include "report/report_documents.h"
#include "report/report_files.h"
#include "subcommand.h"
#include "tool_paths.h"

namespace zor::tool {
namespace {

namespace fs = std::filesystem;

// The viewer's PDF name of a report file: "PDF/ZOR - <key>.pdf" beside it.
fs::path DefaultPdfOf(const fs::path& reportFile) {
    return reportFile.parent_path() / "PDF" /
           report::PdfFileName(report::extractTRfilename(reportFile.filename().string()));
}

bool WritePdf(const fs::path& reportFile, const fs::path& pdfFile, const record::Date& today,
              std::ostream& err) {
    try {
        pagestore::TPrintPreview store;
        store.LoadFromFile(reportFile);
        if (store.TotalPages() < 1) {
            err << "zor-tool pdf: " << reportFile.string() << ": het rapport bevat geen pagina\n";
            return false;
        }
        store.SaveAsPDF(pdfFile, report::ClockOfDate(today));
    } catch (const std::exception& e) {
        err << "zor-tool pdf: " << reportFile.string() << ": " << e.what() << "\n";
        return false;
    }
    std::error_code error;
    if (!fs::exists(pdfFile, error)) {
        err << "zor-tool pdf: " << pdfFile.string() << ": PDF kon niet worden geschreven\n";
        return false;
    }
    return true;
}

int WriteMissing(const fs::path& folder, const record::Date& today, std::ostream& out,
                 std::ostream& err) {
    std::error_code error;
    std::vector<fs::path> reports;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".zrp" && it->is_regular_file()) reports.push_back(it->path());
    }
    if (error) {
        err << "zor-tool pdf: " << folder.string() << ": " << error.message() << "\n";
        return kExitFailure;
    }
    std::sort(reports.begin(), reports.end());
    bool allDone = true;
    for (const fs::path& reportFile : reports) {
        const fs::path pdfFile = DefaultPdfOf(reportFile);
        if (fs::exists(pdfFile, error)) continue;
        if (WritePdf(reportFile, pdfFile, today, err)) {
            out << pdfFile.string() << "\n";
        } else {
            allDone = false;
        }
    }
    return allDone ? kExitSuccess : kExitFailure;
}

}  // namespace

int RunPdf(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    std::vector<std::string> operands;
    std::optional<record::Date> today;
    bool missing = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--missing") {
            missing = true;
        } else if (arguments[i] == "--date" && i + 1 < arguments.size()) {
            today = record::DateFromText(arguments[++i]);
            if (!today) {
                err << "zor-tool pdf: \"" << arguments[i] << "\" is geen datum dd-mm-jjjj\n";
                return kExitUsage;
            }
        } else {
            operands.push_back(arguments[i]);
        }
    }
    if (missing ? operands.size() != 1 : (operands.empty() || operands.size() > 2)) {
        err << "Gebruik: zor-tool pdf [--date dd-mm-jjjj] (rapport.zrp [uit.pdf] | --missing "
               "rapportmap)\n";
        return kExitUsage;
    }
    if (!today) today = record::LocalDate(std::chrono::system_clock::now());
    if (missing) return WriteMissing(operands[0], *today, out, err);

    const fs::path reportFile = operands[0];
    const fs::path pdfFile = operands.size() == 2 ? fs::path(operands[1]) : DefaultPdfOf(reportFile);
    if (!WritePdf(reportFile, pdfFile, *today, err)) return kExitFailure;
    out << pdfFile.string() << "\n";
    return kExitSuccess;
}

}  // namespace zor::tool
