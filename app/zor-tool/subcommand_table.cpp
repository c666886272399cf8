#include <array>

#include "subcommand.h"

namespace zor::tool {
namespace {

// The folder commands work on this many items at once.
constexpr Option kJobsOption{"-j", "N", "zoveel items tegelijk (standaard het aantal processorkernen)"};
constexpr std::array kScoresOptions = {
    Option{"--date", "dd-mm-jjjj", "de leeftijd op deze datum berekenen in plaats van de afnamedatum"},
    Option{"--csv", "", "een tabel (CSV) van alle afnames in de datamap"},
    kJobsOption,
};
constexpr std::array kReportOptions = {
    Option{"--date", "dd-mm-jjjj", "datum van het rapport (standaard vandaag)"},
    Option{"--all", "", "de rapporten van alle voltooide afnames van de datamap die er nog geen hebben"},
    kJobsOption,
};
constexpr std::array kPdfOptions = {
    Option{"--date", "dd-mm-jjjj", "aanmaakdatum van de PDF (standaard vandaag)"},
    Option{"--missing", "", "alleen de ontbrekende PDF's van de rapportmap maken"},
    kJobsOption,
};

}  // namespace

std::span<const Subcommand> Subcommands() {
    static constexpr std::array kTable = {
        Subcommand{"scores",
                   "[--date dd-mm-jjjj] (FW.wda FV.vda | datamap sleutel | [-j N] --csv datamap)",
                   "standaardscores van opgeslagen afnames opnieuw berekenen", RunScores,
                   kScoresOptions},
        Subcommand{"report",
                   "[--date dd-mm-jjjj] (datamap sleutel uitvoermap | [-j N] --all datamap "
                   "uitvoermap)",
                   "testrapport (.zrp en PDF) van een opgeslagen afname maken", RunReport,
                   kReportOptions},
        Subcommand{"pdf", "[--date dd-mm-jjjj] (rapport.zrp [uit.pdf] | [-j N] --missing rapportmap)",
                   "PDF van opgeslagen testrapporten maken", RunPdf, kPdfOptions},
        Subcommand{"geluidstest", "[geluid.wav]",
                   "controletoon afspelen en de geluidsuitvoer en haar vertraging tonen",
                   RunSoundCheck},
    };
    return kTable;
}

}  // namespace zor::tool
