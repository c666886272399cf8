#include "record/administration_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "data_folder_test.h"
#include "sample_record.h"

namespace zor::record {
namespace {

using testing::Finished;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const fs::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

class AdministrationFilesTest : public testing::DataFolderTest {
  protected:
    std::size_t EntriesIn(const fs::path& folder) const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
    }
};

TEST_F(AdministrationFilesTest, LinesAreWindows1252WithCrLf) {
    const fs::path file = root_ / "lines.txt";
    ASSERT_FALSE(WriteLinesFile(file, {"Café;€", "", "x"}));
    EXPECT_EQ(ReadBytes(file), "Caf\xE9;\x80\r\n\r\nx\r\n");
    const LinesFile read = ReadLinesFile(file);
    ASSERT_FALSE(read.error);
    EXPECT_EQ(read.lines, (std::vector<std::string>{"Café;€", "", "x"}));
}

TEST_F(AdministrationFilesTest, ReadingAcceptsEveryLineEnd) {
    const fs::path file = root_ / "ends.txt";
    WriteBytes(file, "a\nb\rc\r\nd");
    EXPECT_EQ(ReadLinesFile(file).lines, (std::vector<std::string>{"a", "b", "c", "d"}));
    WriteBytes(file, "");
    EXPECT_TRUE(ReadLinesFile(file).lines.empty());
}

TEST_F(AdministrationFilesTest, ReplacingLeavesNoTemporaryFile) {
    const fs::path file = root_ / "Data" / "x.wda";
    ASSERT_FALSE(WriteLinesFile(file, {"old line that is longer"}));
    ASSERT_FALSE(WriteLinesFile(file, {"new"}));
    EXPECT_EQ(ReadBytes(file), "new\r\n");
    EXPECT_EQ(EntriesIn(root_ / "Data"), 1u);
}

TEST_F(AdministrationFilesTest, FailureToCreateKeepsOldFileAndIsReported) {
    const fs::path folder = root_ / "locked";
    fs::create_directories(folder);
    const fs::path file = folder / "k.zta";
    ASSERT_FALSE(WriteLinesFile(file, {"old"}));
    ::chmod(folder.c_str(), 0555);
    const bool writable = ::access(folder.c_str(), W_OK) == 0;  // root may write anyway
    const auto error = WriteLinesFile(file, {"new"});
    ::chmod(folder.c_str(), 0755);
    if (!writable) {
        ASSERT_TRUE(error);
        EXPECT_EQ(error->file, file);
        EXPECT_TRUE(
            error->message.starts_with("Kan bestand \"" + file.string() + "\" niet aanmaken."));
        EXPECT_EQ(ReadBytes(file), "old\r\n");
    }
    const auto missing = WriteLinesFile(root_ / "no such folder" / "k.zta", {"x"});
    ASSERT_TRUE(missing);
    EXPECT_NE(missing->message.find("niet aanmaken"), std::string::npos);
}

TEST_F(AdministrationFilesTest, SaveWritesThreeFilesUnderTheKey) {
    const AdministrationRecord record = Finished();
    ASSERT_FALSE(WriteAdministrationFiles(record, root_));
    EXPECT_EQ(ReadBytes(root_ / "Incomplete afnames" / "Jan01_05-03-2011.zta"),
              "Jan01_05-03-2011\r\n0\r\n");
    EXPECT_EQ(ReadBytes(root_ / "Data" / "Jan01_05-03-2011_FW.wda"), record.MdataFW[0] + "\r\n");
    EXPECT_EQ(ReadBytes(root_ / "Data" / "Jan01_05-03-2011_FV.vda"), record.MdataFV[0] + "\r\n");
}

TEST_F(AdministrationFilesTest, SaveWithoutDataFolderFailsAtTheFirstFile) {
    const AdministrationRecord record = Finished();
    const auto error = WriteAdministrationFiles(record, "");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->file.filename(), "Jan01_05-03-2011.zta");
    // A data folder without its subfolders: the incomplete file cannot be created.
    fs::remove_all(root_ / "Incomplete afnames");
    const auto missing = WriteAdministrationFiles(record, root_);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->file, root_ / "Incomplete afnames" / "Jan01_05-03-2011.zta");
    EXPECT_FALSE(fs::exists(root_ / "Data" / "Jan01_05-03-2011_FW.wda"));
}

TEST_F(AdministrationFilesTest, SaveBringsLinesUpToDateFirst) {
    AdministrationRecord record = testing::SubjectOnly();
    record.AfnameStatus = 1;
    record.AppendDataLines();
    testing::GiveResults(record, Subtest::FV, 12, 40);
    record.AfnameStatus = 3;
    const SaveResult result = SaveAdministration(record, root_);
    ASSERT_EQ(result.outcome, SaveResult::Outcome::kSaved);
    const std::string fv = ReadBytes(root_ / "Data" / "Jan01_05-03-2011_FV.vda");
    EXPECT_EQ(std::count(fv.begin(), fv.end(), ';'), 38);  // 12 pairs and the score
    EXPECT_EQ(fv, record.MdataFV[0] + "\r\n");
}

TEST_F(AdministrationFilesTest, SaveBeforeStartLeavesPreviousAdministrationAlone) {
    AdministrationRecord record = Finished();
    ASSERT_EQ(SaveAdministration(record, root_).outcome, SaveResult::Outcome::kSaved);
    const fs::path previous = root_ / "Data" / "Jan01_05-03-2011_FW.wda";
    const std::string before = ReadBytes(previous);
    // Next subject typed and valid, not started: AfnameKey still names Jan01.
    record.ResetAfname();
    record.Ecode = "Piet";
    record.RGsekse = Sex::Jongen;
    record.Egebdag = "01";
    record.Egebmnd = "01";
    record.Egebjaar = "2003";
    ASSERT_TRUE(record.MayContinue());
    EXPECT_EQ(SaveAdministration(record, root_).outcome, SaveResult::Outcome::kNothingToSave);
    EXPECT_EQ(ReadBytes(previous), before);
    EXPECT_EQ(ReadBytes(root_ / "Incomplete afnames" / "Jan01_05-03-2011.zta"),
              "Jan01_05-03-2011\r\n0\r\n");
    record.Ecode.clear();
    EXPECT_EQ(SaveAdministration(record, root_).outcome, SaveResult::Outcome::kNothingToSave);
}

TEST_F(AdministrationFilesTest, SaveThatCannotCreateAFileAsksForBackup) {
    AdministrationRecord record = Finished();
    const SaveResult result = SaveAdministration(record, root_ / "gone");
    EXPECT_EQ(result.outcome, SaveResult::Outcome::kNeedsBackup);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->file.filename(), "Jan01_05-03-2011.zta");
}

TEST_F(AdministrationFilesTest, BackupPutsDataFilesBesideTheChosenFile) {
    const AdministrationRecord record = Finished();
    fs::create_directories(root_ / "usb");
    const fs::path chosen = root_ / "usb" / "anders.zta";
    EXPECT_TRUE(WriteBackupFiles(record, chosen).empty());
    EXPECT_EQ(ReadBytes(chosen), "Jan01_05-03-2011\r\n0\r\n");
    EXPECT_TRUE(fs::exists(root_ / "usb" / "Jan01_05-03-2011_FW.wda"));
    EXPECT_TRUE(fs::exists(root_ / "usb" / "Jan01_05-03-2011_FV.vda"));
    EXPECT_EQ(WriteBackupFiles(record, root_ / "gone" / "x.zta").size(), 3u);
}

TEST_F(AdministrationFilesTest, ResumeLoadsFromDataFolderAndMovesToToday) {
    AdministrationRecord saved = Finished();
    saved.AfnameStatus = 4;
    saved.CurrentStepFV = 1;
    saved.ELaatsteFV.clear();
    saved.ReplaceDataLines(1);
    ASSERT_FALSE(WriteAdministrationFiles(saved, root_));
    // The incomplete file is resumed from a backup folder; data still come from Data.
    fs::create_directories(root_ / "usb");
    const fs::path chosen = root_ / "usb" / "Jan01_05-03-2011.zta";
    fs::rename(root_ / "Incomplete afnames" / "Jan01_05-03-2011.zta", chosen);

    AdministrationRecord record;
    record.AfnameDate = {2011, 3, 8};
    record.ResetAfname();
    const ResumeResult result = ResumeFromFiles(record, chosen, root_);
    ASSERT_EQ(result.outcome, ResumeResult::Outcome::kResumed) << result.message;
    EXPECT_FALSE(fs::exists(chosen));
    EXPECT_EQ(record.Ecode, "Jan01");
    EXPECT_EQ(record.AfnameStatus, 4);
    EXPECT_EQ(record.CurrentStepFW, 16);
    EXPECT_EQ(record.CurrentStepFV, 1);
    EXPECT_EQ(record.Eafndag, "08");
    EXPECT_EQ(record.AfnameKey, "Jan01_08-03-2011");
    EXPECT_EQ(record.MemoCom, (std::vector<std::string>{"Jan01_08-03-2011", "0"}));
    EXPECT_EQ(record.FindSubjectRow("Jan01"), 1);
    EXPECT_EQ(record.SGdataFW.Cell(1, 0), saved.MdataFW[0]);
    EXPECT_EQ(record.SGRscoreFW.Cell(1, 14), "50");
    EXPECT_TRUE(record.SubjectValid);
}

TEST_F(AdministrationFilesTest, ResumeWithMissingDataFileKeepsIncompleteFile) {
    const fs::path zta = root_ / "Incomplete afnames" / "K_01-01-2011.zta";
    WriteBytes(zta, "K_01-01-2011\r\n0\r\n");
    AdministrationRecord record;
    const ResumeResult result = ResumeFromFiles(record, zta, root_);
    EXPECT_EQ(result.outcome, ResumeResult::Outcome::kLoadFailed);
    EXPECT_EQ(result.file, root_ / "Data" / "K_01-01-2011_FW.wda");
    EXPECT_TRUE(result.message.starts_with("Kan bestand"));
    EXPECT_TRUE(fs::exists(zta));
}

TEST_F(AdministrationFilesTest, ResumeWithoutDataFolderReadsNoFilesElsewhere) {
    // Without the setting there is no data folder: the data files are not
    // looked for beside wherever the program happens to run.
    AdministrationRecord saved = Finished();
    ASSERT_FALSE(WriteAdministrationFiles(saved, root_));
    const fs::path zta = root_ / "Incomplete afnames" / (saved.AfnameKey + ".zta");
    const fs::path workingFolder = fs::current_path();
    fs::current_path(root_);
    AdministrationRecord record;
    const ResumeResult result = ResumeFromFiles(record, zta, "");
    fs::current_path(workingFolder);
    EXPECT_EQ(result.outcome, ResumeResult::Outcome::kLoadFailed);
    EXPECT_TRUE(result.message.starts_with("Kan bestand"));
    EXPECT_EQ(record.Ecode, "");
    EXPECT_TRUE(fs::exists(zta));
}

TEST_F(AdministrationFilesTest, ResumeWithRefusedLineKeepsIncompleteFile) {
    const fs::path zta = root_ / "Incomplete afnames" / "K_01-01-2011.zta";
    WriteBytes(zta, "K_01-01-2011\r\n0\r\n");
    WriteBytes(root_ / "Data" / "K_01-01-2011_FW.wda", "K;FW;;01;01;2003;01;01;2011;;;;;2\r\n");
    WriteBytes(root_ / "Data" / "K_01-01-2011_FV.vda", "K;fv;;01;01;2003;01;01;2011;;;;;2\r\n");
    AdministrationRecord record;
    record.AfnameDate = {2011, 3, 8};
    const ResumeResult result = ResumeFromFiles(record, zta, root_);
    EXPECT_EQ(result.outcome, ResumeResult::Outcome::kRejected);
    EXPECT_TRUE(result.message.starts_with("Data foutief of niet van de Foneemverwisselingtest!\n"));
    EXPECT_EQ(record.Ecode, "");
    EXPECT_TRUE(fs::exists(zta));
}

TEST_F(AdministrationFilesTest, NothingChosenDoesNothing) {
    AdministrationRecord record;
    EXPECT_EQ(ResumeFromFiles(record, "", root_).outcome, ResumeResult::Outcome::kNothingChosen);
}

}  // namespace
}  // namespace zor::record
