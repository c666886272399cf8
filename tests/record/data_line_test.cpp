#include "record/data_line.h"

#include <gtest/gtest.h>

namespace zor::record {
namespace {

TEST(SplitDataLine, FieldsBetweenSeparators) {
    const auto fields = SplitDataLine("a;FW;;b;");
    ASSERT_EQ(fields.size(), static_cast<std::size_t>(kMaxDataLineFields));
    EXPECT_EQ(fields[0], "a");
    EXPECT_EQ(fields[1], "FW");
    EXPECT_EQ(fields[2], "");
    EXPECT_EQ(fields[3], "b");
    EXPECT_EQ(fields[4], "");
    EXPECT_EQ(fields[49], "");
}

TEST(SplitDataLine, FieldsBeyondFiftyAreIgnored) {
    std::string line;
    for (int i = 0; i < 60; ++i) line += std::to_string(i) + ";";
    const auto fields = SplitDataLine(line);
    ASSERT_EQ(fields.size(), 50u);
    EXPECT_EQ(fields[49], "49");
}

TEST(DataField, SeparatorsAndLineBreaksCannotEnterALine) {
    EXPECT_EQ(DataField("school; groep"), "school, groep");
    EXPECT_EQ(DataField("a\r\nb\tc"), "a  b c");
    EXPECT_EQ(DataField("Café"), "Café");
}

TEST(FormatScore, ShortestFormWithOneDecimal) {
    EXPECT_EQ(FormatScore(10.5L, ','), "10,5");
    EXPECT_EQ(FormatScore(7.04L, ','), "7");
    EXPECT_EQ(FormatScore(0, ','), "0");
    EXPECT_EQ(FormatScore(6.4901666L, ','), "6,5");
    EXPECT_EQ(FormatScore(7.1216L, '.'), "7.1");
    EXPECT_EQ(FormatScore(19, ','), "19");
}

TEST(StatusCallsForScore, FinishedSubtestsOnly) {
    for (int status = 1; status <= 7; ++status) {
        EXPECT_EQ(StatusCallsForScore(Subtest::FW, status),
                  status == 4 || status == 6 || status == 7);
        EXPECT_EQ(StatusCallsForScore(Subtest::FV, status),
                  status == 3 || status == 5 || status == 7);
    }
}

TEST(LastItemStep, ItemsOfEachSubtest) {
    EXPECT_EQ(LastItemStep(Subtest::FW, ""), 0);
    EXPECT_EQ(LastItemStep(Subtest::FW, "vb2"), 2);
    EXPECT_EQ(LastItemStep(Subtest::FW, "15"), 15);
    EXPECT_FALSE(LastItemStep(Subtest::FW, "16"));
    EXPECT_FALSE(LastItemStep(Subtest::FW, "vb4"));
    EXPECT_EQ(LastItemStep(Subtest::FV, "12"), 12);
    EXPECT_FALSE(LastItemStep(Subtest::FV, "13"));
    EXPECT_FALSE(LastItemStep(Subtest::FV, "vb1"));
    EXPECT_FALSE(LastItemStep(Subtest::FV, "-1"));
    EXPECT_FALSE(LastItemStep(Subtest::FV, "x"));
}

TEST(FindDataLineProblem, NamesTheField) {
    const std::string header = "Jan01;FW;meisje;10;06;2002;05;03;2011;S;4;T;vb2;2";
    EXPECT_FALSE(FindDataLineProblem(SplitDataLine(header + ";34;1;20;0"), Subtest::FW));
    EXPECT_EQ(FindDataLineProblem(SplitDataLine(header + ";3x;1"), Subtest::FW),
              "veld 15 (tijd) \"3x\" is geen geheel aantal tienden van seconden");
    EXPECT_EQ(FindDataLineProblem(SplitDataLine(header + ";34;2"), Subtest::FW),
              "veld 16 (goed/fout) \"2\" is geen 0 of 1");
    EXPECT_EQ(FindDataLineProblem(SplitDataLine(header), Subtest::FV),
              "veld 2 (subtest) is \"FW\" in plaats van \"FV\"");
    EXPECT_EQ(FindDataLineProblem(SplitDataLine("Jan01;FW;;;;;;;;;;;;8"), Subtest::FW),
              "veld 14 (status) \"8\" is geen status 1 t/m 7");
    EXPECT_EQ(FindDataLineProblem(SplitDataLine("../x;FW;;;;;;;;;;;;1"), Subtest::FW),
              "veld 1 (code) \"../x\" bevat een ongeldig teken");
    EXPECT_EQ(FindDataLineProblem(SplitDataLine(";FW;;;;;;;;;;;;1"), Subtest::FW),
              "veld 1 (code) is leeg");
}

}  // namespace
}  // namespace zor::record
