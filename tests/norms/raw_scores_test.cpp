#include "norms/raw_scores.h"

#include <gtest/gtest.h>

namespace zor::norms {
namespace {

ItemCells Cells(std::string_view value) {
    ItemCells cells;
    cells.fill(value);
    return cells;
}

TEST(RawTotals, EmptyCellsCountAs999) {
    EXPECT_EQ(TotalTimeSeconds(Cells("")), 1199);  // 11988 tenths
    EXPECT_EQ(TotalCorrect(Cells("")), 11988);
}

TEST(RawTotals, TimeIsRoundedHalfUpToWholeSeconds) {
    ItemCells cells = Cells("50");
    cells[0] = "55";  // 605 tenths
    EXPECT_EQ(TotalTimeSeconds(cells), 61);
    cells[0] = "54";  // 604 tenths
    EXPECT_EQ(TotalTimeSeconds(cells), 60);
}

TEST(RawTotals, OneEmptyTimeCellAddsNinetyNineSeconds) {
    ItemCells cells = Cells("50");
    cells[7] = "";
    EXPECT_EQ(TotalTimeSeconds(cells), 155);  // 1549 tenths
}

TEST(RawTotals, NonNumericCellIsAConversionError) {
    ItemCells cells = Cells("1");
    cells[3] = "abc";
    try {
        TotalCorrect(cells);
        FAIL() << "no conversion error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' is geen geldige integerwaarde");
    }
    cells[3] = "1.5";
    EXPECT_THROW(TotalCorrect(cells), ConversionError);
    cells[3] = "99999999999";
    EXPECT_THROW(TotalCorrect(cells), ConversionError);
    cells[3] = "-";
    EXPECT_THROW(TotalCorrect(cells), ConversionError);
    EXPECT_EQ(CellToInt("-7"), -7);
    EXPECT_EQ(CellToInt("+7"), 7);
}

TEST(FormRawScores, WorkedExample) {
    const RawScores raw =
        FormRawScores({.timeFW = 60, .timeFV = 250, .correctFW = 9, .correctFV = 7});
    EXPECT_EQ(raw.T, 60);
    EXPECT_EQ(raw.S, 25.0L);
    EXPECT_EQ(raw.CW, 9);
    EXPECT_EQ(raw.CV, 7);
    EXPECT_EQ(raw.C, 1.6L);
}

TEST(FormRawScores, LimitsGiveNotAvailable) {
    const RawScores high =
        FormRawScores({.timeFW = 1000, .timeFV = 1000, .correctFW = 13, .correctFV = 12});
    EXPECT_EQ(high.T, kNotAvailable);
    EXPECT_EQ(high.S, kNotAvailable);
    EXPECT_EQ(high.CW, kNotAvailable);
    EXPECT_EQ(high.CV, 12);
    EXPECT_EQ(high.C, kNotAvailable);  // one side missing

    const RawScores edge =
        FormRawScores({.timeFW = 999, .timeFV = 999, .correctFW = 12, .correctFV = 0});
    EXPECT_EQ(edge.T, 999);
    EXPECT_EQ(edge.S, 99.9L);
    EXPECT_EQ(edge.C, 1.2L);
}

}  // namespace
}  // namespace zor::norms
