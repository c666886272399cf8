// zor-tool pdf: the PDF of stored report files, as the stored-report viewer
// writes it when it opens a report (page 1, named by the report's key, in the
// "PDF" folder beside the report file).
//   zor-tool pdf [--date dd-mm-jjjj] rapport.zrp [uit.pdf]
//   zor-tool pdf [--date dd-mm-jjjj] [-j N] --missing rapportmap
// --missing writes every PDF of the folder's report files that does not exist
// yet, or that is empty or cut off, and never replaces a complete one; it works
// on N threads (default: one per core) and makes a lost PDF folder again.
// --date sets the creation date (default today).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string_view>

#include "administration_scores.h"
#include "command_line.h"
#include "files/atomic_file.h"
#include "folders/folders.h"
#include "parallel_items.h"
#include "pagestore/print_preview.h"
#include "report/report_documents.h"
#include "report/report_files.h"
#include "subcommand.h"

namespace zor::tool {
namespace {

namespace fs = std::filesystem;

// The viewer's PDF name of a report file: "PDF/ZOR - <key>.pdf" beside it.
fs::path DefaultPdfOf(const fs::path& reportFile) {
    return folders::reportPdf(reportFile.parent_path(),
                              report::extractTRfilename(reportFile.filename().string()));
}

bool WritePdf(const fs::path& reportFile, const fs::path& pdfFile, const record::Date& today,
              std::ostream& err) {
    try {
        pagestore::TPrintPreview store;
        store.LoadFromFile(reportFile);
        const std::optional<std::string> pdf = store.PdfBytes(report::ClockOfDate(today));
        if (!pdf) {
            err << "zor-tool pdf: " << reportFile.string() << ": het rapport bevat geen pagina\n";
            return false;
        }
        files::ReplaceFile(pdfFile, *pdf);
    } catch (const files::WriteError& e) {
        err << "zor-tool pdf: PDF kon niet worden geschreven. " << e.what() << "\n";
        return false;
    } catch (const std::exception& e) {
        err << "zor-tool pdf: " << reportFile.string() << ": " << e.what() << "\n";
        return false;
    }
    return true;
}

// Whether a complete PDF is already there: a regular file that starts with the
// PDF header and ends with a cross-reference pointer and the end-of-file mark. An
// empty or cut file (a write that was interrupted) counts as missing.
bool HasCompletePdf(const fs::path& pdfFile) {
    const int fd = ::open(pdfFile.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    constexpr off_t kTailSize = 1024;
    char head[5] = {};
    if (info.st_size < off_t(sizeof head) || ::pread(fd, head, sizeof head, 0) != ssize_t(sizeof head))
        return false;
    if (std::string_view(head, sizeof head) != "%PDF-") return false;
    const off_t tailStart = std::max<off_t>(0, info.st_size - kTailSize);
    std::string tail(std::size_t(info.st_size - tailStart), '\0');
    if (::pread(fd, tail.data(), tail.size(), tailStart) != ssize_t(tail.size())) return false;
    const std::size_t startxref = tail.rfind("startxref");
    const std::size_t end = tail.rfind("%%EOF");
    if (startxref == std::string::npos || end == std::string::npos || end < startxref) return false;
    // Only line ends may follow the end-of-file mark.
    return tail.find_first_not_of("\r\n ", end + 5) == std::string::npos;
}

int WriteMissing(const fs::path& folder, const record::Date& today, int jobs, std::ostream& out,
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
    std::erase_if(reports, [](const fs::path& reportFile) {
        return HasCompletePdf(DefaultPdfOf(reportFile));
    });
    // A lost PDF folder is made again.
    if (!reports.empty() && !fs::create_directory(folder / "PDF", error) && error) {
        err << "zor-tool pdf: " << (folder / "PDF").string() << ": " << error.message() << "\n";
        return kExitFailure;
    }
    const ParallelRun run{jobs, ProgressStreamFor(err), "PDF's"};
    return RunItems(
        reports.size(), run,
        [&](std::size_t item, std::size_t) {
            const fs::path pdfFile = DefaultPdfOf(reports[item]);
            std::ostringstream failure;
            if (!WritePdf(reports[item], pdfFile, today, failure))
                return ItemResult{false, "", failure.str()};
            return ItemResult{true, pdfFile.string() + "\n", ""};
        },
        out, err);
}

}  // namespace

int RunPdf(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    int status = kExitSuccess;
    const std::optional<FolderCommandLine> parsed =
        ParseFolderCommandLine("pdf", arguments, out, err, status);
    if (!parsed) return status;
    const bool missing = parsed->line.has("--missing");
    const std::vector<std::string>& operands = parsed->line.operands;
    if (missing ? operands.size() != 1 : (operands.empty() || operands.size() > 2))
        return UsageError(*FindSubcommand("pdf"), "verkeerd aantal argumenten", err);
    const record::Date today = parsed->date.value_or(Today());
    if (missing) return WriteMissing(operands[0], today, parsed->jobs, out, err);

    const fs::path reportFile = operands[0];
    const fs::path pdfFile = operands.size() == 2 ? fs::path(operands[1]) : DefaultPdfOf(reportFile);
    if (!WritePdf(reportFile, pdfFile, today, err)) return kExitFailure;
    out << pdfFile.string() << "\n";
    return kExitSuccess;
}

}  // namespace zor::tool
