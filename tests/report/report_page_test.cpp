// The composed report page read back through its text records: personalia,
// raw scores, score boxes with their interval labels in every kind of age band,
// and the differences between the preview and the viewer.
#include <gtest/gtest.h>

#include "norms/age_band.h"
#include "norms/standard_scores.h"
#include "report/interval_labels.h"
#include "report_page_fixture.h"

namespace zor::report::testing {
namespace {

using record::AdministrationRecord;
using record::Date;
using Strings = std::vector<std::string>;

// Birth date 15-04-2002: these end dates give the ages in months named.
const Date k80Months{2008, 12, 15};
const Date k100Months{2010, 8, 15};
const Date k140Months{2013, 12, 15};

void SetFirstTimes(AdministrationRecord& r, int fwFirst, int fvFirst) {
    if (fwFirst >= 0) {
        r.SGRscoreFW.SetCell(AdministrationRecord::kTimeColumn, AdministrationRecord::kFirstItemRowFW,
                             std::to_string(fwFirst));
    }
    if (fvFirst >= 0) r.SGRscoreFV.SetCell(AdministrationRecord::kTimeColumn, 0, std::to_string(fvFirst));
}

// FW 600 tenths and 9 right, FV 2500 tenths and 7 right.
AdministrationRecord WorkedExample() {
    AdministrationRecord r = MakeRecord(50, 9, 208, 7);
    SetFirstTimes(r, -1, 212);
    return r;
}

void ClearDeletion(AdministrationRecord& r) {
    for (int row = 0; row < AdministrationRecord::kScoreGridRows; ++row) {
        r.SGRscoreFW.SetCell(AdministrationRecord::kTimeColumn, row, "");
        r.SGRscoreFW.SetCell(AdministrationRecord::kMarkColumn, row, "");
    }
}

TEST(ReportPage, Band2ShowsCombinedScoresAndTheirIntervals) {
    AdministrationRecord r = WorkedExample();
    const auto texts = TextsOf(ComposePage(r, k100Months));
    EXPECT_EQ(After(texts, "FoneemWeglating", 3), (Strings{"60", "9", "goed"}));
    EXPECT_EQ(After(texts, "FoneemVerwisseling", 3), (Strings{"250", "7", "goed"}));
    // SpeedScore 7.1, AccuracyScore 10.2, IndexScore 8.5 (a half rounds to the even 8).
    EXPECT_EQ(After(texts, "Standaardscore (Wechsler)", 4),
              (Strings{"7,1", "[ 6 - 8 ]", "10,2", "[ 8 - 12]"}));
    EXPECT_EQ(After(texts, " (Wechsler)", 2), (Strings{"8,5", "[ 7 - 9 ]"}));
}

// A subtest with an item not given sums to more right answers than there are
// items, and a long-stopped stopwatch to 1000 seconds and more: neither is
// printed as a number, and a count that is not printed takes no "goed".
TEST(ReportPage, ImpossibleRawValuesPrintDashes) {
    AdministrationRecord r = WorkedExample();
    r.SGRscoreFW.SetCell(AdministrationRecord::kMarkColumn, AdministrationRecord::kFirstItemRowFW, "");
    r.SGRscoreFV.SetCell(AdministrationRecord::kTimeColumn, 0, "99999");
    for (ReportKind kind : {ReportKind::Preview, ReportKind::Viewer}) {
        const auto texts = TextsOf(ComposePage(r, k100Months, kind));
        EXPECT_EQ(After(texts, "FoneemWeglating", 3), (Strings{"60", "-", "FoneemVerwisseling"}));
        EXPECT_EQ(After(texts, "FoneemVerwisseling", 3), (Strings{"-", "7", "goed"}));
    }
}

TEST(ReportPage, Band1ShowsTheDeletionScoresOnly) {
    AdministrationRecord r = WorkedExample();
    const auto texts = TextsOf(ComposePage(r, k80Months));
    // SpeedScoreFW 7.5 (label of 8), AccuracyScoreFW 11.8, IndexBand1 9.6.
    EXPECT_EQ(After(texts, "Standaardscore (Wechsler)", 4),
              (Strings{"7,5", "[ 7 - 9 ]", "11,8", "[10 - 13]"}));
    EXPECT_EQ(After(texts, " (Wechsler)", 2), (Strings{"9,6", "[ 9 - 11]"}));
}

TEST(ReportPage, Band1WithoutDeletionTestHasNoIntervals) {
    AdministrationRecord r = WorkedExample();
    ClearDeletion(r);
    r.CurrentStepFW = 1;
    r.AfnameStatus = 3;
    const auto texts = TextsOf(ComposePage(r, k80Months));
    EXPECT_EQ(After(texts, "FoneemWeglating", 3), (Strings{"-", "-", "FoneemVerwisseling"}));
    EXPECT_EQ(After(texts, "Standaardscore (Wechsler)", 4),
              (Strings{"n.v.t.", "[ n.v.t. ]", "n.v.t.", "[ n.v.t. ]"}));
    EXPECT_EQ(After(texts, " (Wechsler)", 2), (Strings{"n.v.t.", "[ n.v.t. ]"}));
}

TEST(ReportPage, Band1WithoutAnAccuracyScoreLabelsOnlyTheSpeedBox) {
    // One empty right/wrong cell of the deletion test: no AccuracyScoreFW and so
    // no IndexBand1, while the SpeedScoreFW remains.
    AdministrationRecord r = WorkedExample();
    r.SGRscoreFW.SetCell(AdministrationRecord::kMarkColumn, AdministrationRecord::kFirstItemRowFW + 4,
                         "");
    const auto texts = TextsOf(ComposePage(r, k80Months));
    EXPECT_EQ(After(texts, "Standaardscore (Wechsler)", 4),
              (Strings{"7,5", "[ 7 - 9 ]", "n.v.t.", "[ n.v.t. ]"}));
    EXPECT_EQ(After(texts, " (Wechsler)", 2), (Strings{"n.v.t.", "[ n.v.t. ]"}));
}

// Each edge of the age bands as the page shows it: the age, and the boxes and
// labels the band calls for, with the scores the norms give for that band.
TEST(ReportPage, BandEdgesDecideTheBoxesAndTheirLabels) {
    struct Edge {
        Date end;
        const char* age;
        int months;
        int band;
    };
    const Edge edges[] = {
        {{2008, 9, 15}, "6;5", 77, 0},    {{2008, 10, 15}, "6;6", 78, 1},
        {{2009, 9, 15}, "7;5", 89, 1},    {{2009, 10, 15}, "7;6", 90, 2},
        {{2012, 9, 15}, "10;5", 125, 4},  {{2012, 10, 15}, "10;6", 126, 5},
        {{2016, 9, 15}, "14;5", 173, 8},  {{2016, 10, 15}, "14;6", 174, 0},
    };
    norms::RawTotals totals;  // the worked example: 60 s, 250 s, 9 and 7 right
    totals.timeFW = 60;
    totals.timeFV = 250;
    totals.correctFW = 9;
    totals.correctFV = 7;
    const std::string none = kNotApplicable;
    const std::string noLabel = kNoInterval;
    for (const Edge& edge : edges) {
        SCOPED_TRACE(edge.age);
        ASSERT_EQ(norms::AgeBand(edge.months, true), edge.band);
        const norms::StandardScores s =
            norms::ComputeStandardScores(edge.band, norms::FormRawScores(totals));
        const auto text = [](long double score) { return ReportScoreText(score); };
        Strings row{none, noLabel, none, noLabel};
        Strings index{none, noLabel};
        if (edge.band == 1) {
            row = {text(s.speedScoreFW), IntervalLabel(IntervalList::Speed, s.speedScoreFW),
                   text(s.accuracyScoreFW), IntervalLabel(IntervalList::Accuracy, s.accuracyScoreFW)};
            index = {text(s.indexBand1), IntervalLabel(IntervalList::Index, s.indexBand1)};
        } else if (edge.band >= 2 && edge.band <= 4) {
            row = {text(s.speedScore), IntervalLabel(IntervalList::Speed, s.speedScore),
                   text(s.accuracyScore), IntervalLabel(IntervalList::Accuracy, s.accuracyScore)};
            index = {text(s.indexScore), IntervalLabel(IntervalList::Index, s.indexScore)};
        } else if (edge.band >= 5) {
            row = {text(s.speedScore), IntervalLabel(IntervalList::Speed, s.speedScore), none, noLabel};
            index = {text(s.indexScore), IntervalLabel(IntervalList::Speed, s.speedScore)};
        }

        AdministrationRecord r = WorkedExample();
        const auto texts = TextsOf(ComposePage(r, edge.end));
        EXPECT_EQ(After(texts, "Leeftijd [jaar;maand]", 2)[1], edge.age);
        EXPECT_EQ(After(texts, "Standaardscore (Wechsler)", 4), row);
        EXPECT_EQ(After(texts, " (Wechsler)", 2), index);
    }
}

TEST(ReportPage, Band6HasNoAccuracyAndTheIndexIsTheSpeedScore) {
    AdministrationRecord r = MakeRecord(29, 10, 100, 10);
    SetFirstTimes(r, 31, -1);  // T = 35, FV seconds 120
    const auto texts = TextsOf(ComposePage(r, k140Months));
    EXPECT_EQ(After(texts, "Standaardscore (Wechsler)", 4),
              (Strings{"4,9", "[ 4 - 6 ]", "n.v.t.", "[ n.v.t. ]"}));
    EXPECT_EQ(After(texts, " (Wechsler)", 2), (Strings{"4,9", "[ 4 - 6 ]"}));
}

TEST(ReportPage, OutsideTheNormsEveryBoxIsNotApplicable) {
    AdministrationRecord r = WorkedExample();
    const auto texts = TextsOf(ComposePage(r, Date{2008, 9, 14}));  // 76 months
    EXPECT_EQ(After(texts, "Standaardscore (Wechsler)", 4),
              (Strings{"n.v.t.", "[ n.v.t. ]", "n.v.t.", "[ n.v.t. ]"}));
    EXPECT_EQ(After(texts, " (Wechsler)", 2), (Strings{"n.v.t.", "[ n.v.t. ]"}));
    // The raw scores are shown all the same.
    EXPECT_EQ(After(texts, "FoneemWeglating", 3), (Strings{"60", "9", "goed"}));
}

TEST(ReportPage, Band2WithoutAccuracyScoreShowsNoAccuracyInterval) {
    // One empty right/wrong cell makes the swap test's count 999: no AccuracyScore,
    // while the speed scores and so the index remain.
    AdministrationRecord r = WorkedExample();
    r.SGRscoreFV.SetCell(AdministrationRecord::kMarkColumn, 5, "");
    const auto texts = TextsOf(ComposePage(r, k100Months));
    EXPECT_EQ(After(texts, "Standaardscore (Wechsler)", 4),
              (Strings{"7,1", "[ 6 - 8 ]", "n.v.t.", "[ n.v.t. ]"}));
    EXPECT_EQ(After(texts, " (Wechsler)", 2), (Strings{"7,1", "[ 6 - 8 ]"}));
}

TEST(ReportPage, SwapRowShowsDashesWhenOnlyDeletionWasTaken) {
    AdministrationRecord r = WorkedExample();
    r.AfnameStatus = 4;
    const auto texts = TextsOf(ComposePage(r, k100Months));
    EXPECT_EQ(After(texts, "FoneemVerwisseling", 3), (Strings{"-", "-", "Standaardscore (Wechsler)"}));
}

TEST(ReportPage, PreviewShowsDashesForADeletionTestStoppedInTheExamples) {
    AdministrationRecord r = WorkedExample();
    r.CurrentStepFW = 3;
    const auto texts = TextsOf(ComposePage(r, k100Months));
    EXPECT_EQ(After(texts, "FoneemWeglating", 3), (Strings{"-", "-", "FoneemVerwisseling"}));
}

TEST(ReportPage, PersonaliaAndAdministrationRows) {
    AdministrationRecord r = WorkedExample();
    const auto texts = TextsOf(ComposePage(r, k100Months));
    EXPECT_EQ(After(texts, "Code / Naam", 2), (Strings{":   ", "K123"}));
    EXPECT_EQ(After(texts, "Geslacht", 2)[1], "jongen");
    EXPECT_EQ(After(texts, "Geboortedatum [dd-mm-jjjj]", 2)[1], "15-04-2002");
    EXPECT_EQ(After(texts, "Leeftijd [jaar;maand]", 2)[1], "8;4");
    EXPECT_EQ(After(texts, "Afnamedatum [dd-mm-jjjj]", 2)[1], "05-03-2011");
    EXPECT_EQ(After(texts, "Testleider", 2)[1], "J. de Boer");
    EXPECT_EQ(After(texts, "Naam", 2)[1], "De Regenboog");
    EXPECT_EQ(After(texts, "Groep", 2)[1], "5");
    EXPECT_EQ(After(texts, "TESTRAPPORT", 3)[2], "  Datum afdruk : 05-03-2011");
}

TEST(ReportPage, EmptyFieldsShowDashesAndAnEmptyCode) {
    AdministrationRecord r = WorkedExample();
    r.Ecode.clear();
    r.RGsekse = record::Sex::None;
    r.Egebdag.clear();
    r.Etl.clear();
    r.Eschool.clear();
    r.Egroep.clear();
    r.Eafndag.clear();
    r.Eafnmnd.clear();
    r.Eafnjaar.clear();
    r.AgeMonths = 100;  // an earlier value is of no use without a complete birth date
    const auto texts = TextsOf(ComposePage(r, k100Months));
    EXPECT_EQ(After(texts, "Code / Naam", 2)[1], "");
    EXPECT_EQ(After(texts, "Geslacht", 2)[1], "-");
    EXPECT_EQ(After(texts, "Geboortedatum [dd-mm-jjjj]", 2)[1], "-04-2002");
    EXPECT_EQ(After(texts, "Leeftijd [jaar;maand]", 2)[1], "-");
    EXPECT_EQ(After(texts, "Afnamedatum [dd-mm-jjjj]", 2)[1], "--");
    EXPECT_EQ(After(texts, "Testleider", 2)[1], "-");
    EXPECT_EQ(After(texts, "Naam", 2)[1], "-");
    EXPECT_EQ(After(texts, "Groep", 2)[1], "-");
    EXPECT_EQ(After(texts, " (Wechsler)", 1)[0], "n.v.t.");
}

TEST(ReportPage, EmptyBirthYearHidesBirthDateAndAge) {
    AdministrationRecord r = WorkedExample();
    r.Egebjaar.clear();
    const auto texts = TextsOf(ComposePage(r, k100Months));
    EXPECT_EQ(After(texts, "Geboortedatum [dd-mm-jjjj]", 2)[1], "-");
    EXPECT_EQ(After(texts, "Leeftijd [jaar;maand]", 2)[1], "-");
}

TEST(ReportPage, InvalidBirthDateKeepsTheEarlierAgeForTheBand) {
    AdministrationRecord r = WorkedExample();
    r.Egebdag = "31";
    r.Egebmnd = "04";  // April has 30 days
    r.AgeMonths = 100;
    const auto texts = TextsOf(ComposePage(r, k80Months));
    EXPECT_EQ(After(texts, "Leeftijd [jaar;maand]", 2)[1], "-");
    EXPECT_EQ(After(texts, "Standaardscore (Wechsler)", 1)[0], "7,1");  // band 2 of the kept age
}

TEST(ReportPage, PersonaliaColumnsFollowTheScreenMeasuresWithoutOverlap) {
    AdministrationRecord r = WorkedExample();
    const auto texts = TextsOf(ComposePage(r, k100Months));
    const auto label = std::find_if(texts.begin(), texts.end(),
                                    [](const DrawnText& t) { return t.text == "Code / Naam"; });
    ASSERT_NE(label, texts.end());
    EXPECT_EQ(label->x, 76 + 175 * 7);  // 13.01 mm
    const int column = std::next(label)->x - label->x;
    EXPECT_GE(column, 650 * 7);
    EXPECT_LE(column, 650 * 7 + 1000);
    // Every label of the block ends before its colon.
    for (const char* name : {"Geboortedatum [dd-mm-jjjj]", "Afnamedatum [dd-mm-jjjj]",
                             "Leeftijd [jaar;maand]", "Testleider"}) {
        const auto row = std::find_if(texts.begin(), texts.end(),
                                      [name](const DrawnText& t) { return t.text == name; });
        ASSERT_NE(row, texts.end()) << name;
        EXPECT_EQ(row->x, label->x) << name;
        EXPECT_EQ(std::next(row)->x, label->x + column) << name;
        EXPECT_LT(row->x + row->width, std::next(row)->x) << name;
    }
}

TEST(ReportPage, ViewerDiffersInDeletionRowAndAccuracyBox) {
    AdministrationRecord r = WorkedExample();
    r.ELaatsteFV = "11";  // a swap test not gone to its end
    ReportScores scores;
    auto texts = TextsOf(ComposePage(r, k100Months, ReportKind::Viewer, &scores));
    EXPECT_EQ(After(texts, "Standaardscore (Wechsler)", 3), (Strings{"7,1", "[ 6 - 8 ]", "n.v.t."}));

    // A deletion test stopped in the examples: no exception for "vb2", dashes in the row.
    ClearDeletion(r);
    r.ElaatsteFW = "vb2";
    r.CurrentStepFW = 16;  // the viewer does not go by the test screen's step
    texts = TextsOf(ComposePage(r, k100Months, ReportKind::Viewer));
    EXPECT_EQ(After(texts, "FoneemWeglating", 3), (Strings{"-", "-", "FoneemVerwisseling"}));
    EXPECT_EQ(After(texts, "Standaardscore (Wechsler)", 4),
              (Strings{"n.v.t.", "[ n.v.t. ]", "n.v.t.", "[ n.v.t. ]"}));

    // A corrected administration of the swap test only: no deletion line at
    // all, so no last item either; the row shows dashes, not the sums over
    // twelve empty cells.
    r = WorkedExample();
    ClearDeletion(r);
    r.ElaatsteFW.clear();
    r.AfnameStatus = 3;
    texts = TextsOf(ComposePage(r, k100Months, ReportKind::Viewer));
    EXPECT_EQ(After(texts, "FoneemWeglating", 3), (Strings{"-", "-", "FoneemVerwisseling"}));
    EXPECT_EQ(After(texts, "FoneemVerwisseling", 3), (Strings{"250", "7", "goed"}));
    EXPECT_EQ(After(texts, " (Wechsler)", 2), (Strings{"n.v.t.", "[ n.v.t. ]"}));
}

TEST(ReportPage, ConversionErrorStillEndsTheDocument) {
    AdministrationRecord r = WorkedExample();
    r.SGRscoreFV.SetCell(AdministrationRecord::kTimeColumn, 3, "1,5");
    pagestore::TPrintPreview store;
    ReportContext context;
    context.ageEndDate = k100Months;
    EXPECT_THROW(BuildReportPages(store, [&] { ComposeReport(store, r, context); }, 0),
                 norms::ConversionError);
    EXPECT_EQ(store.State(), pagestore::TPreviewState::Idle);
    EXPECT_EQ(store.TotalPages(), 1);
}

TEST(ReportPage, ViewerDocumentHasTwoEmptyPagesAfterTheReport) {
    AdministrationRecord r = WorkedExample();
    pagestore::TPrintPreview store;
    ReportContext context;
    context.kind = ReportKind::Viewer;
    context.ageEndDate = k100Months;
    BuildReportPages(store, [&] { ComposeReport(store, r, context); }, 2);
    ASSERT_EQ(store.TotalPages(), 3);
    EXPECT_TRUE(TextsOf(*store.GetPage(2)).empty());
    EXPECT_FALSE(TextsOf(*store.GetPage(1)).empty());
}

}  // namespace
}  // namespace zor::report::testing
