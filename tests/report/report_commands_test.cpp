// zor-tool report and zor-tool pdf on a data folder and report folders.
#include <gtest/gtest.h>

#include <sstream>

#include "report_page_fixture.h"
#include "report_screens_fixture.h"
#include "subcommand.h"

namespace zor::tool {
namespace {

namespace fs = std::filesystem;
using report::testing::ReadAll;

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun Tool(int (*command)(const Arguments&, std::ostream&, std::ostream&), const Arguments& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = command(args, out, err);
    return {status, out.str(), err.str()};
}

const std::string kDataFolder = std::string(ZOR_TEST_DATA_DIR) + "/report/datamap";

class ReportCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = ui::testing::freshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path root;
};

TEST_F(ReportCommandsTest, ReportWritesTheReportFileAndItsPdfUnderThePreviewsNames) {
    const ToolRun run =
        Tool(RunReport, {"--date", "09-12-2026", kDataFolder, "K123_05-03-2011", root.string()});
    ASSERT_EQ(run.status, kExitSuccess) << run.err;
    const fs::path report = root / "K123 - 05-03-2011.zrp";
    const fs::path pdf = root / "PDF" / "ZOR - K123_05-03-2011.pdf";
    EXPECT_EQ(run.out, report.string() + "\n" + pdf.string() + "\n");
    ASSERT_TRUE(fs::exists(pdf));

    pagestore::TPrintPreview store;
    store.LoadFromFile(report);
    ASSERT_EQ(store.TotalPages(), 3);  // as the viewer stores a corrected report
    const auto texts = report::testing::TextsOf(*store.GetPage(1));
    using report::testing::After;
    EXPECT_EQ(After(texts, "TESTRAPPORT", 3)[2], "  Datum afdruk : 09-12-2026");
    EXPECT_EQ(After(texts, "Leeftijd [jaar;maand]", 2)[1], "8;10");  // up to the administration
    EXPECT_EQ(After(texts, "FoneemVerwisseling", 3),
              (std::vector<std::string>{"250", "7", "goed"}));
    EXPECT_EQ(After(texts, " (Wechsler)", 2), (std::vector<std::string>{"6,9", "[ 6 - 8 ]"}));
}

TEST_F(ReportCommandsTest, ReportNamesAMissingDataFile) {
    const ToolRun run = Tool(RunReport, {kDataFolder, "K999_01-01-2011", root.string()});
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_NE(run.err.find("K999_01-01-2011_FW.wda"), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
    EXPECT_TRUE(fs::is_empty(root));
}

TEST_F(ReportCommandsTest, PdfOfOneReportGoesToThePdfFolderByTheViewersRule) {
    ASSERT_EQ(Tool(RunReport, {kDataFolder, "K123_05-03-2011", root.string()}).status, kExitSuccess);
    const fs::path pdf = root / "PDF" / "ZOR - K123_05-03-2011.pdf";
    fs::remove(pdf);
    const ToolRun run = Tool(RunPdf, {(root / "K123 - 05-03-2011.zrp").string()});
    ASSERT_EQ(run.status, kExitSuccess) << run.err;
    EXPECT_EQ(ReadAll(pdf).substr(0, 8), "%PDF-1.3");

    const ToolRun named = Tool(RunPdf, {(root / "K123 - 05-03-2011.zrp").string(),
                                       (root / "uit.pdf").string()});
    EXPECT_EQ(named.status, kExitSuccess);
    EXPECT_TRUE(fs::exists(root / "uit.pdf"));
}

TEST_F(ReportCommandsTest, MissingMakesOnlyAbsentPdfsAndGoesOnAfterABadFile) {
    ASSERT_EQ(Tool(RunReport, {kDataFolder, "K123_05-03-2011", root.string()}).status, kExitSuccess);
    fs::copy_file(root / "K123 - 05-03-2011.zrp", root / "K124 - 06-03-2011.zrp");
    std::ofstream(root / "Kapot - 01-01-2011.zrp") << "geen rapport";
    const fs::path kept = root / "PDF" / "ZOR - K123_05-03-2011.pdf";
    // Complete in form (header, cross-reference pointer, end mark): a PDF that is there.
    const std::string complete = "%PDF-1.3\ntrailer\n<< >>\nstartxref\n9\n%%EOF\n";
    std::ofstream(kept, std::ios::trunc) << complete;

    const ToolRun run = Tool(RunPdf, {"--missing", root.string()});
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_EQ(ReadAll(kept), complete);
    EXPECT_TRUE(fs::exists(root / "PDF" / "ZOR - K124_06-03-2011.pdf"));
    EXPECT_FALSE(fs::exists(root / "PDF" / "ZOR - Kapot_01-01-2011.pdf"));
    EXPECT_NE(run.err.find("Kapot - 01-01-2011.zrp"), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
}

}  // namespace
}  // namespace zor::tool
