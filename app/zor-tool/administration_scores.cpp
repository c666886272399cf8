#include "administration_scores.h"

#include "norms/raw_scores.h"
#include "record/administration_files.h"
#include "record/data_line.h"

namespace zor::tool {
namespace {

std::string At(const fs::path& file, std::size_t line) {
    return file.string() + ":" + std::to_string(line) + ": ";
}

// Loads the last line of a data file into the record; an error message otherwise.
std::optional<std::string> LoadLastLine(record::AdministrationRecord& admin,
                                        record::Subtest subtest, const fs::path& file) {
    record::LinesFile data = record::ReadLinesFile(file);
    if (data.error) return data.error->message;
    if (data.lines.empty()) return file.string() + ": het bestand bevat geen dataregel";
    const int row = static_cast<int>(data.lines.size());
    const bool fw = subtest == record::Subtest::FW;
    (fw ? admin.MdataFW : admin.MdataFV) = std::move(data.lines);
    const record::ParseResult parse = fw ? admin.ParseDataLineFW(row) : admin.ParseDataLineFV(row);
    switch (parse.outcome) {
        case record::ParseResult::Outcome::kLoaded:
            return std::nullopt;
        case record::ParseResult::Outcome::kRejected:
            return At(file, row) + parse.problem;
        case record::ParseResult::Outcome::kNoLine:
            break;
    }
    return At(file, row) + "lege dataregel";
}

std::string DateFieldsText(std::string_view day, std::string_view month, std::string_view year) {
    std::string text = "\"";
    text += record::DataField(day);
    text += '-';
    text += record::DataField(month);
    text += '-';
    text += record::DataField(year);
    text += '"';
    return text;
}

}  // namespace

std::variant<AdministrationScores, ScoringError> AdministrationScorer::Score(
    const fs::path& dataFW, const fs::path& dataFV, const std::optional<record::Date>& date) {
    record::AdministrationRecord& admin = admin_;
    admin.ResetAfname();
    if (auto error = LoadLastLine(admin, record::Subtest::FW, dataFW)) return ScoringError{*error};
    if (auto error = LoadLastLine(admin, record::Subtest::FV, dataFV)) return ScoringError{*error};
    const std::string where = At(dataFV, admin.MdataFV.size());

    std::optional<record::Date> later = date;
    if (!later) {
        later = record::DateFromParts(admin.Eafndag, admin.Eafnmnd, admin.Eafnjaar);
        if (!later) {
            return ScoringError{where + "velden 7-9 (afnamedatum) " +
                                DateFieldsText(admin.Eafndag, admin.Eafnmnd, admin.Eafnjaar) +
                                " vormen geen datum"};
        }
    }
    AdministrationScores result;
    result.code = admin.Ecode;
    admin.AgeMonths = 0;
    if (admin.BirthDateFilled()) {
        const std::optional<record::Date> birth = admin.BirthDate();
        if (!birth) {
            return ScoringError{where + "velden 4-6 (geboortedatum) " +
                                DateFieldsText(admin.Egebdag, admin.Egebmnd, admin.Egebjaar) +
                                " vormen geen datum"};
        }
        admin.ComputeAge(*later, *birth);
        result.ageMonths = admin.AgeMonths;
    }
    try {
        result.scores = admin.ComputeScores(admin.AgeMonths);
    } catch (const norms::ConversionError& e) {
        return ScoringError{where + e.what()};
    }
    return result;
}

const std::vector<std::string>& ScoreNames() {
    static const std::vector<std::string> kNames = {
        "code",         "age_months", "band",          "time_fw",         "time_fv",
        "correct_fw",   "correct_fv", "SpeedScoreFW",  "AccuracyScoreFW", "IndexBand1",
        "SpeedScoreFV", "SpeedScore", "AccuracyScore", "IndexScore"};
    return kNames;
}

std::vector<std::string> ScoreValues(const AdministrationScores& result) {
    const norms::RawTotals& totals = result.scores.totals;
    const norms::StandardScores& s = result.scores.scores;
    const auto score = [](long double value) { return record::FormatScore(value, '.'); };
    return {result.code,
            result.ageMonths ? std::to_string(*result.ageMonths) : std::string(),
            std::to_string(result.scores.band),
            std::to_string(totals.timeFW),
            std::to_string(totals.timeFV),
            std::to_string(totals.correctFW),
            std::to_string(totals.correctFV),
            score(s.speedScoreFW),
            score(s.accuracyScoreFW),
            score(s.indexBand1),
            score(s.speedScoreFV),
            score(s.speedScore),
            score(s.accuracyScore),
            score(s.indexScore)};
}

}  // namespace zor::tool
