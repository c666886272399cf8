#pragma once
// What the score table of the report shows: the band, the seven standard
// scores, the raw-score texts of both rows, the texts of the three score boxes
// and the three interval labels.
#include <string>

#include "norms/standard_scores.h"
#include "record/administration_record.h"

namespace zor::report {

// The report preview composes right after an administration; the stored-report
// viewer composes the report of a corrected administration.
enum class ReportKind { Preview, Viewer };

// Shown in a score box where no score applies.
inline constexpr const char* kNotApplicable = "n.v.t.";
// Shown for a raw score of a subtest that was not taken.
inline constexpr const char* kNoValue = "-";

// One subtest row: total seconds and right answers, or "-" twice and no "goed"
// for a subtest not taken. A value no subtest can have (seconds of 1000 and
// more, more right answers than items) is "-" too; "goed" follows only a count.
struct RawScoreRow {
    bool shown = false;  // "goed" is written after the count
    std::string seconds = kNoValue;
    std::string correct = kNoValue;
};

struct ReportScores {
    int ReportBand = 0;
    norms::StandardScores scores;
    RawScoreRow deletionRow;
    RawScoreRow swapRow;
    std::string speedBox = kNotApplicable;
    std::string accuracyBox = kNotApplicable;
    std::string indexBox = kNotApplicable;
    std::string SpeedInterval;
    std::string AccuracyInterval;
    std::string IndexInterval;
};

// A score as the report shows it: rounded to one decimal, shortest form, with a
// decimal comma ("10,3"; a whole value without decimals, "12").
std::string ReportScoreText(long double score);

// Computes everything from the record at the age in months up to the report's end
// date. Throws norms::ConversionError for a result cell that is not a whole number.
ReportScores ComputeReportScores(const record::AdministrationRecord& record, ReportKind kind,
                                 int ageMonths);

}  // namespace zor::report
