// Fills <folder>/Data with <count> administrations built the way the program
// builds them: varied ages (inside and outside the norms), both subtests or one,
// random times and marks. With "complete", every administration has both
// subtests finished (as the report benchmark wants).
// Usage: scores_make_data <folder> <count> [seed] [complete]
#include <cstdio>
#include <random>
#include <string>

#include "folders/folders.h"
#include "record/administration_files.h"
#include "record/administration_record.h"
#include "record/text_fields.h"

namespace fs = std::filesystem;
using zor::record::AdministrationRecord;

namespace {

std::string TwoDigits(int value) { return zor::record::PadLeft(std::to_string(value), '0', 2); }

void GiveResults(zor::record::StringGrid& grid, int steps, std::mt19937& random) {
    std::uniform_int_distribution<int> tenths(6, 90);
    std::bernoulli_distribution right(0.7);
    for (int row = 0; row < steps; ++row) {
        grid.SetCell(AdministrationRecord::kTimeColumn, row, std::to_string(tenths(random)));
        grid.SetCell(AdministrationRecord::kMarkColumn, row, right(random) ? "1" : "0");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <count> [seed] [complete]\n", argv[0]);
        return 2;
    }
    const fs::path folder = argv[1];
    const int count = std::stoi(argv[2]);
    std::mt19937 random(argc > 3 ? std::stoul(argv[3]) : 2011u);
    const bool allComplete = argc > 4 && std::string(argv[4]) == "complete";
    fs::create_directories(zor::folders::dataFilesFolder(folder));

    std::uniform_int_distribution<int> year(2010, 2020), month(1, 12), day(1, 28);
    std::uniform_int_distribution<int> ageMonths(70, 180), status(0, 9);
    for (int i = 0; i < count; ++i) {
        AdministrationRecord admin;
        admin.AfnameDate = {year(random), month(random), day(random)};
        admin.ResetAfname();
        char code[16];
        std::snprintf(code, sizeof code, "K%d", 100000 + i);
        admin.Ecode = code;
        admin.RGsekse = i % 2 ? zor::record::Sex::Jongen : zor::record::Sex::Meisje;
        const zor::record::Date birth =
            zor::record::AddMonths(admin.AfnameDate, -ageMonths(random));
        admin.Egebdag = TwoDigits(birth.day);
        admin.Egebmnd = TwoDigits(birth.month);
        admin.Egebjaar = std::to_string(birth.year);
        admin.Eschool = "School " + std::to_string(i % 97);
        admin.Egroep = std::to_string(3 + i % 6);
        admin.Etl = "Testleider " + std::to_string(i % 13);
        admin.MayContinue();
        admin.AfnameKey = admin.SubjectKey();
        // Mostly complete administrations; some with only one subtest.
        const int pick = status(random);
        admin.AfnameStatus = allComplete ? 7 : pick == 0 ? 3 : pick == 1 ? 4 : 7;
        if (admin.AfnameStatus != 3) {
            GiveResults(admin.SGRscoreFW, 15, random);
            admin.CurrentStepFW = 16;
            admin.ElaatsteFW = "15";
        }
        if (admin.AfnameStatus != 4) {
            GiveResults(admin.SGRscoreFV, 12, random);
            admin.CurrentStepFV = 13;
            admin.ELaatsteFV = "12";
        }
        admin.AppendDataLines();
        const auto paths = zor::record::PathsInDataFolder(folder, admin.AfnameKey);
        if (auto error = zor::record::WriteLinesFile(paths.dataFW, admin.MdataFW)) {
            std::fprintf(stderr, "%s\n", error->message.c_str());
            return 1;
        }
        if (auto error = zor::record::WriteLinesFile(paths.dataFV, admin.MdataFV)) {
            std::fprintf(stderr, "%s\n", error->message.c_str());
            return 1;
        }
    }
    return 0;
}
