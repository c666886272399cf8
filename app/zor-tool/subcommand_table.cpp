#include <array>

#include "subcommand.h"

namespace zor::tool {

std::span<const Subcommand> Subcommands() {
    static constexpr std::array kTable = {
        Subcommand{"scores",
                   "[--date dd-mm-jjjj] (FW.wda FV.vda | datamap sleutel | --csv datamap)",
                   "standaardscores van opgeslagen afnames opnieuw berekenen", RunScores},
    };
    return kTable;
}

}  // namespace zor::tool
