#include "sample_record.h"

#include <string>

namespace zor::record::testing {

AdministrationRecord SubjectOnly() {
    AdministrationRecord record;
    record.AfnameDate = {2011, 3, 5};
    record.ResetAfname();
    record.Ecode = "Jan01";
    record.RGsekse = Sex::Meisje;
    record.Egebdag = "10";
    record.Egebmnd = "06";
    record.Egebjaar = "2002";
    record.Eschool = "De Regenboog";
    record.Egroep = "4";
    record.Etl = "M. de Vries";
    record.MayContinue();
    record.AfnameKey = record.SubjectKey();
    record.MemoCom = {record.AfnameKey, "0"};
    return record;
}

void GiveResults(AdministrationRecord& record, Subtest subtest, int steps, int tenths) {
    const bool fw = subtest == Subtest::FW;
    StringGrid& grid = fw ? record.SGRscoreFW : record.SGRscoreFV;
    for (int step = 1; step <= steps; ++step) {
        grid.SetCell(AdministrationRecord::kTimeColumn, step - 1, std::to_string(tenths));
        grid.SetCell(AdministrationRecord::kMarkColumn, step - 1, step % 2 == 1 ? "1" : "0");
        if (fw) {
            record.ElaatsteFW = step > 3 ? std::to_string(step) : "vb" + std::to_string(step);
        } else {
            record.ELaatsteFV = std::to_string(step);
        }
    }
    (fw ? record.CurrentStepFW : record.CurrentStepFV) = steps + 1;
}

AdministrationRecord Finished() {
    AdministrationRecord record = SubjectOnly();
    record.AfnameStatus = 2;
    record.CurrentStepFW = 1;
    record.CurrentStepFV = 1;
    record.AppendDataLines();
    GiveResults(record, Subtest::FW, 15, 50);
    GiveResults(record, Subtest::FV, 12, 200);
    record.AfnameStatus = 7;
    record.ReplaceDataLines(1);
    return record;
}

}  // namespace zor::record::testing
