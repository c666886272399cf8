#include "record/calendar.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace zor::record {
namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int FloorDiv(int a, int b) { return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0); }

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<int> Digits(std::string_view text, std::size_t minLength, std::size_t maxLength) {
    if (text.size() < minLength || text.size() > maxLength) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// One count step: how many whole spans of `months` fit between birth and c;
// c moves back by that many spans.
int CountSpans(Date& c, const Date& birth, int months) {
    Date d = c;
    int k = 0;
    do {
        d = AddMonths(d, -months);
        ++k;
    } while (!(d < birth));
    c = AddMonths(d, months);
    return k - 1;
}

}  // namespace

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year)) return 29;
    return kDays[month - 1];
}

bool IsValidDate(const Date& date) {
    return date.year >= 1 && date.year <= 9999 && date.month >= 1 && date.month <= 12 &&
           date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

Date AddMonths(const Date& date, int months) {
    const int index = date.year * 12 + (date.month - 1) + months;
    Date moved{FloorDiv(index, 12), index - FloorDiv(index, 12) * 12 + 1, date.day};
    moved.day = std::min(moved.day, DaysInMonth(moved.year, moved.month));
    return moved;
}

std::optional<Date> DateFromParts(std::string_view day, std::string_view month,
                                  std::string_view year) {
    const auto d = Digits(Trimmed(day), 1, 2);
    const auto m = Digits(Trimmed(month), 1, 2);
    const auto y = Digits(Trimmed(year), 4, 4);
    if (!d || !m || !y) return std::nullopt;
    const Date date{*y, *m, *d};
    if (!IsValidDate(date)) return std::nullopt;
    return date;
}

std::optional<Date> DateFromText(std::string_view text) {
    const auto first = text.find('-');
    if (first == std::string_view::npos) return std::nullopt;
    const auto second = text.find('-', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    return DateFromParts(text.substr(0, first), text.substr(first + 1, second - first - 1),
                         text.substr(second + 1));
}

std::string FormatDate(const Date& date) {
    char text[48];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d", date.day, date.month, date.year);
    return text;
}

Age AgeBetween(const Date& later, const Date& birth) {
    Date c = later;
    Age age;
    age.years = CountSpans(c, birth, 12);
    age.months = CountSpans(c, birth, 1);
    return age;
}

Date LocalDate(std::chrono::system_clock::time_point moment) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
    std::tm local{};
    localtime_r(&seconds, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string LocalDateTimeText(std::chrono::system_clock::time_point moment) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%d-%m-%Y %H:%M:%S", &local);
    return text;
}

}  // namespace zor::record
