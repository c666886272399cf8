// Benchmark of the page store: composing, saving and loading report files of 1,
// 100 and 10,000 pages (time and peak memory, each case in its own process so
// that peaks do not mix), and memory while browsing the pages of a large report.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "../tests/pagestore/sample_pages.h"
#include "pagestore/print_preview.h"

using namespace zor::pagestore;
namespace fs = std::filesystem;

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long peakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long residentKb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void compose(TPrintPreview& store, int pages) {
    store.BeginDoc();
    for (int i = 1; i <= pages; ++i) {
        testing::drawSamplePage(store, "pagina " + std::to_string(i));
        if (i < pages) store.NewPage();
    }
    store.EndDoc();
}

// Runs body in a child process and waits for it, so its peak memory is its own.
template <typename Body>
void isolated(Body body) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        body();
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

void saveCase(int pages, const fs::path& file) {
    isolated([&] {
        TPrintPreview warmUp;  // fonts loaded before the baseline
        compose(warmUp, 1);
        const long base = peakKb();
        TPrintPreview store;
        auto start = std::chrono::steady_clock::now();
        compose(store, pages);
        const double composeTime = seconds(start);
        start = std::chrono::steady_clock::now();
        store.SaveToFile(file);
        const double saveTime = seconds(start);
        std::printf(
            "%6d pages  compose %8.3f s (%5.1f us/page)  save %8.4f s (%5.1f us/page)  file %9ju "
            "bytes  peak +%7ld KiB\n",
            pages, composeTime, composeTime * 1e6 / pages, saveTime, saveTime * 1e6 / pages,
            std::uintmax_t(fs::file_size(file)), peakKb() - base);
    });
}

void loadCase(int pages, const fs::path& file, bool useTempFile) {
    isolated([&] {
        TPrintPreview store;
        store.SetUseTempFile(useTempFile);
        const long base = peakKb();
        const auto start = std::chrono::steady_clock::now();
        store.LoadFromFile(file);
        const double loadTime = seconds(start);
        std::printf("%6d pages  load%s %8.4f s (%5.1f us/page)  peak +%7ld KiB\n", pages,
                    useTempFile ? " (temp file)" : "            ", loadTime, loadTime * 1e6 / pages,
                    peakKb() - base);
    });
}

void browseCase(const fs::path& file, bool useTempFile) {
    isolated([&] {
        TPrintPreview store;
        store.SetUseTempFile(useTempFile);
        store.LoadFromFile(file);
        const int total = store.TotalPages();
        const long loaded = residentKb();
        std::printf("browse %d pages%s: resident after load %ld KiB\n", total,
                    useTempFile ? " (temp file)" : "", loaded);
        const auto start = std::chrono::steady_clock::now();
        for (int p = 1; p <= total; ++p) {
            store.SetCurrentPage(p);
            store.GetPage(p);
            if (p == 1 || p == total / 2 || p == total)
                std::printf("  at page %5d: resident %ld KiB (+%ld)\n", p, residentKb(),
                            residentKb() - loaded);
        }
        std::printf("  %d page fetches in %.3f s\n", total, seconds(start));
    });
}

}  // namespace

int main() {
    const fs::path dir = fs::temp_directory_path() / "zor_pagestore_bench";
    fs::create_directories(dir);
    for (int pages : {1, 100, 1000, 10000}) {
        const fs::path file = dir / ("report_" + std::to_string(pages) + ".zrp");
        saveCase(pages, file);
        loadCase(pages, file, false);
        loadCase(pages, file, true);
    }
    browseCase(dir / "report_10000.zrp", false);
    browseCase(dir / "report_10000.zrp", true);
    fs::remove_all(dir);
    return 0;
}
