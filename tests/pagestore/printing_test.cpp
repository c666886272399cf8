#include <gtest/gtest.h>

#include <memory>

#include "fake_printer.h"
#include "pagestore/print_preview.h"
#include "sample_pages.h"

namespace zor::pagestore {
namespace {

using testing::FakePrinter;

class Printing : public ::testing::Test {
  protected:
    void SetUp() override {
        printer = std::make_shared<FakePrinter>();
        store.SetPrinter(printer);
        store.SetPrintJobTitle("Afdrukken ZOR-rapport");
        store.OnBeforePrint = [this](TPrintPreview&) { events += "before;"; };
        store.OnAfterPrint = [this](TPrintPreview& s) {
            events += "after;";
            stateAfterPrint = s.State();
        };
        store.OnAbort = [this](TPrintPreview&) { events += "abort;"; };
        store.OnPrintProgress = [this](TPrintPreview& s, int page, int progress, bool& abortIt) {
            EXPECT_EQ(s.State(), TPreviewState::Printing);
            progresses.push_back(progress);
            events += "p" + std::to_string(page) + ":" + std::to_string(progress) + ";";
            if (page == abortOnPage) abortIt = true;
        };
    }
    void compose(int pages) {
        store.BeginDoc();
        for (int i = 1; i <= pages; ++i) {
            testing::drawSamplePage(store, "pagina " + std::to_string(i));
            if (i < pages) store.NewPage();
        }
        store.EndDoc();
        printer->log.clear();
    }

    std::shared_ptr<FakePrinter> printer;
    TPrintPreview store;
    std::string events;
    std::vector<int> progresses;
    int abortOnPage = 0;
    TPreviewState stateAfterPrint = TPreviewState::Idle;
};

TEST_F(Printing, FourPagesReportProgressTwicePerPage) {
    compose(4);
    store.Print();
    EXPECT_EQ(progresses, (std::vector<int>{0, 25, 25, 50, 50, 75, 75, 100}));
    ASSERT_EQ(printer->drawn.size(), 4u);
    for (int p = 1; p <= 4; ++p) EXPECT_EQ(printer->drawn[p - 1].picture, *store.GetPage(p));
    EXPECT_EQ(printer->log, (std::vector<std::string>{
                                "apply", "begin:Afdrukken ZOR-rapport", "refresh", "draw",
                                "newpage", "draw", "newpage", "draw", "newpage", "draw", "end"}));
    EXPECT_EQ(printer->title, "");
    EXPECT_TRUE(events.starts_with("before;"));
    EXPECT_TRUE(events.ends_with("after;"));
    EXPECT_EQ(stateAfterPrint, TPreviewState::Printing);
    EXPECT_EQ(store.State(), TPreviewState::Idle);
    EXPECT_FALSE(store.Aborted());
}

TEST_F(Printing, OnePageOfThree) {
    compose(3);
    store.PrintPages(2, 2);
    EXPECT_EQ(progresses, (std::vector<int>{0, 100}));
    ASSERT_EQ(printer->drawn.size(), 1u);
    EXPECT_EQ(printer->drawn[0].picture, *store.GetPage(2));
}

TEST_F(Printing, NothingHappensWhenThereIsNothingToPrint) {
    compose(3);
    store.PrintPages(3, 2);
    printer->installed = false;
    store.Print();
    printer->installed = true;
    store.SetPrinter(nullptr);
    store.Print();
    EXPECT_TRUE(printer->log.empty());
    EXPECT_TRUE(events.empty());

    TPrintPreview empty;
    empty.SetPrinter(printer);
    empty.Print();
    EXPECT_TRUE(printer->log.empty());
}

TEST_F(Printing, AbortOnPageTwoStopsAtOnce) {
    compose(4);
    abortOnPage = 2;
    store.Print();
    EXPECT_EQ(events, "before;p1:0;p1:25;p2:25;abort;after;");
    EXPECT_EQ(printer->drawn.size(), 1u);
    EXPECT_TRUE(printer->aborted);
    EXPECT_EQ(printer->log.back(), "abort");
    EXPECT_TRUE(store.Aborted());
    EXPECT_EQ(store.State(), TPreviewState::Idle);
    EXPECT_EQ(store.TotalPages(), 4);  // the stored pages stay
}

TEST_F(Printing, PrinterErrorsPropagateAfterTheJobIsClosed) {
    compose(3);
    printer->failOnDraw = 2;
    EXPECT_THROW(store.Print(), std::runtime_error);
    EXPECT_TRUE(printer->aborted);
    EXPECT_FALSE(printer->printing);
    EXPECT_TRUE(events.ends_with("after;"));
    EXPECT_EQ(store.State(), TPreviewState::Idle);
}

TEST_F(Printing, PaperCornerLandsOnTheSheetCorner) {
    compose(1);
    store.SetGrayscale(gsPrint);
    store.Print();
    ASSERT_EQ(printer->drawn.size(), 1u);
    // A4 at 600 dpi is 4961 × 7016 pixels, shifted by the printable area's offset.
    EXPECT_EQ(printer->drawn[0].target, (emf::Rect{-100, -120, 4861, 6896}));
    EXPECT_TRUE(printer->drawn[0].grayscale);

    printer->device.physicalPage = {5100, 6600};  // the printer's own sheet
    store.SetUsePrinterOptions(true);
    store.SetGrayscale(gsPreview);
    store.Print();
    EXPECT_EQ(printer->drawn[1].target, (emf::Rect{-100, -120, 5000, 6480}));
    EXPECT_FALSE(printer->drawn[1].grayscale);
    EXPECT_EQ(std::count(printer->log.begin(), printer->log.end(), "apply"), 1);
}

TEST_F(Printing, PrinterPageBoundsIsThePrintableArea) {
    EXPECT_EQ(store.PrinterPageBounds(), (emf::Rect{423, 508, 20578, 29193}));
    store.SetPrinter(nullptr);
    EXPECT_EQ(store.PrinterPageBounds(), store.PageBounds());
}

TEST_F(Printing, WritePrinterSetupGivesPaperOrientationAndForm) {
    store.WritePrinterSetup();
    EXPECT_EQ(printer->settings, (PrinterSettings{1, 9, std::nullopt, std::nullopt, "A4"}));
    store.SetOrientation(poLandscape);
    store.SetPaperSize(25000, 12345);
    store.WritePrinterSetup();
    // Custom paper: user-defined, in 0.1 mm, portrait order.
    EXPECT_EQ(printer->settings.paperNumber, 256);
    EXPECT_EQ(printer->settings.paperWidth, 1234);
    EXPECT_EQ(printer->settings.paperLength, 2500);
    EXPECT_EQ(printer->settings.orientation, 2);
    EXPECT_EQ(printer->settings.formName, "123mm x 250mm");
}

TEST_F(Printing, ReadPrinterSetupTakesPaperOrientationAndForm) {
    printer->settings = {2, 11, std::nullopt, std::nullopt, "A5"};
    store.ReadPrinterSetup();
    EXPECT_EQ(store.Orientation(), poLandscape);
    EXPECT_EQ(store.PaperType(), pA5);
    EXPECT_EQ(store.PaperWidth(), 21000);
    EXPECT_EQ(store.PaperHeight(), 14800);
    EXPECT_EQ(store.FormName(), "A5");

    // Without a paper number the printer's sheet gives the size.
    printer->settings = {1, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    printer->device.physicalPage = {4800, 6000};
    store.ReadPrinterSetup();
    EXPECT_EQ(store.Orientation(), poPortrait);
    EXPECT_EQ(store.PaperType(), pCustom);
    EXPECT_EQ(store.PaperWidth(), 20320);
    EXPECT_EQ(store.PaperHeight(), 25400);

    printer->settings = {1, 48, std::nullopt, std::nullopt, std::nullopt};  // unknown number
    store.ReadPrinterSetup();
    EXPECT_EQ(store.PaperType(), pCustom);
}

TEST_F(Printing, BeginDocTakesThePrintersPaperWhenAsked) {
    printer->settings = {2, 1, std::nullopt, std::nullopt, std::nullopt};
    store.SetUsePrinterOptions(true);
    store.BeginDoc();
    EXPECT_EQ(store.PaperType(), pLetter);
    EXPECT_EQ(store.Orientation(), poLandscape);
    EXPECT_EQ(store.PaperWidth(), 27940);
    store.EndDoc();
}

TEST_F(Printing, FormNamesLeaveOutTinyForms) {
    std::vector<std::string> names{"old"};
    EXPECT_TRUE(store.GetFormNames(names));
    EXPECT_EQ(names, (std::vector<std::string>{"Letter", "A4", "A5"}));
    printer->formsListable = false;
    EXPECT_FALSE(store.GetFormNames(names));
    EXPECT_TRUE(names.empty());
    printer->formsListable = true;
    store.SetPrinter(nullptr);
    EXPECT_FALSE(store.GetFormNames(names));
}

TEST_F(Printing, MissingFormIsAddedAndRemovedAgain) {
    printer->forms.erase(printer->forms.begin() + 1);  // no A4 form
    std::vector<std::string> formEvents;
    store.OnAutoCustomForm = [&](TPrintPreview&, const std::string& name, TOperation op) {
        formEvents.push_back((op == opInsert ? "+" : "-") + name);
    };
    EXPECT_EQ(store.FormName(), "210mm x 297mm");
    EXPECT_EQ(store.FormName(), "210mm x 297mm");
    EXPECT_EQ(formEvents, (std::vector<std::string>{"+210mm x 297mm"}));
    EXPECT_EQ(printer->forms.back().width, 210000);
    EXPECT_EQ(printer->forms.back().height, 297000);
    // Another paper without form: the old own form goes, a new one comes.
    store.SetPaperSize(10000, 20000);
    EXPECT_EQ(store.FormName(), "100mm x 200mm");
    EXPECT_EQ(formEvents,
              (std::vector<std::string>{"+210mm x 297mm", "-210mm x 297mm", "+100mm x 200mm"}));
    {
        TPrintPreview other;
        other.SetPrinter(printer);
        other.SetPaperType(pA3);
        EXPECT_EQ(other.FormName(), "297mm x 420mm");
    }  // the store removes its own form when it goes
    EXPECT_EQ(printer->log.back(), "deleteform:297mm x 420mm");
}

TEST_F(Printing, SettingAFormNameTakesItsSize) {
    store.SetFormName("Letter");
    EXPECT_EQ(store.FormName(), "Letter");
    EXPECT_EQ(store.PaperType(), pLetter);
    EXPECT_EQ(store.PaperWidth(), 21590);
    store.SetOrientation(poLandscape);
    store.SetFormName("a5");  // letter case does not matter
    EXPECT_EQ(store.PaperWidth(), 21000);
    EXPECT_EQ(store.PaperHeight(), 14800);
    store.SetFormName("Tiny2");  // unknown form: ignored
    EXPECT_EQ(store.FormName(), "a5");
    printer->forms.push_back({"Zero", 0, 1000});
    store.SetFormName("Zero");
    EXPECT_EQ(store.FormName(), "a5");
}

TEST_F(Printing, ComposingStraightOntoThePrinter) {
    compose(2);
    const auto stored = *store.GetPage(1);
    std::string log;
    store.OnBeginDoc = [&](TPrintPreview& s) { log += "B" + std::to_string(s.TotalPages()); };
    store.OnNewPage = [&](TPrintPreview&) { log += "N"; };
    store.OnEndPage = [&](TPrintPreview& s) { log += "E" + std::to_string(s.TotalPages()); };
    store.OnEndDoc = [&](TPrintPreview& s) { log += "D" + std::to_string(s.TotalPages()); };
    store.SetDirectPrint(true);
    store.BeginDoc();
    EXPECT_EQ(store.State(), TPreviewState::Printing);
    ASSERT_NE(store.Canvas(), nullptr);
    store.Canvas()->textOut(1000, 1000, "direct");
    store.NewPage();
    store.EndDoc();
    EXPECT_EQ(log, "B0NE0NE1D2");
    EXPECT_EQ(store.State(), TPreviewState::Idle);
    EXPECT_EQ(printer->drawn.size(), 2u);
    EXPECT_EQ(printer->log, (std::vector<std::string>{"apply", "begin:Afdrukken ZOR-rapport",
                                                      "draw", "newpage", "draw", "end"}));
    // The stored pages were not touched.
    EXPECT_EQ(store.TotalPages(), 2);
    EXPECT_EQ(*store.GetPage(1), stored);
    EXPECT_TRUE(events.empty());  // no before/after/progress events
}

TEST_F(Printing, AbortWhileComposingOntoThePrinter) {
    store.SetDirectPrint(true);
    store.BeginDoc();
    store.Abort();
    EXPECT_EQ(events, "abort;");
    EXPECT_TRUE(printer->aborted);
    EXPECT_EQ(store.State(), TPreviewState::Idle);
    EXPECT_EQ(store.Canvas(), nullptr);
    EXPECT_EQ(store.TotalPages(), 0);
}

}  // namespace
}  // namespace zor::pagestore
