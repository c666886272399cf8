#pragma once

// Helpers for the PDF tests: a fixed clock, saving to a temporary file and running the
// command-line PDF checkers on it.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "pdf/pdf_document.h"
#include "run_command.h"

namespace zor::pdf::testing {

inline PdfClock fixedClock(PdfDate date = {2026, 12, 9, 14, 30, 5}) {
    return [date] { return date; };
}

inline std::string saveToString(TPdfDocument& document) {
    std::ostringstream out;
    document.saveToStream(out);
    return out.str();
}

using zor::testing::CommandResult;
using zor::testing::runCommand;

// A file in a fresh temporary folder that is removed with the object.
class TempPdf {
  public:
    explicit TempPdf(const std::string& name = "test.pdf") {
        std::string pattern = (std::filesystem::temp_directory_path() / "zor-pdf-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        path_ = folder_ / name;
    }
    ~TempPdf() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }
    const std::filesystem::path& folder() const { return folder_; }
    std::string quoted() const { return "'" + path_.string() + "'"; }
    // Writes the document's bytes to the file.
    void write(TPdfDocument& document) const {
        std::ofstream(path_, std::ios::binary) << document.saveToString();
    }

  private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
};

// qpdf --check: exit code 0 means no errors and no warnings.
inline CommandResult qpdfCheck(const TempPdf& file) {
    return runCommand("qpdf --check " + file.quoted());
}
inline std::string pdfToText(const TempPdf& file) {
    return runCommand("pdftotext -layout " + file.quoted() + " -").output;
}
inline std::string pdfFonts(const TempPdf& file) {
    return runCommand("pdffonts " + file.quoted()).output;
}

}  // namespace zor::pdf::testing
