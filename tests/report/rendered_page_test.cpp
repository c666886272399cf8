// The composed report page rendered through the PDF export and poppler at
// 100 dots per inch, compared pixel by pixel with the reference picture
// tests/data/report/report-page-100dpi.png. Set ZOR_WRITE_REPORT_REFERENCE=1 to
// write a new reference instead (and look at it before committing it).
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "report/report_documents.h"
#include "report_page_fixture.h"

namespace zor::report::testing {
namespace {

namespace fs = std::filesystem;

struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

GreyImage ReadPgm(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    GreyImage image;
    in >> magic >> image.width >> image.height >> maxValue;
    in.get();
    if (magic != "P5" || maxValue != 255) return {};
    image.pixels.resize(std::size_t(image.width) * image.height);
    in.read(reinterpret_cast<char*>(image.pixels.data()), std::streamsize(image.pixels.size()));
    return in ? image : GreyImage{};
}

GreyImage ReadGreyPng(const fs::path& file) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, file.c_str())) return {};
    png.format = PNG_FORMAT_GRAY;
    GreyImage image;
    image.width = int(png.width);
    image.height = int(png.height);
    image.pixels.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) return {};
    return image;
}

int RunCommand(const std::string& command) { return std::system(command.c_str()); }

TEST(RenderedReportPage, MatchesTheReferencePicture) {
    const fs::path work = fs::temp_directory_path() / ("zor-report-render-" + std::to_string(::getpid()));
    fs::create_directories(work);
    const fs::path pdfFile = work / "page.pdf";

    record::AdministrationRecord r = MakeRecord(50, 9, 208, 7);
    r.SGRscoreFV.SetCell(record::AdministrationRecord::kTimeColumn, 0, "212");
    const ReportPictures pictures =
        LoadReportPictures(fs::path(ZOR_SOURCE_DIR) / "assets" / "Graphics", ReportKind::Preview);
    pagestore::TPrintPreview store;
    BuildPreviewReport(store, r, record::Date{2010, 8, 15}, pictures);
    SaveAsPDF(store, pdfFile, ClockOfDate(record::Date{2011, 3, 5}));
    ASSERT_TRUE(fs::exists(pdfFile));

    const fs::path reference = fs::path(ZOR_TEST_DATA_DIR) / "report" / "report-page-100dpi.png";
    const std::string quotedPdf = "'" + pdfFile.string() + "'";
    if (std::getenv("ZOR_WRITE_REPORT_REFERENCE")) {
        ASSERT_EQ(RunCommand("pdftoppm -r 100 -gray -png -singlefile " + quotedPdf + " '" +
                      (work / "reference").string() + "'"), 0);
        fs::copy_file(work / "reference.png", reference, fs::copy_options::overwrite_existing);
        fs::remove_all(work);
        GTEST_SKIP() << "reference written to " << reference;
    }

    ASSERT_EQ(RunCommand("pdftoppm -r 100 -gray -singlefile " + quotedPdf + " '" +
                  (work / "fresh").string() + "'"), 0);
    const GreyImage fresh = ReadPgm(work / "fresh.pgm");
    const GreyImage expected = ReadGreyPng(reference);
    fs::remove_all(work);
    ASSERT_FALSE(expected.pixels.empty()) << reference;
    ASSERT_EQ(fresh.width, expected.width);
    ASSERT_EQ(fresh.height, expected.height);

    // Anti-aliasing may differ by a few levels between poppler builds; a moved
    // or missing line of text changes thousands of pixels by far more.
    std::size_t differing = 0;
    double total = 0;
    for (std::size_t i = 0; i < fresh.pixels.size(); ++i) {
        const int difference = std::abs(int(fresh.pixels[i]) - int(expected.pixels[i]));
        total += difference;
        if (difference > 48) ++differing;
    }
    EXPECT_LT(double(differing) / double(fresh.pixels.size()), 0.001);
    EXPECT_LT(total / double(fresh.pixels.size()), 0.5);
}

}  // namespace
}  // namespace zor::report::testing
