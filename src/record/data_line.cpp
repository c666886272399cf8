#include "record/data_line.h"

#include <cstdio>

#include "norms/rounding.h"
#include "record/text_fields.h"

namespace zor::record {
namespace {

bool IsDigits(std::string_view text, std::size_t maxLength) {
    return !text.empty() && text.size() <= maxLength &&
           text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 20;
    std::string shown = DataField(FirstCharacters(text, kShown));
    if (CharacterCount(text) > kShown) shown += "...";
    return "\"" + shown + "\"";
}

// Fields are counted from 1 in messages, as a person counts them.
std::string FieldLabel(int index, std::string_view name) {
    return "veld " + std::to_string(index + 1) + " (" + std::string(name) + ")";
}

std::optional<std::string> FindCodeProblem(std::string_view code) {
    const std::string label = FieldLabel(field::kCode, "code");
    if (code.empty()) return label + " is leeg";
    if (code.size() > kMaxCodeLength) {
        return label + " is langer dan " + std::to_string(kMaxCodeLength) + " tekens";
    }
    for (char c : code) {
        if (!IsCodeCharacter(c)) return label + " " + Quoted(code) + " bevat een ongeldig teken";
    }
    return std::nullopt;
}

std::optional<std::string> FindResultProblem(const std::vector<std::string>& fields, int rows) {
    for (int r = 0; r < rows; ++r) {
        const int timeField = field::kFirstPair + 2 * r;
        const std::string& time = fields[timeField];
        if (!time.empty() && !IsDigits(time, 9)) {
            return FieldLabel(timeField, "tijd") + " " + Quoted(time) +
                   " is geen geheel aantal tienden van seconden";
        }
        const std::string& mark = fields[timeField + 1];
        if (!mark.empty() && mark != "0" && mark != "1") {
            return FieldLabel(timeField + 1, "goed/fout") + " " + Quoted(mark) + " is geen 0 of 1";
        }
    }
    return std::nullopt;
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

std::optional<std::string> FindDataLineProblem(const std::vector<std::string>& fields,
                                               Subtest subtest) {
    const std::string_view code = SubtestCode(subtest);
    if (fields[field::kSubtest] != code) {
        return FieldLabel(field::kSubtest, "subtest") + " is " + Quoted(fields[field::kSubtest]) +
               " in plaats van \"" + std::string(code) + "\"";
    }
    if (auto problem = FindCodeProblem(fields[field::kCode])) return problem;
    const std::string& status = fields[field::kStatus];
    if (status.size() != 1 || status[0] < '1' || status[0] > '7') {
        return FieldLabel(field::kStatus, "status") + " " + Quoted(status) +
               " is geen status 1 t/m 7";
    }
    if (!LastItemStep(subtest, fields[field::kLastItem])) {
        return FieldLabel(field::kLastItem, "laatste item") + " " +
               Quoted(fields[field::kLastItem]) + " is geen item van deze subtest";
    }
    return FindResultProblem(fields, ResultRows(subtest));
}

}  // namespace zor::record
