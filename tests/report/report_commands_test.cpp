// zor-tool report and zor-tool pdf on a data folder and report folders.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
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

// Every file under the folder by its relative path, with its bytes.
std::map<std::string, std::string> FolderContents(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), folder).string()] = ReadAll(entry.path());
        }
    }
    return files;
}

// The stored administration K123 under another subject code, with the status given.
void WriteAdministration(const fs::path& data, const std::string& code, const std::string& status) {
    const fs::path source = fs::path(kDataFolder) / "Data";
    for (const char* suffix : {"_FW.wda", "_FV.vda"}) {
        std::string line = ReadAll(source / (std::string("K123_05-03-2011") + suffix));
        line.replace(0, 4, code);
        // Field 13, the status, follows the 12 fields up to the last item.
        std::size_t field = 0;
        for (int i = 0; i < 13; ++i) field = line.find(';', field) + 1;
        line.replace(field, 1, status);
        // Swap finished only: the deletion line carries no score yet.
        if (status == "3" && std::string_view(suffix) == "_FW.wda") {
            const std::size_t end = line.find_last_not_of("\r\n") + 1;
            line.erase(line.rfind(';', end - 1), end - line.rfind(';', end - 1));
        }
        std::ofstream(data / (code + "_05-03-2011" + suffix), std::ios::binary) << line;
    }
}

TEST_F(ReportCommandsTest, AllAndMissingGiveTheSameFoldersOnOneAndTwoThreadsPastADamagedAdministration) {
    const fs::path data = root / "datamap" / "Data";
    fs::create_directories(data);
    for (const char* code : {"K201", "K202", "K203", "K204"}) {
        WriteAdministration(data, code, "7");
    }
    WriteAdministration(data, "K207", "3");  // swap only: no report
    WriteAdministration(data, "K208", "7");
    std::ofstream(data / "K208_05-03-2011_FV.vda", std::ios::trunc) << "K208;FV;kapot\r\n";
    std::map<int, std::map<std::string, std::string>> folders;
    std::map<int, std::string> outputs;
    for (int jobs : {1, 2}) {
        const fs::path out = root / ("uit" + std::to_string(jobs));
        fs::create_directories(out);
        std::ofstream(out / "K203 - 05-03-2011.zrp") << "kept";  // an existing report stays
        const std::string j = "-j" + std::to_string(jobs);
        const Arguments all = {"--date", "09-12-2026", j, "--all", (root / "datamap").string(),
                               out.string()};
        const ToolRun reports = Tool(RunReport, all);
        EXPECT_EQ(reports.status, kExitFailure);
        EXPECT_NE(reports.err.find("K208_05-03-2011_FV.vda"), std::string::npos) << reports.err;
        EXPECT_EQ(std::count(reports.err.begin(), reports.err.end(), '\n'), 1) << reports.err;
        EXPECT_EQ(ReadAll(out / "K203 - 05-03-2011.zrp"), "kept");

        // The PDFs again from the report files, the kept one being no report.
        fs::remove(out / "PDF" / "ZOR - K201_05-03-2011.pdf");
        fs::remove(out / "PDF" / "ZOR - K204_05-03-2011.pdf");
        const ToolRun pdfs = Tool(RunPdf, {"--date", "09-12-2026", "--missing", out.string(), j});
        EXPECT_EQ(pdfs.status, kExitFailure);
        EXPECT_NE(pdfs.err.find("K203 - 05-03-2011.zrp"), std::string::npos) << pdfs.err;
        EXPECT_EQ(std::count(pdfs.err.begin(), pdfs.err.end(), '\n'), 1) << pdfs.err;

        folders[jobs] = FolderContents(out);
        std::string text = reports.out + pdfs.out;
        for (std::size_t at; (at = text.find(out.string())) != std::string::npos;) {
            text.replace(at, out.string().size(), "OUT");
        }
        outputs[jobs] = text;
    }
    std::vector<std::string> names;
    for (const auto& [name, bytes] : folders[1]) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "K201 - 05-03-2011.zrp", "K202 - 05-03-2011.zrp", "K203 - 05-03-2011.zrp",
                         "K204 - 05-03-2011.zrp", "PDF/ZOR - K201_05-03-2011.pdf",
                         "PDF/ZOR - K202_05-03-2011.pdf", "PDF/ZOR - K204_05-03-2011.pdf"}));
    EXPECT_TRUE(folders[1] == folders[2]) << "the folders differ between -j 1 and -j 2";
    EXPECT_EQ(outputs[1], outputs[2]);
    EXPECT_EQ(outputs[1].substr(0, outputs[1].find('\n')), "OUT/K201 - 05-03-2011.zrp");
}

}  // namespace
}  // namespace zor::tool
