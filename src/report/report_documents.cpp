#include "report/report_documents.h"

#include "report/picture_file.h"

namespace zor::report {

ReportPictures LoadReportPictures(const std::filesystem::path& graphicsFolder, ReportKind kind) {
    ReportPictures pictures;
    // The test logo fills a 60 × 38 mm box: 600 × 360 pixels give it 254 dots
    // per inch, as sharp as print needs, at a quarter of the full picture's data.
    pictures.testLogo = HalveWhileLarger(LoadJpegPicture(graphicsFolder / "ZORlogo.jpg"), 600, 359);
    pictures.publisherLogo = LoadJpegPicture(
        graphicsFolder /
        (kind == ReportKind::Preview ? "Uitgever475x132.jpg" : "Uitgever630x175.jpg"));
    return pictures;
}

ReportScores BuildPreviewReport(pagestore::TPrintPreview& store,
                                const record::AdministrationRecord& record,
                                const record::Date& today, const ReportPictures& pictures,
                                const ScreenMetrics& screen) {
    ReportContext context;
    context.kind = ReportKind::Preview;
    context.ageEndDate = today;
    context.printDateText = AdministrationDateText(record);
    context.screen = screen;
    context.pictures = &pictures;
    ReportScores scores;
    BuildReportPages(store, [&] { scores = ComposeReport(store, record, context); }, 0);
    return scores;
}

ReportScores BuildCorrectedReport(pagestore::TPrintPreview& store,
                                  const record::AdministrationRecord& record,
                                  const record::Date& storedAfnameDate, const record::Date& today,
                                  const ReportPictures& pictures, const ScreenMetrics& screen) {
    ReportContext context;
    context.kind = ReportKind::Viewer;
    context.ageEndDate = storedAfnameDate;
    context.printDateText = record::FormatDate(today);
    context.screen = screen;
    context.pictures = &pictures;
    ReportScores scores;
    BuildReportPages(store, [&] { scores = ComposeReport(store, record, context); }, 2);
    return scores;
}

void BuildCoverPages(pagestore::TPrintPreview& store, const ReportPictures& pictures) {
    BuildReportPages(store, [&] { ComposeCoverPage(store, pictures); }, 2);
}

void StoreReport(pagestore::TPrintPreview& store, const ReportFileNames& names,
                 const pdf::PdfClock& clock) {
    store.SaveToFile(names.report);
    store.SaveAsPDF(names.pdf, clock);
}

pdf::PdfClock ClockOfDate(const record::Date& date) {
    return [date] { return pdf::PdfDate{date.year, date.month, date.day, 0, 0, 0}; };
}

}  // namespace zor::report
