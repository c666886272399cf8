#pragma once
// Errors of the page store, each carrying its message.
#include <filesystem>
#include <stdexcept>
#include <string>

namespace zor::pagestore {

// Data that is not in the report file format, or a stored page that is damaged.
class EInvalidPreviewData : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A page image or page canvas that cannot be made.
class EOutOfMemory : public std::runtime_error {
  public:
    EOutOfMemory() : std::runtime_error("Er is niet genoeg geheugen om een nieuwe pagina te maken.") {}
};

// A report file that cannot be opened or read, or that is too large or not a
// regular file: "Kan rapportbestand "<file>" niet openen. <reason>".
class EReportFileError : public std::runtime_error {
  public:
    EReportFileError(std::filesystem::path file, const std::string& reason)
        : std::runtime_error("Kan rapportbestand \"" + file.string() + "\" niet openen. " + reason),
          file_(std::move(file)) {}
    const std::filesystem::path& file() const noexcept { return file_; }

  private:
    std::filesystem::path file_;
};

// The PDF writer refused the page (a Dutch message naming the refused operation).
class EPdfExportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* NotPreviewDataMessage = "De inhoud is geen ZOR-rapport.";

}  // namespace zor::pagestore
