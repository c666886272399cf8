#pragma once
// The two report documents the screens compose: the preview's one page after
// an administration, and the viewer's three pages of a corrected
// administration; and storing a composed report as report file plus PDF.
#include <filesystem>
#include <string>

#include "pagestore/print_preview.h"
#include "pdf/pdf_document.h"
#include "record/administration_record.h"
#include "record/calendar.h"
#include "report/report_files.h"
#include "report/report_page.h"

namespace zor::report {

// The test logo and the publisher's logo of the kind's size from the program's
// Graphics folder. Throws PictureFileError naming a file that cannot be read.
ReportPictures LoadReportPictures(const std::filesystem::path& graphicsFolder, ReportKind kind);

// The report after an administration: one page, the age up to today, the
// administration date after "Datum afdruk".
ReportScores BuildPreviewReport(pagestore::TPrintPreview& store,
                                const record::AdministrationRecord& record,
                                const record::Date& today, const ReportPictures& pictures,
                                const ScreenMetrics& screen = {});

// The report of a corrected administration: the page followed by two empty
// pages, the age up to the stored administration date, today's date after
// "Datum afdruk".
ReportScores BuildCorrectedReport(pagestore::TPrintPreview& store,
                                  const record::AdministrationRecord& record,
                                  const record::Date& storedAfnameDate, const record::Date& today,
                                  const ReportPictures& pictures, const ScreenMetrics& screen = {});

// The viewer's welcome page followed by two empty pages.
void BuildCoverPages(pagestore::TPrintPreview& store, const ReportPictures& pictures);

// Saves the report file, then the PDF of page 1; errors of either go to the
// caller (a report file written before the PDF failed stays).
void StoreReport(pagestore::TPrintPreview& store, const ReportFileNames& names,
                 const pdf::PdfClock& clock);

// A PDF moment of a calendar date at midnight.
pdf::PdfClock ClockOfDate(const record::Date& date);

}  // namespace zor::report
