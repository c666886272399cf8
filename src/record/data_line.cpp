#include "record/data_line.h"

#include <algorithm>
#include <cstdio>

#include "norms/rounding.h"
#include "record/text_fields.h"

namespace zor::record {
namespace {

bool IsDigits(std::string_view text, std::size_t maxLength) {
    return !text.empty() && text.size() <= maxLength &&
           text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

std::string QuotedField(std::string_view text) {
    constexpr std::size_t kShown = 20;
    std::string shown = DataField(FirstCharacters(text, kShown));
    if (CharacterCount(text) > kShown) shown += "...";
    return "\"" + shown + "\"";
}

namespace {

// Fields are counted from 1 in messages, as a person counts them.
std::string FieldLabel(int index, std::string_view name) {
    return "veld " + std::to_string(index + 1) + " (" + std::string(name) + ")";
}

std::string DateLabel(int firstIndex, std::string_view name) {
    return "velden " + std::to_string(firstIndex + 1) + "-" + std::to_string(firstIndex + 3) +
           " (" + std::string(name) + ")";
}

std::string DateFieldsText(const std::vector<std::string>& fields, int firstIndex) {
    return QuotedField(fields[firstIndex] + "-" + fields[firstIndex + 1] + "-" +
                       fields[firstIndex + 2]);
}

std::optional<std::string> FindCodeProblem(std::string_view code) {
    const std::string label = FieldLabel(field::kCode, "code");
    if (code.empty()) return label + " is leeg";
    if (code.size() > kMaxCodeLength) {
        return label + " is langer dan " + std::to_string(kMaxCodeLength) + " tekens";
    }
    for (char c : code) {
        if (!IsCodeCharacter(c))
            return label + " " + QuotedField(code) + " bevat een ongeldig teken";
    }
    return std::nullopt;
}

std::optional<std::string> FindDateProblems(const std::vector<std::string>& fields) {
    const bool birthEmpty = fields[field::kBirthDay].empty() &&
                            fields[field::kBirthMonth].empty() && fields[field::kBirthYear].empty();
    std::optional<Date> birth;
    if (!birthEmpty) {
        birth = StoredDate(fields[field::kBirthDay], fields[field::kBirthMonth],
                           fields[field::kBirthYear]);
        if (!birth) {
            return DateLabel(field::kBirthDay, "geboortedatum") + " " +
                   DateFieldsText(fields, field::kBirthDay) + " is geen geldige datum dd-mm-jjjj";
        }
    }
    const std::optional<Date> afname = StoredDate(
        fields[field::kAfnameDay], fields[field::kAfnameMonth], fields[field::kAfnameYear]);
    if (!afname) {
        return DateLabel(field::kAfnameDay, "afnamedatum") + " " +
               DateFieldsText(fields, field::kAfnameDay) + " is geen geldige datum dd-mm-jjjj";
    }
    if (birth && !(*birth < *afname)) {
        return DateLabel(field::kBirthDay, "geboortedatum") + " " +
               QuotedField(FormatDate(*birth)) + " ligt niet voor de afnamedatum " +
               QuotedField(FormatDate(*afname));
    }
    return std::nullopt;
}

// The subtest is finished: every step was passed, so the last item is its last step.
std::optional<std::string> FindProgressProblem(Subtest subtest, int status, int lastStep) {
    if (StatusCallsForScore(subtest, status) && lastStep != ResultRows(subtest)) {
        return FieldLabel(field::kLastItem, "laatste item") + " past niet bij " +
               FieldLabel(field::kStatus, "status") + " " + std::to_string(status) +
               ": die meldt de subtest als afgerond, dus na stap " +
               std::to_string(ResultRows(subtest));
    }
    return std::nullopt;
}

std::optional<std::string> FindResultProblem(const std::vector<std::string>& fields, int pairs) {
    for (int r = 0; r < pairs; ++r) {
        const int timeField = field::kFirstPair + 2 * r;
        const std::string& time = fields[timeField];
        if (!time.empty() && !IsDigits(time, kMaxTimeDigits)) {
            return FieldLabel(timeField, "tijd") + " " + QuotedField(time) +
                   " is geen geheel aantal tienden van seconden van ten hoogste " +
                   std::to_string(kMaxTimeDigits) + " cijfers";
        }
        const std::string& mark = fields[timeField + 1];
        if (!mark.empty() && mark != "0" && mark != "1") {
            return FieldLabel(timeField + 1, "goed/fout") + " " + QuotedField(mark) +
                   " is geen 0 of 1";
        }
    }
    return std::nullopt;
}

// A stored speed score: a whole number with at most one decimal after a comma or point.
bool IsStoredScore(std::string_view text) {
    const std::size_t separator = text.find_first_of(",.");
    const std::string_view whole = text.substr(0, separator);
    if (!IsDigits(whole, 3)) return false;
    if (separator == std::string_view::npos) return true;
    return IsDigits(text.substr(separator + 1), 2);
}

// The sex values a data line may hold: "meisje", "jongen", the older "vrouw"
// and "man", or none.
bool IsStoredSex(std::string_view text) {
    return text.empty() || text == "meisje" || text == "jongen" || text == "vrouw" || text == "man";
}

std::size_t FieldCount(std::string_view line) {
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), ';')) + 1;
}

}  // namespace

std::string_view SubtestCode(Subtest subtest) { return subtest == Subtest::FW ? "FW" : "FV"; }

int ResultRows(Subtest subtest) { return subtest == Subtest::FW ? 15 : 12; }

std::string_view RejectionMessage(Subtest subtest) {
    return subtest == Subtest::FW ? "Data foutief of niet van de Foneemweglatingtest!"
                                  : "Data foutief of niet van de Foneemverwisselingtest!";
}

std::vector<std::string> SplitDataLine(std::string_view line) {
    std::vector<std::string> fields(kMaxDataLineFields);
    std::size_t start = 0;
    for (int i = 0; i < kMaxDataLineFields; ++i) {
        const std::size_t end = line.find(';', start);
        fields[i] = line.substr(start, end == std::string_view::npos ? line.npos : end - start);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return fields;
}

std::string DataField(std::string_view text) {
    std::string field(text);
    for (char& c : field) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ';') {
            c = ',';
        } else if (byte < 0x20 || byte == 0x7F) {
            c = ' ';
        }
    }
    return field;
}

bool StatusCallsForScore(Subtest subtest, int status) {
    if (subtest == Subtest::FW) return status == 4 || status == 6 || status == 7;
    return status == 3 || status == 5 || status == 7;
}

std::string FormatScore(long double score, char decimalSeparator) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15Lg", norms::RoundD(1, score));
    std::string formatted(text);
    if (const auto point = formatted.find('.'); point != std::string::npos) {
        formatted[point] = decimalSeparator;
    }
    return formatted;
}

std::optional<int> LastItemStep(Subtest subtest, std::string_view lastItem) {
    if (lastItem.empty()) return 0;
    if (subtest == Subtest::FW && lastItem.size() == 3 && lastItem.substr(0, 2) == "vb" &&
        lastItem[2] >= '1' && lastItem[2] <= '3') {
        return lastItem[2] - '0';
    }
    if (!IsDigits(lastItem, 2)) return std::nullopt;
    const int step = std::stoi(std::string(lastItem));
    if (step < 1 || step > ResultRows(subtest)) return std::nullopt;
    return step;
}

bool IsCodeCharacter(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '#' ||
           c == '(' || c == ')' || c == '-' || c == '_' || c == ' ';
}

std::optional<Date> StoredDate(std::string_view day, std::string_view month,
                               std::string_view year) {
    if (!IsDigits(day, 2) || day.size() != 2 || !IsDigits(month, 2) || month.size() != 2 ||
        !IsDigits(year, 4) || year.size() != 4) {
        return std::nullopt;
    }
    const Date date{std::stoi(std::string(year)), std::stoi(std::string(month)),
                    std::stoi(std::string(day))};
    if (date.year < kFirstStoredYear || !IsValidDate(date)) return std::nullopt;
    return date;
}

std::optional<std::string> FindDataLineProblem(std::string_view line, Subtest subtest) {
    const std::vector<std::string> fields = SplitDataLine(line);
    const std::string_view code = SubtestCode(subtest);
    if (fields[field::kSubtest] != code) {
        return FieldLabel(field::kSubtest, "subtest") + " is " +
               QuotedField(fields[field::kSubtest]) + " in plaats van \"" + std::string(code) +
               "\"";
    }
    if (auto problem = FindCodeProblem(fields[field::kCode])) return problem;
    if (!IsStoredSex(fields[field::kSex])) {
        return FieldLabel(field::kSex, "geslacht") + " " + QuotedField(fields[field::kSex]) +
               " is geen \"meisje\", \"jongen\", \"vrouw\", \"man\" of leeg";
    }
    if (auto problem = FindDateProblems(fields)) return problem;
    const std::string& statusText = fields[field::kStatus];
    if (statusText.size() != 1 || statusText[0] < '1' || statusText[0] > '7') {
        return FieldLabel(field::kStatus, "status") + " " + QuotedField(statusText) +
               " is geen status 1 t/m 7";
    }
    const int status = statusText[0] - '0';
    const std::optional<int> lastStep = LastItemStep(subtest, fields[field::kLastItem]);
    if (!lastStep) {
        return FieldLabel(field::kLastItem, "laatste item") + " " +
               QuotedField(fields[field::kLastItem]) + " is geen item van deze subtest";
    }
    if (auto problem = FindProgressProblem(subtest, status, *lastStep)) return problem;

    // Each step passed left one pair; a finished subtest adds its speed score.
    const bool scored = StatusCallsForScore(subtest, status);
    const std::size_t expected = field::kFirstPair + 2 * *lastStep + (scored ? 1 : 0);
    if (const std::size_t count = FieldCount(line); count != expected) {
        return "de dataregel telt " + std::to_string(count) + " velden, maar " +
               FieldLabel(field::kStatus, "status") + " " + std::to_string(status) + " met " +
               FieldLabel(field::kLastItem, "laatste item") + " " +
               QuotedField(fields[field::kLastItem]) + " vraagt er " + std::to_string(expected);
    }
    if (auto problem = FindResultProblem(fields, *lastStep)) return problem;
    if (scored) {
        const int scoreField = field::kFirstPair + 2 * *lastStep;
        if (!IsStoredScore(fields[scoreField])) {
            return FieldLabel(scoreField, "standaardscore") + " " +
                   QuotedField(fields[scoreField]) + " is geen score";
        }
    }
    return std::nullopt;
}

}  // namespace zor::record
