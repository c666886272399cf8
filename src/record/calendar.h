#pragma once
// Calendar dates and the month arithmetic of the age computation.
#include <chrono>
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace zor::record {

struct Date {
    int year = 1;
    int month = 1;
    int day = 1;
    auto operator<=>(const Date&) const = default;
};

int DaysInMonth(int year, int month);
bool IsValidDate(const Date& date);

// Moves by whole months keeping the day of month, or taking the last day of the
// target month when that month is shorter (31 March back one month is 28 or 29 February).
Date AddMonths(const Date& date, int months);

// Day, month and year texts (spaces around them ignored): day and month of one or
// two digits, year of four; nothing when they do not form a calendar date.
std::optional<Date> DateFromParts(std::string_view day, std::string_view month,
                                  std::string_view year);
// "dd-mm-yyyy" (also "d-m-yyyy").
std::optional<Date> DateFromText(std::string_view text);
// "dd-mm-yyyy".
std::string FormatDate(const Date& date);

// The local calendar day of a moment: the day a test leader reads off the wall.
Date LocalDate(std::chrono::system_clock::time_point moment);
// The local date and time as dd-mm-yyyy hh:mm:ss.
std::string LocalDateTimeText(std::chrono::system_clock::time_point moment);

struct Age {
    int years = 0;
    int months = 0;
    int TotalMonths() const { return years * 12 + months; }
    // "years;months", as the entry screen and the report show it.
    std::string Text() const { return std::to_string(years) + ";" + std::to_string(months); }
};

// Whole years and months from birth to later by stepping back from the later date:
// first in spans of twelve months, then of one month, each move starting from the
// previous one, so a day lost to a short month stays lost. A birthday on the later
// date counts as a full year; a birth date after the later date gives 0;0.
Age AgeBetween(const Date& later, const Date& birth);

}  // namespace zor::record
