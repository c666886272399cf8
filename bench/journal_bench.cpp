// The work after every mark: the journal keeper builds the administration's
// state as of the mark and replaces the journal file (written, flushed to the
// disk, renamed, folder flushed). Prints the distribution of that time.
// Usage: journal_bench DATA_FOLDER [runs]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "record/administration_record.h"
#include "record/recovery_journal.h"
#include "sample_record.h"

using namespace zor::record;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DATA_FOLDER [runs]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const int runs = argc > 2 ? std::atoi(argv[2]) : 2000;
    // The deletion test under way, as the entry screen starts it.
    AdministrationRecord record = testing::SubjectOnly();
    record.AfnameStatus = 2;
    record.SubjectValid = true;
    record.AppendDataLines();
    JournalKeeper keeper;
    std::vector<double> ms;
    ms.reserve(static_cast<std::size_t>(runs));
    for (int run = 0; run < runs; ++run) {
        // One more step timed and marked, cycling through the 15 deletion steps.
        testing::GiveResults(record, Subtest::FW, run % 15 + 1, 10 + run % 50);
        const auto start = std::chrono::steady_clock::now();
        const auto notice = keeper.Update(record, folder, true, std::chrono::system_clock::now());
        const auto end = std::chrono::steady_clock::now();
        if (notice) {
            std::fprintf(stderr, "%s\n", notice->c_str());
            return 1;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[static_cast<std::size_t>(q * (ms.size() - 1))]; };
    std::printf("journal write after a mark, %d runs in %s: median %.3f ms, p90 %.3f ms, "
                "p99 %.3f ms, max %.3f ms\n",
                runs, folder.c_str(), at(0.5), at(0.9), at(0.99), ms.back());
    return at(0.99) < 5.0 ? 0 : 1;
}
