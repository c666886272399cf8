#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "emf/reader.h"
#include "pagestore/errors.h"
#include "pagestore/print_preview.h"
#include "sample_pages.h"

namespace zor::pagestore {
namespace {

template <typename T>
std::vector<T> recordsOf(const std::vector<std::uint8_t>& page) {
    std::vector<T> out;
    emf::Reader reader(page);
    while (const auto r = reader.next()) {
        if (auto* t = std::get_if<T>(&*r)) out.push_back(*t);
    }
    return out;
}

TEST(Composing, EveryDocumentHasOnePageMoreThanItsNewPageCalls) {
    TPrintPreview store;
    store.BeginDoc();
    store.EndDoc();
    EXPECT_EQ(store.TotalPages(), 1);
    store.BeginDoc();
    store.NewPage();
    store.NewPage();
    store.EndDoc();
    EXPECT_EQ(store.TotalPages(), 3);
    EXPECT_EQ(store.State(), TPreviewState::Idle);
}

TEST(Composing, EventsFireInOrder) {
    TPrintPreview store;
    std::string log;
    store.OnBeginDoc = [&](TPrintPreview& s) { log += "B" + std::to_string(s.TotalPages()); };
    store.OnNewPage = [&](TPrintPreview&) { log += "N"; };
    store.OnEndPage = [&](TPrintPreview&) { log += "E"; };
    store.OnEndDoc = [&](TPrintPreview& s) { log += "D" + std::to_string(s.TotalPages()); };
    store.OnChange = [&](TPrintPreview&) { log += "c"; };
    store.BeginDoc();
    store.NewPage();
    store.EndDoc();
    EXPECT_EQ(log, "cB0NEcNEcD2");
}

TEST(Composing, BeginDocIsIgnoredWhileComposingAndCanvasOnlyExistsThen) {
    TPrintPreview store;
    EXPECT_EQ(store.Canvas(), nullptr);
    store.BeginDoc();
    ASSERT_NE(store.Canvas(), nullptr);
    store.Canvas()->textOut(100, 100, "eerste");
    store.BeginDoc();  // ignored: the open page stays
    store.EndDoc();
    EXPECT_EQ(store.Canvas(), nullptr);
    EXPECT_EQ(store.TotalPages(), 1);
    EXPECT_EQ(recordsOf<emf::ExtTextOutW>(*store.GetPage(1)).size(), 1u);
    store.NewPage();  // outside a document: nothing
    EXPECT_EQ(store.TotalPages(), 1);
}

TEST(Composing, AbortDropsTheDocument) {
    TPrintPreview store;
    store.BeginDoc();
    store.EndDoc();
    int aborts = 0;
    store.OnAbort = [&](TPrintPreview& s) {
        ++aborts;
        EXPECT_EQ(s.TotalPages(), 0);
    };
    store.Abort();  // idle: ignored
    EXPECT_EQ(aborts, 0);
    store.BeginDoc();
    store.NewPage();
    store.Abort();
    store.Abort();
    EXPECT_EQ(aborts, 1);
    EXPECT_EQ(store.TotalPages(), 0);
    EXPECT_EQ(store.State(), TPreviewState::Idle);
    EXPECT_EQ(store.Canvas(), nullptr);
    EXPECT_TRUE(store.Aborted());
    store.BeginDoc();
    EXPECT_FALSE(store.Aborted());
    store.EndDoc();
}

TEST(Composing, PageImageMapsPaperUnitsOntoScreenPixels) {
    TPrintPreview store;
    store.BeginDoc();
    const emf::Font font = store.Canvas()->font();
    EXPECT_EQ(font.pixelsPerInch, 2539);  // 96 × 29700 / 1123
    EXPECT_EQ(font.size(), 8);
    store.EndDoc();
    const auto& page = *store.GetPage(1);
    const emf::Reader reader(page);
    EXPECT_EQ(reader.header().frame, (emf::Rect{0, 0, 21008, 29713}));
    EXPECT_EQ(recordsOf<emf::SetMapMode>(page).at(0).mode, emf::map_mode::Anisotropic);
    EXPECT_EQ(recordsOf<emf::SetWindowExtEx>(page).at(0).extent, (emf::Size{21000, 29700}));
    EXPECT_EQ(recordsOf<emf::SetViewportExtEx>(page).at(0).extent, (emf::Size{794, 1123}));
    EXPECT_EQ(recordsOf<emf::SetViewportOrgEx>(page).at(0).origin, (emf::Point{0, 0}));
}

TEST(Composing, ChangingUnitsOnAnOpenPageSetsItUpAgain) {
    TPrintPreview store;
    store.BeginDoc();
    store.Canvas()->setPen(emf::Pen{0, 30, emf::pen_style::Solid});
    store.SetUnits(mmLoMetric);
    EXPECT_EQ(store.Canvas()->pen().width, 3);
    store.Canvas()->lineTo(2100, 2970);
    store.EndDoc();
    const auto extents = recordsOf<emf::SetWindowExtEx>(*store.GetPage(1));
    ASSERT_EQ(extents.size(), 2u);
    EXPECT_EQ(extents[1].extent, (emf::Size{2100, 2970}));
}

TEST(PaintGraphic, ShrinkOnlyKeepsAFittingPictureAtItsNaturalSize) {
    TPrintPreview store;
    store.BeginDoc();
    const emf::Bitmap small{96, 48, std::vector<std::uint8_t>(96 * 48 * 3, 0)};  // 1 × 0.5 inch
    EXPECT_EQ(store.PaintGraphic({1000, 1000, 9000, 9000}, small, false, true, true),
              (emf::Rect{1000, 1000, 3540, 2270}));
    EXPECT_EQ(store.PaintGraphic({1000, 1000, 9000, 9000}, small, true, true, true),
              (emf::Rect{3730, 4365, 6270, 5635}));
    store.EndDoc();
    EXPECT_EQ(recordsOf<emf::StretchDIBits>(*store.GetPage(1)).size(), 2u);
}

TEST(PaintGraphic, LargePicturesShrinkToTheBox) {
    TPrintPreview store;
    store.BeginDoc();
    const emf::Bitmap logo{1200, 720, std::vector<std::uint8_t>(1200 * 720 * 3, 0)};
    // Stretched exactly when the aspect ratio need not be kept.
    EXPECT_EQ(store.PaintGraphic({1300, 1600, 7300, 5400}, logo, false, true, false),
              (emf::Rect{1300, 1600, 7300, 5400}));
    // The box is relatively taller than the picture: the width fills it.
    EXPECT_EQ(store.PaintGraphic({0, 0, 6000, 6000}, logo, false, true, true),
              (emf::Rect{0, 0, 6000, 3600}));
    // The box is relatively wider: the height fills it, centred horizontally.
    EXPECT_EQ(store.PaintGraphic({0, 0, 9000, 3000}, logo, true, true, true),
              (emf::Rect{2000, 0, 7000, 3000}));
    // Without shrink-only even a small picture fills the box.
    const emf::Bitmap tiny{2, 2, std::vector<std::uint8_t>(12, 0)};
    EXPECT_EQ(store.PaintGraphic({0, 0, 4000, 1000}, tiny, false, false, false),
              (emf::Rect{0, 0, 4000, 1000}));
    store.EndDoc();
}

TEST(Pages, GetPageOutOfRangeGivesNothing) {
    TPrintPreview store;
    EXPECT_EQ(store.GetPage(1), nullptr);
    store.BeginDoc();
    store.NewPage();
    store.EndDoc();
    EXPECT_EQ(store.GetPage(0), nullptr);
    EXPECT_EQ(store.GetPage(3), nullptr);
    EXPECT_EQ(store.GetPage(-1), nullptr);
    EXPECT_NE(store.GetPage(2), nullptr);
}

TEST(Pages, CurrentPageIsClampedToThePages) {
    TPrintPreview store;
    store.SetCurrentPage(5);
    EXPECT_EQ(store.CurrentPage(), 0);
    store.BeginDoc();
    EXPECT_EQ(store.CurrentPage(), 0);
    store.NewPage();
    EXPECT_EQ(store.CurrentPage(), 1);  // the first page arrived
    store.NewPage();
    store.EndDoc();
    EXPECT_EQ(store.CurrentPage(), 1);
    int changes = 0;
    store.OnChange = [&](TPrintPreview&) { ++changes; };
    store.SetCurrentPage(0);
    EXPECT_EQ(store.CurrentPage(), 1);
    store.SetCurrentPage(99);
    EXPECT_EQ(store.CurrentPage(), 3);
    store.SetCurrentPage(2);
    EXPECT_EQ(store.CurrentPage(), 2);
    EXPECT_EQ(changes, 2);
    store.Clear();
    EXPECT_EQ(store.CurrentPage(), 0);
}

std::vector<std::uint8_t> pageWithText(const std::string& text) {
    TPrintPreview store;
    store.BeginDoc();
    store.Canvas()->textOut(0, 0, text);
    store.EndDoc();
    return *store.GetPage(1);
}

TEST(Pages, RewritingAPageMovesThePagesAfterIt) {
    TPrintPreview store;
    store.BeginDoc();
    for (int i = 1; i <= 3; ++i) {
        testing::drawSamplePage(store, "pagina " + std::to_string(i));
        if (i < 3) store.NewPage();
    }
    store.EndDoc();
    const auto page3 = *store.GetPage(3);
    const auto page1 = *store.GetPage(1);
    int rewritten = 0;
    store.OnChange = [&](TPrintPreview&) { ++rewritten; };

    const auto longer = pageWithText(std::string(500, 'x'));
    store.UpdatePage(2, longer);
    EXPECT_EQ(*store.GetPage(2), longer);
    EXPECT_EQ(*store.GetPage(3), page3);
    EXPECT_EQ(*store.GetPage(1), page1);
    const auto shorter = pageWithText("y");
    store.UpdatePage(2, shorter);
    EXPECT_EQ(*store.GetPage(2), shorter);
    EXPECT_EQ(*store.GetPage(3), page3);
    store.UpdatePage(3, shorter);  // the last page: the data shrinks with it
    EXPECT_EQ(*store.GetPage(3), shorter);
    EXPECT_EQ(store.Pages().DataSize(), page1.size() + 2 * shorter.size());
    EXPECT_EQ(rewritten, 3);
}

TEST(Pages, TemporaryFileIsMadeAndDeletedWithThePages) {
    TPrintPreview store;
    store.SetUseTempFile(true);
    EXPECT_FALSE(store.TempFileName());  // nothing until the first page
    store.BeginDoc();
    testing::drawSamplePage(store, "tijdelijk");
    store.EndDoc();
    const auto file = store.TempFileName();
    ASSERT_TRUE(file);
    EXPECT_EQ(file->filename().string().substr(0, 2), "PP");
    EXPECT_TRUE(std::filesystem::exists(*file));
    EXPECT_EQ(std::filesystem::file_size(*file), store.Pages().DataSize());
    const auto page = *store.GetPage(1);
    store.SetUseTempFile(false);  // back to memory: the file goes, the pages stay
    EXPECT_FALSE(std::filesystem::exists(*file));
    EXPECT_EQ(*store.GetPage(1), page);
    store.SetUseTempFile(true);
    const auto second = store.TempFileName();
    ASSERT_TRUE(second);
    EXPECT_EQ(*store.GetPage(1), page);
    store.Clear();
    EXPECT_FALSE(std::filesystem::exists(*second));
    EXPECT_FALSE(store.TempFileName());
}

TEST(Pages, EveryComposedPageIsAcceptedByAnIndependentReader) {
    TPrintPreview store;
    store.BeginDoc();
    testing::drawSamplePage(store, "Code / Naam");
    store.NewPage();
    store.NewPage();
    store.EndDoc();
    const auto dir = std::filesystem::temp_directory_path() / "zor_pagestore_emf2svg";
    std::filesystem::create_directories(dir);
    for (int p = 1; p <= store.TotalPages(); ++p) {
        const auto emf = dir / ("page" + std::to_string(p) + ".emf");
        const auto svg = dir / ("page" + std::to_string(p) + ".svg");
        const auto& bytes = *store.GetPage(p);
        std::ofstream(emf, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        std::filesystem::remove(svg);
        const std::string command =
            "emf2svg-conv -i '" + emf.string() + "' -o '" + svg.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        std::ifstream in(svg);
        const std::string text(std::istreambuf_iterator<char>(in), {});
        EXPECT_NE(text.find("<svg"), std::string::npos);
        if (p == 1) {
            EXPECT_NE(text.find("TESTRAPPORT"), std::string::npos);
            EXPECT_NE(text.find("Code / Naam"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace zor::pagestore
