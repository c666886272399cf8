#include <gtest/gtest.h>
#include <sys/file.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "pagestore/errors.h"
#include "pagestore/print_preview.h"
#include "pdf/pdf_export.h"
#include "run_command.h"

namespace zor::pagestore {
namespace {

namespace fs = std::filesystem;

pdf::PdfDate FixedDay() { return {2011, 3, 5, 14, 30, 15}; }

class SaveAsPdf : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("zor-save-as-pdf-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        store_.BeginDoc();
        for (const char* text : {"Eerste pagina", "Tweede pagina", "Derde pagina"}) {
            if (std::string(text) != "Eerste pagina") store_.NewPage();
            store_.Canvas()->textOut(2000, 2000, text);
        }
        store_.EndDoc();
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
    TPrintPreview store_;
};

TEST_F(SaveAsPdf, ExportsOnlyTheFirstPageOnTheStoresPaperAndEndsIdle) {
    ASSERT_EQ(store_.TotalPages(), 3);
    EXPECT_TRUE(store_.CanSaveAsPDF());
    const fs::path pdf = dir_ / "rapport.pdf";
    store_.SaveAsPDF(pdf, FixedDay);
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_EQ(store_.State(), TPreviewState::Idle);

    const std::string info = zor::testing::commandOutput("pdfinfo '" + pdf.string() + "'");
    EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
    EXPECT_NE(info.find("595 x 842 pts"), std::string::npos) << info;
    EXPECT_NE(info.find("ZOR-testrapport"), std::string::npos) << info;
    const std::string text = zor::testing::commandOutput("pdftotext '" + pdf.string() + "' -");
    EXPECT_NE(text.find("Eerste pagina"), std::string::npos) << text;
    EXPECT_EQ(text.find("Tweede pagina"), std::string::npos) << text;

    // The document information: dated today without a time of day, modified when saved.
    std::ifstream in(pdf, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(bytes.find("2 0 obj\n<<\n/Producer (ZOR-afnameprogramma 1.0.2.1)\n"
                         "/Author (ZOR-gebruiker)\n/CreationDate (D:20110305000000)\n"
                         "/Creator (ZOR-afnameprogramma 1.0.2.1)\n/Subject (ZOR-testrapport)\n"
                         "/Title (ZOR-testrapport)\n/ModDate (D:20110305143015)\n>>\nendobj\n"),
              std::string::npos)
        << bytes.substr(0, 400);
    EXPECT_NE(bytes.find("/MediaBox [0 0 595 842 ]"), std::string::npos);
}

TEST_F(SaveAsPdf, ATargetHeldByAnotherProgramFailsAndTheStoreReturnsToIdle) {
    const fs::path pdf = dir_ / "open.pdf";
    std::ofstream(pdf) << "in gebruik";
    const int fd = ::open(pdf.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    EXPECT_THROW(store_.SaveAsPDF(pdf, FixedDay), pdf::PdfFileInUse);
    ::close(fd);
    EXPECT_EQ(store_.State(), TPreviewState::Idle);
    std::ifstream in(pdf);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "in gebruik");
}

TEST_F(SaveAsPdf, AMissingFolderWritesNothingAndReportsNothing) {
    const fs::path pdf = dir_ / "PDF" / "rapport.pdf";
    EXPECT_NO_THROW(store_.SaveAsPDF(pdf, FixedDay));
    EXPECT_FALSE(fs::exists(pdf));
}

// The writer's refusals ("SetFontSize") reach the test leader as a Dutch sentence
// that keeps the refused operation's name, and no PDF is written.
TEST_F(SaveAsPdf, AWritersRefusalIsDutchAndWritesNothing) {
    TPrintPreview store;
    store.BeginDoc();
    emf::Font huge = store.Canvas()->font();
    huge.height = -20000;  // a damaged height: far beyond what a PDF font size may be
    store.Canvas()->setFont(huge);
    store.Canvas()->textOut(1000, 1000, "Naam");
    store.EndDoc();
    const fs::path pdf = dir_ / "rapport.pdf";
    try {
        store.SaveAsPDF(pdf, FixedDay);
        ADD_FAILURE() << "exported";
    } catch (const EPdfExportError& e) {
        EXPECT_STREQ(e.what(), "De PDF kon niet worden gemaakt: ongeldige waarde (SetFontSize).");
    }
    EXPECT_EQ(store.State(), TPreviewState::Idle);
    EXPECT_FALSE(fs::exists(pdf));
}

}  // namespace
}  // namespace zor::pagestore
