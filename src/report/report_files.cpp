#include "report/report_files.h"


namespace zor::report {

std::string ReportFileName(std::string_view code, std::string_view date, std::string_view suffix) {
    std::string name(code);
    name.append(" - ").append(date).append(suffix).append(".zrp");
    return name;
}

std::string AdministrationKey(std::string_view code, std::string_view date,
                              std::string_view suffix) {
    std::string key(code);
    key.append("_").append(date).append(suffix);
    return key;
}

std::string PdfFileName(std::string_view key) {
    std::string name("ZOR - ");
    name.append(key).append(".pdf");
    return name;
}

ReportFileNames ReportFileNamesFor(std::string_view reportFolder, std::string_view code,
                                   std::string_view date, std::string_view suffix) {
    return {std::string(reportFolder) + "\\" + ReportFileName(code, date, suffix),
            StoredReportPdfName(reportFolder, AdministrationKey(code, date, suffix))};
}

std::string StoredReportPdfName(std::string_view reportFolder, std::string_view key) {
    return std::string(reportFolder) + "\\PDF\\" + PdfFileName(key);
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
