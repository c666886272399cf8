// The Qt printer's settings, forms and drawing, on Qt's PDF output (no print
// service needed).
#include "pagestore/qt/qt_printer.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <cstdio>
#include <filesystem>
#include <string>

#include "pagestore/print_preview.h"
#include "qt_app.h"
#include "run_command.h"

namespace zor::pagestore::qt {
namespace {

namespace fs = std::filesystem;

// The application must exist before the printer is made.
struct WithApplication {
    WithApplication() { test::qtApp(); }
};

struct QtPrinterTest : ::testing::Test, WithApplication {
    QtPrinter printer;
};

TEST_F(QtPrinterTest, SettingsGoToThePrinterAndComeBack) {
    printer.ApplySettings({2, 11, std::nullopt, std::nullopt, std::nullopt});  // A5 landscape
    PrinterSettings back = printer.ReadSettings();
    EXPECT_EQ(back.orientation, 2);
    EXPECT_EQ(back.paperNumber, 11);
    const PrinterDevice d = printer.Device();
    EXPECT_GT(d.physicalPage.cx, d.physicalPage.cy);           // oriented
    EXPECT_NEAR(d.physicalPage.cx * 254.0 / d.dpiX, 2100, 2);  // 0.1 mm
    EXPECT_LE(d.physicalOffset.x + d.printableArea.cx, d.physicalPage.cx);

    // A user-defined paper in 0.1 mm, portrait order.
    printer.ApplySettings({1, 256, 1000, 1500, std::nullopt});
    back = printer.ReadSettings();
    EXPECT_EQ(back.orientation, 1);
    EXPECT_EQ(back.paperNumber, 256);
    EXPECT_EQ(back.paperWidth, 1000);
    EXPECT_EQ(back.paperLength, 1500);
}

TEST_F(QtPrinterTest, PagesArePlayedOntoThePrinterInColourOrGrey) {
    TPrintPreview store;
    store.BeginDoc();
    emf::Canvas& c = *store.Canvas();
    c.textOut(2000, 2000, "Kleurenpagina");
    c.setBrush({emf::rgb(255, 0, 0), emf::brush_style::Solid});
    c.fillRect({2000, 5000, 8000, 9000});
    store.EndDoc();
    const auto& page = *store.GetPage(1);

    const fs::path file =
        fs::temp_directory_path() / ("zor-qtprinter-" + std::to_string(getpid()) + ".pdf");
    printer.printer().setOutputFileName(QString::fromStdString(file.string()));
    printer.ApplySettings({1, 9, std::nullopt, std::nullopt, std::nullopt});
    printer.SetJobTitle("Afdrukken ZOR-rapport");
    printer.BeginJob();
    EXPECT_TRUE(printer.JobPrinting());
    const PrinterDevice d = printer.Device();
    const emf::Rect target{-d.physicalOffset.x, -d.physicalOffset.y,
                           d.physicalPage.cx - d.physicalOffset.x,
                           d.physicalPage.cy - d.physicalOffset.y};
    printer.DrawPicture(page, target, false);
    printer.NewJobPage();
    printer.DrawPicture(page, target, true);
    printer.EndJob();
    EXPECT_FALSE(printer.JobPrinting());

    const std::string info = zor::testing::commandOutput("pdfinfo '" + file.string() + "'");
    const std::string text = zor::testing::commandOutput("pdftotext -f 1 -l 1 '" + file.string() + "' -");
    const std::string images = zor::testing::commandOutput("pdfimages -list '" + file.string() + "'");
    fs::remove(file);
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    EXPECT_NE(info.find("Title:           Afdrukken ZOR-rapport"), std::string::npos) << info;
    EXPECT_NE(text.find("Kleurenpagina"), std::string::npos) << text;
    // The grey page is one picture; the colour page has none.
    EXPECT_NE(images.find("\n   2     0 image"), std::string::npos) << images;
    EXPECT_EQ(images.find("\n   1     0 image"), std::string::npos) << images;
}

TEST_F(QtPrinterTest, AbortedJobIsNoLongerPrinting) {
    const fs::path file =
        fs::temp_directory_path() / ("zor-qtprinter-abort-" + std::to_string(getpid()) + ".pdf");
    printer.printer().setOutputFileName(QString::fromStdString(file.string()));
    printer.BeginJob();
    printer.AbortJob();
    EXPECT_FALSE(printer.JobPrinting());
    EXPECT_TRUE(printer.JobAborted());
    std::error_code ignored;
    fs::remove(file, ignored);
}

}  // namespace
}  // namespace zor::pagestore::qt
