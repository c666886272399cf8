#include "pdf/pdf_export.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <fstream>
#include <regex>

#include "emf/canvas.h"
#include "pdf/emf_replay.h"
#include "pdf_test_support.h"

namespace zor::pdf {
namespace {

using testing::fixedClock;
using testing::TempPdf;

const PdfDocumentInfo kInfo{"ZOR-gebruiker",
                            "ZOR-afnameprogramma 1.0.2.1",
                            "ZOR-testrapport",
                            "ZOR-testrapport",
                            {2026, 12, 9}};
const PdfPaper kA4{PaperKind::A4, 595, 842};

// A page drawn the way the report draws: A4 in 0.01 mm, Arial and Calibri, lines, boxes, text.
std::vector<std::uint8_t> reportPage() {
    emf::Canvas canvas({0, 0, 21000, 29700}, emf::ReferenceDevice::screen(96));
    canvas.setMapping({21000, 29700}, {794, 1123}, {0, 0});
    emf::Font title;
    title.name = "Calibri";
    title.pixelsPerInch = 2540;
    title.setSize(16);
    title.bold = true;
    canvas.setFont(title);
    canvas.textOut(2000, 2000, "Testrapport \xE2\x80\x94 Fonemische analyse");
    emf::Font body;
    body.name = "Arial";
    body.pixelsPerInch = 2540;
    body.setSize(8);
    canvas.setFont(body);
    canvas.textOut(2000, 4000, "Naam: Micha\xC5\x82 Kowalski, kosten \xE2\x82\xAC 0");
    canvas.setPen({emf::rgb(0, 0, 0), 20, emf::pen_style::Solid});
    canvas.moveTo(2000, 4600);
    canvas.lineTo(19000, 4600);
    canvas.setBrush({emf::rgb(220, 220, 220), emf::brush_style::Solid});
    canvas.rectangle({2000, 5000, 19000, 7000});
    canvas.setTextAlign(emf::text_align::Right);
    canvas.textRect({2000, 5000, 19000, 7000}, 18500, 5500, "Standaardscore 12");
    canvas.stretchDraw({2000, 8000, 4000, 9000}, emf::Bitmap{2, 1, {255, 0, 0, 0, 0, 255}});
    return canvas.finish();
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PdfExport, AReportPageBecomesAValidOnePagePdf) {
    TempPdf file("rapport.pdf");
    exportPageImageAsPdf(reportPage(), kInfo, kA4, file.path(), fixedClock());

    auto check = testing::qpdfCheck(file);
    EXPECT_EQ(check.exitCode, 0) << check.output;
    std::string text = testing::pdfToText(file);
    EXPECT_NE(text.find("Testrapport \u2014 Fonemische analyse"), std::string::npos) << text;
    EXPECT_NE(text.find("Naam: Micha\u0142 Kowalski, kosten \u20AC 0"), std::string::npos) << text;
    EXPECT_NE(text.find("Standaardscore 12"), std::string::npos) << text;

    std::string fonts = testing::pdfFonts(file);
    EXPECT_TRUE(std::regex_search(fonts, std::regex("\nCalibri,Bold +TrueType +WinAnsi"))) << fonts;
    EXPECT_TRUE(std::regex_search(fonts, std::regex("\nArial +TrueType +WinAnsi"))) << fonts;
    EXPECT_TRUE(std::regex_search(fonts, std::regex("\nArial +CID TrueType +Identity-H"))) << fonts;

    std::string info = testing::runCommand("pdfinfo " + file.quoted()).output;
    EXPECT_TRUE(std::regex_search(info, std::regex("Page size: +595 x 842 pts \\(A4\\)"))) << info;
    EXPECT_TRUE(std::regex_search(info, std::regex("Pages: +1\n")));
    EXPECT_TRUE(std::regex_search(info, std::regex("Author: +ZOR-gebruiker\n")));
    EXPECT_TRUE(std::regex_search(info, std::regex("Producer: +ZOR-afnameprogramma 1.0.2.1\n")));

    std::string pdf = readFile(file.path());
    EXPECT_NE(pdf.find("/CreationDate (D:20261209000000)"), std::string::npos);
    EXPECT_NE(pdf.find("/ModDate (D:20261209143005)"), std::string::npos);
}

TEST(PdfExport, TheExportIsTheSameEveryTime) {
    TempPdf first("a.pdf"), second("b.pdf");
    exportPageImageAsPdf(reportPage(), kInfo, kA4, first.path(), fixedClock());
    exportPageImageAsPdf(reportPage(), kInfo, kA4, second.path(), fixedClock());
    EXPECT_EQ(readFile(first.path()), readFile(second.path()));
}

TEST(PdfExport, ATargetLockedByAnotherProgramIsRefusedAndLeftAlone) {
    TempPdf file("rapport.pdf");
    std::ofstream(file.path()) << "open in a viewer";
    int fd = ::open(file.path().c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    try {
        exportPageImageAsPdf(reportPage(), kInfo, kA4, file.path(), fixedClock());
        ADD_FAILURE() << "no error";
    } catch (const PdfFileInUse& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to file " + file.path().string() +
                                             ". Is the file opened by another application?");
    }
    ::close(fd);
    EXPECT_EQ(readFile(file.path()), "open in a viewer");

    exportPageImageAsPdf(reportPage(), kInfo, kA4, file.path(), fixedClock());
    EXPECT_TRUE(readFile(file.path()).starts_with("%PDF-1.3\n"));
}

TEST(PdfExport, AMissingFolderIsPassedOverSilently) {
    TempPdf file;
    auto target = file.folder() / "PDF" / "rapport.pdf";
    EXPECT_NO_THROW(exportPageImageAsPdf(reportPage(), kInfo, kA4, target, fixedClock()));
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST(PdfExport, ABrokenPageImageFailsWithoutLeavingAFile) {
    TempPdf file("rapport.pdf");
    auto image = reportPage();
    image.resize(image.size() / 2);
    EXPECT_THROW(exportPageImageAsPdf(image, kInfo, kA4, file.path(), fixedClock()),
                 std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(file.path()));
}

TEST(PdfExport, ThePaperSizeIsTakenInPoints) {
    TempPdf file("letter.pdf");
    exportPageImageAsPdf(reportPage(), kInfo, {PaperKind::Letter, 612, 792}, file.path(),
                         fixedClock());
    std::string info = testing::runCommand("pdfinfo " + file.quoted()).output;
    EXPECT_TRUE(std::regex_search(info, std::regex("Page size: +612 x 792 pts"))) << info;
}

}  // namespace
}  // namespace zor::pdf
