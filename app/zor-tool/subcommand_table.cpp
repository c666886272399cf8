#include <array>

#include "subcommand.h"

namespace zor::tool {

std::span<const Subcommand> Subcommands() {
    static constexpr std::array kTable = {
        Subcommand{"scores",
                   "[--date dd-mm-jjjj] (FW.wda FV.vda | datamap sleutel | [-j N] --csv datamap)",
                   "standaardscores van opgeslagen afnames opnieuw berekenen", RunScores},
        Subcommand{"report",
                   "[--date dd-mm-jjjj] (datamap sleutel uitvoermap | [-j N] --all datamap "
                   "uitvoermap)",
                   "testrapport (.zrp en PDF) van een opgeslagen afname maken", RunReport},
        Subcommand{"pdf", "[--date dd-mm-jjjj] (rapport.zrp [uit.pdf] | [-j N] --missing rapportmap)",
                   "PDF van opgeslagen testrapporten maken", RunPdf},
    };
    return kTable;
}

}  // namespace zor::tool
