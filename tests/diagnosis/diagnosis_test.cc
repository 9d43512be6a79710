// The bank business-day calendar, category-name keys and pay statements that
// count once.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <vector>

#include "book.h"
#include "diagnosis/calendar.h"
#include "diagnosis/category_name.h"
#include "store/files.h"
#include "store_fixture.h"
#include "text/day_number.h"

namespace h5 {
namespace {

using namespace std::chrono;

// The day number of a date written as yyyymmdd.
int32_t Day(int32_t yyyymmdd) {
  return DayNumber(yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100);
}

TEST(CalendarTest, NthWeekdayOfMonthAndEquinoxes) {
  // year, month, weekday, n, date: months that start after, on and before
  // the weekday; a first Sunday, a fifth Saturday; a month carried over.
  const std::array<int32_t, 5> nths[] = {{2002, 1, 2, 2, 20020114}, {2001, 1, 2, 2, 20010108},
                                         {2000, 1, 2, 2, 20000110}, {2002, 3, 1, 1, 20020303},
                                         {2002, 3, 7, 5, 20020330}, {2002, 13, 2, 2, 20030113}};
  for (auto [y, m, w, n, date] : nths) EXPECT_EQ(NthWeekdayOfMonth(y, m, w, n), Day(date));
  // Before 1980 the quotient is truncated toward zero, not rounded down:
  // 1979 gives 20.8431 - 0.242194 - 0 -> 20 (rounding down would give 21).
  const std::array<int32_t, 3> equinoxes[] = {{1980, 20, 23}, {1999, 21, 23}, {2000, 20, 23},
                                              {2002, 21, 23}, {2012, 20, 22}, {2020, 20, 22},
                                              {1979, 20, 23}, {1976, 20, 23}, {1975, 20, 23}};
  for (auto [year, vernal, autumnal] : equinoxes) {
    EXPECT_EQ(std::pair(VernalEquinoxDay(year), AutumnalEquinoxDay(year)),
              std::pair(vernal, autumnal));
  }
}

bool IsWeekend(int32_t n) { return Weekday(n) == 1 || Weekday(n) == 7; }

// The holidays of one year built from the rules, independently of the
// three-month list, with Sunday holidays other than 3 January also giving
// the Monday after.
std::set<int32_t> HolidaysOfYear(int y) {
  const auto nth_monday = [y](unsigned m, unsigned n) {
    return DayNumberOf(year_month_day{sys_days{year{y} / month{m} / Monday[n]}});
  };
  std::set<int32_t> days = {DayNumber(y, 3, VernalEquinoxDay(y)),
                            DayNumber(y, 9, AutumnalEquinoxDay(y)),
                            y >= 2000 ? nth_monday(1, 2) : DayNumber(y, 1, 15),
                            y >= 2000 ? nth_monday(10, 2) : DayNumber(y, 10, 10)};
  const std::pair<int, int> fixed[] = {{1, 1},  {1, 2},   {1, 3},   {2, 11}, {4, 29},
                                       {5, 3},  {5, 4},   {5, 5},   {7, 20}, {9, 15},
                                       {11, 3}, {11, 23}, {12, 23}, {12, 31}};
  for (auto [m, d] : fixed) days.insert(DayNumber(y, m, d));
  std::set<int32_t> with_substitutes = days;
  for (int32_t d : days) {
    if (Weekday(d) == 1 && d != DayNumber(y, 1, 3)) with_substitutes.insert(d + 1);
  }
  return with_substitutes;
}

TEST(CalendarTest, SweepGivesFirstBusinessDayOnOrAfter) {
  std::set<int32_t> holidays;
  for (int y = 1899; y <= 2101; ++y) holidays.merge(HolidaysOfYear(y));
  const auto business = [&](int32_t d) { return !IsWeekend(d) && holidays.count(d) == 0; };
  int moved = 0;
  for (int32_t n = DayNumber(1900, 1, 1); n <= DayNumber(2100, 12, 31); ++n) {
    const CalendarDate date = CalendarParts(n);
    const int32_t result =
        NextBankBusinessDay(static_cast<int16_t>(date.year), static_cast<int16_t>(date.month),
                            static_cast<int16_t>(date.day));
    ASSERT_GE(result, n) << date.year << "-" << date.month << "-" << date.day;
    for (int32_t d = n; d <= result; ++d) {
      ASSERT_EQ(business(d), d == result) << date.year << "-" << date.month << "-" << date.day;
    }
    moved += result != n;
  }
  EXPECT_GT(moved, 20000);  // weekends alone account for 2/7 of the days
  // Composed dates know only the holidays of the months around the month
  // given: month 0 those of January, not of the December before.
  EXPECT_EQ(NextBankBusinessDay(2002, 2, 30), Day(20020304));
  EXPECT_EQ(NextBankBusinessDay(2002, 13, 1), Day(20030106));
  EXPECT_EQ(NextBankBusinessDay(2002, 0, 31), Day(20011231));
}

// Far outside any real calendar: computed without overflow, a weekday at or
// after the composed date.
TEST(CalendarTest, ExtremeArgumentsStayDefined) {
  const std::array<int16_t, 3> cases[] = {{32767, 12, 31},       {-32768, 1, 1},
                                          {32767, 32767, 32767}, {-32768, -32768, -32768},
                                          {2002, 0, 0},          {0, 1, 1}};
  for (auto [y, m, d] : cases) {
    const int32_t result = NextBankBusinessDay(y, m, d);
    EXPECT_GE(result, DayNumber(y, m, d));
    EXPECT_FALSE(IsWeekend(result)) << y << " " << m << " " << d;
  }
  for (int16_t n : {32767, -32768}) {
    EXPECT_EQ(NthWeekdayOfMonth(n, n, 2, n) - NthWeekdayOfMonth(n, n, 2, 1), (n - 1) * 7);
  }
}

// The key's level byte follows from the codes: 0 without a middle code, else
// 1 without a minor one, else 2; a category not found reads as asterisks.
TEST_F(StoreTest, CategoryNameKeyFollowsTheCodes) {
  OpenHimoku(Module().KakeiDir);
  CategoryNameBuffer name;
  for (auto [middle, minor, level] : {std::array<uint8_t, 3>{0, 6, 0}, {5, 0, 1}, {5, 6, 2}}) {
    LookupCategoryName(4, 7, 3, middle, minor, name);
    const std::vector<uint8_t>& key = records.calls().back().key;
    EXPECT_EQ(std::vector<uint8_t>(key.begin(), key.begin() + 8),
              (std::vector<uint8_t>{7, level, minor, 0, middle, 0, 3, 0}));
    EXPECT_EQ(std::string(name.begin(), name.end()), "******              ");
  }
}

// A pay statement booked twice in a period counts once.
TEST_F(BookTest, APayStatementCountsOncePerPeriod) {
  nlohmann::json book = WorkedBook();
  nlohmann::json& cash = book["data"][std::string(kBook) + "suitou02.dat"]["records"];
  cash.insert(cash.begin() + 5, cash[4]);
  Build(book);
  StartUp(2002, 4, 15);
  EXPECT_EQ(Diagnose().trace().spending, 1800);
}

}  // namespace
}  // namespace h5
