#pragma once
// The files of a report in the report folder: the report file (".zrp") with the
// drawn pages and its PDF copy in the "PDF" subfolder, named by subject code and
// administration date through the folders service.
#include <filesystem>
#include <string>
#include <string_view>

#include "folders/folders.h"

namespace zor::report {

struct ReportFileNames {
    std::filesystem::path report;  // <report>/<code> - <date>[suffix].zrp
    std::filesystem::path pdf;     // <report>/PDF/ZOR - <code>_<date>[suffix].pdf
};

// The names under which a report is stored in the report folder; suffix is
// empty or folders::kCorrectedLabel.
ReportFileNames ReportFileNamesFor(const std::filesystem::path& reportFolder, std::string_view code,
                                   std::string_view date, std::string_view suffix = {});

// The administration key of a report file name: the name without folder and
// extension, with the three characters ending at its last blank (" - ") turned
// into "_": "K123 - 05-03-2011" gives "K123_05-03-2011". A name without a blank
// stays as it is; when fewer than two characters precede the last blank, only
// the characters present are replaced.
std::string extractTRfilename(std::string_view fileName);

}  // namespace zor::report
