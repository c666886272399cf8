// Writes report pages as EMF files into a folder: the seeds of the replay fuzzer
// (bench/pdf_replay_fuzz.sh), with scores from none right to all right, each with
// the program's pictures and with tiny stand-ins for them (pages of a few
// kilobytes, on which the fuzzer's changes land in the drawing rather than in
// picture bytes).
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
    const zor::report::ReportPictures pictures = zor::bench::programPictures();
    zor::report::ReportPictures tiny{{6, 4, std::vector<std::uint8_t>(6 * 4 * 3, 0x80)},
                                     {5, 2, std::vector<std::uint8_t>(5 * 2 * 3, 0x40)}};
    const int scores[][2] = {{0, 0}, {4, 3}, {9, 7}, {12, 12}};
    for (const auto& [fw, fv] : scores) {
        const std::string name = "report-" + std::to_string(fw) + "-" + std::to_string(fv);
        zor::bench::writeFile(folder / (name + ".emf"), zor::bench::reportPage(fw, fv, pictures));
        zor::bench::writeFile(folder / (name + "-tiny-pictures.emf"),
                              zor::bench::reportPage(fw, fv, tiny));
    }
    return 0;
}
