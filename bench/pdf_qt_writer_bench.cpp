// Times the rendering of a page image into a PDF file through Qt's own PDF writer
// (QPdfWriter with the program's EMF player), the way the page could be exported
// without the program's PDF writer. Prints the medians, the fastest run and the size.
//
//     pdf_qt_writer_bench runs page.emf output.pdf

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "pagestore/qt/emf_player.h"
#include "pdf_timing.h"

namespace {

void writePdf(const std::vector<std::uint8_t>& page, const QString& file) {
    QPdfWriter writer(file);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setResolution(1200);
    writer.setTitle(QStringLiteral("ZOR-testrapport"));
    writer.setCreator(QStringLiteral("ZOR-afnameprogramma 1.0.2.1"));
    QPainter painter(&writer);
    const QRect sheet = writer.pageLayout().fullRectPixels(writer.resolution());
    zor::pagestore::qt::playEmf(painter, page, QRectF(sheet));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: pdf_qt_writer_bench runs page.emf output.pdf\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const int runs = std::max(1, std::atoi(argv[1]));
    std::ifstream in(argv[2], std::ios::binary);
    const std::vector<std::uint8_t> page{std::istreambuf_iterator<char>(in), {}};
    const QString target = QString::fromLocal8Bit(argv[3]);

    writePdf(page, target);  // fonts loaded before timing
    zor::bench::timeRuns("Qt writer:", runs, [&] { writePdf(page, target); });
    std::printf("PDF file:   %ju bytes\n", std::uintmax_t(std::filesystem::file_size(argv[3])));
    return 0;
}
