// zor-tool report: the report of a stored administration, composed as the
// stored-report viewer composes a corrected administration's report, written as
// report file and PDF under the names the report preview gives them.
//   zor-tool report [--date dd-mm-jjjj] datamap sleutel uitvoermap
//   zor-tool report [--date dd-mm-jjjj] [-j N] --all datamap uitvoermap
// The data files are datamap/Data/<sleutel>_FW.wda and _FV.vda. The report file
// goes into the output folder, the PDF into its "PDF" subfolder (made when
// missing); both are written or neither. --all writes the report of every
// administration of the data folder with both subtests finished whose report
// file does not exist yet, on N threads (default: one per core); an existing
// report is never replaced. --date sets the composition date (default today).
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <set>

#include "administration_scores.h"
#include "command_line.h"
#include "files/atomic_file.h"
#include "files/private_folder.h"
#include "folders/folders.h"
#include "pagestore/print_preview.h"
#include "parallel_items.h"
#include "record/administration_files.h"
#include "record/stored_administration.h"
#include "report/picture_file.h"
#include "report/report_documents.h"
#include "report/report_files.h"
#include "subcommand.h"

namespace zor::tool {
namespace {

namespace fs = std::filesystem;

// Both subtests finished.
constexpr int kCompleteStatus = 7;

struct ReportJob {
    fs::path dataFolder;  // the "Data" folder
    fs::path outFolder;   // holds the "PDF" folder
    record::Date today;
    // Loaded once for a whole folder; a single report loads its own.
    const report::ReportPictures* pictures = nullptr;
    // For a whole folder: administrations not finished and reports that exist are passed over,
    // and the "PDF" folder is made beforehand.
    bool onlyNewComplete = false;
};

// Composes and stores the report of one administration: the report and PDF file names on
// success, or a line naming the file and the reason.
ItemResult WriteReport(const ReportJob& job, const std::string& key) {
    const auto failure = [](const std::string& reason) {
        return ItemResult{false, "", "zor-tool report: " + reason + "\n"};
    };
    record::AdministrationRecord admin;
    const fs::path dataFW = job.dataFolder / folders::dataFileName(key, folders::DataFile::deletion);
    const fs::path dataFV = job.dataFolder / folders::dataFileName(key, folders::DataFile::swap);
    record::Date afnameDate;
    try {
        record::StoredAdministration stored =
            record::ReadStoredAdministration(dataFW, dataFV, Today());
        afnameDate = stored.afnameDate;
        record::LoadStoredAdministration(admin, std::move(stored));
    } catch (const record::StoredAdministrationError& e) {
        return failure(e.what());
    }
    if (job.onlyNewComplete && admin.AfnameStatus != kCompleteStatus) return {};

    std::error_code error;
    if (!fs::is_directory(job.outFolder, error))
        return failure(job.outFolder.string() + ": map bestaat niet");
    const report::ReportFileNames names =
        report::ReportFileNamesFor(job.outFolder, admin.Ecode, report::AdministrationDateText(admin));
    const fs::path& reportFile = names.report;
    const fs::path& pdfFile = names.pdf;
    if (job.onlyNewComplete && fs::exists(reportFile, error)) return {};
    // The report file and the PDF are written as one: a failure leaves neither new
    // file behind (nor the "PDF" folder made for them), and older files as they were.
    bool madePdfFolder = false;
    const auto failed = [&](const std::string& reason) {
        if (madePdfFolder) ::rmdir(pdfFile.parent_path().c_str());
        return failure(reason);
    };
    try {
        if (!job.onlyNewComplete) madePdfFolder = files::CreatePrivateFolder(pdfFile.parent_path());
        report::ReportPictures ownPictures;
        if (!job.pictures)
            ownPictures = report::LoadReportPictures(folders::graphicsFolder(folders::runningProgramFolder()),
                                                       report::ReportKind::Viewer);
        pagestore::TPrintPreview store;
        report::BuildCorrectedReport(store, admin, afnameDate, job.today,
                                     job.pictures ? *job.pictures : ownPictures);
        const std::string reportBytes = store.ReportFileBytes();
        const std::optional<std::string> pdfBytes = store.PdfBytes(report::ClockOfDate(job.today));
        if (!pdfBytes) return failed("het rapport bevat geen pagina");
        const files::FileContents both[] = {{reportFile, reportBytes}, {pdfFile, *pdfBytes}};
        files::ReplaceFilesTogether(both);
    } catch (const files::WriteError& e) {
        return failed((e.file() == pdfFile ? "PDF kon niet worden geschreven. " : "") +
                      std::string(e.what()));
    } catch (const norms::ConversionError& e) {
        return failed(dataFW.string() + " / " + dataFV.string() + ": " + e.what());
    } catch (const std::exception& e) {
        return failed(e.what());
    }
    return {true, reportFile.string() + "\n" + pdfFile.string() + "\n", ""};
}

// Keys of the administrations in the data folder that have both data files, sorted.
std::optional<std::vector<std::string>> KeysWithBothFiles(const fs::path& folder,
                                                          std::ostream& err) {
    std::error_code error;
    std::set<std::string> names;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        names.insert(it->path().filename().string());
    }
    if (error) {
        err << "zor-tool report: " << folder.string() << ": " << error.message() << "\n";
        return std::nullopt;
    }
    std::vector<std::string> keys;
    for (const std::string& name : names) {
        std::optional<std::string> key = folders::keyOfDataFileName(name, folders::DataFile::deletion);
        if (key && names.contains(folders::dataFileName(*key, folders::DataFile::swap)))
            keys.push_back(std::move(*key));
    }
    return keys;
}

// Every administration of the folder that is finished and has no report yet.
int WriteAllReports(ReportJob job, int jobs, std::ostream& out, std::ostream& err) {
    std::error_code error;
    if (!fs::is_directory(job.outFolder, error)) {
        err << "zor-tool report: " << job.outFolder.string() << ": map bestaat niet\n";
        return kExitFailure;
    }
    const auto keys = KeysWithBothFiles(job.dataFolder, err);
    if (!keys) return kExitFailure;
    report::ReportPictures pictures;
    try {
        files::CreatePrivateFolder(folders::pdfFolder(job.outFolder));
        pictures = report::LoadReportPictures(folders::graphicsFolder(folders::runningProgramFolder()),
                                                       report::ReportKind::Viewer);
    } catch (const std::exception& e) {
        err << "zor-tool report: " << e.what() << "\n";
        return kExitFailure;
    }
    job.pictures = &pictures;
    const ParallelRun run{jobs, ProgressStreamFor(err), "rapporten"};
    return RunItems(
        keys->size(), run,
        [&](std::size_t item, std::size_t) { return WriteReport(job, (*keys)[item]); }, out, err);
}

}  // namespace

int RunReport(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    int status = kExitSuccess;
    const std::optional<FolderCommandLine> parsed =
        ParseFolderCommandLine("report", arguments, out, err, status);
    if (!parsed) return status;
    const bool all = parsed->line.has("--all");
    const std::vector<std::string>& operands = parsed->line.operands;
    if (operands.size() != (all ? 2u : 3u))
        return UsageError(*FindSubcommand("report"), "verkeerd aantal argumenten", err);
    ReportJob job{folders::dataFilesFolder(operands[0]), operands.back(),
                  parsed->date.value_or(Today())};
    if (all) {
        job.onlyNewComplete = true;
        return WriteAllReports(job, parsed->jobs, out, err);
    }
    const ItemResult result = WriteReport(job, operands[1]);
    out << result.output;
    err << result.failure;
    return result.ok ? kExitSuccess : kExitFailure;
}

}  // namespace zor::tool
