#pragma once

// The PDF export of a report page: one page image written as a one-page PDF file.

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>

#include "pdf/pdf_document.h"

namespace zor::pdf {

struct PdfDocumentInfo {
    std::string author;  // UTF-8
    std::string creator;
    std::string subject;
    std::string title;
    PdfDate creationDate;
};

struct PdfPaper {
    PaperKind kind = PaperKind::A4;
    int widthPoints = 595;
    int heightPoints = 842;
};

// The target file exists and cannot be opened for writing, or another program holds a lock on it.
class PdfFileInUse : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The page image as the bytes of a PDF file of one page of the paper's size. An error of the
// page image (PageImageError, emf::FormatError, the writer's errors) propagates.
std::string pageImageAsPdf(std::span<const std::uint8_t> pageImage, const PdfDocumentInfo& info,
                           const PdfPaper& paper, PdfClock clock);

// Writes the page image as a PDF file of one page of the paper's size, replacing the target
// whole. Raises PdfFileInUse ("Unable to write to file <path>. Is the file opened by another
// application?") and writes nothing when an existing target cannot be written. A target whose
// folder does not exist is passed over silently; any other failure to write throws
// files::WriteError with the system's reason. Errors of the page image propagate. In every
// failure an existing target stays as it was, so that an incomplete report never takes the
// place of a complete one.
void exportPageImageAsPdf(std::span<const std::uint8_t> pageImage, const PdfDocumentInfo& info,
                          const PdfPaper& paper, const std::filesystem::path& target,
                          PdfClock clock);

}  // namespace zor::pdf
