#include <gtest/gtest.h>

#include "report/interval_labels.h"
#include "report/report_scores.h"

namespace zor::report {
namespace {

TEST(IntervalLabels, HalvesRoundToTheEvenNeighbour) {
    EXPECT_EQ(IntervalLabel(IntervalList::Speed, 15.5L), "[14 - 16]");  // 16
    EXPECT_EQ(IntervalLabel(IntervalList::Speed, 14.5L), "[13 - 15]");  // 14
    EXPECT_EQ(IntervalLabel(IntervalList::Index, 8.5L), "[ 7 - 9 ]");
    EXPECT_EQ(IntervalLabel(IntervalList::Index, 8.51L), "[ 8 - 10]");
}

TEST(IntervalLabels, EndsOfTheListsAndOutside) {
    EXPECT_EQ(IntervalLabel(IntervalList::Accuracy, 1.0L), "[ 1 - 4 ]");
    EXPECT_EQ(IntervalLabel(IntervalList::Accuracy, 19.0L), "[16 - 19]");
    EXPECT_EQ(IntervalLabel(IntervalList::Accuracy, 8.0L), "[ 7 - 10]");
    EXPECT_EQ(IntervalLabel(IntervalList::Index, 14.0L), "[13 - 14]");
    EXPECT_EQ(IntervalLabel(IntervalList::Speed, 0.0L), "[ n.v.t. ]");
    EXPECT_EQ(IntervalLabel(IntervalList::Speed, 0.5L), "[ n.v.t. ]");  // rounds to 0
    for (long double s = 1; s <= 19; s += 1) {
        EXPECT_EQ(IntervalLabel(IntervalList::Speed, s).size(), 9u);
    }
}

TEST(ReportScoreText, OneDecimalWithADecimalComma) {
    EXPECT_EQ(ReportScoreText(10.25L), "10,3");
    EXPECT_EQ(ReportScoreText(12.0L), "12");
    EXPECT_EQ(ReportScoreText(7.04L), "7");
    EXPECT_EQ(ReportScoreText(19.0L), "19");
}

}  // namespace
}  // namespace zor::report
