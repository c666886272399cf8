// PDF export of the page store: page 1 through the PDF writer, with the
// document information of the report and the store's paper in points.
#include "pagestore/print_preview.h"
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

void TPrintPreview::SaveAsPDF(const std::filesystem::path& fileName, const pdf::PdfClock& clock) {
    const std::vector<std::uint8_t>* page = GetPage(1);
    if (!page) return;

    pdf::PdfDocumentInfo info;
    info.author = "ZOR-gebruiker";
    info.creator = "ZOR-afnameprogramma 1.0.2.1";
    info.subject = "ZOR-testrapport";
    info.title = "ZOR-testrapport";
    const pdf::PdfDate now = clock();
    info.creationDate = pdf::PdfDate{now.year, now.month, now.day, 0, 0, 0};

    pdf::PdfPaper paper;
    paper.kind = PdfPaperKind(PaperType());
    paper.widthPoints = ConvertX(PaperWidth(), Units(), mmPoints);
    paper.heightPoints = ConvertY(PaperHeight(), Units(), mmPoints);

    // The store is busy while it exports, and idle again whatever happens.
    state_ = TPreviewState::Exporting;
    struct BackToIdle {
        TPreviewState& state;
        ~BackToIdle() { state = TPreviewState::Idle; }
    } backToIdle{state_};
    pdf::exportPageImageAsPdf(*page, info, paper, fileName, clock);
}

}  // namespace zor::pagestore
