// Damaged or hostile files and fields: every case gets a defined result, none crashes.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "data_folder_test.h"
#include "record/administration_files.h"
#include "sample_record.h"

namespace zor::record {
namespace {

using testing::SubjectOnly;

class HostileInputTest : public testing::DataFolderTest {
  protected:
    fs::path Zta(std::string_view key) const {
        const fs::path zta = root_ / "Incomplete afnames" / (std::string(key) + ".zta");
        std::ofstream(zta, std::ios::binary) << key << "\r\n0\r\n";
        return zta;
    }
    void Data(std::string_view key, std::string_view fw, std::string_view fv) const {
        std::ofstream(root_ / "Data" / (std::string(key) + "_FW.wda"), std::ios::binary) << fw;
        std::ofstream(root_ / "Data" / (std::string(key) + "_FV.vda"), std::ios::binary) << fv;
    }
    // The record as the entry screen holds it when resuming on 08-03-2011.
    static AdministrationRecord Today() {
        AdministrationRecord record;
        record.AfnameDate = {2011, 3, 8};
        record.ResetAfname();
        return record;
    }
};

TEST_F(HostileInputTest, SeparatorInSchoolOrTestLeaderBecomesComma) {
    AdministrationRecord record = SubjectOnly();
    record.Eschool = "Noord; locatie B";
    record.Etl = "Jansen;Pietersen";
    record.AfnameStatus = 1;
    record.AppendDataLines();
    const auto fields = SplitDataLine(record.MdataFW[0]);
    EXPECT_EQ(fields[9], "Noord, locatie B");
    EXPECT_EQ(fields[11], "Jansen,Pietersen");
    EXPECT_EQ(fields[13], "1");
}

TEST_F(HostileInputTest, VeryLongFieldsAreCutToTheScreenLimits) {
    const std::string longText(100000, 'x');
    AdministrationRecord record;
    record.MdataFW = {"K;FW;;01;01;2003;01;01;2011;" + longText + ";" + longText + ";" + longText +
                      ";;1"};
    ASSERT_EQ(record.ParseDataLineFW(1).outcome, ParseResult::Outcome::kLoaded);
    EXPECT_EQ(record.Eschool.size(), 30u);
    EXPECT_EQ(record.Egroep.size(), 2u);
    EXPECT_EQ(record.Etl.size(), 30u);
    // A code that long cannot name files: the line is refused.
    record.MdataFW = {longText + ";FW;;01;01;2003;01;01;2011;;;;;1"};
    const ParseResult result = record.ParseDataLineFW(1);
    EXPECT_EQ(result.outcome, ParseResult::Outcome::kRejected);
    EXPECT_EQ(result.problem, "veld 1 (code) is langer dan 40 tekens");
}

TEST_F(HostileInputTest, CodeThatWouldLeaveTheDataFolderIsRefused) {
    AdministrationRecord record;
    record.MdataFW = {"../../etc/K;FW;;01;01;2003;01;01;2011;;;;;1"};
    EXPECT_EQ(record.ParseDataLineFW(1).outcome, ParseResult::Outcome::kRejected);
    const fs::path zta = root_ / "Incomplete afnames" / "evil.zta";
    std::ofstream(zta, std::ios::binary) << "../../../tmp/x\r\n0\r\n";
    const ResumeResult resumed = ResumeFromFiles(record, zta, root_);
    EXPECT_EQ(resumed.outcome, ResumeResult::Outcome::kLoadFailed);
    EXPECT_TRUE(fs::exists(zta));
}

TEST_F(HostileInputTest, DataFileWithoutLinesIsRefused) {
    const fs::path zta = Zta("K_01-01-2011");
    Data("K_01-01-2011", "", "K;FV;;01;01;2003;01;01;2011;;;;;1\r\n");
    AdministrationRecord record = Today();
    const ResumeResult result = ResumeFromFiles(record, zta, root_);
    EXPECT_EQ(result.outcome, ResumeResult::Outcome::kRejected);
    EXPECT_TRUE(result.message.starts_with("Data foutief of niet van de Foneemweglatingtest!\n"));
    EXPECT_EQ(result.problem, (root_ / "Data" / "K_01-01-2011_FW.wda").string() +
                                  ": het databestand bevat geen dataregel");
    EXPECT_TRUE(fs::exists(zta));
}

TEST_F(HostileInputTest, FieldsBeyondWhatStatusAndLastItemCallForAreRefused) {
    std::string line = "K;FV;;01;01;2003;01;01;2011;;;;12;3";
    for (int item = 1; item <= 12; ++item) line += ";" + std::to_string(item * 10) + ";1";
    line += ";8,5";  // field 39, the score
    const fs::path zta = Zta("K_01-01-2011");
    Data("K_01-01-2011", "K;FW;;01;01;2003;01;01;2011;;;;;3\r\n", line + "\r\n");
    AdministrationRecord record = Today();
    ASSERT_EQ(ResumeFromFiles(record, zta, root_).outcome, ResumeResult::Outcome::kResumed);
    EXPECT_EQ(record.CurrentStepFV, 13);
    EXPECT_EQ(record.TotalTimeFV(), "78");

    for (int i = 40; i < 150; ++i) line += ";junk";  // fields 40 onwards
    const fs::path again = Zta("K_01-01-2011");
    Data("K_01-01-2011", "K;FW;;01;01;2003;01;01;2011;;;;;3\r\n", line + "\r\n");
    record = Today();
    const ResumeResult refused = ResumeFromFiles(record, again, root_);
    EXPECT_EQ(refused.outcome, ResumeResult::Outcome::kRejected);
    EXPECT_NE(refused.problem.find("de dataregel telt 149 velden"), std::string::npos)
        << refused.problem;
    EXPECT_TRUE(fs::exists(again));
}

TEST_F(HostileInputTest, StatusAndLastItemMustMakeSense) {
    AdministrationRecord record;
    record.MdataFV = {"K;FV;;01;01;2003;01;01;2011;;;;99;1"};  // step 100 on a 15-row grid
    EXPECT_EQ(record.ParseDataLineFV(1).outcome, ParseResult::Outcome::kRejected);
    record.MdataFV = {"K;FV;;01;01;2003;01;01;2011;;;;1;zeven"};
    EXPECT_EQ(record.ParseDataLineFV(1).outcome, ParseResult::Outcome::kRejected);
}

TEST_F(HostileInputTest, BinaryGarbageIsRefusedNotLoaded) {
    std::mt19937 random(12345);
    std::string garbage(4096, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    for (int attempt = 0; attempt < 20; ++attempt) {
        std::shuffle(garbage.begin(), garbage.end(), random);
        const fs::path zta = Zta("K_01-01-2011");
        Data("K_01-01-2011", garbage, garbage);
        AdministrationRecord record;
        const ResumeResult result = ResumeFromFiles(record, zta, root_);
        EXPECT_EQ(result.outcome, ResumeResult::Outcome::kRejected);
        EXPECT_TRUE(fs::exists(zta));
    }
    // Garbage in the incomplete-administration file itself.
    const fs::path zta = root_ / "Incomplete afnames" / "x.zta";
    std::ofstream(zta, std::ios::binary) << garbage;
    AdministrationRecord record;
    EXPECT_EQ(ResumeFromFiles(record, zta, root_).outcome, ResumeResult::Outcome::kLoadFailed);
}

TEST_F(HostileInputTest, HugeFolderOrMissingFileIsNotReadAndTheReasonIsDutch) {
    const fs::path file = root_ / "Data" / "big_FW.wda";
    std::ofstream(file, std::ios::binary) << std::string(2 << 20, 'a');
    const LinesFile read = ReadLinesFile(file);
    ASSERT_TRUE(read.error);
    EXPECT_NE(read.error->message.find("te groot"), std::string::npos);
    EXPECT_TRUE(ReadLinesFile(root_ / "Data").error);  // a folder is no file
    const fs::path missing = root_ / "Data" / "none_FW.wda";
    ASSERT_TRUE(ReadLinesFile(missing).error);
    EXPECT_EQ(ReadLinesFile(missing).error->message,
              "Kan bestand \"" + missing.string() + "\" niet openen. Het bestand bestaat niet.");
}

}  // namespace
}  // namespace zor::record
