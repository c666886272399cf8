#pragma once
// The one-page test report: header, personalia box, score table, notes and
// footer, drawn onto the open page of a page store in units of 0.01 mm. The
// report preview and the stored-report viewer both compose with it, each from
// the administration record it holds.
#include <functional>
#include <string>

#include "emf/recorder.h"
#include "pagestore/print_preview.h"
#include "record/administration_record.h"
#include "record/calendar.h"
#include "report/report_scores.h"

namespace zor::report {

// The screen measures the layout takes over unchanged as page units: u, the
// width of the letter "A" in the report screen's font (Arial, 11 pixels), and
// the screen's pixels per inch, of which x0 is twice the pixels per centimetre.
struct ScreenMetrics {
    int letterWidth = 7;
    int pixelsPerInch = 96;
    int X0() const;
};

struct ReportPictures {
    emf::Bitmap testLogo;       // colour, 1200 × 720
    emf::Bitmap publisherLogo;  // greys, 475 × 132 (preview) or 630 × 175 (viewer)
};

struct ReportContext {
    ReportKind kind = ReportKind::Preview;
    // The age runs up to this date: today for the preview, the administration
    // date for a corrected administration.
    record::Date ageEndDate;
    // The text after "  Datum afdruk : ".
    std::string printDateText;
    ScreenMetrics screen;
    const ReportPictures* pictures = nullptr;
};

// The administration date as the report shows it and names its files:
// trimmed day, month and year joined by "-".
std::string AdministrationDateText(const record::AdministrationRecord& record);

// Draws the whole report on the store's open page and returns the score table's
// content; the age runs up to the context's end date.
ReportScores ComposeReport(pagestore::TPrintPreview& store,
                           const record::AdministrationRecord& record,
                           const ReportContext& context);

// The viewer's welcome page on the store's open page.
void ComposeCoverPage(pagestore::TPrintPreview& store, const ReportPictures& pictures);

// Opens a document in 0.01 mm, composes its first page, adds emptyPagesAfter
// empty pages and ends the document, also when composing throws (the error then
// goes on to the caller).
void BuildReportPages(pagestore::TPrintPreview& store, const std::function<void()>& compose,
                      int emptyPagesAfter);

}  // namespace zor::report
