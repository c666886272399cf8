#include <array>

#include "subcommand.h"

namespace zor::tool {
namespace {

constexpr std::array kScoresOptions = {
    Option{"--date", "dd-mm-jjjj", "de leeftijd op deze datum berekenen in plaats van de afnamedatum"},
    Option{"--csv", "", "een tabel (CSV) van alle afnames in de datamap"},
};
constexpr std::array kReportOptions = {
    Option{"--date", "dd-mm-jjjj", "datum van het rapport (standaard vandaag)"},
};
constexpr std::array kPdfOptions = {
    Option{"--date", "dd-mm-jjjj", "aanmaakdatum van de PDF (standaard vandaag)"},
    Option{"--missing", "", "alleen de ontbrekende PDF's van de rapportmap maken"},
};

}  // namespace

std::span<const Subcommand> Subcommands() {
    static constexpr std::array kTable = {
        Subcommand{"scores",
                   "[--date dd-mm-jjjj] (FW.wda FV.vda | datamap sleutel | --csv datamap)",
                   "standaardscores van opgeslagen afnames opnieuw berekenen", RunScores,
                   kScoresOptions},
        Subcommand{"report", "[--date dd-mm-jjjj] datamap sleutel uitvoermap",
                   "testrapport (.zrp en PDF) van een opgeslagen afname maken", RunReport,
                   kReportOptions},
        Subcommand{"pdf", "[--date dd-mm-jjjj] (rapport.zrp [uit.pdf] | --missing rapportmap)",
                   "PDF van opgeslagen testrapporten maken", RunPdf, kPdfOptions},
        Subcommand{"geluidstest", "[geluid.wav]",
                   "controletoon afspelen en de geluidsuitvoer en haar vertraging tonen",
                   RunSoundCheck},
    };
    return kTable;
}

}  // namespace zor::tool
