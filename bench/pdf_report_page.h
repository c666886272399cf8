#pragma once
// The report page of the PDF benchmarks and the fuzzer's seeds: the preview's
// page after an administration of both subtests, with the program's pictures.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "pagestore/print_preview.h"
#include "report/report_documents.h"
#include "report_page_fixture.h"

namespace zor::bench {

inline report::ReportPictures programPictures() {
    return report::LoadReportPictures(std::filesystem::path(ZOR_SOURCE_DIR) / "assets" / "Graphics",
                                      report::ReportKind::Preview);
}

// fwRight and fvRight: right answers of the two subtests (0..12), which move the
// score table's values and intervals.
inline std::vector<std::uint8_t> reportPage(int fwRight = 9, int fvRight = 7,
                                            const report::ReportPictures& pictures = programPictures()) {
    record::AdministrationRecord r = report::testing::MakeRecord(50, fwRight, 208, fvRight);
    r.SGRscoreFV.SetCell(record::AdministrationRecord::kTimeColumn, 0, "212");
    pagestore::TPrintPreview store;
    report::BuildPreviewReport(store, r, record::Date{2010, 8, 15}, pictures);
    return *store.GetPage(1);
}

inline void writeFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace zor::bench
