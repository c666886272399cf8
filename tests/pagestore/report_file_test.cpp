#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <fstream>

#include <sys/stat.h>

#include "emf/reader.h"
#include "files/write_error.h"
#include "pagestore/errors.h"
#include "pagestore/print_preview.h"
#include "pagestore/stream_io.h"
#include "sample_pages.h"

namespace zor::pagestore {
namespace {

namespace fs = std::filesystem;

void compose(TPrintPreview& store, int pages) {
    store.BeginDoc();
    for (int i = 1; i <= pages; ++i) {
        testing::drawSamplePage(store, "pagina " + std::to_string(i));
        if (i < pages) store.NewPage();
    }
    store.EndDoc();
}

std::string saved(const TPrintPreview& store) {
    std::ostringstream out;
    store.SaveToStream(out);
    return out.str();
}

std::string le(std::initializer_list<std::uint32_t> values) {
    std::ostringstream out;
    for (auto v : values) writeU32(out, v);
    return out.str();
}

std::vector<std::vector<std::uint8_t>> allPages(TPrintPreview& store) {
    std::vector<std::vector<std::uint8_t>> pages;
    for (int p = 1; p <= store.TotalPages(); ++p) pages.push_back(*store.GetPage(p));
    return pages;
}

void load(TPrintPreview& store, const std::string& bytes) {
    std::istringstream in(bytes);
    store.LoadFromStream(in);
}

fs::path tempFile(const std::string& name) {
    const auto dir = fs::temp_directory_path() / "zor_report_file_test";
    fs::create_directories(dir);
    return dir / name;
}

TEST(ReportFile, OnePageA4StartsWithTheKnownBytes) {
    TPrintPreview store;
    compose(store, 1);
    const std::string bytes = saved(store);
    const unsigned char expected[32] = {0x08, 0x02, 0x49, 0x13, 0x00, 0x00, 0x00, 0x00,
                                        0x08, 0x00, 0x00, 0x00, 0x08, 0x52, 0x00, 0x00,
                                        0x04, 0x74, 0x00, 0x00, 0x4B, 0x2D, 0x50, 0x50,
                                        0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    ASSERT_GT(bytes.size(), 32u);
    EXPECT_EQ(bytes.substr(0, 32), std::string(reinterpret_cast<const char*>(expected), 32));
    // The page's picture follows at byte 32 and runs to the end.
    const auto& page = *store.GetPage(1);
    EXPECT_EQ(bytes.substr(32), std::string(page.begin(), page.end()));
}

TEST(ReportFile, EmptyStoreWritesTwentyEightBytesAndLoadsBackEmpty) {
    TPrintPreview store;
    const std::string bytes = saved(store);
    EXPECT_EQ(bytes.size(), 28u);
    EXPECT_EQ(bytes.substr(20), le({0x50502D4B, 0}));
    TPrintPreview other;
    compose(other, 2);
    load(other, bytes);
    EXPECT_EQ(other.TotalPages(), 0);
    EXPECT_EQ(other.CurrentPage(), 0);
}

TEST(ReportFile, FileRoundTripKeepsPagesAndPaper) {
    TPrintPreview store;
    store.SetPaperType(pA5);
    store.SetOrientation(poLandscape);
    compose(store, 3);
    const fs::path file = tempFile("round_trip.zrp");
    store.SaveToFile(file);

    TPrintPreview loaded;
    int changes = 0;
    loaded.OnChange = [&](TPrintPreview&) { ++changes; };
    loaded.LoadFromFile(file);
    EXPECT_EQ(loaded.TotalPages(), 3);
    EXPECT_EQ(loaded.CurrentPage(), 1);
    EXPECT_GE(changes, 1);
    EXPECT_EQ(allPages(loaded), allPages(store));
    EXPECT_EQ(loaded.PaperType(), pA5);
    EXPECT_EQ(loaded.Orientation(), poLandscape);
    EXPECT_EQ(loaded.PaperWidth(), 21000);
    EXPECT_EQ(loaded.PaperHeight(), 14800);
    EXPECT_EQ(loaded.PaperSizeInPixels(), store.PaperSizeInPixels());
    // Saving the loaded store writes the same file again.
    EXPECT_EQ(saved(loaded), saved(store));
}

TEST(ReportFile, PaperSizeIsStoredInHundredthsOfAMillimetreWhateverTheUnits) {
    TPrintPreview store;
    store.SetUnits(mmHiEnglish);
    store.SetPaperSize(8000, 10000);  // custom, in 0.001 inch
    compose(store, 1);
    const std::string bytes = saved(store);
    EXPECT_EQ(bytes.substr(8, 12), le({pCustom, 20320, 25400}));
    TPrintPreview loaded;
    loaded.SetUnits(mmLoEnglish);
    load(loaded, bytes);
    EXPECT_EQ(loaded.PaperType(), pCustom);
    EXPECT_EQ(loaded.PaperWidth(), 800);
    EXPECT_EQ(loaded.PaperHeight(), 1000);
}

TEST(ReportFile, PageListWithoutPaperHeaderKeepsThePaper) {
    TPrintPreview source;
    compose(source, 2);
    const std::string list = saved(source).substr(20);
    TPrintPreview store;
    store.SetPaperType(pLetter);
    load(store, list);
    EXPECT_EQ(store.TotalPages(), 2);
    EXPECT_EQ(store.PaperType(), pLetter);
    EXPECT_EQ(store.PaperWidth(), 21590);
    EXPECT_EQ(allPages(store), allPages(source));
}

TEST(ReportFile, OtherDataFailsAndLeavesThePagesAsTheyWere) {
    TPrintPreview store;
    compose(store, 2);
    const auto before = allPages(store);
    for (const std::string& bad :
         {std::string("PK\x03\x04 not a report"), std::string("ab"), std::string(),
          le({0x13490208, 0, 8, 21000, 29700, 0x12345678})}) {
        try {
            load(store, bad);
            ADD_FAILURE() << "loaded " << bad.size() << " bytes of other data";
        } catch (const EInvalidPreviewData& e) {
            EXPECT_STREQ(e.what(), "De inhoud is geen ZOR-rapport.");
        }
        EXPECT_EQ(allPages(store), before);
        EXPECT_EQ(store.CurrentPage(), 1);
    }
}

TEST(ReportFile, UnreadableFilesFailInDutchWithTheFileAndReasonWithoutReading) {
    TPrintPreview store;
    compose(store, 1);
    const auto before = allPages(store);
    const auto refusal = [&](const fs::path& file) {
        try {
            store.LoadFromFile(file);
        } catch (const EReportFileError& e) {
            EXPECT_EQ(e.file(), file);
            return std::string(e.what());
        }
        return std::string("loaded");
    };
    const fs::path missing = tempFile("does_not_exist.zrp");
    EXPECT_EQ(refusal(missing),
              "Kan rapportbestand \"" + missing.string() + "\" niet openen. Het bestand bestaat niet.");

    // A pipe under a report's name would block a reader that opens it before looking.
    const fs::path pipe = tempFile("pipe.zrp");
    fs::remove(pipe);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_NE(refusal(pipe).find("geen gewoon bestand"), std::string::npos);
    fs::remove(pipe);

    // One byte over the limit is refused by its size alone (a sparse file: nothing is read).
    const fs::path huge = tempFile("huge.zrp");
    { std::ofstream(huge, std::ios::binary) << le({0x50502D4B, 0}); }
    fs::resize_file(huge, std::uintmax_t(MaxReportFileSize) + 1);
    EXPECT_NE(refusal(huge).find("te groot"), std::string::npos);
    fs::remove(huge);
    EXPECT_EQ(allPages(store), before);

    try {
        store.SaveToFile(tempFile("no_such_folder") / "x.zrp");
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const files::WriteError& e) {
        EXPECT_NE(std::string(e.what()).find("no_such_folder/x.zrp\" niet opslaan. De map bestaat niet."),
                  std::string::npos)
            << e.what();
    }
}

// --- Hostile report files ---------------------------------------------------------

class HostileReport : public ::testing::Test {
  protected:
    void SetUp() override {
        compose(original, 2);
        good = saved(original);
        compose(store, 1);
        before = allPages(store);
    }
    // Loading fails with a message and leaves the loaded store's pages alone.
    void expectRefused(const std::string& bytes) {
        try {
            load(store, bytes);
            ADD_FAILURE() << "accepted hostile data";
        } catch (const EInvalidPreviewData& e) {
            EXPECT_FALSE(std::string(e.what()).empty());
        }
        EXPECT_EQ(allPages(store), before);
    }
    TPrintPreview original;
    TPrintPreview store;
    std::string good;
    std::vector<std::vector<std::uint8_t>> before;
};

TEST_F(HostileReport, TruncatedHeaderAndPageList) {
    for (std::size_t cut : {3u, 10u, 19u, 22u, 26u, 30u}) expectRefused(good.substr(0, cut));
}

TEST_F(HostileReport, NegativeAndHugePageCounts) {
    expectRefused(le({0x50502D4B, 0xFFFFFFFF}));
    expectRefused(le({0x50502D4B, 0x80000000}));
    // Two billion pages announced, a few bytes delivered: refused without
    // reserving room for the announced count.
    expectRefused(le({0x50502D4B, 0x7FFFFFFF, 0, 0}));
}

TEST_F(HostileReport, ImpossiblePaperHeaderValues) {
    expectRefused(le({0x13490208, 7, 8, 21000, 29700}) + good.substr(20));
    expectRefused(le({0x13490208, 0, 200, 21000, 29700}) + good.substr(20));
    // Sizes outside the paper range are forced into it.
    load(store, le({0x13490208, 0, pCustom, 0xFFFFFFFF, 99999999}) + good.substr(20));
    EXPECT_EQ(store.PaperWidth(), 1);
    EXPECT_EQ(store.PaperHeight(), 32767);
}

TEST_F(HostileReport, BadOffsetFailsOnlyForItsPage) {
    std::string bytes = good;
    // Page 2's offset points beyond the data, page 1 stays good.
    bytes.replace(32, 4, le({0x7FFFFFF0}));
    load(store, bytes);
    EXPECT_EQ(store.TotalPages(), 2);
    EXPECT_EQ(*store.GetPage(1), *original.GetPage(1));
    EXPECT_THROW(store.GetPage(2), EInvalidPreviewData);
    EXPECT_EQ(*store.GetPage(1), *original.GetPage(1));

    bytes = good;
    bytes.replace(28, 4, le({0xFFFFFFFC}));  // negative offset for page 1
    load(store, bytes);
    EXPECT_THROW(store.GetPage(1), EInvalidPreviewData);
    EXPECT_EQ(*store.GetPage(2), *original.GetPage(2));

    bytes = good;
    bytes.replace(32, 4, le({8}));  // into the middle of page 1
    load(store, bytes);
    EXPECT_THROW(store.GetPage(2), EInvalidPreviewData);
    EXPECT_NO_THROW(store.GetPage(1));
}

TEST_F(HostileReport, DamagedPageDataFailsForThatPage) {
    std::string bytes = good;
    const std::size_t page2 = 36 + original.GetPage(1)->size();  // the pages lie back to back
    bytes.replace(page2 + 48, 4, le({0x7FFFFFFF}));  // page 2 claims two gigabytes
    load(store, bytes);
    EXPECT_THROW(store.GetPage(2), EInvalidPreviewData);
    EXPECT_NO_THROW(store.GetPage(1));

    bytes = good;
    bytes.resize(bytes.size() - 10);  // the last page is cut short
    load(store, bytes);
    EXPECT_THROW(store.GetPage(2), EInvalidPreviewData);
    EXPECT_NO_THROW(store.GetPage(1));

    bytes = good;
    bytes.replace(page2 + 108 + 4, 4, le({0}));  // a record of size 0 inside page 2
    load(store, bytes);
    EXPECT_THROW(store.GetPage(2), EInvalidPreviewData);
}

}  // namespace
}  // namespace zor::pagestore

namespace zor::pagestore {
namespace {

// A report file this store wrote earlier: a report page and two empty pages.
TEST(ReportFile, LoadsAStoredReportFile) {
    TPrintPreview store;
    store.LoadFromFile(ZOR_TEST_DATA_DIR "/pagestore/report-3-pages.zrp");
    EXPECT_EQ(store.TotalPages(), 3);
    EXPECT_EQ(store.PaperType(), pA4);
    EXPECT_EQ(store.PaperWidth(), 21000);
    bool title = false;
    emf::Reader first(*store.GetPage(1));
    while (const auto r = first.next()) {
        if (auto* t = std::get_if<emf::ExtTextOutW>(&*r)) title |= t->text == u"TESTRAPPORT";
    }
    EXPECT_TRUE(title);
    for (int p = 2; p <= 3; ++p) {
        int drawing = 0;
        emf::Reader reader(*store.GetPage(p));
        while (const auto r = reader.next()) {
            drawing += std::holds_alternative<emf::ExtTextOutW>(*r) ||
                       std::holds_alternative<emf::RectangleRecord>(*r);
        }
        EXPECT_EQ(drawing, 0) << "page " << p;
    }
}

}  // namespace
}  // namespace zor::pagestore
