// The stored-report viewer TTRO: welcome page and open dialog, loading a report
// with its PDF made only when missing, the key of a report file name, and
// composing and storing a confirmed correction.
#include <gtest/gtest.h>

#include "report/report_documents.h"
#include "report/stored_report_viewer.h"
#include "report_page_fixture.h"
#include "report_screens_fixture.h"

namespace zor::report::testing {
namespace {

namespace fs = std::filesystem;

class FakeCorrection : public CorrectionHost {
public:
    explicit FakeCorrection(ui::Application& app) : screen_(app, "Correct") {}
    record::AdministrationRecord record = MakeRecord(50, 9, 208, 7);
    bool confirmed = false;
    int saves = 0;
    ui::Screen& screen() override { return screen_; }
    record::AdministrationRecord& Record() override { return record; }
    record::Date storedAfnameDate{2011, 3, 5};
    std::optional<record::Date> StoredAfnameDate() const override { return storedAfnameDate; }
    bool CorrectionConfirmed() const override { return confirmed; }
    void ClearCorrectionConfirmed() override { confirmed = false; }
    void SaveCorrectedAdministration() override { ++saves; }

private:
    ui::Screen screen_;
};

class StoredReportViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = ui::testing::freshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        reports = root / "rapporten";
        fs::create_directories(reports / "PDF");
        menu.trpath = reports.string();
        viewer.SetCorrection(&correction);
    }
    void TearDown() override { fs::remove_all(root); }

    // A stored report of one page as the preview writes it.
    fs::path StoredReport(const std::string& name) {
        pagestore::TPrintPreview store;
        record::AdministrationRecord r = MakeRecord(50, 9, 208, 7);
        BuildReportPages(store, [&] {
            ReportContext context;
            context.ageEndDate = {2011, 3, 5};
            ComposeReport(store, r, context);
        }, 0);
        const fs::path file = reports / name;
        store.SaveToFile(file);
        return file;
    }

    fs::path root;
    fs::path reports;
    ui::testing::UiFixture ui;
    FakeMainMenu menu;
    FakePrinting printing;
    FakeFolderOpener opener;
    FakeCorrection correction{ui.app};
    TTRO viewer{ui.app, menu, printing, opener};
};

TEST(ExtractTRfilename, KeyOfAReportFileName) {
    EXPECT_EQ(extractTRfilename("ZOR-rapport - C:\\rap\\K123 - 05-03-2011.zrp"), "K123_05-03-2011");
    EXPECT_EQ(extractTRfilename("ZOR-rapport - /rap/K123 - 05-03-2011_gecorrigeerd.zrp"),
              "K123_05-03-2011_gecorrigeerd");
    EXPECT_EQ(extractTRfilename("ZOR-rapport - /rap/Jan01 #2 - 05-03-2011.zrp"),
              "Jan01 #2_05-03-2011");
    EXPECT_EQ(extractTRfilename("/rap/verslag.zrp"), "verslag");  // no blank: unchanged
    EXPECT_EQ(extractTRfilename("/rap/a b.zrp"), "_b");
    EXPECT_EQ(extractTRfilename("/rap/ b.zrp"), "_b");
}

TEST_F(StoredReportViewerTest, CancelledOpenDialogLeavesTheWelcomePages) {
    ui.dialogs.openAnswers.push_back(std::nullopt);
    viewer.ShowModal();
    EXPECT_EQ(viewer.PrintPreview.Store().TotalPages(), 3);
    EXPECT_FALSE(viewer.CORRbtn.visible);
    EXPECT_FALSE(viewer.ComposePending);
    EXPECT_TRUE(viewer.PRbtn.enabled);
    ASSERT_EQ(ui.dialogs.openRequests.size(), 1u);
    EXPECT_EQ(ui.dialogs.openRequests[0].title, "ZOR-rapport openen en afdrukken");
    EXPECT_EQ(ui.dialogs.openRequests[0].filter, "ZOR-rapport (*.zrp)|*.zrp");
    EXPECT_EQ(ui.dialogs.openRequests[0].initialDir, reports);
}

TEST_F(StoredReportViewerTest, OpeningAReportMakesItsMissingPdfAndNeverReplacesOne) {
    const fs::path file = StoredReport("K123 - 05-03-2011.zrp");
    ui.dialogs.openAnswers.push_back(file.string());
    viewer.ShowModal();
    EXPECT_EQ(viewer.ReportKey, "K123_05-03-2011");
    EXPECT_EQ(viewer.PrintPreview.Store().PrintJobTitle(), "ZOR-rapport - " + file.string());
    EXPECT_EQ(viewer.PrintPreview.Store().TotalPages(), 1);
    EXPECT_TRUE(viewer.CORRbtn.visible);
    viewer.CORRbtn.click();  // the correction screen opens modally
    EXPECT_EQ(viewer.CORRbtn.pictureName(), "BtnWZNon.gif");
    EXPECT_TRUE(correction.screen().showingModally());
    correction.screen().Close();
    const fs::path pdf = reports / "PDF" / "ZOR - K123_05-03-2011.pdf";
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_EQ(ReadAll(pdf).substr(0, 8), "%PDF-1.3");

    std::ofstream(pdf, std::ios::trunc) << "kept";
    ui.dialogs.openAnswers.push_back(file.string());
    viewer.LOADbtn.click();
    EXPECT_EQ(ReadAll(pdf), "kept");
}

TEST_F(StoredReportViewerTest, AFileThatIsNoReportIsReportedAndStillSetsTheKey) {
    const fs::path file = reports / "K9 - 01-01-2012.zrp";
    std::ofstream(file) << "geen rapport";
    ui.dialogs.openAnswers.push_back(file.string());
    viewer.ShowModal();
    ASSERT_EQ(ui.dialogs.messages.size(), 1u);
    EXPECT_EQ(ui.dialogs.messages[0].text, "De inhoud is geen ZOR-rapport.");
    EXPECT_EQ(viewer.ReportKey, "K9_01-01-2012");
    EXPECT_TRUE(viewer.CORRbtn.visible);
    // The welcome pages still held are not passed off as this report's PDF.
    EXPECT_FALSE(fs::exists(reports / "PDF" / "ZOR - K9_01-01-2012.pdf"));
}

TEST_F(StoredReportViewerTest, ConfirmedCorrectionIsComposedAndStoredUnderCorrectedNames) {
    // An administration of 15-08-2010, corrected on 05-03-2011.
    correction.record.Eafndag = "15";
    correction.record.Eafnmnd = "08";
    correction.record.Eafnjaar = "2010";
    correction.storedAfnameDate = {2010, 8, 15};
    ui.dialogs.openAnswers.push_back(StoredReport("K123 - 15-08-2010.zrp").string());
    viewer.ShowModal();
    correction.confirmed = true;
    viewer.ComposePending = false;
    viewer.FormActivate();
    const fs::path report = reports / "K123 - 15-08-2010_gecorrigeerd.zrp";
    ASSERT_TRUE(fs::exists(report));
    EXPECT_TRUE(fs::exists(reports / "PDF" / "ZOR - K123_15-08-2010_gecorrigeerd.pdf"));
    pagestore::TPrintPreview stored;
    stored.LoadFromFile(report);
    EXPECT_EQ(stored.TotalPages(), 3);
    // The age runs to the stored administration date (100 months, band 2 and
    // not the band 3 of today's age); the print date is today.
    const auto texts = TextsOf(*stored.GetPage(1));
    EXPECT_EQ(After(texts, "Leeftijd [jaar;maand]", 2)[1], "8;4");
    EXPECT_EQ(After(texts, "TESTRAPPORT", 3)[2], "  Datum afdruk : 05-03-2011");
    EXPECT_EQ(After(texts, "Afnamedatum [dd-mm-jjjj]", 2)[1], "15-08-2010");
    EXPECT_EQ(After(texts, "Standaardscore (Wechsler)", 1)[0], "7,1");  // the worked example, band 2
    EXPECT_EQ(correction.saves, 1);
    EXPECT_FALSE(correction.confirmed);
    EXPECT_FALSE(viewer.CORRbtn.visible);
}

TEST_F(StoredReportViewerTest, UnconfirmedActivationKeepsTheShownReport) {
    ui.dialogs.openAnswers.push_back(StoredReport("K123 - 05-03-2011.zrp").string());
    viewer.ShowModal();
    correction.screen().ShowModal();
    correction.screen().Close();  // closed without confirming: the viewer is active again
    EXPECT_EQ(viewer.PrintPreview.Store().TotalPages(), 1);
    EXPECT_FALSE(fs::exists(reports / "K123 - 05-03-2011_gecorrigeerd.zrp"));
}

TEST_F(StoredReportViewerTest, AfterTheLoadButtonTheNextActivationStartsAfresh) {
    ui.dialogs.openAnswers.push_back(std::nullopt);
    viewer.ShowModal();
    ui.dialogs.openAnswers.push_back(StoredReport("K123 - 05-03-2011.zrp").string());
    viewer.LOADbtn.click();
    EXPECT_EQ(viewer.PrintPreview.Store().TotalPages(), 1);
    EXPECT_EQ(viewer.LOADbtn.pictureName(), "BtnOPENoff.gif");
    // The correction screen closed without confirming: welcome page and open dialog again.
    ui.dialogs.openAnswers.push_back(std::nullopt);
    correction.screen().ShowModal();
    correction.screen().Close();
    EXPECT_EQ(ui.dialogs.openRequests.size(), 3u);
    EXPECT_EQ(viewer.PrintPreview.Store().TotalPages(), 3);
    EXPECT_FALSE(fs::exists(reports / "K123 - 05-03-2011_gecorrigeerd.zrp"));
}

TEST_F(StoredReportViewerTest, FailingStoreOfACorrectionAsksOnceAndKeepsTheCorrection) {
    menu.trpath = (root / "ontbreekt").string();
    ui.dialogs.openAnswers.push_back(std::nullopt);
    viewer.ShowModal();
    correction.confirmed = true;
    ui.dialogs.saveAnswers.push_back(std::nullopt);
    viewer.FormActivate();
    viewer.FormActivate();  // a later activation brings no second message
    ASSERT_EQ(ui.dialogs.messages.size(), 1u);
    EXPECT_NE(ui.dialogs.messages[0].text.find("Foutmelding E001"), std::string::npos);
    ASSERT_EQ(ui.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(ui.dialogs.saveRequests[0].fileName, "K123 - 05-03-2011_gecorrigeerd.zrp");
    EXPECT_EQ(correction.saves, 1);
    EXPECT_FALSE(viewer.CORRbtn.visible);
}

TEST_F(StoredReportViewerTest, AnotherPlaceChosenAfterE001HoldsTheCorrectedReportAndItsPdf) {
    menu.trpath = (root / "ontbreekt").string();
    const fs::path chosen = root / "elders" / "K123 - 05-03-2011_gecorrigeerd.zrp";
    fs::create_directories(chosen.parent_path());
    ui.dialogs.openAnswers.push_back(std::nullopt);
    viewer.ShowModal();
    correction.confirmed = true;
    ui.dialogs.saveAnswers.push_back(chosen.string());
    viewer.FormActivate();
    ASSERT_EQ(ui.dialogs.messages.size(), 1u);
    pagestore::TPrintPreview stored;
    stored.LoadFromFile(chosen);
    EXPECT_EQ(stored.TotalPages(), 3);
    EXPECT_EQ(ReadAll(chosen.parent_path() / "ZOR - K123_05-03-2011_gecorrigeerd.pdf").substr(0, 8),
              "%PDF-1.3");
    EXPECT_EQ(correction.saves, 1);
    EXPECT_FALSE(correction.confirmed);
}

TEST_F(StoredReportViewerTest, PdfNoticeOpensThePdfFolder) {
    ui.dialogs.openAnswers.push_back(std::nullopt);
    viewer.ShowModal();
    viewer.RzButton1.click();
    ASSERT_EQ(ui.dialogs.messages.size(), 1u);
    EXPECT_EQ(ui.dialogs.messages[0].text.find("na het sluiten"), std::string::npos);
    EXPECT_EQ(opener.opened, (std::vector<std::string>{(reports / "PDF").string()}));
}

TEST_F(StoredReportViewerTest, ClosingResetsForTheWelcomePage) {
    ui.dialogs.openAnswers.push_back(StoredReport("K123 - 05-03-2011.zrp").string());
    viewer.ShowModal();
    viewer.ButtonExit.click();
    EXPECT_TRUE(viewer.ComposePending);
    EXPECT_EQ(menu.initializations, 1);
    EXPECT_FALSE(viewer.CORRbtn.visible);
    ui.dialogs.openAnswers.push_back(std::nullopt);
    viewer.ShowModal();
    EXPECT_EQ(ui.dialogs.openRequests.size(), 2u);
    EXPECT_EQ(viewer.PrintPreview.Store().TotalPages(), 3);
}

}  // namespace
}  // namespace zor::report::testing

namespace zor::report::testing {
namespace {

TEST_F(StoredReportViewerTest, OpenedReportSaysWhetherItsAdministrationHasRecordings) {
    menu.datapath = (root / "data").string();
    const fs::path file = StoredReport("K123 - 05-03-2011_gecorrigeerd.zrp");
    ui.dialogs.openAnswers.push_back(file.string());
    viewer.ShowModal();
    EXPECT_EQ(viewer.RecordingsLabel.caption, "Geen opnames");

    // The corrected report's administration is the original one.
    const fs::path recordings = root / "data" / "Opnames" / "K123_05-03-2011";
    fs::create_directories(recordings);
    std::ofstream(recordings / "FV_01.wav") << "x";
    std::ofstream(recordings / "FW_12.wav") << "x";
    std::ofstream(recordings / "notes.txt") << "x";
    ui.dialogs.openAnswers.push_back(file.string());
    viewer.LOADbtn.click();
    EXPECT_EQ(viewer.RecordingsLabel.caption, "Opnames: 2 items");

    // The line lies on the header bar beside, not over, its buttons and boxes.
    const ui::Bounds line = viewer.RecordingsLabel.bounds;
    for (const ui::Control* control : viewer.controls()) {
        if (!dynamic_cast<const ui::ImageButton*>(control) && !dynamic_cast<const ui::PushButton*>(control) &&
            !dynamic_cast<const ui::ComboBox*>(control) && !dynamic_cast<const ui::Label*>(control))
            continue;
        if (control == &viewer.RecordingsLabel) continue;
        const ui::Bounds other = control->bounds;
        const bool apart = line.left + line.width <= other.left || other.left + other.width <= line.left ||
                           line.top + line.height <= other.top || other.top + other.height <= line.top;
        EXPECT_TRUE(apart) << control->name() << " lies under the recordings line";
    }
}

}  // namespace
}  // namespace zor::report::testing
