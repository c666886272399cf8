#include "report/report_scores.h"

#include <charconv>

#include "record/data_line.h"
#include "report/interval_labels.h"

namespace zor::report {
namespace {

using record::AdministrationRecord;

// The last-item text read as a whole number; nothing when it is none (an example
// label such as "vb2", or empty because the subtest was not taken).
std::optional<int> WholeNumber(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || ptr != end || text.empty()) return std::nullopt;
    return value;
}

bool DeletionItemsGiven(const AdministrationRecord& record) {
    for (int item = 0; item < norms::kTestItems; ++item) {
        if (!record.SGRscoreFW.Cell(AdministrationRecord::kTimeColumn,
                                    AdministrationRecord::kFirstItemRowFW + item)
                 .empty()) {
            return true;
        }
    }
    return false;
}

// A row prints no impossible raw value: a subtest with an item not given sums
// to seconds of 1000 and more or to more right answers than there are items;
// such a value shows "-" (and the count then goes without "goed").
RawScoreRow Row(bool shown, std::int64_t seconds, std::int64_t correct) {
    constexpr std::int64_t kFirstImpossibleSeconds = 1000;
    RawScoreRow row;
    if (!shown) return row;
    if (seconds < kFirstImpossibleSeconds) row.seconds = std::to_string(seconds);
    if (correct <= norms::kTestItems) {
        row.correct = std::to_string(correct);
        row.shown = true;
    }
    return row;
}

void ChooseIntervals(ReportScores& out) {
    const norms::StandardScores& s = out.scores;
    const int band = out.ReportBand;
    if (s.indexScore != 0 && band > 1) {
        out.SpeedInterval = IntervalLabel(IntervalList::Speed, s.speedScore);
        if (band <= 4) {
            out.AccuracyInterval = IntervalLabel(IntervalList::Accuracy, s.accuracyScore);
            out.IndexInterval = IntervalLabel(IntervalList::Index, s.indexScore);
        } else {
            out.AccuracyInterval = kNoInterval;
            out.IndexInterval = IntervalLabel(IntervalList::Speed, s.speedScore);
        }
    } else if (band == 1) {
        out.SpeedInterval = IntervalLabel(IntervalList::Speed, s.speedScoreFW);
        out.AccuracyInterval = IntervalLabel(IntervalList::Accuracy, s.accuracyScoreFW);
        out.IndexInterval = IntervalLabel(IntervalList::Index, s.indexBand1);
    } else {
        out.SpeedInterval = out.AccuracyInterval = out.IndexInterval = kNoInterval;
    }
}

void ChooseBoxes(ReportScores& out, const AdministrationRecord& record, ReportKind kind) {
    const norms::StandardScores& s = out.scores;
    const int band = out.ReportBand;
    // The viewer shows an accuracy score only for completed subtests: the deletion
    // test up to its last step (15), and from band 2 on also the swap test (12).
    const bool viewer = kind == ReportKind::Viewer;
    const bool deletionComplete = WholeNumber(record.ElaatsteFW) == 15;
    const bool swapComplete = WholeNumber(record.ELaatsteFV) == 12;

    if (band == 1 && s.speedScoreFW != 0) {
        out.speedBox = ReportScoreText(s.speedScoreFW);
    } else if (band != 0 && s.speedScoreFW != 0 && s.speedScoreFV != 0 && s.speedScore != 0) {
        out.speedBox = ReportScoreText(s.speedScore);
    }
    if (band == 1 && s.accuracyScoreFW != 0 && (!viewer || deletionComplete)) {
        out.accuracyBox = ReportScoreText(s.accuracyScoreFW);
    } else if (band != 0 && band != 1 && s.accuracyScore != 0 &&
               (!viewer || (deletionComplete && swapComplete))) {
        out.accuracyBox = ReportScoreText(s.accuracyScore);
    }
    if (band != 0 && s.indexScore != 0) out.indexBox = ReportScoreText(s.indexScore);
}

}  // namespace

std::string ReportScoreText(long double score) { return record::FormatScore(score, ','); }

ReportScores ComputeReportScores(const AdministrationRecord& record, ReportKind kind,
                                 int ageMonths) {
    const record::RecordScores computed = record.ComputeScores(ageMonths);
    ReportScores out;
    out.ReportBand = computed.band;
    out.scores = computed.scores;

    // The preview knows how far the deletion test got; the viewer has only the
    // stored results, so a deletion test without any item result shows "-".
    const bool deletionShown = kind == ReportKind::Preview ? record.CurrentStepFW >= 4
                                                           : DeletionItemsGiven(record);
    out.deletionRow = Row(deletionShown, computed.totals.timeFW, computed.totals.correctFW);
    out.swapRow = Row(record.AfnameStatus != 4, computed.totals.timeFV, computed.totals.correctFV);

    ChooseIntervals(out);
    ChooseBoxes(out, record, kind);
    return out;
}

}  // namespace zor::report
