// Times the PDF export of the one-page report (replay of the page image and writing of the
// file) and prints the median, the fastest run and the file size. Writes the page image as an
// EMF file too when asked, for the comparison with other programs (bench/pdf_bench.sh).
//
//     pdf_export_bench [runs] [output.pdf] [page.emf]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "pdf/pdf_export.h"
#include "pdf_report_page.h"

int main(int argc, char** argv) {
    using namespace zor;
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    std::filesystem::path target =
        argc > 2 ? argv[2] : std::filesystem::temp_directory_path() / "zor_pdf_export_bench.pdf";

    const auto page = bench::reportPage();
    if (argc > 3) bench::writeFile(argv[3], page);
    pdf::PdfDocumentInfo info{"ZOR-gebruiker",
                              "ZOR-afnameprogramma 1.0.2.1",
                              "ZOR-testrapport",
                              "ZOR-testrapport",
                              {2026, 12, 9}};
    auto clock = [] { return pdf::PdfDate{2026, 12, 9, 12, 0, 0}; };

    // One export first, so that font loading is not counted.
    pdf::exportPageImageAsPdf(page, info, {}, target, clock);

    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        pdf::exportPageImageAsPdf(page, info, {}, target, clock);
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("page image: %zu bytes\n", page.size());
    std::printf("PDF file:   %ju bytes\n", std::uintmax_t(std::filesystem::file_size(target)));
    std::printf("export:     median %.3f ms, fastest %.3f ms over %d runs (goal < 10 ms)\n",
                ms[ms.size() / 2], ms.front(), runs);
    return 0;
}
