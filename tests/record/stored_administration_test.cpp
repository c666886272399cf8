// The one reader of stored administrations: what it refuses across the two files
// and their names, and that special files never block it.
#include "record/stored_administration.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "data_folder_test.h"

namespace zor::record {
namespace {

class StoredAdministrationTest : public testing::DataFolderTest {
  protected:
    static std::string Sample(const std::string& name) {
        std::ifstream in(std::string(ZOR_TEST_DATA_DIR) + "/correction/" + name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    fs::path Write(const std::string& name, const std::string& content) const {
        const fs::path file = root_ / "Data" / name;
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }
    // Writes both files under `key` and reads them back; the refusal's text, or "" when read.
    std::string Verdict(const std::string& key, const std::string& fw, const std::string& fv,
                        const Date& today = {2011, 3, 8}) const {
        const fs::path dataFW = Write(key + "_FW.wda", fw);
        const fs::path dataFV = Write(key + "_FV.vda", fv);
        try {
            ReadStoredAdministration(dataFW, dataFV, today);
        } catch (const StoredAdministrationError& e) {
            EXPECT_EQ(e.kind(), StoredAdministrationError::Kind::kRefused);
            return e.what();
        }
        return "";
    }
    static std::string Replace(std::string text, const std::string& from, const std::string& to) {
        text.replace(text.find(from), from.size(), to);
        return text;
    }

    const std::string fw_ = Sample("K123_05-03-2011_FW.wda");
    const std::string fv_ = Sample("K123_05-03-2011_FV.vda");
};

TEST_F(StoredAdministrationTest, SampleAndItsCorrectedCopyAreRead) {
    EXPECT_EQ(Verdict("K123_05-03-2011", fw_, fv_), "");
    EXPECT_EQ(Verdict("K123_05-03-2011_gecorrigeerd", fw_, fv_), "");
    const StoredAdministration stored =
        ReadStoredAdministration(root_ / "Data" / "K123_05-03-2011_FW.wda",
                                 root_ / "Data" / "K123_05-03-2011_FV.vda", {2011, 3, 8});
    EXPECT_EQ(stored.afnameDate, (Date{2011, 3, 5}));
    EXPECT_EQ(stored.birthDate, (Date{2004, 2, 14}));
}

TEST_F(StoredAdministrationTest, TheTwoFilesMustAgreeOnTheSubject) {
    const fs::path fvFile = root_ / "Data" / "K123_05-03-2011_FV.vda";
    const std::string code = Verdict("K123_05-03-2011", fw_, Replace(fv_, "K123;", "K124;"));
    EXPECT_EQ(code, fvFile.string() + ":1: veld 1 (code) \"K124\" verschilt van \"K123\" in " +
                        (root_ / "Data" / "K123_05-03-2011_FW.wda").string());
    const std::string birth =
        Verdict("K123_05-03-2011", fw_, Replace(fv_, ";14;02;2004;", ";14;02;1994;"));
    EXPECT_TRUE(birth.starts_with(fvFile.string() + ":1: veld 6 (geboortejaar)")) << birth;
    const std::string sex = Verdict("K123_05-03-2011", fw_, Replace(fv_, ";meisje;", ";jongen;"));
    EXPECT_TRUE(sex.starts_with(fvFile.string() + ":1: veld 3 (geslacht)")) << sex;
}

TEST_F(StoredAdministrationTest, TheKeyInTheFileNameMustBeTheLines) {
    const std::string other = Verdict("K999_05-03-2011", fw_, fv_);
    EXPECT_EQ(other, (root_ / "Data" / "K999_05-03-2011_FW.wda").string() +
                         ":1: de bestandsnaam hoort bij afname \"K999_05-03-2011\", maar code en "
                         "afnamedatum (velden 1 en 7-9) maken \"K123_05-03-2011\"");
    EXPECT_NE(Verdict("K123_06-03-2011", fw_, fv_), "");
}

TEST_F(StoredAdministrationTest, AnAdministrationMoreThanADayAheadIsRefused) {
    const auto dated = [](const std::string& line, const std::string& date) {
        return Replace(line, ";05;03;2011;", ";" + date + ";");
    };
    EXPECT_EQ(Verdict("K123_06-03-2011", dated(fw_, "06;03;2011"), dated(fv_, "06;03;2011"),
                      {2011, 3, 5}),
              "");
    const std::string ahead = Verdict("K123_07-03-2011", dated(fw_, "07;03;2011"),
                                      dated(fv_, "07;03;2011"), {2011, 3, 5});
    EXPECT_NE(ahead.find("velden 7-9 (afnamedatum) \"07-03-2011\" ligt meer dan een dag na "
                         "vandaag (05-03-2011)"),
              std::string::npos)
        << ahead;
    EXPECT_NE(Verdict("K123_05-03-9999", dated(fw_, "05;03;9999"), dated(fv_, "05;03;9999")), "");
    // The last day of a year: tomorrow is in the next one.
    EXPECT_EQ(Verdict("K123_01-01-2012", dated(fw_, "01;01;2012"), dated(fv_, "01;01;2012"),
                      {2011, 12, 31}),
              "");
}

TEST_F(StoredAdministrationTest, SpecialFilesNamedLikeDataFilesAreRefusedWithoutBlocking) {
    const fs::path fifo = root_ / "Data" / "K123_05-03-2011_FW.wda";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path folder = root_ / "Data" / "K123_05-03-2011_FV.vda";
    fs::create_directory(folder);
    const fs::path regular = root_ / "K123_05-03-2011_FW.wda";
    std::ofstream(regular, std::ios::binary) << fw_;
    // Opening a FIFO for reading without a writer blocks: the alarm ends a hung test.
    ::alarm(60);
    for (const auto& [fw, fv] : {std::pair{fifo, folder}, std::pair{fs::path("/dev/zero"), folder},
                                 std::pair{regular, folder}}) {
        try {
            ReadStoredAdministration(fw, fv, {2011, 3, 8});
            ADD_FAILURE() << fw << " was read";
        } catch (const StoredAdministrationError& e) {
            EXPECT_EQ(e.kind(), StoredAdministrationError::Kind::kUnreadable);
            EXPECT_NE(std::string(e.what()).find("Het is geen gewoon bestand."), std::string::npos)
                << e.what();
        }
    }
    ::alarm(0);
}

}  // namespace
}  // namespace zor::record
