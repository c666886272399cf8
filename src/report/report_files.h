#pragma once
// The files of a report in the report folder: the report file (".zrp") with the
// drawn pages and its PDF copy in the "PDF" subfolder, named by subject code and
// administration date. Names are built as the program builds all its paths, with
// "\" separators; ui::nativePath turns them into file-system paths.
#include <filesystem>
#include <string>
#include <string_view>

#include "pagestore/print_preview.h"
#include "pdf/pdf_document.h"
#include "record/administration_files.h"

namespace zor::report {

// The label of a corrected administration's files, after the key.
inline constexpr std::string_view kCorrectedSuffix = record::kCorrectedLabel;

struct ReportFileNames {
    std::string report;  // folder + "\" + code + " - " + date [+ suffix] + ".zrp"
    std::string pdf;     // folder + "\PDF\ZOR - " + code + "_" + date [+ suffix] + ".pdf"
};

// The report file's name: code + " - " + date + suffix + ".zrp"; suffix is empty
// or kCorrectedSuffix.
std::string ReportFileName(std::string_view code, std::string_view date,
                           std::string_view suffix = {});
// The administration key of a report: code + "_" + date + suffix.
std::string AdministrationKey(std::string_view code, std::string_view date,
                              std::string_view suffix = {});
// The PDF's name by the administration key: "ZOR - " + key + ".pdf".
std::string PdfFileName(std::string_view key);

// The names under which a report is stored in the report folder.
ReportFileNames ReportFileNamesFor(std::string_view reportFolder, std::string_view code,
                                   std::string_view date, std::string_view suffix = {});

// The PDF of a stored report, by the key of its file name.
std::string StoredReportPdfName(std::string_view reportFolder, std::string_view key);

// The administration key of a report file name: the name without folder and
// extension, with the three characters ending at its last blank (" - ") turned
// into "_": "K123 - 05-03-2011" gives "K123_05-03-2011". A name without a blank
// stays as it is; when fewer than two characters precede the last blank, only
// the characters present are replaced.
std::string extractTRfilename(std::string_view fileName);

}  // namespace zor::report
