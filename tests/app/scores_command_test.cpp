#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "record/administration_files.h"
#include "record/data_line.h"
#include "subcommand.h"

namespace zor::tool {
namespace {

namespace fs = std::filesystem;

// The worked example of the norms: 100 months on 05-03-2011 (band 2), deletion
// 600 tenths with 9 right, swap 2500 tenths with 7 right, both finished.
std::string ExampleLine(std::string_view subtest) {
    const bool fw = subtest == "FW";
    std::string line = "Kim-3;" + std::string(subtest) +
                       ";meisje;05;11;2002;05;03;2011;De Regenboog;4;A. Bakker;" +
                       (fw ? "15" : "12") + ";7";
    if (fw) line += ";30;1;30;1;30;0";  // examples: never counted
    for (int item = 1; item <= 12; ++item) {
        const int tenths = fw ? 50 : (item == 12 ? 212 : 208);
        const bool right = item <= (fw ? 9 : 7);
        line += ";" + std::to_string(tenths) + (right ? ";1" : ";0");
    }
    return line + (fw ? ";6,5" : ";8,5");
}

const char* const kExampleOutput =
    "code=Kim-3\n"
    "age_months=100\n"
    "band=2\n"
    "time_fw=60\n"
    "time_fv=250\n"
    "correct_fw=9\n"
    "correct_fv=7\n"
    "SpeedScoreFW=6.5\n"
    "AccuracyScoreFW=0\n"
    "IndexBand1=0\n"
    "SpeedScoreFV=8.5\n"
    "SpeedScore=7.1\n"
    "AccuracyScore=10.2\n"
    "IndexScore=8.5\n";

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun Scores(const Arguments& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunScores(arguments, out, err);
    return {status, out.str(), err.str()};
}

class ScoresCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("zor-tool-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        data_ = root_ / "Data";
        fs::remove_all(root_);
        fs::create_directories(data_);
        fs::create_directories(root_ / "Incomplete afnames");
    }
    void TearDown() override { fs::remove_all(root_); }

    void Write(const std::string& name, const std::string& content) const {
        std::ofstream(data_ / name, std::ios::binary) << content;
    }
    void WriteAdministration(const std::string& key, const std::string& fw,
                             const std::string& fv) const {
        Write(key + "_FW.wda", fw + "\r\n");
        Write(key + "_FV.vda", fv + "\r\n");
    }
    std::string Path(const std::string& name) const { return (data_ / name).string(); }

    fs::path root_;
    fs::path data_;
};

TEST_F(ScoresCommandTest, WorkedExampleFromTheTwoFiles) {
    WriteAdministration("Kim-3_05-03-2011", ExampleLine("FW"), ExampleLine("FV"));
    const ToolRun run = Scores({Path("Kim-3_05-03-2011_FW.wda"), Path("Kim-3_05-03-2011_FV.vda")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, kExampleOutput);
    EXPECT_EQ(run.err, "");
}

TEST_F(ScoresCommandTest, DataFolderAndKey) {
    WriteAdministration("Kim-3_05-03-2011", ExampleLine("FW"), ExampleLine("FV"));
    EXPECT_EQ(Scores({root_.string(), "Kim-3_05-03-2011"}).out, kExampleOutput);
    EXPECT_EQ(Scores({data_.string(), "Kim-3_05-03-2011"}).out, kExampleOutput);
}

TEST_F(ScoresCommandTest, DateOptionMovesTheAge) {
    WriteAdministration("Kim-3_05-03-2011", ExampleLine("FW"), ExampleLine("FV"));
    // 80 months: band 1, the deletion scores of the worked example's band-1 variant.
    const ToolRun run = Scores({"--date", "05-07-2009", root_.string(), "Kim-3_05-03-2011"});
    EXPECT_NE(run.out.find("age_months=80\nband=1\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("SpeedScoreFW=7.5\nAccuracyScoreFW=11.8\nIndexBand1=9.6\n"
                           "SpeedScoreFV=0\nSpeedScore=0\nAccuracyScore=0\nIndexScore=9.6\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(Scores({"--date", "31-02-2011", root_.string(), "k"}).status, 2);
}

// The scores the program wrote into the data lines come out again.
TEST_F(ScoresCommandTest, SameSpeedScoresAsTheDataLinesCarry) {
    record::AdministrationRecord admin;
    admin.AfnameDate = {2013, 10, 1};
    admin.ResetAfname();
    admin.Ecode = "Piet";
    admin.RGsekse = record::Sex::Jongen;
    admin.Egebdag = "14";
    admin.Egebmnd = "02";
    admin.Egebjaar = "2003";
    ASSERT_TRUE(admin.MayContinue());
    admin.AfnameKey = admin.SubjectKey();
    admin.MemoCom = {admin.AfnameKey, "0"};
    for (int row = 0; row < 15; ++row) {
        admin.SGRscoreFW.SetCell(1, row, std::to_string(20 + 7 * row));
        admin.SGRscoreFW.SetCell(2, row, row % 3 ? "1" : "0");
        admin.SGRscoreFV.SetCell(1, row < 12 ? row : 0, std::to_string(90 + 11 * row));
        admin.SGRscoreFV.SetCell(2, row < 12 ? row : 0, row % 4 ? "1" : "0");
    }
    admin.CurrentStepFW = 16;
    admin.CurrentStepFV = 13;
    admin.AfnameStatus = 7;
    admin.AppendDataLines();
    ASSERT_FALSE(record::WriteAdministrationFiles(admin, root_));

    const ToolRun run = Scores({root_.string(), admin.AfnameKey});
    ASSERT_EQ(run.status, 0) << run.err;
    auto carried = [](const std::string& line, int field) {
        std::string score = record::SplitDataLine(line)[field];
        std::replace(score.begin(), score.end(), ',', '.');
        return score;
    };
    EXPECT_NE(run.out.find("SpeedScoreFW=" + carried(admin.MdataFW[0], 44) + "\n"),
              std::string::npos)
        << run.out << admin.MdataFW[0];
    EXPECT_NE(run.out.find("SpeedScoreFV=" + carried(admin.MdataFV[0], 38) + "\n"),
              std::string::npos)
        << run.out << admin.MdataFV[0];
    EXPECT_NE(carried(admin.MdataFW[0], 44), "0");
}

TEST_F(ScoresCommandTest, NoBirthDateMeansNoBand) {
    std::string fw = ExampleLine("FW");
    std::string fv = ExampleLine("FV");
    fw.replace(fw.find(";05;11;2002;"), 12, ";;11;2002;");
    fv.replace(fv.find(";05;11;2002;"), 12, ";;11;2002;");
    WriteAdministration("K_05-03-2011", fw, fv);
    const ToolRun run = Scores({root_.string(), "K_05-03-2011"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("age_months=\nband=0\ntime_fw=60\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("IndexScore=0\n"), std::string::npos);
}

TEST_F(ScoresCommandTest, BadInputNamesFileAndLine) {
    const ToolRun missing = Scores({Path("none_FW.wda"), Path("none_FV.vda")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_TRUE(missing.err.starts_with("zor-tool scores: Kan bestand \"" + Path("none_FW.wda") +
                                        "\" niet openen."))
        << missing.err;

    std::string lower = ExampleLine("FW");
    lower.replace(lower.find(";FW;"), 4, ";fw;");
    Write("A_FW.wda", "oude regel\r\n" + lower + "\r\n");
    Write("A_FV.vda", ExampleLine("FV") + "\r\n");
    const ToolRun wrongSubtest = Scores({Path("A_FW.wda"), Path("A_FV.vda")});
    EXPECT_EQ(wrongSubtest.status, 1);
    EXPECT_EQ(wrongSubtest.err, "zor-tool scores: " + Path("A_FW.wda") +
                                    ":2: veld 2 (subtest) is \"fw\" in plaats van \"FW\"\n");

    std::string cell = ExampleLine("FV");
    cell.replace(cell.find(";208;"), 5, ";2x8;");
    Write("B_FV.vda", cell + "\r\n");
    const ToolRun swapped = Scores({Path("A_FV.vda"), Path("A_FW.wda")});
    EXPECT_EQ(swapped.err, "zor-tool scores: " + Path("A_FV.vda") +
                               ":1: veld 2 (subtest) is \"FV\" in plaats van \"FW\"\n");
    Write("C_FW.wda", ExampleLine("FW") + "\r\n");
    const ToolRun cellError = Scores({Path("C_FW.wda"), Path("B_FV.vda")});
    EXPECT_EQ(cellError.err,
              "zor-tool scores: " + Path("B_FV.vda") +
                  ":1: veld 15 (tijd) \"2x8\" is geen geheel aantal tienden van seconden\n");

    Write("D_FW.wda", "");
    const ToolRun empty = Scores({Path("D_FW.wda"), Path("A_FV.vda")});
    EXPECT_EQ(empty.err,
              "zor-tool scores: " + Path("D_FW.wda") + ": het bestand bevat geen dataregel\n");
}

TEST_F(ScoresCommandTest, CsvOverAFolderGoesOnAfterABadAdministration) {
    WriteAdministration("Kim-3_05-03-2011", ExampleLine("FW"), ExampleLine("FV"));
    WriteAdministration("Kim-3_05-03-2011_gecorrigeerd", ExampleLine("FW"), ExampleLine("FV"));
    Write("Lone_01-01-2011_FW.wda", ExampleLine("FW") + "\r\n");
    Write("notes.txt", "not an administration");
    // Scored after the others: nothing of theirs may carry over.
    std::string fw = ExampleLine("FW");
    std::string fv = ExampleLine("FV");
    fw.replace(fw.find(";05;11;2002;"), 12, ";;;;");
    fv.replace(fv.find(";05;11;2002;"), 12, ";;;;");
    WriteAdministration("Zonder_05-03-2011", fw, fv);
    const ToolRun run = Scores({"--csv", root_.string()});
    EXPECT_EQ(run.status, 1);
    const std::string row = ",Kim-3,100,2,60,250,9,7,6.5,0,0,8.5,7.1,10.2,8.5\n";
    const std::string noBirthDate = "Zonder_05-03-2011,Kim-3,,0,60,250,9,7,0,0,0,0,0,0,0\n";
    EXPECT_EQ(run.out,
              "key,code,age_months,band,time_fw,time_fv,correct_fw,correct_fv,SpeedScoreFW,"
              "AccuracyScoreFW,IndexBand1,SpeedScoreFV,SpeedScore,AccuracyScore,IndexScore\n"
              "Kim-3_05-03-2011" +
                  row + "Kim-3_05-03-2011_gecorrigeerd" + row + noBirthDate);
    EXPECT_NE(run.err.find("Lone_01-01-2011_FV.vda"), std::string::npos) << run.err;
}

TEST_F(ScoresCommandTest, WrongUse) {
    EXPECT_EQ(Scores({}).status, 2);
    EXPECT_EQ(Scores({"only-one"}).status, 2);
    EXPECT_EQ(Scores({"--csv"}).status, 2);
    EXPECT_EQ(Scores({"--date"}).status, 2);
    EXPECT_EQ(Scores({"--fast", "a", "b"}).status, 2);
    EXPECT_EQ(Scores({"--csv", (root_ / "missing").string()}).status, 1);
}

// The program itself: exit statuses and no crash on garbage.
int RunTool(const std::string& arguments) {
    const std::string command = std::string(ZOR_TOOL_PATH) + " " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ScoresCommandTest, ProgramExitStatuses) {
    WriteAdministration("Kim-3_05-03-2011", ExampleLine("FW"), ExampleLine("FV"));
    std::string garbage(3000, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7919 % 256);
    Write("G_FW.wda", garbage);
    Write("G_FV.vda", garbage);
    EXPECT_EQ(RunTool("scores '" + root_.string() + "' Kim-3_05-03-2011"), 0);
    EXPECT_EQ(RunTool("scores '" + Path("G_FW.wda") + "' '" + Path("G_FV.vda") + "'"), 1);
    EXPECT_EQ(RunTool("scores --csv '" + root_.string() + "'"), 1);
    EXPECT_EQ(RunTool("nonsense"), 2);
    EXPECT_EQ(RunTool(""), 2);
    EXPECT_EQ(RunTool("--help"), 0);
}

}  // namespace
}  // namespace zor::tool
