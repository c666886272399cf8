// Times the PDF export of the one-page report (replay of the page image and writing of the
// file) and prints the medians, the fastest run and the file size (goal: under 10 ms). Writes
// the page image as an EMF file too when asked, for the comparison with other programs
// (bench/pdf_bench.sh).
//
//     pdf_export_bench [runs] [output.pdf] [page.emf]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "pdf/pdf_export.h"
#include "pdf_report_page.h"
#include "pdf_timing.h"

int main(int argc, char** argv) {
    using namespace zor;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const std::filesystem::path target =
        argc > 2 ? argv[2] : std::filesystem::temp_directory_path() / "zor_pdf_export_bench.pdf";

    const auto page = bench::reportPage();
    if (argc > 3) bench::writeFile(argv[3], page);
    const pdf::PdfDocumentInfo info{"ZOR-gebruiker",
                                    "ZOR-afnameprogramma 1.0.2.1",
                                    "ZOR-testrapport",
                                    "ZOR-testrapport",
                                    {2026, 12, 9}};
    const auto clock = [] { return pdf::PdfDate{2026, 12, 9, 12, 0, 0}; };
    const auto exportPage = [&] { pdf::exportPageImageAsPdf(page, info, {}, target, clock); };

    exportPage();  // fonts loaded before timing
    std::printf("page image: %zu bytes\n", page.size());
    bench::timeRuns("own export:", runs, exportPage);
    std::printf("PDF file:   %ju bytes\n", std::uintmax_t(std::filesystem::file_size(target)));
    return 0;
}
