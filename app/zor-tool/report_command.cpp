// zor-tool report: the report of a stored administration, composed as the
// stored-report viewer composes a corrected administration's report, written as
// report file and PDF under the names the report preview gives them.
//   zor-tool report [--date dd-mm-jjjj] datamap sleutel uitvoermap
// The data files are datamap/Data/<sleutel>_FW.wda and _FV.vda. The report file
// goes into the output folder, the PDF into its "PDF" subfolder (made when
// missing); both are written or neither. --date sets the composition date
// (default today).
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>

#include "command_line.h"
#include "files/atomic_file.h"
#include "files/private_folder.h"
#include "pagestore/print_preview.h"
#include "record/administration_files.h"
#include "report/picture_file.h"
#include "report/report_documents.h"
#include "subcommand.h"
#include "ui/native_path.h"
#include "tool_paths.h"

namespace zor::tool {
namespace {

namespace fs = std::filesystem;

// Loads the last data line of the file; an error line naming the file otherwise.
std::optional<std::string> LoadLastLine(record::AdministrationRecord& admin, bool deletion,
                                        const fs::path& file) {
    record::LinesFile data = record::ReadLinesFile(file);
    if (data.error) return data.error->message;
    if (data.lines.empty()) return file.string() + ": het bestand bevat geen dataregel";
    const int row = static_cast<int>(data.lines.size());
    (deletion ? admin.MdataFW : admin.MdataFV) = std::move(data.lines);
    const record::ParseResult parse = deletion ? admin.ParseDataLineFW(row) : admin.ParseDataLineFV(row);
    if (parse.outcome == record::ParseResult::Outcome::kLoaded) return std::nullopt;
    return file.string() + ":" + std::to_string(row) + ": " +
           (parse.problem.empty() ? std::string("lege dataregel") : parse.problem);
}

}  // namespace

int RunReport(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const Subcommand& command = *FindSubcommand("report");
    int status = kExitSuccess;
    const std::optional<CommandLine> line = ParseCommandLine(command, arguments, out, err, status);
    if (!line) return status;
    std::optional<record::Date> today;
    if (!ReadDateOption(command, *line, today, err)) return kExitUsage;
    const std::vector<std::string>& operands = line->operands;
    if (operands.size() != 3) return UsageError(command, "verkeerd aantal argumenten", err);
    const std::string& key = operands[1];
    const fs::path outFolder = operands[2];

    record::AdministrationRecord admin;
    const record::AdministrationPaths files = record::PathsInDataFolder(operands[0], key);
    const fs::path& dataFW = files.dataFW;
    const fs::path& dataFV = files.dataFV;
    if (auto error = LoadLastLine(admin, true, dataFW)) {
        err << "zor-tool report: " << *error << "\n";
        return kExitFailure;
    }
    if (auto error = LoadLastLine(admin, false, dataFV)) {
        err << "zor-tool report: " << *error << "\n";
        return kExitFailure;
    }
    const auto afnameDate = record::DateFromParts(admin.Eafndag, admin.Eafnmnd, admin.Eafnjaar);
    if (!afnameDate) {
        err << "zor-tool report: " << dataFW.string() << ": de afnamedatum vormt geen datum\n";
        return kExitFailure;
    }
    if (!today) today = record::LocalDate(std::chrono::system_clock::now());

    std::error_code error;
    if (!fs::is_directory(outFolder, error)) {
        err << "zor-tool report: " << outFolder.string() << ": map bestaat niet\n";
        return kExitFailure;
    }

    const report::ReportFileNames names = report::ReportFileNamesFor(
        outFolder.string(), admin.Ecode, report::AdministrationDateText(admin));
    const fs::path reportFile = ui::nativePath(names.report);
    const fs::path pdfFile = ui::nativePath(names.pdf);
    // The report file and the PDF are written as one: a failure leaves neither new
    // file behind (nor the "PDF" folder made for them), and older files as they were.
    bool madePdfFolder = false;
    const auto failed = [&] {
        if (madePdfFolder) ::rmdir(pdfFile.parent_path().c_str());
        return kExitFailure;
    };
    try {
        madePdfFolder = files::CreatePrivateFolder(pdfFile.parent_path());
        const report::ReportPictures pictures =
            report::LoadReportPictures(GraphicsFolder(), report::ReportKind::Viewer);
        pagestore::TPrintPreview store;
        report::BuildCorrectedReport(store, admin, *afnameDate, *today, pictures);
        const std::string reportBytes = store.ReportFileBytes();
        const std::optional<std::string> pdfBytes = store.PdfBytes(report::ClockOfDate(*today));
        if (!pdfBytes) {
            err << "zor-tool report: het rapport bevat geen pagina\n";
            return failed();
        }
        const files::FileContents both[] = {{reportFile, reportBytes}, {pdfFile, *pdfBytes}};
        files::ReplaceFilesTogether(both);
    } catch (const files::WriteError& e) {
        err << "zor-tool report: " << (e.file() == pdfFile ? "PDF kon niet worden geschreven. " : "")
            << e.what() << "\n";
        return failed();
    } catch (const norms::ConversionError& e) {
        err << "zor-tool report: " << dataFW.string() << " / " << dataFV.string() << ": " << e.what()
            << "\n";
        return failed();
    } catch (const std::exception& e) {
        err << "zor-tool report: " << e.what() << "\n";
        return failed();
    }
    out << reportFile.string() << "\n" << pdfFile.string() << "\n";
    return kExitSuccess;
}

}  // namespace zor::tool
