#include "record/calendar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

namespace zor::record {
namespace {

TEST(AgeBetween, LeapDayBirthday) {
    const Date birth{2004, 2, 29};
    const Age before = AgeBetween({2012, 2, 28}, birth);
    EXPECT_EQ(before.years, 7);
    EXPECT_EQ(before.months, 11);
    const Age after = AgeBetween({2012, 3, 1}, birth);
    EXPECT_EQ(after.years, 8);
    EXPECT_EQ(after.months, 0);
    EXPECT_EQ(after.TotalMonths(), 96);
    // Stepping back from 29 February 2012 passes 28 February 2011, and the lost
    // day stays lost: on its leap-day birthday the child is still 7;11.
    const Age leapDay = AgeBetween({2012, 2, 29}, birth);
    EXPECT_EQ(leapDay.years, 7);
    EXPECT_EQ(leapDay.months, 11);
}

TEST(AgeBetween, BirthdayOnTheDayCountsAsFullYear) {
    const Age age = AgeBetween({2011, 3, 5}, {2003, 3, 5});
    EXPECT_EQ(age.years, 8);
    EXPECT_EQ(age.months, 0);
    const Age dayBefore = AgeBetween({2011, 3, 4}, {2003, 3, 5});
    EXPECT_EQ(dayBefore.years, 7);
    EXPECT_EQ(dayBefore.months, 11);
}

TEST(AgeBetween, DayLostToShortMonthStaysLost) {
    // From 31 May back: 30 April, then 30 March (not 31), so a child born on
    // 31 March is not yet two months older on 31 May.
    const Age age = AgeBetween({2011, 5, 31}, {2011, 3, 31});
    EXPECT_EQ(age.years, 0);
    EXPECT_EQ(age.months, 1);
    // The year step leaves c at 28 February; from there a month back is 28 January.
    const Age leap = AgeBetween({2012, 2, 29}, {2000, 1, 15});
    EXPECT_EQ(leap.years, 12);
    EXPECT_EQ(leap.months, 1);
}

TEST(AgeBetween, BirthAfterLaterDateIsZero) {
    const Age age = AgeBetween({2011, 3, 5}, {2012, 1, 1});
    EXPECT_EQ(age.years, 0);
    EXPECT_EQ(age.months, 0);
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
