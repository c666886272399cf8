#include "pagestore/printing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pagestore/printing_test_printer.h"

namespace zor::pagestore {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

void compose(TPrintPreview& store, int pages) {
    store.BeginDoc();
    for (int i = 0; i < pages; ++i) {
        if (i > 0) store.NewPage();
        store.Canvas()->textOut(1000, 1000 + i * 500, "Pagina " + std::to_string(i + 1));
    }
    store.EndDoc();
}

struct Progress {
    int page;
    int percent;
    friend bool operator==(const Progress&, const Progress&) = default;
};

struct PrintingTest : ::testing::Test {
    TPrintPreview store;
    TestPrinter printer;
    TStorePrinter printing{store, &printer};
    std::vector<Progress> progress;
    std::vector<std::string> events;

    PrintingTest() {
        store.SetPrintJobTitle("Afdrukken ZOR-rapport");
        printing.OnPrintProgress = [this](TPrintPreview&, int page, int percent, bool&) {
            progress.push_back({page, percent});
        };
        printing.OnBeforePrint = [this](TPrintPreview&) { events.push_back("before"); };
        printing.OnAfterPrint = [this](TPrintPreview& s) {
            events.push_back(s.State() == TPreviewState::Printing ? "after" : "after?");
        };
        store.OnAbort = [this](TPrintPreview&) { events.push_back("abort"); };
    }
};

TEST_F(PrintingTest, FourPagesReportProgressTwicePerPageAndPrintInOrder) {
    compose(store, 4);
    printing.Print();
    EXPECT_EQ(progress, (std::vector<Progress>{{1, 0}, {1, 25}, {2, 25}, {2, 50}, {3, 50},
                                               {3, 75}, {4, 75}, {4, 100}}));
    EXPECT_THAT(events, ElementsAre("before", "after"));
    EXPECT_THAT(printer.log, ElementsAre("apply", "title Afdrukken ZOR-rapport", "begin", "draw",
                                         "page", "draw", "page", "draw", "page", "draw", "end",
                                         "title "));
    ASSERT_EQ(printer.drawn.size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(printer.drawn[i].picture, *store.GetPage(i + 1));
    EXPECT_EQ(store.State(), TPreviewState::Idle);
    EXPECT_FALSE(store.Aborted());
}

TEST_F(PrintingTest, PageRangeIsLimitedToWhatIsAskedAndStored) {
    compose(store, 3);
    printing.PrintPages(3, 2);
    EXPECT_THAT(printer.log, IsEmpty());
    EXPECT_THAT(events, IsEmpty());

    printing.PrintPages(1, 1);
    EXPECT_EQ(progress, (std::vector<Progress>{{1, 0}, {1, 100}}));
    ASSERT_EQ(printer.drawn.size(), 1u);
    EXPECT_EQ(printer.drawn[0].picture, *store.GetPage(1));

    printer.drawn.clear();
    printing.PrintPages(2, 9);  // pages that do not exist are not printed
    EXPECT_EQ(printer.drawn.size(), 2u);
}

TEST_F(PrintingTest, AbortOnPageTwoStopsTheJobAndStillRunsTheEndSteps) {
    compose(store, 4);
    printing.OnPrintProgress = [this](TPrintPreview&, int page, int percent, bool& abortIt) {
        progress.push_back({page, percent});
        if (page == 2) abortIt = true;
    };
    printing.Print();
    EXPECT_EQ(progress, (std::vector<Progress>{{1, 0}, {1, 25}, {2, 25}}));
    EXPECT_EQ(printer.drawn.size(), 1u);
    EXPECT_THAT(printer.log, ElementsAre("apply", "title Afdrukken ZOR-rapport", "begin", "draw",
                                         "page", "abort", "title "));
    EXPECT_THAT(events, ElementsAre("before", "abort", "after?"));
    EXPECT_EQ(store.State(), TPreviewState::Idle);
    EXPECT_TRUE(store.Aborted());
    EXPECT_EQ(store.TotalPages(), 4);  // printing never touches the stored pages
}

TEST_F(PrintingTest, PrinterErrorPropagatesAfterTheJobIsAborted) {
    compose(store, 2);
    printer.failOnDraw = true;
    EXPECT_THROW(printing.Print(), std::runtime_error);
    EXPECT_THAT(printer.log, ElementsAre("apply", "title Afdrukken ZOR-rapport", "begin", "abort",
                                         "title "));
    EXPECT_THAT(events, ElementsAre("before", "after"));
    EXPECT_EQ(store.State(), TPreviewState::Idle);
    EXPECT_TRUE(store.Aborted());

    // A handler's abort exception ends printing quietly.
    printer.failOnDraw = false;
    printer.log.clear();
    printing.OnPrintProgress = [](TPrintPreview&, int page, int, bool&) {
        if (page == 2) throw EAbort();
    };
    EXPECT_NO_THROW(printing.Print());
    EXPECT_THAT(printer.log, ElementsAre("apply", "title Afdrukken ZOR-rapport", "begin", "draw",
                                         "page", "abort", "title "));
    EXPECT_EQ(store.State(), TPreviewState::Idle);
}

TEST_F(PrintingTest, PrintsWhileIdleOnlyAndRefusesComposingMeanwhile) {
    compose(store, 1);
    printing.OnPrintProgress = [this](TPrintPreview& s, int, int, bool&) {
        EXPECT_EQ(s.State(), TPreviewState::Printing);
        s.BeginDoc();  // refused while printing
        s.SetPaperType(pA5);
        printing.Print();  // no second job inside the first
    };
    printing.Print();
    EXPECT_EQ(store.PaperType(), pA4);
    EXPECT_EQ(store.TotalPages(), 1);
    EXPECT_EQ(printer.drawn.size(), 1u);
}

TEST_F(PrintingTest, PaperLandsOnTheSheetCornerInPrinterPixelsAndGreyWhenAsked) {
    compose(store, 1);
    store.SetGrayscale(gsPreview);
    printing.Print();
    ASSERT_EQ(printer.drawn.size(), 1u);
    // 21000 × 29700 0.01 mm at 600 dots per inch, shifted by the 95-pixel offsets.
    EXPECT_EQ(printer.drawn[0].target, (emf::Rect{-95, -95, 4961 - 95, 7016 - 95}));
    EXPECT_FALSE(printer.drawn[0].grey);

    store.SetGrayscale(gsPreview | gsPrint);
    store.SetUsePrinterOptions(true);
    printer.metrics.physicalWidth = 5100;
    printing.Print();
    ASSERT_EQ(printer.drawn.size(), 2u);
    EXPECT_EQ(printer.drawn[1].target, (emf::Rect{-95, -95, 5100 - 95, 7016 - 95}));
    EXPECT_TRUE(printer.drawn[1].grey);
}

TEST_F(PrintingTest, PrinterPageBoundsIsThePrintableAreaInUnits) {
    EXPECT_EQ(printing.PrinterPageBounds(), (emf::Rect{402, 402, 402 + 20197, 402 + 28897}));
    TStorePrinter none(store, nullptr);
    EXPECT_EQ(none.PrinterPageBounds(), store.PageBounds());
}

TEST(PrintingWithoutPrinter, BehavesAsWithNoPrinterInstalled) {
    TPrintPreview store;
    compose(store, 2);
    TestPrinter printer;
    printer.printers.clear();
    for (PrintingDevice* device : {static_cast<PrintingDevice*>(nullptr),
                                   static_cast<PrintingDevice*>(&printer)}) {
        TStorePrinter printing(store, device);
        bool fired = false;
        printing.OnBeforePrint = [&](TPrintPreview&) { fired = true; };
        printing.Print();
        EXPECT_FALSE(fired);
        printing.WritePrinterSetup();
        printing.ReadPrinterSetup();
        std::vector<std::string> names{"x"};
        EXPECT_FALSE(printing.GetFormNames(names));
        EXPECT_THAT(names, IsEmpty());
        EXPECT_EQ(printing.FormName(), "");
        EXPECT_FALSE(printing.PrinterInstalled());
    }
    EXPECT_THAT(printer.log, IsEmpty());
    EXPECT_EQ(store.PaperType(), pA4);
}

TEST_F(PrintingTest, WritePrinterSetupGivesPaperOrientationAndForm) {
    printing.WritePrinterSetup();
    EXPECT_EQ(printer.settings.paperNumber, 9);
    EXPECT_EQ(printer.settings.orientation, 1);
    EXPECT_EQ(printer.settings.formName, "A4");
    EXPECT_FALSE(printer.settings.paperWidth);

    store.SetOrientation(poLandscape);
    store.SetPaperSize(15000, 10000);  // landscape 150 × 100 mm: no standard paper
    ASSERT_EQ(store.PaperType(), pCustom);
    printing.WritePrinterSetup();
    EXPECT_EQ(printer.settings.paperNumber, 256);
    EXPECT_EQ(printer.settings.paperWidth, 1000);  // portrait order, 0.1 mm
    EXPECT_EQ(printer.settings.paperLength, 1500);
    EXPECT_EQ(printer.settings.orientation, 2);
    EXPECT_EQ(printer.settings.formName, "100mm x 150mm");
}

TEST_F(PrintingTest, ReadPrinterSetupTakesPaperOrientationAndForm) {
    printer.settings = {2, 11, std::nullopt, std::nullopt, "A5"};
    printing.ReadPrinterSetup();
    EXPECT_EQ(store.Orientation(), poLandscape);
    EXPECT_EQ(store.PaperType(), pA5);
    EXPECT_EQ(store.PaperWidth(), 21000);
    EXPECT_EQ(store.PaperHeight(), 14800);
    EXPECT_EQ(printing.FormName(), "A5");

    // A paper number the table does not know: the size comes from the sheet.
    printer.settings = {1, 999, std::nullopt, std::nullopt, std::nullopt};
    printer.metrics.physicalWidth = 2400;   // 101.6 mm at 600 dpi
    printer.metrics.physicalHeight = 3600;  // 152.4 mm
    printing.ReadPrinterSetup();
    EXPECT_EQ(store.Orientation(), poPortrait);
    EXPECT_EQ(store.PaperType(), pCustom);
    EXPECT_EQ(store.PaperWidth(), 10160);
    EXPECT_EQ(store.PaperHeight(), 15240);
}

TEST_F(PrintingTest, FormNamesSkipFormsWithoutSize) {
    std::vector<std::string> names;
    EXPECT_TRUE(printing.GetFormNames(names));
    EXPECT_THAT(names, ElementsAre("Letter", "A4", "A5"));
    printer.forms.reset();
    EXPECT_FALSE(printing.GetFormNames(names));
}

TEST_F(PrintingTest, MissingFormIsAddedAsTheStoresOwnAndRemovedAtTheEnd) {
    printer.forms->erase(printer.forms->begin() + 1);  // no A4 form
    std::vector<std::pair<std::string, TCustomFormOperation>> custom;
    {
        TStorePrinter own(store, &printer);
        own.OnAutoCustomForm = [&](TPrintPreview&, const std::string& name,
                                   TCustomFormOperation op) { custom.push_back({name, op}); };
        EXPECT_EQ(own.FormName(), "210mm x 297mm");
        EXPECT_EQ(own.FormName(), "210mm x 297mm");  // added once
        EXPECT_THAT(custom, ElementsAre(std::pair{std::string("210mm x 297mm"), opInsert}));
        EXPECT_EQ(own.CustomFormName(), "210mm x 297mm");
        EXPECT_EQ(printer.forms->back().width, 210000);
        EXPECT_EQ(printer.forms->back().height, 297000);

        // Another paper gets its own form; the printer keeps only one of the store's.
        store.SetPaperType(pB5);
        EXPECT_EQ(own.FormName(), "182mm x 257mm");
        EXPECT_EQ(custom.size(), 3u);
        EXPECT_EQ(custom[1], (std::pair{std::string("210mm x 297mm"), opRemove}));
    }
    EXPECT_EQ(printer.log.back(), "delete 182mm x 257mm");
    EXPECT_EQ(custom.size(), 3u);  // no event while the printing side goes away
}

TEST_F(PrintingTest, NoFormWhenThePrinterRefusesToAddOne) {
    printer.forms->erase(printer.forms->begin() + 1);
    printer.formsCanBeAdded = false;
    EXPECT_EQ(printing.FormName(), "");
    EXPECT_EQ(printing.CustomFormName(), "");
}

TEST_F(PrintingTest, SettingAFormNameTakesItsSize) {
    printing.SetFormName("a5");
    EXPECT_EQ(printing.FormName(), "A5");
    EXPECT_EQ(store.PaperType(), pA5);
    EXPECT_EQ(store.PaperWidth(), 14800);

    store.SetOrientation(poLandscape);
    printing.SetFormName("Letter");
    EXPECT_EQ(store.PaperWidth(), 27940);
    EXPECT_EQ(store.PaperHeight(), 21590);
    EXPECT_EQ(store.PaperType(), pLetter);

    printing.SetFormName("Nope");
    printer.forms->push_back({"Zero", 0, 100000});
    printing.SetFormName("Zero");  // a form without size is refused
    EXPECT_EQ(printing.FormName(), "Letter");
}

TEST_F(PrintingTest, DirectPrintingComposesOntoThePrinter) {
    compose(store, 1);
    const auto stored = *store.GetPage(1);
    std::vector<std::string> order;
    store.OnBeginDoc = [&](TPrintPreview&) { order.push_back("begin"); };
    store.OnNewPage = [&](TPrintPreview&) { order.push_back("new"); };
    store.OnEndPage = [&](TPrintPreview&) { order.push_back("endpage"); };
    store.OnEndDoc = [&](TPrintPreview&) { order.push_back("enddoc"); };

    printing.SetDirectPrint(true);
    printing.BeginDoc();
    EXPECT_EQ(store.State(), TPreviewState::Printing);
    ASSERT_NE(printing.Canvas(), nullptr);
    printing.Canvas()->textOut(1000, 1000, "Rechtstreeks");
    printing.NewPage();
    EXPECT_EQ(printing.TotalPages(), 1);
    printing.EndDoc();

    EXPECT_THAT(order, ElementsAre("begin", "new", "endpage", "new", "endpage", "enddoc"));
    EXPECT_THAT(printer.log, ElementsAre("apply", "title Afdrukken ZOR-rapport", "begin", "draw",
                                         "page", "draw", "end"));
    EXPECT_THAT(events, IsEmpty());  // no before/after/progress in direct printing
    EXPECT_EQ(store.State(), TPreviewState::Idle);
    EXPECT_FALSE(printing.DirectPrint());
    EXPECT_EQ(store.TotalPages(), 1);
    EXPECT_EQ(*store.GetPage(1), stored);
    EXPECT_GT(printer.drawn[0].picture.size(), printer.drawn[1].picture.size());
}

TEST_F(PrintingTest, AbortDuringDirectPrintingCancelsTheJob) {
    printing.SetDirectPrint(true);
    printing.BeginDoc();
    store.Abort();
    EXPECT_EQ(store.State(), TPreviewState::Idle);
    EXPECT_EQ(printer.log.back(), "abort");
    EXPECT_EQ(printing.Canvas(), nullptr);
    printing.EndDoc();  // nothing left to end
    EXPECT_EQ(printer.log.back(), "abort");
}

}  // namespace
}  // namespace zor::pagestore
