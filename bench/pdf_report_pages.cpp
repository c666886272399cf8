// Writes report pages as EMF files into a folder: the seeds of the replay fuzzer
// (bench/pdf_replay_fuzz.sh), with scores from none right to all right.
//
//     pdf_report_pages folder

#include <cstdio>
#include <filesystem>
#include <string>

#include "pdf_report_page.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: pdf_report_pages folder\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    const int scores[][2] = {{0, 0}, {4, 3}, {9, 7}, {12, 12}};
    for (const auto& [fw, fv] : scores) {
        const std::string name = "report-" + std::to_string(fw) + "-" + std::to_string(fv) + ".emf";
        zor::bench::writeFile(folder / name, zor::bench::reportPage(fw, fv));
    }
    return 0;
}
