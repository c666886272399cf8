#include "record/calendar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>

namespace zor::record {
namespace {

// Years and months of the age, to compare in one go.
std::pair<int, int> YearsMonths(const Date& later, const Date& birth) {
    const Age age = AgeBetween(later, birth);
    return {age.years, age.months};
}

TEST(AgeBetween, LeapDayBirthday) {
    const Date birth{2004, 2, 29};
    EXPECT_EQ(YearsMonths({2012, 2, 28}, birth), std::pair(7, 11));
    EXPECT_EQ(YearsMonths({2012, 3, 1}, birth), std::pair(8, 0));
    EXPECT_EQ(AgeBetween({2012, 3, 1}, birth).TotalMonths(), 96);
    // Stepping back from 29 February 2012 passes 28 February 2011, and the lost
    // day stays lost: on its leap-day birthday the child is still 7;11.
    EXPECT_EQ(YearsMonths({2012, 2, 29}, birth), std::pair(7, 11));
}

TEST(AgeBetween, BirthdayOnTheDayCountsAsFullYear) {
    EXPECT_EQ(YearsMonths({2011, 3, 5}, {2003, 3, 5}), std::pair(8, 0));
    EXPECT_EQ(YearsMonths({2011, 3, 4}, {2003, 3, 5}), std::pair(7, 11));
}

TEST(AgeBetween, DayLostToShortMonthStaysLost) {
    // From 31 May back: 30 April, then 30 March (not 31), so a child born on
    // 31 March is not yet two months older on 31 May.
    EXPECT_EQ(YearsMonths({2011, 5, 31}, {2011, 3, 31}), std::pair(0, 1));
    // The year step leaves c at 28 February; from there a month back is 28 January.
    EXPECT_EQ(YearsMonths({2012, 2, 29}, {2000, 1, 15}), std::pair(12, 1));
}

TEST(AgeBetween, BirthAfterLaterDateIsZero) {
    EXPECT_EQ(YearsMonths({2011, 3, 5}, {2012, 1, 1}), std::pair(0, 0));
}

TEST(AddMonths, TakesLastDayOfShorterMonth) {
    EXPECT_EQ(AddMonths({2011, 3, 31}, -1), (Date{2011, 2, 28}));
    EXPECT_EQ(AddMonths({2012, 3, 31}, -1), (Date{2012, 2, 29}));
    EXPECT_EQ(AddMonths({2011, 1, 15}, -1), (Date{2010, 12, 15}));
    EXPECT_EQ(AddMonths({2011, 12, 31}, 2), (Date{2012, 2, 29}));
    EXPECT_EQ(AddMonths({2011, 5, 10}, -24), (Date{2009, 5, 10}));
}

TEST(DateFromParts, CalendarDatesOnly) {
    EXPECT_EQ(DateFromParts("29", "02", "2004"), (Date{2004, 2, 29}));
    EXPECT_EQ(DateFromParts(" 5", "3 ", "2011"), (Date{2011, 3, 5}));
    EXPECT_FALSE(DateFromParts("29", "02", "2005"));
    EXPECT_FALSE(DateFromParts("31", "02", "2010"));
    EXPECT_FALSE(DateFromParts("00", "01", "2010"));
    EXPECT_FALSE(DateFromParts("10", "13", "2010"));
    EXPECT_FALSE(DateFromParts("1a", "01", "2010"));
    EXPECT_FALSE(DateFromParts("10", "01", "10"));
    EXPECT_FALSE(DateFromParts("", "01", "2010"));
    EXPECT_FALSE(DateFromParts("10", "01", "0000"));
}

TEST(DateText, ReadsAndWritesDayMonthYear) {
    EXPECT_EQ(DateFromText("05-03-2011"), (Date{2011, 3, 5}));
    EXPECT_FALSE(DateFromText("2011-03-05"));
    EXPECT_FALSE(DateFromText("05/03/2011"));
    EXPECT_EQ(FormatDate({2011, 3, 5}), "05-03-2011");
}

TEST(LocalDate, TakesTheDayOfTheLocalCalendar) {
    // 23:30 UTC on 8 December is already 9 December one hour east of Greenwich.
    const char* saved = std::getenv("TZ");
    const std::string previous = saved ? saved : "";
    setenv("TZ", "CET-1", 1);
    tzset();
    using namespace std::chrono;
    const auto lateEvening = sys_days{year{2026} / 12 / 8} + hours{23} + minutes{30};
    EXPECT_EQ(LocalDate(lateEvening), (Date{2026, 12, 9}));
    EXPECT_EQ(LocalDate(lateEvening - hours{1}), (Date{2026, 12, 8}));
    if (saved)
        setenv("TZ", previous.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

}  // namespace
}  // namespace zor::record
