// Times the report preview's work from the finish screen's report button to
// both files stored: composing the report page, saving the report file and
// exporting its PDF. Prints the median and fastest run, with the report's
// pictures already read (the screen keeps them), and once the first run that
// also reads them.
//
//     report_bench [runs] [program folder with Graphics/] [output folder]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "pagestore/print_preview.h"
#include "report/report_documents.h"
#include "report_page_fixture.h"

namespace {

using namespace zor;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    const fs::path program = argc > 2 ? fs::path(argv[2]) : fs::current_path();
    const fs::path out = argc > 3 ? fs::path(argv[3]) : fs::temp_directory_path() / "zor-report-bench";
    fs::create_directories(out / "PDF");
    const record::Date today{2011, 3, 5};
    const report::ReportFileNames names =
        report::ReportFileNamesFor(out, "K123", "05-03-2011");

    const auto coldStart = Clock::now();
    const report::ReportPictures pictures =
        report::LoadReportPictures(program / "Graphics", report::ReportKind::Preview);
    {
        pagestore::TPrintPreview store;
        record::AdministrationRecord r = report::testing::MakeRecord(50, 9, 208, 7);
        report::BuildPreviewReport(store, r, today, pictures);
        report::StoreReport(store, names, report::ClockOfDate(today));
    }
    const double cold = Milliseconds(Clock::now() - coldStart);

    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        pagestore::TPrintPreview store;
        record::AdministrationRecord r = report::testing::MakeRecord(50, 9, 208, 7);
        report::BuildPreviewReport(store, r, today, pictures);
        report::StoreReport(store, names, report::ClockOfDate(today));
        times.push_back(Milliseconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    std::printf("report button to both files stored (%d runs): median %.2f ms, fastest %.2f ms\n",
                runs, times[times.size() / 2], times.front());
    std::printf("first report, pictures read as well: %.2f ms\n", cold);
    std::printf("report file %ju bytes, PDF %ju bytes\n",
                std::uintmax_t(fs::file_size(fs::path(out) / "K123 - 05-03-2011.zrp")),
                std::uintmax_t(fs::file_size(out / "PDF" / "ZOR - K123_05-03-2011.pdf")));
    return 0;
}
