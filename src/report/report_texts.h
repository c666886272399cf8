#pragma once
// Fixed texts of the report page.
#include <array>
#include <string_view>

namespace zor::report {

inline constexpr std::string_view kReportTitle = "TESTRAPPORT";
inline constexpr std::string_view kProgramLine = "ZOR-afnameprogramma versie 1.0.2.1";
inline constexpr std::string_view kAuthorsLine = "Auteurs: drs. M.A. Verhoeven en dr. J.P. Brandsma";
inline constexpr std::string_view kPrintDateLabel = "  Datum afdruk : ";

inline constexpr std::string_view kInterpretationNote =
    "  Zie voor de interpretatie van de scores de handleiding van de ZOR.";
inline constexpr std::array<std::string_view, 4> kValidityNote = {
    "  Dit onderzoeksrapport is gegenereerd met een computerprogramma dat deel uitmaakt van de "
    "Klomperix",
    "  Test. De resultaten die hierin staan dienen voor verdere verwerking door een "
    "geautoriseerde gebruiker. Het Rapport",
    "  heeft conform de beroepsethische regels van het Nederlands Instituut van Psychologen (NIP) "
    "een geldigheidsduur",
    "  van 1 jaar.",
};
inline constexpr std::array<std::string_view, 3> kRightsNotice = {
    "\u00A9 ZOR-testmateriaal. Alle rechten voorbehouden.",
    "Niets uit dit rapport mag worden verveelvoudigd of openbaar gemaakt zonder",
    "voorafgaande schriftelijke toestemming van de uitgever.",
};

inline constexpr std::string_view kCoverTitle = "ZOR-rapport bekijken en afdrukken";

}  // namespace zor::report
