#pragma once
// Composes report pages from hand-made administration records and reads the
// drawn texts back from the page image.
#include <string>
#include <vector>

#include "emf/reader.h"
#include "pagestore/print_preview.h"
#include "record/administration_record.h"
#include "report/report_page.h"
#include "text/encoding.h"

namespace zor::report::testing {

struct DrawnText {
    std::string text;
    int x = 0;
    int y = 0;
    int width = 0;  // the sum of the record's advances
};

inline std::vector<DrawnText> TextsOf(const std::vector<std::uint8_t>& page) {
    std::vector<DrawnText> texts;
    emf::Reader reader(page);
    while (const auto record = reader.next()) {
        if (const auto* t = std::get_if<emf::ExtTextOutW>(&*record)) {
            int width = 0;
            for (std::int32_t dx : t->dx) width += dx;
            texts.push_back({text::utf16ToUtf8(t->text), t->reference.x, t->reference.y, width});
        }
    }
    return texts;
}

// A complete administration of both subtests: twelve items each with the given
// times (tenths) and right answers counted from the first item on.
inline record::AdministrationRecord MakeRecord(int fwTenthsEach, int fwRight, int fvTenthsEach,
                                               int fvRight) {
    using record::AdministrationRecord;
    AdministrationRecord r;
    r.Ecode = "K123";
    r.RGsekse = record::Sex::Jongen;
    r.Egebdag = "15";
    r.Egebmnd = "04";
    r.Egebjaar = "2002";
    r.Eafndag = "05";
    r.Eafnmnd = "03";
    r.Eafnjaar = "2011";
    r.Etl = "J. de Boer";
    r.Eschool = "De Regenboog";
    r.Egroep = "5";
    r.ElaatsteFW = "15";
    r.ELaatsteFV = "12";
    r.AfnameStatus = 7;
    r.CurrentStepFW = 16;
    r.CurrentStepFV = 13;
    for (int i = 0; i < 12; ++i) {
        const int fwRow = AdministrationRecord::kFirstItemRowFW + i;
        r.SGRscoreFW.SetCell(AdministrationRecord::kTimeColumn, fwRow, std::to_string(fwTenthsEach));
        r.SGRscoreFW.SetCell(AdministrationRecord::kMarkColumn, fwRow, i < fwRight ? "1" : "0");
        r.SGRscoreFV.SetCell(AdministrationRecord::kTimeColumn, i, std::to_string(fvTenthsEach));
        r.SGRscoreFV.SetCell(AdministrationRecord::kMarkColumn, i, i < fvRight ? "1" : "0");
    }
    return r;
}

// The page composed as the preview composes it, with the age up to ageEnd.
inline std::vector<std::uint8_t> ComposePage(record::AdministrationRecord& r,
                                             const record::Date& ageEnd,
                                             ReportKind kind = ReportKind::Preview,
                                             ReportScores* scores = nullptr) {
    pagestore::TPrintPreview store;
    ReportContext context;
    context.kind = kind;
    context.ageEndDate = ageEnd;
    context.printDateText = AdministrationDateText(r);
    BuildReportPages(store, [&] {
        ReportScores composed = ComposeReport(store, r, context);
        if (scores) *scores = composed;
    }, 0);
    return *store.GetPage(1);
}

// The texts drawn after the first text equal to anchor, up to count of them.
inline std::vector<std::string> After(const std::vector<DrawnText>& texts, const std::string& anchor,
                                      std::size_t count) {
    std::vector<std::string> found;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i].text != anchor) continue;
        for (std::size_t j = i + 1; j < texts.size() && found.size() < count; ++j) {
            found.push_back(texts[j].text);
        }
        break;
    }
    return found;
}

}  // namespace zor::report::testing
