#include "administration_scores.h"

#include <chrono>

#include "norms/raw_scores.h"
#include "record/data_line.h"
#include "record/stored_administration.h"

namespace zor::tool {

record::Date Today() { return record::LocalDate(std::chrono::system_clock::now()); }

AdministrationScorer::AdministrationScorer(const record::Date& today) : today_(today) {}

std::variant<AdministrationScores, ScoringError> AdministrationScorer::Score(
    const fs::path& dataFW, const fs::path& dataFV, const std::optional<record::Date>& date) {
    record::AdministrationRecord& admin = admin_;
    admin.ResetAfname();
    std::optional<record::Date> birth;
    record::Date afnameDate;
    try {
        record::StoredAdministration stored =
            record::ReadStoredAdministration(dataFW, dataFV, today_);
        birth = stored.birthDate;
        afnameDate = stored.afnameDate;
        record::LoadStoredAdministration(admin, std::move(stored));
    } catch (const record::StoredAdministrationError& e) {
        return ScoringError{e.what()};
    }

    AdministrationScores result;
    result.code = admin.Ecode;
    admin.AgeMonths = 0;
    if (birth) {
        admin.ComputeAge(date.value_or(afnameDate), *birth);
        result.ageMonths = admin.AgeMonths;
    }
    try {
        result.scores = admin.ComputeScores(admin.AgeMonths);
    } catch (const norms::ConversionError& e) {
        return ScoringError{dataFW.string() + " / " + dataFV.string() + ": " + e.what()};
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
