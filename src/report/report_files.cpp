#include "report/report_files.h"

namespace zor::report {

ReportFileNames ReportFileNamesFor(const std::filesystem::path& reportFolder, std::string_view code,
                                   std::string_view date, std::string_view suffix) {
    return {folders::reportFile(reportFolder, code, date, suffix),
            folders::reportPdf(reportFolder, folders::administrationKey(code, date, suffix))};
}

std::string extractTRfilename(std::string_view fileName) {
    const auto separator = fileName.find_last_of("\\/");
    std::string_view name =
        separator == std::string_view::npos ? fileName : fileName.substr(separator + 1);
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos) {
        name = name.substr(0, dot);
    }
    const auto blank = name.rfind(' ');
    if (blank == std::string_view::npos) return std::string(name);
    const std::size_t first = blank >= 2 ? blank - 2 : 0;
    std::string key(name.substr(0, first));
    key += '_';
    key.append(name.substr(blank + 1));
    return key;
}

}  // namespace zor::report
