#include "pdf/pdf_export.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "files/atomic_file.h"
#include "pdf/emf_replay.h"

namespace zor::pdf {
namespace {

// True when the existing file can be opened for writing and no other program holds a lock on it.
bool canWriteExisting(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (free) ::flock(fd, LOCK_UN);
    ::close(fd);
    return free;
}

}  // namespace

std::string pageImageAsPdf(std::span<const std::uint8_t> pageImage, const PdfDocumentInfo& info,
                           const PdfPaper& paper, PdfClock clock) {
    TPdfDocument document(std::move(clock));
    document.setAuthor(info.author);
    document.setCreationDate(info.creationDate);
    document.setCreator(info.creator);
    document.setSubject(info.subject);
    document.setTitle(info.title);
    document.setDefaultPaperKind(paper.kind);
    document.setDefaultPageWidth(paper.widthPoints);
    document.setDefaultPageHeight(paper.heightPoints);
    document.addPage();
    replayPageImage(document, pageImage);
    return document.saveToString();
}

void exportPageImageAsPdf(std::span<const std::uint8_t> pageImage, const PdfDocumentInfo& info,
                          const PdfPaper& paper, const std::filesystem::path& target,
                          PdfClock clock) {
    std::error_code error;
    if (std::filesystem::exists(target, error) && !canWriteExisting(target)) {
        throw PdfFileInUse("Unable to write to file " + target.string() +
                           ". Is the file opened by another application?");
    }
    const std::string bytes = pageImageAsPdf(pageImage, info, paper, std::move(clock));
    try {
        files::ReplaceFile(target, bytes);
    } catch (const files::WriteError& e) {
        // A report folder without its "PDF" folder simply gets no PDF.
        if (e.error() == ENOENT && !std::filesystem::is_directory(files::FolderOf(target), error))
            return;
        throw;
    }
}

}  // namespace zor::pdf
