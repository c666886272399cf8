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

TEST(FindDataLineProblem, NamesTheFieldCountedFromOne) {
    const std::string header = "Jan01;FW;meisje;10;06;2002;05;03;2011;S;4;T;vb2;2";
    EXPECT_FALSE(FindDataLineProblem(header + ";34;1;20;0", Subtest::FW));
    EXPECT_EQ(FindDataLineProblem(header + ";3x;1;20;0", Subtest::FW),
              "veld 15 (tijd) \"3x\" is geen geheel aantal tienden van seconden van ten hoogste "
              "5 cijfers");
    EXPECT_EQ(FindDataLineProblem(header + ";34;2;20;0", Subtest::FW),
              "veld 16 (goed/fout) \"2\" is geen 0 of 1");
    EXPECT_EQ(FindDataLineProblem(header, Subtest::FV),
              "veld 2 (subtest) is \"FW\" in plaats van \"FV\"");
    EXPECT_EQ(FindDataLineProblem("Jan01;FW;;01;01;2003;01;01;2011;;;;;8", Subtest::FW),
              "veld 14 (status) \"8\" is geen status 1 t/m 7");
    EXPECT_EQ(FindDataLineProblem("../x;FW;;;;;;;;;;;;1", Subtest::FW),
              "veld 1 (code) \"../x\" bevat een ongeldig teken");
    EXPECT_EQ(FindDataLineProblem(";FW;;;;;;;;;;;;1", Subtest::FW), "veld 1 (code) is leeg");
}

// A finished swap line (status 7, all twelve items and the score) with one part replaced.
std::string FinishedFV(std::string_view birth = "14;02;2004", std::string_view sex = "meisje",
                       std::string_view afname = "05;03;2011", std::string_view lastItem = "12",
                       int pairs = 12, bool score = true) {
    std::string line = "K123;FV;" + std::string(sex) + ";" + std::string(birth) + ";" +
                       std::string(afname) + ";De Klimop;4;J. Jansen;" + std::string(lastItem) +
                       ";7";
    for (int pair = 0; pair < pairs; ++pair) line += ";41;1";
    if (score) line += ";9,5";
    return line;
}

TEST(FindDataLineProblem, RefusesWhatNoAdministrationCanHold) {
    EXPECT_FALSE(FindDataLineProblem(FinishedFV(), Subtest::FV));
    EXPECT_FALSE(FindDataLineProblem(FinishedFV(";;"), Subtest::FV));  // no birth date at all
    EXPECT_FALSE(FindDataLineProblem(FinishedFV("14;02;2004", "vrouw"), Subtest::FV));
    EXPECT_FALSE(FindDataLineProblem(FinishedFV("14;02;2004", ""), Subtest::FV));

    struct Case {
        std::string line;
        std::string field;  // the start of the message
    };
    const Case refused[] = {
        {FinishedFV("14;02;2004", "xyz"), "veld 3 (geslacht) \"xyz\""},
        {FinishedFV("29;02;2011"), "velden 4-6 (geboortedatum) \"29-02-2011\""},
        {FinishedFV("05;11;0000"), "velden 4-6 (geboortedatum)"},
        {FinishedFV("5;11;2002"), "velden 4-6 (geboortedatum)"},
        {FinishedFV("05;11;-200"), "velden 4-6 (geboortedatum)"},
        {FinishedFV("05;11;20020"), "velden 4-6 (geboortedatum)"},
        {FinishedFV("14;;2004"), "velden 4-6 (geboortedatum)"},
        {FinishedFV("06;03;2011"), "velden 4-6 (geboortedatum) \"06-03-2011\" ligt niet voor"},
        {FinishedFV("14;02;2004", "meisje", "05;3;2011"), "velden 7-9 (afnamedatum)"},
        {FinishedFV("14;02;2004", "meisje", "31;04;2011"), "velden 7-9 (afnamedatum)"},
        // Status 7 says the swap test was finished: after its last item, with every pair.
        {FinishedFV("14;02;2004", "meisje", "05;03;2011", "9", 9), "veld 13 (laatste item)"},
        {FinishedFV("14;02;2004", "meisje", "05;03;2011", "12", 10),
         "de dataregel telt 35 velden, maar veld 14 (status) 7 met veld 13 (laatste item) "
         "\"12\" vraagt er 39"},
        {FinishedFV("14;02;2004", "meisje", "05;03;2011", "12", 12, false), "de dataregel telt 38"},
        {FinishedFV() + ";extra", "de dataregel telt 40"},
        {FinishedFV("14;02;2004", "meisje", "05;03;2011", "12", 12, false) + ";9x5",
         "veld 39 (standaardscore) \"9x5\""},
        {"K123;FV;meisje;14;02;2004;05;03;2011;S;4;T;2;1;999999;1;41;1",
         "veld 15 (tijd) \"999999\""},
    };
    for (const Case& c : refused) {
        const std::optional<std::string> problem = FindDataLineProblem(c.line, Subtest::FV);
        ASSERT_TRUE(problem) << c.line;
        EXPECT_TRUE(problem->starts_with(c.field)) << *problem;
    }
}

}  // namespace
}  // namespace zor::record
