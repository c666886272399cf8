#include "pdf/pdf_document.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "files/write_error.h"
#include "pdf/pdf_errors.h"
#include "pdf_test_support.h"

namespace zor::pdf {
namespace {

using testing::fixedClock;
using testing::saveToString;
using testing::TempPdf;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

// The body of object n as written (between "n 0 obj\n" and "\nendobj").
std::string objectBody(const std::string& pdf, int n) {
    std::string head = "\n" + std::to_string(n) + " 0 obj\n";
    auto start = pdf.find(head);
    if (start == std::string::npos) return {};
    start += head.size();
    return pdf.substr(start, pdf.find("\nendobj", start) - start);
}

TEST(Document, AnEmptyPageGivesFiveObjectsAndASixLineCrossReferenceTable) {
    TPdfDocument document(fixedClock());
    document.addPage();
    std::string pdf = saveToString(document);
    EXPECT_EQ(pdf, readFile(ZOR_TEST_DATA_DIR "/pdf/empty_page.pdf"));

    auto xref = pdf.find("xref\n0 6\n");
    ASSERT_NE(xref, std::string::npos);
    std::string table = pdf.substr(xref + 9, 6 * 19);
    EXPECT_EQ(table.substr(0, 19), "0000000000 65535 f\n");
    for (int n = 1; n <= 5; ++n) {
        std::string line = table.substr(std::size_t(n) * 19, 19);
        ASSERT_TRUE(std::regex_match(line, std::regex("\\d{10} 00000 n\n"))) << line;
        std::size_t offset = std::stoul(line.substr(0, 10));
        EXPECT_EQ(pdf.compare(offset, 8, std::to_string(n) + " 0 obj\n"), 0) << n;
    }
    EXPECT_EQ(pdf.find("6 0 obj"), std::string::npos);
    EXPECT_TRUE(pdf.ends_with("startxref\n" + std::to_string(xref) + "\n%%EOF\n"));
}

TEST(Document, StartsWithTheHeaderAndTheCatalog) {
    TPdfDocument document(fixedClock());
    document.addPage();
    auto text = lines(saveToString(document));
    std::vector<std::string> expected = {
        "%PDF-1.3",     "1 0 obj", "<<",    "/Type /Catalog", "/PageLayout /SinglePage",
        "/Pages 3 0 R", ">>",      "endobj"};
    ASSERT_GE(text.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(text.begin(), text.begin() + 8), expected);
}

TEST(Document, InformationEntriesFollowTheProducerInTheOrderSet) {
    TPdfDocument document(fixedClock({2026, 12, 9, 18, 5, 59}));
    document.setAuthor("ZOR-gebruiker");
    document.setCreationDate({2026, 3, 4});
    document.setCreator("ZOR-afnameprogramma 1.0.2.1");
    document.setSubject(
        "Co\xC3\xAB"
        "ffici\xC3\xAB"
        "nt");  // UTF-8 in, Windows-1252 out
    document.setTitle("ZOR-testrapport");
    document.addPage();
    EXPECT_EQ(objectBody(saveToString(document), 2),
              "<<\n/Producer (ZOR-afnameprogramma 1.0.2.1)\n/Author (ZOR-gebruiker)\n"
              "/CreationDate (D:20260304000000)\n/Creator (ZOR-afnameprogramma 1.0.2.1)\n"
              "/Subject (Co\xEB"
              "ffici\xEB"
              "nt)\n/Title (ZOR-testrapport)\n"
              "/ModDate (D:20261209180559)\n>>");
}

TEST(Document, PaperKindsSetTheMediaBoxOfNewPages) {
    TPdfDocument document(fixedClock());
    document.setDefaultPaperKind(PaperKind::A5);
    document.addPage();
    document.setDefaultPaperKind(PaperKind::Letter);
    document.addPage();
    document.setDefaultPageWidth(600);
    EXPECT_EQ(document.defaultPaperKind(), PaperKind::UserDefined);
    document.setDefaultPageHeight(800);
    document.addPage();
    std::string pdf = saveToString(document);
    EXPECT_NE(objectBody(pdf, 4).find("/MediaBox [0 0 419 595 ]"), std::string::npos);
    EXPECT_NE(objectBody(pdf, 6).find("/MediaBox [0 0 612 792 ]"), std::string::npos);
    EXPECT_NE(objectBody(pdf, 8).find("/MediaBox [0 0 600 800 ]"), std::string::npos);
    EXPECT_EQ(objectBody(pdf, 3), "<<\n/Type /Pages\n/Kids [4 0 R 6 0 R 8 0 R ]\n/Count 3\n>>");
}

TEST(Document, ContentStreamsOf99BytesStayPlainAndOf100BytesAreDeflated) {
    for (std::size_t size : {99u, 100u}) {
        TPdfDocument document(fixedClock());
        document.addPage();
        document.pages()[0].contents->data() = std::string(size, '%');
        std::string body = objectBody(saveToString(document), 5);
        if (size == 99) {
            EXPECT_EQ(body, "<<\n/Length 99\n>>\nstream\n" + std::string(99, '%') + "\nendstream");
        } else {
            std::smatch m;
            ASSERT_TRUE(std::regex_search(body, m,
                                          std::regex("^<<\n/Length (\\d+)\n/Filter "
                                                     "\\[/FlateDecode \\]\n>>\nstream\n")));
            std::string data = m.suffix().str();
            data.resize(std::stoul(m[1]));
            std::string plain(200, '\0');
            uLongf plainSize = plain.size();
            ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(plain.data()), &plainSize,
                                 reinterpret_cast<const Bytef*>(data.data()), data.size()),
                      Z_OK);
            EXPECT_EQ(plain.substr(0, plainSize), std::string(100, '%'));
        }
    }
}

TEST(Document, CanvasWritesOperatorsOnePerLine) {
    TPdfDocument document(fixedClock());
    document.addPage();
    auto& canvas = document.canvas();
    canvas.saveState();
    canvas.setDash({{4, 1, 1, 1}, 0});
    canvas.setDash({});
    canvas.setLineWidth(0.75);
    canvas.setStrokeColor(0x0080FF);  // red 255, green 128, blue 0
    canvas.setFillColor(0x000000);
    canvas.moveTo(0.005, 12.5);
    canvas.lineTo(12, 12.34);
    canvas.rectangle(1, 2, 3, 4);
    canvas.fillStroke();
    canvas.concat(1, 0, 0, 1, 10, 20);
    canvas.restoreState();
    EXPECT_EQ(document.pages()[0].contents->data(),
              "q\n[4 1 1 1 ] 0 d\n[] 0 d\n0.75 w\n1 0.5 0 RG\n0 0 0 rg\n0 12.5 m\n12 12.34 l\n"
              "1 2 3 4 re\nB\n1 0 0 1 10 20 cm\nQ\n");
}

TEST(Document, EllipsesAndRoundedRectanglesAreBezierPaths) {
    TPdfDocument document(fixedClock());
    document.addPage();
    document.canvas().ellipse(0, 0, 200, 100);
    document.canvas().roundRect(0, 0, 100, 50, 10, 10);
    auto text = lines(document.pages()[0].contents->data());
    ASSERT_EQ(text.size(), 5u + 10u);
    EXPECT_EQ(text[0], "0 50 m");  // middle of the left side
    EXPECT_EQ(text[1], "0 77.61 44.77 100 100 100 c");
    EXPECT_EQ(text[4], "44.77 0 0 22.39 0 50 c");
    EXPECT_EQ(text[5], "10 0 m");
    EXPECT_EQ(text[14], "h");
}

TEST(Document, RefusedOperationsRaiseTheirErrors) {
    TPdfDocument document(fixedClock());
    std::ostringstream out;
    try {
        document.saveToStream(out);
        FAIL();
    } catch (const PdfInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "TPdfDocument.Document is null");
    }
    try {
        document.canvas().moveTo(1, 1);
        FAIL();
    } catch (const PdfInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "GetPage");
    }
    document.addPage();
    auto& font = document.font("Arial", false, false);
    EXPECT_NO_THROW(document.canvas().setFont(font, 300));
    try {
        document.canvas().setFont(font, 300.5);
        FAIL();
    } catch (const PdfInvalidValue& e) {
        EXPECT_STREQ(e.what(), "SetFontSize");
    }
}

TEST(Document, ADocumentWithoutPagesIsNotWritten) {
    TPdfDocument pageless(fixedClock());
    EXPECT_ANY_THROW(pageless.saveToString());
}

}  // namespace
}  // namespace zor::pdf
