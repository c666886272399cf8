// The report preview TPP: composing on activation, zoom, printing, and closing
// with the report file, its PDF, the save and the incomplete-administration file.
#include <gtest/gtest.h>

#include "../pagestore/fake_printer.h"
#include "report/report_preview.h"
#include "report_page_fixture.h"
#include "report_screens_fixture.h"

namespace zor::report::testing {
namespace {

namespace fs = std::filesystem;

class FakeAdministration : public AdministrationHost {
public:
    record::AdministrationRecord record = MakeRecord(50, 9, 208, 7);
    int saves = 0;
    int closed = 0;
    record::AdministrationRecord& Record() override { return record; }
    void Opslaan1Click() override { ++saves; }
    void ReportClosed() override { ++closed; }
};

class ReportPreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = ui::testing::freshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(root / "rapporten" / "PDF");
        fs::create_directories(root / "data" / "Incomplete afnames");
        menu.trpath = (root / "rapporten").string();
        menu.datapath = root / "data";
        administration.record.AfnameKey = "K123_05-03-2011";
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root;
    ui::testing::UiFixture ui;
    FakeMainMenu menu;
    FakePrinting printing;
    FakeAdministration administration;
    TPP preview{ui.app, menu, printing, administration};
};

TEST_F(ReportPreviewTest, ActivationComposesOnceAndShowsTheWholePage) {
    preview.ShowModal();
    EXPECT_EQ(preview.PrintPreview.Store().TotalPages(), 1);
    EXPECT_FALSE(preview.ComposePending);
    EXPECT_EQ(preview.ZoomComboBox.itemIndex, -1);  // fitting the whole page has no item
    EXPECT_TRUE(preview.PRbtn.enabled);
    EXPECT_EQ(preview.Scores().indexBox, "6,9");  // band 3 on 05-03-2011
    // The age (106 months, 15-04-2002 to 05-03-2011) is the report's own: the record keeps its own.
    EXPECT_EQ(administration.record.AgeMonths, 0);

    printing.installed = false;
    preview.PrintPreview.Store().OnEndDoc(preview.PrintPreview.Store());
    EXPECT_FALSE(preview.PRbtn.enabled);
}

TEST_F(ReportPreviewTest, ClosingStoresBothFilesSavesAndDeletesTheFinishedAdministrationsFile) {
    const fs::path zta = root / "data" / "Incomplete afnames" / "K123_05-03-2011.zta";
    std::ofstream(zta) << "K123_05-03-2011\r\n";
    preview.ShowModal();
    preview.ButtonExit.click();
    EXPECT_TRUE(fs::exists(root / "rapporten" / "K123 - 05-03-2011.zrp"));
    EXPECT_TRUE(fs::exists(root / "rapporten" / "PDF" / "ZOR - K123_05-03-2011.pdf"));
    EXPECT_EQ(administration.saves, 1);
    EXPECT_EQ(administration.closed, 1);
    EXPECT_FALSE(fs::exists(zta));
    EXPECT_FALSE(preview.visible());
    EXPECT_TRUE(ui.dialogs.messages.empty());
}

TEST_F(ReportPreviewTest, OneSubtestOnlyKeepsTheIncompleteAdministrationFile) {
    const fs::path zta = root / "data" / "Incomplete afnames" / "K123_05-03-2011.zta";
    std::ofstream(zta) << "K123_05-03-2011\r\n";
    administration.record.AfnameStatus = 4;
    preview.ShowModal();
    preview.ButtonExit.click();
    EXPECT_TRUE(fs::exists(zta));
}

TEST_F(ReportPreviewTest, MissingReportFolderOffersAnotherPlaceOnce) {
    menu.trpath = (root / "ontbreekt").string();
    const fs::path chosen = root / "elders" / "rapport.zrp";
    fs::create_directories(chosen.parent_path());
    ui.dialogs.saveAnswers.push_back(chosen.string());
    preview.ShowModal();
    preview.ButtonExit.click();
    ASSERT_EQ(ui.dialogs.messages.size(), 1u);
    EXPECT_NE(ui.dialogs.messages[0].text.find("Foutmelding E001"), std::string::npos);
    ASSERT_EQ(ui.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(ui.dialogs.saveRequests[0].title, "Naar bestand opslaan");
    EXPECT_EQ(ui.dialogs.saveRequests[0].fileName, "K123 - 05-03-2011.zrp");  // today is 05-03-2011
    // The chosen place must be an existing folder: the report goes there at once.
    EXPECT_TRUE(ui.dialogs.saveRequests[0].pathMustExist);
    EXPECT_TRUE(fs::exists(chosen));
    EXPECT_TRUE(fs::exists(chosen.parent_path() / "ZOR - K123_05-03-2011.pdf"));
    EXPECT_EQ(administration.saves, 1);
    EXPECT_EQ(administration.closed, 1);
}

TEST_F(ReportPreviewTest, PrinterSetUpDialogDecidesAndAlwaysResetsTheScreen) {
    preview.ShowModal();
    preview.ZoomComboBox.select(4);
    EXPECT_EQ(preview.PrintPreview.Store().Display().ZoomState(), pagestore::TZoomState::zsZoomToWidth);
    preview.PRbtn.click();
    EXPECT_EQ(printing.printed, 0);
    EXPECT_EQ(preview.PRbtn.pictureName(), "BtnPRoff.gif");
    EXPECT_EQ(preview.PrintPreview.Store().Display().ZoomState(), pagestore::TZoomState::zsZoomToFit);
    EXPECT_TRUE(preview.ComposePending);

    printing.confirmSetup = true;
    preview.PRbtn.click();
    EXPECT_EQ(printing.printed, 1);
}

// Notes what the preview shows while a page goes to the printer.
class WatchedPrinter : public pagestore::testing::FakePrinter {
public:
    WatchedPrinter(ui::Application& app, TPP& preview) : app_(app), preview_(preview) {}
    std::string caption;
    bool printButtonEnabled = true;
    bool busy = false;
    void DrawPicture(std::span<const std::uint8_t> picture, const emf::Rect& target,
                     bool grayscale) override {
        caption = preview_.caption;
        printButtonEnabled = preview_.PRbtn.enabled;
        busy = app_.cursor == ui::Cursor::HourGlass;
        FakePrinter::DrawPicture(picture, target, grayscale);
    }

private:
    ui::Application& app_;
    TPP& preview_;
};

TEST_F(ReportPreviewTest, PrintingShowsItsProgressAndBlocksTheButtonUntilDone) {
    ui.app.title = "ZOR";
    auto printer = std::make_shared<WatchedPrinter>(ui.app, preview);
    printing.printer = printer;
    printing.confirmSetup = true;
    preview.ShowModal();
    preview.PRbtn.click();

    ASSERT_EQ(printer->drawn.size(), 1u);
    EXPECT_EQ(printer->caption, "ZOR - Preparing to print...");
    EXPECT_FALSE(printer->printButtonEnabled);
    EXPECT_TRUE(printer->busy);
    EXPECT_EQ(preview.caption, "ZOR");
    EXPECT_EQ(ui.app.cursor, ui::Cursor::Default);
    EXPECT_TRUE(preview.PRbtn.enabled);
}

TEST_F(ReportPreviewTest, ZoomChoicesAndTheBoxFollowTheDisplay) {
    preview.ShowModal();
    preview.ZoomComboBox.select(2);
    EXPECT_EQ(preview.PrintPreview.Store().Display().ZoomState(), pagestore::TZoomState::zsZoomOther);
    EXPECT_EQ(preview.PrintPreview.Store().Display().Zoom(), 150);
    EXPECT_EQ(preview.ZoomComboBox.itemIndex, 2);
    preview.ZoomComboBox.select(5);
    EXPECT_EQ(preview.PrintPreview.Store().Display().ZoomState(), pagestore::TZoomState::zsZoomToHeight);
    preview.PrintPreview.Store().Display().SetZoom(75);
    EXPECT_EQ(preview.ZoomComboBox.itemIndex, -1);
}

TEST_F(ReportPreviewTest, PdfNoticeNamesThePdfFolder) {
    preview.ShowModal();
    preview.RzButton1.click();
    ASSERT_EQ(ui.dialogs.messages.size(), 1u);
    EXPECT_TRUE(ui.dialogs.messages[0].text.ends_with("rapporten/PDF]."))
        << ui.dialogs.messages[0].text;
}

// Just after midnight in a time zone east of Greenwich the day is already the
// next one there: the age runs to the local day, the day of the administration.
TEST(ReportPreviewDate, TheAgeRunsToTheLocalDay) {
    const char* zone = std::getenv("TZ");
    const std::string savedZone = zone ? zone : "";
    setenv("TZ", "CET-1", 1);  // one hour east of Greenwich
    tzset();
    {
        using namespace std::chrono;
        ui::testing::UiFixture ui{
            ui::VirtualClock{sys_days{year{2011} / 3 / 5} + hours{23} + minutes{30}}, {}, {}};
        FakeMainMenu menu;
        FakePrinting printing;
        FakeAdministration administration;
        administration.record.Egebdag = "06";
        administration.record.Egebmnd = "03";
        TPP preview{ui.app, menu, printing, administration};
        preview.ShowModal();
        const auto texts = TextsOf(*preview.PrintPreview.Store().GetPage(1));
        EXPECT_EQ(After(texts, "Leeftijd [jaar;maand]", 2)[1], "9;0");  // the birthday on 06-03
    }
    if (zone) {
        setenv("TZ", savedZone.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

}  // namespace
}  // namespace zor::report::testing
