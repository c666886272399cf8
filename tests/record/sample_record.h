#pragma once
// Records filled the way the entry and test screens fill them.
#include "record/administration_record.h"

namespace zor::record::testing {

// Administration date 05-03-2011, subject Jan01, girl born 10-06-2002 (104 months:
// band 3), school, group and test leader filled, no results yet.
AdministrationRecord SubjectOnly();

// Writes `steps` result rows of a subtest as its test screen does: time `tenths`,
// right for even rows and wrong for odd ones, and moves the step counter on.
void GiveResults(AdministrationRecord& record, Subtest subtest, int steps, int tenths);

// Both subtests finished (status 7).
AdministrationRecord Finished();

}  // namespace zor::record::testing
