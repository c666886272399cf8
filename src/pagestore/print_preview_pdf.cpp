// PDF export of the page store: page 1 through the PDF writer, with the
// document information of the report and the store's paper in points.
#include "pagestore/print_preview.h"
#include "pagestore/errors.h"
#include "pdf/pdf_errors.h"
#include "pdf/pdf_export.h"

namespace zor::pagestore {
namespace {

pdf::PaperKind PdfPaperKind(TPaperType paper) {
    switch (paper) {
        case pA4: return pdf::PaperKind::A4;
        case pA5: return pdf::PaperKind::A5;
        case pA3: return pdf::PaperKind::A3;
        case pLetter: return pdf::PaperKind::Letter;
        case pLegal: return pdf::PaperKind::Legal;
        default: return pdf::PaperKind::UserDefined;
    }
}

}  // namespace

TPrintPreview::PdfSetup TPrintPreview::pdfSetup(const pdf::PdfClock& clock) const {
    PdfSetup setup;
    setup.info.author = "ZOR-gebruiker";
    setup.info.creator = "ZOR-afnameprogramma 1.0.2.1";
    setup.info.subject = "ZOR-testrapport";
    setup.info.title = "ZOR-testrapport";
    const pdf::PdfDate now = clock();
    setup.info.creationDate = pdf::PdfDate{now.year, now.month, now.day, 0, 0, 0};
    setup.paper.kind = PdfPaperKind(PaperType());
    setup.paper.widthPoints = ConvertX(PaperWidth(), Units(), mmPoints);
    setup.paper.heightPoints = ConvertY(PaperHeight(), Units(), mmPoints);
    return setup;
}

// The PDF writer's refusals name the operation in its own words; the test leader
// gets a Dutch sentence that still carries that name.
template <typename Export>
void TPrintPreview::exporting(Export&& run) {
    // The store is busy while it exports, and idle again whatever happens.
    state_ = TPreviewState::Exporting;
    struct BackToIdle {
        TPreviewState& state;
        ~BackToIdle() { state = TPreviewState::Idle; }
    } backToIdle{state_};
    try {
        run();
    } catch (const pdf::PdfInvalidValue& e) {
        throw EPdfExportError("De PDF kon niet worden gemaakt: ongeldige waarde (" +
                              std::string(e.what()) + ").");
    } catch (const pdf::PdfInvalidOperation& e) {
        throw EPdfExportError("De PDF kon niet worden gemaakt: ongeldige bewerking (" +
                              std::string(e.what()) + ").");
    }
}

std::optional<std::string> TPrintPreview::PdfBytes(const pdf::PdfClock& clock) {
    const std::vector<std::uint8_t>* page = GetPage(1);
    if (!page) return std::nullopt;
    const PdfSetup setup = pdfSetup(clock);
    std::string bytes;
    exporting([&] { bytes = pdf::pageImageAsPdf(*page, setup.info, setup.paper, clock); });
    return bytes;
}

void TPrintPreview::SaveAsPDF(const std::filesystem::path& fileName, const pdf::PdfClock& clock) {
    const std::vector<std::uint8_t>* page = GetPage(1);
    if (!page) return;
    const PdfSetup setup = pdfSetup(clock);
    exporting(
        [&] { pdf::exportPageImageAsPdf(*page, setup.info, setup.paper, fileName, clock); });
}

}  // namespace zor::pagestore
