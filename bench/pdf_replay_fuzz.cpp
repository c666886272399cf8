// Fuzz target: the replay of a page image into a PDF page and the writing of the
// document, on arbitrary bytes. A page image the replay refuses must end in one of
// its own errors: the page image's (PageImageError, emf::FormatError) or the
// writer's refusal of a value taken from it (PdfInvalidValue, such as a font size
// beyond 300 points). Any other exception, crash or sanitizer report is a finding.
#include <cstdint>
#include <sstream>

#include "emf/types.h"
#include "pdf/emf_replay.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_errors.h"

using namespace zor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pdf::TPdfDocument document([] { return pdf::PdfDate{2026, 12, 9, 12, 0, 0}; });
    document.addPage();
    try {
        pdf::replayPageImage(document, {data, size});
    } catch (const pdf::PageImageError&) {
        return 0;
    } catch (const emf::FormatError&) {
        return 0;
    } catch (const pdf::PdfInvalidValue&) {
        return 0;
    }
    std::ostringstream out;
    document.saveToStream(out);
    return 0;
}

// The font configuration's process-wide caches are not the replay's to free.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n"
           "leak:libfreetype\n";
}
