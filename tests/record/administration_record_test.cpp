#include "record/administration_record.h"

#include <gtest/gtest.h>

#include "norms/raw_scores.h"
#include "sample_record.h"

namespace zor::record {
namespace {

using testing::Finished;
using testing::GiveResults;
using testing::SubjectOnly;

std::size_t FieldCount(const std::string& line) {
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), ';')) + 1;
}

TEST(AdministrationRecord, GridLayout) {
    const AdministrationRecord record;
    EXPECT_NO_THROW(record.SGRscoreFW.Cell(2, 14));  // 3 columns, 15 rows
    EXPECT_THROW(record.SGRscoreFW.Cell(3, 0), std::out_of_range);
    EXPECT_THROW(record.SGRscoreFW.Cell(0, 15), std::out_of_range);
    EXPECT_EQ(record.SGRscoreFW.Cell(0, 0), " vb1");
    EXPECT_EQ(record.SGRscoreFW.Cell(0, 2), " vb3");
    EXPECT_EQ(record.SGRscoreFW.Cell(0, 3), " 1");
    EXPECT_EQ(record.SGRscoreFW.Cell(0, 14), " 12");
    EXPECT_EQ(record.SGRscoreFV.Cell(0, 11), " 12");
    EXPECT_EQ(record.SGRscoreFV.Cell(0, 12), "");
    EXPECT_THROW(record.SGdataFW.Cell(2, 0), std::out_of_range);  // 2 columns, 200 rows
    EXPECT_THROW(record.SGdataFW.Cell(0, 200), std::out_of_range);
    EXPECT_EQ(record.SGdataFV.Cell(0, 199), " 200");
}

TEST(AdministrationRecord, ResetEmptiesSubjectAndShowsToday) {
    AdministrationRecord record = Finished();
    record.AfnameDate = {2026, 12, 9};
    record.ResetAfname();
    EXPECT_EQ(record.Ecode, "");
    EXPECT_EQ(record.RGsekse, Sex::None);
    EXPECT_EQ(record.Eafndag, "09");
    EXPECT_EQ(record.Eafnmnd, "12");
    EXPECT_EQ(record.Eafnjaar, "2026");
    EXPECT_EQ(record.AfnameYear, 2026);
    EXPECT_TRUE(record.MdataFW.empty());
    EXPECT_TRUE(record.MdataFV.empty());
    EXPECT_EQ(record.SGRscoreFW.Cell(1, 14), "");
    EXPECT_EQ(record.SGRscoreFV.Cell(2, 0), "");
    EXPECT_EQ(record.SGdataFW.Cell(1, 0), "");
    ASSERT_EQ(record.MemoCom.size(), 2u);  // lines stay, emptied
    EXPECT_EQ(record.MemoCom[0], "");
    EXPECT_EQ(record.AfnameStatus, 7);  // the subtest choice sets it, not the reset
}

TEST(Totals, EmptyGridsGiveNotAvailableSums) {
    const AdministrationRecord record;
    EXPECT_EQ(record.TotalCorrectFW(), "11988");
    EXPECT_EQ(record.TotalTimeFW(), "1199");
    EXPECT_EQ(record.TotalCorrectFV(), "11988");
    EXPECT_EQ(record.TotalTimeFV(), "1199");
}

TEST(Totals, OnlyTestItemsCount) {
    AdministrationRecord record = SubjectOnly();
    GiveResults(record, Subtest::FW, 15, 50);
    record.SGRscoreFW.SetCell(1, 0, "900");  // an example row
    EXPECT_EQ(record.TotalTimeFW(), "60");
    EXPECT_EQ(record.TotalCorrectFW(), "6");  // items 1..12 sit on steps 4..15
    GiveResults(record, Subtest::FV, 12, 33);
    EXPECT_EQ(record.TotalTimeFV(), "40");  // 396 tenths rounded half up
    EXPECT_EQ(record.TotalCorrectFV(), "6");
}

TEST(Totals, NonIntegerCellFails) {
    AdministrationRecord record = SubjectOnly();
    GiveResults(record, Subtest::FV, 12, 33);
    record.SGRscoreFV.SetCell(1, 4, "3,3");
    EXPECT_THROW(record.TotalTimeFV(), norms::ConversionError);
    const long double before = record.SpeedSSFV = 5;
    EXPECT_THROW(record.BerekenSpeedSS(), norms::ConversionError);
    EXPECT_EQ(record.SpeedSSFV, before);
}

TEST(FindSubjectRow, ReturnsLastMatchingRow) {
    AdministrationRecord record;
    record.MdataFW = {"A;FW;x", "B;FW;x", "A;FW;x", "AA;FW;x"};
    EXPECT_EQ(record.FindSubjectRow("A"), 3);
    EXPECT_EQ(record.FindSubjectRow("B"), 2);
    EXPECT_EQ(record.FindSubjectRow("a"), 0);  // case-sensitive
    EXPECT_EQ(record.FindSubjectRow(""), 0);
    EXPECT_EQ(record.FindSubjectRow("C"), 0);
}

TEST(ComputeAge, TextAndMonths) {
    AdministrationRecord record;
    EXPECT_EQ(record.ComputeAge({2012, 2, 28}, {2004, 2, 29}), "7;11");
    EXPECT_EQ(record.AgeMonths, 95);
    EXPECT_EQ(record.ComputeAge({2012, 3, 1}, {2004, 2, 29}), "8;0");
    EXPECT_EQ(record.AgeMonths, 96);
}

TEST(MayContinue, NeedsCodeSexAndCalendarBirthDate) {
    AdministrationRecord record = SubjectOnly();
    EXPECT_TRUE(record.MayContinue());
    EXPECT_EQ(record.Edit3, "8;8");
    EXPECT_EQ(record.AgeMonths, 104);
    record.Egebdag = "31";
    record.Egebmnd = "02";
    EXPECT_FALSE(record.MayContinue());
    EXPECT_FALSE(record.SubjectValid);
    EXPECT_EQ(record.Edit3, "8;8");  // nothing else changes
    record.Egebdag = "1";
    record.Egebmnd = "03";
    EXPECT_FALSE(record.MayContinue());  // day needs two characters
    record.Egebdag = "01";
    EXPECT_TRUE(record.MayContinue());
    record.RGsekse = Sex::None;
    EXPECT_FALSE(record.MayContinue());
}

TEST(DataLines, StartAppendsOneLinePairWithoutResults) {
    AdministrationRecord record = SubjectOnly();
    record.AfnameStatus = 1;
    record.AppendDataLines();
    ASSERT_EQ(record.MdataFW.size(), 1u);
    EXPECT_EQ(record.MdataFW[0],
              "Jan01;FW;meisje;10;06;2002;05;03;2011;De Regenboog;4;M. de Vries;;1");
    EXPECT_EQ(record.MdataFV[0],
              "Jan01;FV;meisje;10;06;2002;05;03;2011;De Regenboog;4;M. de Vries;;1");
    EXPECT_EQ(record.SGdataFW.Cell(1, 0), record.MdataFW[0]);
    EXPECT_EQ(record.SGdataFV.Cell(1, 0), record.MdataFV[0]);
    EXPECT_EQ(record.FindSubjectRow("Jan01"), 1);
}

TEST(DataLines, FinishedFWLineHas45Fields) {
    AdministrationRecord record = SubjectOnly();
    GiveResults(record, Subtest::FW, 15, 50);
    for (int status : {4, 6, 7}) {
        record.AfnameStatus = status;
        const std::string line = record.BuildDataLineFW();
        EXPECT_EQ(FieldCount(line), 45u) << status;
        const auto fields = SplitDataLine(line);
        EXPECT_EQ(fields[12], "15");
        EXPECT_EQ(fields[14], "50");
        EXPECT_EQ(fields[15], "1");
        EXPECT_EQ(fields[43], "1");
        EXPECT_EQ(fields[44], FormatScore(record.SpeedSSFW, ','));
        EXPECT_NE(fields[44], "0");
    }
    record.AfnameStatus = 5;  // deletion under way as second subtest: no score yet
    EXPECT_EQ(FieldCount(record.BuildDataLineFW()), 44u);
}

TEST(DataLines, FVLineAfterFiveItemsHas24Fields) {
    AdministrationRecord record = SubjectOnly();
    record.AfnameStatus = 1;
    GiveResults(record, Subtest::FV, 5, 40);
    const std::string line = record.BuildDataLineFV();
    EXPECT_EQ(FieldCount(line), 24u);
    EXPECT_TRUE(line.ends_with(";1;40;1;40;0;40;1;40;0;40;1")) << line;
    EXPECT_EQ(SplitDataLine(line)[12], "5");
}

TEST(DataLines, ScoreFollowsStatus) {
    AdministrationRecord record = SubjectOnly();
    GiveResults(record, Subtest::FW, 15, 50);
    record.AfnameStatus = 6;  // deletion finished, swap under way
    GiveResults(record, Subtest::FV, 3, 40);
    record.AppendDataLines();
    EXPECT_EQ(FieldCount(record.MdataFW[0]), 45u);
    EXPECT_EQ(FieldCount(record.MdataFV[0]), 20u);
    GiveResults(record, Subtest::FV, 12, 40);
    record.AfnameStatus = 7;
    record.ReplaceDataLines(1);
    ASSERT_EQ(record.MdataFV.size(), 1u);
    EXPECT_EQ(FieldCount(record.MdataFV[0]), 39u);
    // The swap line carries the score computed while building the deletion line.
    EXPECT_EQ(SplitDataLine(record.MdataFV[0])[38], FormatScore(record.SpeedSSFV, ','));
}

TEST(DataLines, TimedButUnmarkedStepHasEmptyPair) {
    AdministrationRecord record = SubjectOnly();
    record.AfnameStatus = 1;
    GiveResults(record, Subtest::FV, 2, 40);
    record.CurrentStepFV = 4;  // item 3 stopped, not yet marked
    record.ELaatsteFV = "3";
    EXPECT_TRUE(record.BuildDataLineFV().ends_with(";40;1;40;0;;"));
}

TEST(DataLines, SpeedScoresUseAgeBand) {
    AdministrationRecord record = SubjectOnly();  // 104 months: band 3
    GiveResults(record, Subtest::FW, 15, 50);
    GiveResults(record, Subtest::FV, 12, 200);
    record.BerekenSpeedSS();
    const norms::RawScores raw = norms::FormRawScores(record.Totals());
    EXPECT_EQ(record.SpeedSSFW, norms::SpeedScoreFW(3, raw.T));
    EXPECT_EQ(record.SpeedSSFV, norms::SpeedScoreFV(3, raw.S));
    record.Egebjaar.clear();  // no birth date, no band
    record.BerekenSpeedSS();
    EXPECT_EQ(record.SpeedSSFW, 0);
    EXPECT_EQ(record.SpeedSSFV, 0);
}

TEST(ParseDataLine, RoundTripIsByteIdentical) {
    const AdministrationRecord written = Finished();
    for (int status : {1, 3, 5, 7}) {
        AdministrationRecord source = written;
        source.AfnameStatus = status;
        source.ReplaceDataLines(1);
        AdministrationRecord read;
        read.AfnameDate = {2011, 3, 5};
        read.MdataFW = source.MdataFW;
        read.MdataFV = source.MdataFV;
        ASSERT_EQ(read.ParseDataLineFW(1).outcome, ParseResult::Outcome::kLoaded);
        ASSERT_EQ(read.ParseDataLineFV(1).outcome, ParseResult::Outcome::kLoaded);
        EXPECT_EQ(read.CurrentStepFW, 16);
        EXPECT_EQ(read.CurrentStepFV, 13);
        EXPECT_EQ(read.BuildDataLineFW(), source.MdataFW[0]) << status;
        EXPECT_EQ(read.BuildDataLineFV(), source.MdataFV[0]) << status;
    }
}

TEST(ParseDataLine, PartialLineSetsStepAndKeepsExampleName) {
    AdministrationRecord record;
    record.MdataFW = {"K1;FW;jongen;01;02;2003;05;03;2011;S;4;T;vb2;2;31;1;29;0"};
    ASSERT_EQ(record.ParseDataLineFW(1).outcome, ParseResult::Outcome::kLoaded);
    EXPECT_EQ(record.ElaatsteFW, "vb2");
    EXPECT_EQ(record.CurrentStepFW, 3);
    EXPECT_EQ(record.AfnameStatus, 2);
    EXPECT_EQ(record.RGsekse, Sex::Jongen);
    EXPECT_EQ(record.SGRscoreFW.Cell(1, 1), "29");
    EXPECT_EQ(record.SGRscoreFW.Cell(2, 1), "0");
    EXPECT_EQ(record.SGRscoreFW.Cell(1, 2), "");
    EXPECT_EQ(record.BuildDataLineFW(), record.MdataFW[0]);
}

TEST(ParseDataLine, SexWords) {
    for (const auto& [word, sex] :
         {std::pair{"vrouw", Sex::Meisje}, std::pair{"meisje", Sex::Meisje},
          std::pair{"", Sex::None}, std::pair{"jongen", Sex::Jongen}, std::pair{"man", Sex::Jongen}}) {
        AdministrationRecord record;
        record.MdataFV = {std::string("K1;FV;") + word + ";01;02;2003;05;03;2011;S;4;T;;1"};
        ASSERT_EQ(record.ParseDataLineFV(1).outcome, ParseResult::Outcome::kLoaded) << word;
        EXPECT_EQ(record.RGsekse, sex) << word;
    }
    // Any other word is no sex the program wrote: it is refused, never taken for a boy.
    for (const char* word : {"Meisje", "xyz"}) {
        AdministrationRecord record;
        record.MdataFV = {std::string("K1;FV;") + word + ";01;02;2003;05;03;2011;S;4;T;;1"};
        EXPECT_EQ(record.ParseDataLineFV(1).outcome, ParseResult::Outcome::kRejected) << word;
    }
}

TEST(ParseDataLine, LowerCaseSubtestIsRefusedAndRecordReset) {
    AdministrationRecord record = Finished();
    record.MdataFW = {"Jan01;fw;meisje;10;06;2002;05;03;2011;S;4;T;;1"};
    const ParseResult result = record.ParseDataLineFW(1);
    EXPECT_EQ(result.outcome, ParseResult::Outcome::kRejected);
    EXPECT_EQ(result.message, "Data foutief of niet van de Foneemweglatingtest!");
    EXPECT_EQ(result.problem, "veld 2 (subtest) is \"fw\" in plaats van \"FW\"");
    EXPECT_EQ(record.Ecode, "");
    EXPECT_TRUE(record.MdataFW.empty());
    EXPECT_EQ(record.SGdataFW.Cell(1, 0), "");
    EXPECT_EQ(record.SGRscoreFW.Cell(1, 5), "");

    record.MdataFV = {"Jan01;FW;meisje;10;06;2002;05;03;2011;S;4;T;;1"};
    EXPECT_EQ(record.ParseDataLineFV(1).message,
              "Data foutief of niet van de Foneemverwisselingtest!");
}

TEST(ParseDataLine, EmptyOrMissingRowLeavesRecord) {
    AdministrationRecord record = SubjectOnly();
    record.MdataFW = {""};
    EXPECT_EQ(record.ParseDataLineFW(1).outcome, ParseResult::Outcome::kNoLine);
    EXPECT_EQ(record.ParseDataLineFW(0).outcome, ParseResult::Outcome::kNoLine);
    EXPECT_EQ(record.ParseDataLineFW(2).outcome, ParseResult::Outcome::kNoLine);
    EXPECT_EQ(record.Ecode, "Jan01");
}

TEST(ParseDataLine, SetsSubjectValidAndAgeAsTypingWould) {
    AdministrationRecord record;
    record.AfnameDate = {2012, 2, 28};
    record.MdataFW = {"K1;FW;meisje;29;02;2004;27;02;2012;;;;;2"};
    ASSERT_EQ(record.ParseDataLineFW(1).outcome, ParseResult::Outcome::kLoaded);
    EXPECT_TRUE(record.SubjectValid);
    EXPECT_EQ(record.Edit3, "7;11");
    EXPECT_EQ(record.AgeMonths, 95);
}

}  // namespace
}  // namespace zor::record
