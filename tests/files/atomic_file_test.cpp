#include "files/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <set>
#include <sstream>

#include "files/private_folder.h"

namespace zor::files {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const fs::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

mode_t ModeOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("zor-files-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    // Every name in the folder: temporaries left behind show up here.
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(root_)) names.insert(entry.path().filename());
        return names;
    }

    fs::path root_;
};

TEST_F(AtomicFileTest, ReplacementHoldsExactBytesIsPrivateAndLeavesNoTemporary) {
    const fs::path file = root_ / "rapport.zrp";
    WriteBytes(file, "an older and much longer content");
    ::chmod(file.c_str(), 0644);
    std::string contents("\0binary\r\n\xFF", 11);
    ReplaceFile(file, contents);
    EXPECT_EQ(ReadBytes(file), contents);
    EXPECT_EQ(ModeOf(file), 0600u);
    EXPECT_EQ(Names(), std::set<std::string>{"rapport.zrp"});

    // Streamed in pieces; a new file is private as well.
    const fs::path streamed = root_ / "ZOR - k.pdf";
    {
        AtomicFile out(streamed);
        out.write("%PDF-");
        out.write("1.3\n");
        EXPECT_FALSE(fs::exists(streamed)) << "visible before commit";
        out.commit();
    }
    EXPECT_EQ(ReadBytes(streamed), "%PDF-1.3\n");
    EXPECT_EQ(ModeOf(streamed), 0600u);

    // Abandoned before commit: the old contents stay and nothing else is left.
    {
        AtomicFile out(streamed);
        out.write("cut");
    }
    EXPECT_EQ(ReadBytes(streamed), "%PDF-1.3\n");
    EXPECT_EQ(Names(), (std::set<std::string>{"rapport.zrp", "ZOR - k.pdf"}));
}

TEST_F(AtomicFileTest, FailuresKeepTheOldFileLeaveNoTemporaryAndExplainInDutch) {
    const fs::path missing = root_ / "geen map" / "k_FW.wda";
    try {
        ReplaceFile(missing, "x");
        FAIL() << "no error for a missing folder";
    } catch (const WriteError& e) {
        EXPECT_EQ(e.file(), missing);
        EXPECT_EQ(e.error(), ENOENT);
        EXPECT_NE(std::string(e.what()).find(missing.string()), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("De map bestaat niet."), std::string::npos) << e.what();
    }

    fs::create_directory(root_ / "map.zrp");
    EXPECT_THROW(ReplaceFile(root_ / "map.zrp", "x"), WriteError);

    // The file size limit makes the write fail halfway, as a full disk does.
    const fs::path file = root_ / "k.zrp";
    WriteBytes(file, "old complete report");
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    int error = 0;
    std::string message;
    try {
        ReplaceFile(file, std::string(1 << 20, 'x'));
    } catch (const WriteError& e) {
        error = e.error();
        message = e.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(error, EFBIG);
    EXPECT_NE(message.find("Kan bestand \"" + file.string() + "\" niet opslaan."), std::string::npos)
        << message;
    EXPECT_EQ(ReadBytes(file), "old complete report");
    EXPECT_EQ(Names(), (std::set<std::string>{"k.zrp", "map.zrp"}));
}

TEST_F(AtomicFileTest, UnitThatFailsHalfwayPutsBackOldFilesAndRemovesNewOnes) {
    const fs::path report = root_ / "k.zrp";
    const fs::path fresh = root_ / "nieuw.txt";
    const fs::path pdf = root_ / "k.pdf";
    WriteBytes(report, "old report");
    AtomicFile first(report);
    AtomicFile second(fresh);
    AtomicFile third(pdf);
    first.write("new report");
    second.write("new file");
    third.write("new pdf");
    // Something takes the last name between writing and committing.
    fs::create_directory(pdf);
    AtomicFile* unit[] = {&first, &second, &third};
    EXPECT_THROW(CommitTogether(unit), WriteError);
    EXPECT_EQ(ReadBytes(report), "old report");
    EXPECT_EQ(Names(), (std::set<std::string>{"k.zrp", "k.pdf"}));

    fs::remove(pdf);
    const FileContents both[] = {{report, "report 2"}, {pdf, "pdf 2"}};
    ReplaceFilesTogether(both);
    EXPECT_EQ(ReadBytes(report), "report 2");
    EXPECT_EQ(ReadBytes(pdf), "pdf 2");
    EXPECT_EQ(Names(), (std::set<std::string>{"k.zrp", "k.pdf"}));
}

TEST_F(AtomicFileTest, PrivateFoldersAreMadeWithParentsAndExistingOnesKeepTheirMode) {
    const fs::path nested = root_ / "ZOR" / "Data";
    EXPECT_TRUE(CreatePrivateFolder(nested));
    EXPECT_EQ(ModeOf(root_ / "ZOR"), 0700u);
    EXPECT_EQ(ModeOf(nested), 0700u);
    ::chmod(nested.c_str(), 0755);
    EXPECT_FALSE(CreatePrivateFolder(nested));
    EXPECT_EQ(ModeOf(nested), 0755u);

    WriteBytes(root_ / "bestand", "x");
    try {
        CreatePrivateFolder(root_ / "bestand");
        FAIL() << "a file taken for a folder";
    } catch (const WriteError& e) {
        EXPECT_NE(std::string(e.what()).find("Kan map \"" + (root_ / "bestand").string()),
                  std::string::npos)
            << e.what();
    }
}

}  // namespace
}  // namespace zor::files
