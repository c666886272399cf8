#include "report/report_files.h"

#include "pdf/pdf_export.h"

namespace zor::report {

ReportFileNames ReportFileNamesFor(std::string_view reportFolder, std::string_view code,
                                   std::string_view date, std::string_view suffix) {
    ReportFileNames names;
    names.report.append(reportFolder).append("\\").append(code).append(" - ").append(date);
    names.report.append(suffix).append(".zrp");
    names.pdf.append(reportFolder).append("\\PDF\\ZOR - ").append(code).append("_").append(date);
    names.pdf.append(suffix).append(".pdf");
    return names;
}

std::string StoredReportPdfName(std::string_view reportFolder, std::string_view key) {
    std::string name(reportFolder);
    name.append("\\PDF\\ZOR - ").append(key).append(".pdf");
    return name;
}

std::string extractTRfilename(std::string_view fileName) {
    const auto separator = fileName.find_last_of("\\/");
    std::string_view name =
        separator == std::string_view::npos ? fileName : fileName.substr(separator + 1);
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos) {
        name = name.substr(0, dot);
    }
    std::string key(name);
    const auto blank = key.rfind(' ');
    if (blank == std::string::npos) return key;
    const std::size_t first = blank >= 2 ? blank - 2 : 0;
    key.replace(first, blank - first + 1, "_");
    return key;
}

void SaveAsPDF(pagestore::TPrintPreview& store, const std::filesystem::path& file,
               const pdf::PdfClock& clock) {
    const std::vector<std::uint8_t>* page = store.GetPage(1);
    if (!page) return;

    pdf::PdfDocumentInfo info;
    info.author = "ZOR-gebruiker";
    info.creator = "ZOR-afnameprogramma 1.0.2.1";
    info.subject = "ZOR-testrapport";
    info.title = "ZOR-testrapport";
    const pdf::PdfDate now = clock();
    info.creationDate = pdf::PdfDate{now.year, now.month, now.day, 0, 0, 0};

    pdf::PdfPaper paper;
    switch (store.PaperType()) {
        case pagestore::pA4: paper.kind = pdf::PaperKind::A4; break;
        case pagestore::pA5: paper.kind = pdf::PaperKind::A5; break;
        case pagestore::pA3: paper.kind = pdf::PaperKind::A3; break;
        case pagestore::pLetter: paper.kind = pdf::PaperKind::Letter; break;
        case pagestore::pLegal: paper.kind = pdf::PaperKind::Legal; break;
        default: paper.kind = pdf::PaperKind::UserDefined; break;
    }
    paper.widthPoints = store.ConvertX(store.PaperWidth(), store.Units(), pagestore::mmPoints);
    paper.heightPoints = store.ConvertY(store.PaperHeight(), store.Units(), pagestore::mmPoints);
    pdf::exportPageImageAsPdf(*page, info, paper, file, clock);
}

}  // namespace zor::report
