#include "diagnosis/calendar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "text/day_number.h"

namespace h5 {
namespace {

using namespace std::chrono;

int32_t Day(int y, unsigned m, unsigned d) {
  return DayNumberOf(year_month_day{year{y}, month{m}, day{d}});
}

bool IsSunday(int32_t n) { return weekday{sys_days{DateOf(n)}} == Sunday; }
bool IsSaturday(int32_t n) { return weekday{sys_days{DateOf(n)}} == Saturday; }

TEST(CalendarTest, NthWeekdayOfMonth) {
  const struct {
    int16_t year, month, weekday, n;
    int32_t expected;
  } cases[] = {
      {2002, 1, 2, 2, Day(2002, 1, 14)},  // month starts on Tuesday (w > weekday)
      {2001, 1, 2, 2, Day(2001, 1, 8)},   // month starts on Monday (w == weekday)
      {2000, 1, 2, 2, Day(2000, 1, 10)},  // month starts on Saturday
      {2001, 10, 2, 2, Day(2001, 10, 8)}, {2002, 10, 2, 2, Day(2002, 10, 14)},
      {2002, 3, 1, 1, Day(2002, 3, 3)},    // first Sunday, month starts on Friday
      {2002, 3, 7, 5, Day(2002, 3, 30)},   // fifth Saturday
      {2002, 6, 7, 1, Day(2002, 6, 1)},    // June 2002 starts on Saturday
      {2002, 13, 2, 2, Day(2003, 1, 13)},  // month carried into the next year
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NthWeekdayOfMonth(c.year, c.month, c.weekday, c.n), c.expected)
        << c.year << "-" << c.month << " " << c.weekday << "/" << c.n;
  }
}

TEST(CalendarTest, EquinoxDays) {
  const struct {
    int32_t year, vernal, autumnal;
  } cases[] = {
      {1980, 20, 23},
      {1990, 21, 23},
      {1999, 21, 23},
      {2000, 20, 23},
      {2001, 20, 23},
      {2002, 21, 23},
      {2003, 21, 23},
      {2004, 20, 23},
      {2010, 21, 23},
      {2012, 20, 22},
      {2020, 20, 22},
      {2025, 20, 23},
      // Before 1980 the quotient is truncated toward zero, not rounded down:
      // 1979 gives 20.8431 - 0.242194 - 0 -> 20 (rounding down would give 21).
      {1979, 20, 23},
      {1976, 20, 23},
      {1975, 20, 23},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VernalEquinoxDay(c.year), c.vernal) << c.year;
    EXPECT_EQ(AutumnalEquinoxDay(c.year), c.autumnal) << c.year;
  }
}

TEST(CalendarTest, HolidayListKeepsInsertionOrder) {
  const struct {
    int16_t year, month;
    std::vector<int32_t> days;
  } cases[] = {
      {2001,
       12,
       {Day(2001, 11, 3), Day(2001, 11, 23), Day(2001, 12, 24) /* 23rd, a Sunday */,
        Day(2001, 12, 31), Day(2002, 1, 1), Day(2002, 1, 2), Day(2002, 1, 3), Day(2002, 1, 14)}},
      {2010,
       1,  // month 0 adds nothing; 3 January 2010 is a Sunday but stays
       {Day(2010, 1, 1), Day(2010, 1, 2), Day(2010, 1, 3), Day(2010, 1, 11), Day(2010, 2, 11)}},
      {2003,
       5,
       {Day(2003, 4, 29), Day(2003, 5, 3), Day(2003, 5, 5) /* 4th, a Sunday */, Day(2003, 5, 5)}},
      {1999, 9, {Day(1999, 9, 15), Day(1999, 9, 23), Day(1999, 10, 11) /* 10th, a Sunday */}},
      {2002, 8, {Day(2002, 7, 20), Day(2002, 9, 16) /* 15th, a Sunday */, Day(2002, 9, 23)}},
      {2002, 0, {Day(2002, 1, 1), Day(2002, 1, 2), Day(2002, 1, 3), Day(2002, 1, 14)}},
      {2002, 14, {Day(2003, 1, 1), Day(2003, 1, 2), Day(2003, 1, 3), Day(2003, 1, 13)}},
      {2002, 15, {}},
      {2002, -3, {}},
  };
  for (const auto& c : cases) {
    const HolidayList list = BankHolidays(c.year, c.month);
    ASSERT_EQ(list.count, static_cast<int16_t>(c.days.size())) << c.year << "-" << c.month;
    for (size_t i = 0; i < c.days.size(); ++i) {
      EXPECT_EQ(list.days[i], c.days[i]) << c.year << "-" << c.month << " #" << i;
    }
  }
}

TEST(CalendarTest, NextBankBusinessDayEdgeCases) {
  const struct {
    int16_t year, month, day;
    int32_t expected;
  } cases[] = {
      {2002, 1, 12, Day(2002, 1, 15)},    // Saturday -> second Monday -> Tuesday
      {2010, 1, 2, Day(2010, 1, 4)},      // 3 January on a Sunday has no substitute
      {2001, 12, 22, Day(2001, 12, 25)},  // 23 December on a Sunday -> 24th is off
      {2003, 5, 3, Day(2003, 5, 6)},      // 4 May shifted onto 5 May
      {2002, 3, 21, Day(2002, 3, 22)},    // vernal equinox
      {2002, 9, 23, Day(2002, 9, 24)},    // autumnal equinox
      {2002, 9, 14, Day(2002, 9, 17)},    // 15 September on a Sunday -> 16th off
      {2002, 6, 12, Day(2002, 6, 12)},    // ordinary Wednesday
      {2002, 6, 15, Day(2002, 6, 17)},    // ordinary Saturday
      {2002, 6, 16, Day(2002, 6, 17)},    // ordinary Sunday
      {1999, 1, 15, Day(1999, 1, 18)},    // Friday, Coming-of-Age Day before 2000
      {2002, 1, 15, Day(2002, 1, 15)},    // an ordinary Tuesday from 2000 on
      {1997, 10, 10, Day(1997, 10, 13)},  // Friday, Sports Day before 2000
      {2001, 10, 10, Day(2001, 10, 10)},  // an ordinary Wednesday from 2000 on
      {2001, 10, 8, Day(2001, 10, 9)},    // second Monday of October
      {2002, 4, 29, Day(2002, 4, 30)},
      {2002, 5, 3, Day(2002, 5, 7)},      // Friday 3rd .. Monday 6th (5th a Sunday)
      {2002, 11, 23, Day(2002, 11, 25)},  // Saturday holiday: nothing extra
      {2002, 2, 11, Day(2002, 2, 12)},
      {2002, 12, 30, Day(2002, 12, 30)},  // Monday, no holiday
      {2002, 12, 31, Day(2003, 1, 6)},    // 31st, 1-3 January, then the weekend
      {2002, 2, 30, Day(2002, 3, 4)},     // carried to Saturday 2 March
      {2002, 13, 1, Day(2003, 1, 6)},     // carried to 1 January 2003
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NextBankBusinessDay(c.year, c.month, c.day), c.expected)
        << c.year << "-" << c.month << "-" << c.day;
  }
}

TEST(CalendarTest, FixedHolidaysInEveryYear) {
  for (int16_t y = 1950; y <= 2099; ++y) {
    for (const auto& [m, d] : {std::pair{7, 20}, std::pair{9, 15}, std::pair{12, 31}}) {
      const int32_t holiday = Day(y, m, d);
      EXPECT_GT(NextBankBusinessDay(y, m, d), holiday) << y << "-" << m << "-" << d;
    }
    EXPECT_GE(NextBankBusinessDay(y, 12, 31), Day(y + 1, 1, 4)) << y;
    const int32_t january_15 = NextBankBusinessDay(y, 1, 15);
    const int32_t october_10 = NextBankBusinessDay(y, 10, 10);
    if (y < 2000) {
      EXPECT_GT(january_15, Day(y, 1, 15)) << y;
      EXPECT_GT(october_10, Day(y, 10, 10)) << y;
    } else {
      // Second Mondays fall on the 8th to the 14th, so the 15th and the 10th
      // are ordinary unless they are weekend days or the second Monday.
      if (!IsSaturday(Day(y, 1, 15)) && !IsSunday(Day(y, 1, 15))) {
        EXPECT_EQ(january_15, Day(y, 1, 15)) << y;
      }
      const bool tenth_off = IsSaturday(Day(y, 10, 10)) || IsSunday(Day(y, 10, 10)) ||
                             NthWeekdayOfMonth(y, 10, 2, 2) == Day(y, 10, 10);
      if (!tenth_off) {
        EXPECT_EQ(october_10, Day(y, 10, 10)) << y;
      }
    }
  }
}

// The holidays of one year, built from the rules independently of the
// three-month list, with Sunday holidays other than 3 January also giving
// the Monday after.
std::set<int32_t> HolidaysOfYear(int y) {
  std::set<int32_t> days;
  const auto nth_monday = [y](unsigned m, unsigned n) {
    return DayNumberOf(year_month_day{sys_days{year{y} / month{m} / Monday[n]}});
  };
  for (unsigned d : {1u, 2u, 3u}) days.insert(Day(y, 1, d));
  days.insert(y >= 2000 ? nth_monday(1, 2) : Day(y, 1, 15));
  days.insert(Day(y, 2, 11));
  days.insert(DayNumber(y, 3, VernalEquinoxDay(y)));
  days.insert(Day(y, 4, 29));
  for (unsigned d : {3u, 4u, 5u}) days.insert(Day(y, 5, d));
  days.insert(Day(y, 7, 20));
  days.insert(Day(y, 9, 15));
  days.insert(DayNumber(y, 9, AutumnalEquinoxDay(y)));
  days.insert(y >= 2000 ? nth_monday(10, 2) : Day(y, 10, 10));
  days.insert(Day(y, 11, 3));
  days.insert(Day(y, 11, 23));
  days.insert(Day(y, 12, 23));
  days.insert(Day(y, 12, 31));
  std::set<int32_t> with_substitutes = days;
  for (int32_t d : days) {
    if (IsSunday(d) && d != Day(y, 1, 3)) with_substitutes.insert(d + 1);
  }
  return with_substitutes;
}

TEST(CalendarTest, SweepGivesFirstBusinessDayOnOrAfter) {
  std::set<int32_t> holidays;
  for (int y = 1899; y <= 2101; ++y) holidays.merge(HolidaysOfYear(y));
  const auto business = [&](int32_t d) {
    return !IsSaturday(d) && !IsSunday(d) && holidays.count(d) == 0;
  };
  int moved = 0;
  for (int32_t n = Day(1900, 1, 1); n <= Day(2100, 12, 31); ++n) {
    const CalendarDate date = CalendarParts(n);
    const int32_t result =
        NextBankBusinessDay(static_cast<int16_t>(date.year), static_cast<int16_t>(date.month),
                            static_cast<int16_t>(date.day));
    ASSERT_GE(result, n) << date.year << "-" << date.month << "-" << date.day;
    ASSERT_TRUE(business(result)) << date.year << "-" << date.month << "-" << date.day;
    for (int32_t skipped = n; skipped < result; ++skipped) {
      ASSERT_FALSE(business(skipped)) << date.year << "-" << date.month << "-" << date.day;
    }
    if (result != n) ++moved;
  }
  EXPECT_GT(moved, 20000);  // weekends alone account for 2/7 of the days
}

TEST(CalendarTest, ExtremeArgumentsStayDefined) {
  // Far outside any real calendar: the results only have to be computed
  // without overflow and land on a weekday at or after the composed date.
  const struct {
    int16_t year, month, day;
  } cases[] = {{32767, 12, 31},          {-32768, 1, 1}, {32767, 32767, 32767},
               {-32768, -32768, -32768}, {2002, 0, 0},   {0, 1, 1}};
  for (const auto& c : cases) {
    const int32_t result = NextBankBusinessDay(c.year, c.month, c.day);
    EXPECT_GE(result, DayNumber(c.year, c.month, c.day));
    EXPECT_GE(Weekday(result), 2);  // DateOf cannot hold these years
    EXPECT_LE(Weekday(result), 6);
  }
  EXPECT_EQ(NthWeekdayOfMonth(32767, 32767, 2, 32767) - NthWeekdayOfMonth(32767, 32767, 2, 1),
            32766 * 7);
  EXPECT_EQ(NthWeekdayOfMonth(-32768, -32768, 2, -32768) - NthWeekdayOfMonth(-32768, -32768, 2, 1),
            -32769 * 7);
}

}  // namespace
}  // namespace h5
