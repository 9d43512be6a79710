#include "text/day_number.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

namespace h5 {
namespace {

using std::chrono::year_month_day;

struct Ymd {
  int32_t year, month, day;
};

TEST(DayNumberTest, KnownDays) {
  const struct {
    Ymd date;
    int32_t day_number;
  } cases[] = {
      {{1899, 12, 30}, 0},    {{1899, 12, 31}, 1},    {{1900, 1, 1}, 2},
      {{1900, 3, 1}, 61},     {{1998, 3, 18}, 35872}, {{2000, 1, 1}, 36526},
      {{1899, 12, 29}, -1},   {{1800, 1, 1}, -36522}, {{9999, 12, 31}, 2958465},
      {{100, 1, 1}, -657434}, {{2002, 1, 1}, 37257},  {{2024, 2, 29}, 45351},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DayNumber(c.date.year, c.date.month, c.date.day), c.day_number) << c.day_number;
    EXPECT_EQ(CalendarParts(c.day_number), (CalendarDate{c.date.year, c.date.month, c.date.day}))
        << c.day_number;
  }
}

TEST(DayNumberTest, ComposesWithCarry) {
  const struct {
    Ymd carried, plain;
  } cases[] = {
      {{2002, 13, 1}, {2003, 1, 1}},    {{2002, 3, 0}, {2002, 2, 28}},
      {{2002, 2, 30}, {2002, 3, 2}},    {{2002, 0, 1}, {2001, 12, 1}},
      {{2002, -1, 15}, {2001, 11, 15}}, {{2002, -12, 1}, {2000, 12, 1}},
      {{2002, -11, 1}, {2001, 1, 1}},   {{2002, 25, 1}, {2004, 1, 1}},
      {{2004, 3, 0}, {2004, 2, 29}},    {{2002, 1, 0}, {2001, 12, 31}},
      {{2002, 1, -30}, {2001, 12, 1}},  {{2002, 1, 366}, {2003, 1, 1}},
      {{2002, 12, 32}, {2003, 1, 1}},   {{2002, 14, 0}, {2003, 1, 31}},
      {{2000, 2, 30}, {2000, 3, 1}},    {{1900, 2, 29}, {1900, 3, 1}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DayNumber(c.carried.year, c.carried.month, c.carried.day),
              DayNumber(c.plain.year, c.plain.month, c.plain.day))
        << c.carried.year << "-" << c.carried.month << "-" << c.carried.day;
  }
}

TEST(DayNumberTest, AgreesWithChronoOverFourCenturies) {
  for (int32_t n = DayNumber(1800, 1, 1); n <= DayNumber(2200, 12, 31); ++n) {
    const year_month_day date = DateOf(n);
    ASSERT_TRUE(date.ok()) << n;
    const CalendarDate parts = CalendarParts(n);
    ASSERT_EQ(parts.year, static_cast<int>(date.year())) << n;
    ASSERT_EQ(parts.month, static_cast<int32_t>(unsigned{date.month()})) << n;
    ASSERT_EQ(parts.day, static_cast<int32_t>(unsigned{date.day()})) << n;
    ASSERT_EQ(DayNumber(parts.year, parts.month, parts.day), n);
    ASSERT_EQ(DayNumberOf(date), n);
    ASSERT_EQ(Weekday(n), static_cast<int32_t>(std::chrono::weekday{date}.c_encoding()) + 1);
  }
}

TEST(DayNumberTest, Weekdays) {
  const struct {
    int32_t day_number, weekday;
  } cases[] = {
      {0, 7},  // Saturday 30 December 1899
      {1, 1},
      {2, 2},
      {-1, 6},
      {-7, 7},
      {-8, 6},
      {DayNumber(2002, 1, 12), 7},
      {DayNumber(2002, 1, 14), 2},
      {DayNumber(2010, 1, 3), 1},
      {DayNumber(2024, 2, 29), 5},
      // 2147483647 = 7 * 306783378 + 1; -2147483648 = 7 * -306783379 + 5.
      {std::numeric_limits<int32_t>::max(), 1},
      {std::numeric_limits<int32_t>::min(), 5},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Weekday(c.day_number), c.weekday) << c.day_number;
  }
}

TEST(DayNumberTest, ExtremeArgumentsSaturateWithoutOverflow) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  EXPECT_EQ(DayNumber(kMax, kMax, kMax), kMax);
  EXPECT_EQ(DayNumber(kMin, kMin, kMin), kMin);
  EXPECT_EQ(DayNumber(2002, 1, kMax), kMax);
  EXPECT_EQ(DayNumber(2002, 1, kMin), kMin + 37256);  // day 1 of 2002 is 37257
  EXPECT_EQ(DayNumber(kMax, 1, 1), kMax);
  EXPECT_EQ(DayNumber(kMin, 1, 1), kMin);
  // Day d of December 1899 is d - 30, so these sit right at the limits.
  EXPECT_EQ(DayNumber(1899, 12, kMax - 1), kMax - 31);
  EXPECT_EQ(DayNumber(1900, 1, kMax - 1), kMax);
  EXPECT_EQ(DayNumber(1900, 1, kMax), kMax);  // one past: saturated
  EXPECT_EQ(DayNumber(1899, 12, kMin + 30), kMin);
  EXPECT_EQ(DayNumber(1899, 12, kMin + 29), kMin);
  EXPECT_EQ(DayNumber(1899, 12, 30 - 2147483647), -2147483647);
  // Month carry alone reaches 179 million years, beyond any day number.
  EXPECT_EQ(DayNumber(0, kMax, 1), kMax);
  EXPECT_EQ(DayNumber(0, kMin, 1), kMin);
  EXPECT_EQ(DayNumber(0, kMax, kMin), kMax);
  EXPECT_EQ(DayNumber(2002, 1200, 1), DayNumber(2101, 12, 1));
  for (int32_t n : {kMin, kMin + 1, -1000000000, 1000000000, kMax - 1, kMax}) {
    const CalendarDate parts = CalendarParts(n);
    EXPECT_EQ(DayNumber(parts.year, parts.month, parts.day), n) << n;
  }
}

TEST(DayNumberTest, ChronoConversions) {
  using namespace std::chrono;
  EXPECT_EQ(DayNumberOf(1998y / March / 18d), 35872);
  EXPECT_EQ(DayNumberOf(2002y / February / 30d), DayNumber(2002, 3, 2));  // not ok(): carried
  EXPECT_EQ(DayNumberOf(year_month_day{2002y, month{13}, 1d}), DayNumber(2003, 1, 1));
  EXPECT_EQ(DateOf(2), 1900y / January / 1d);
  EXPECT_EQ(DateOf(std::numeric_limits<int32_t>::max()), year{32767} / December / 31d);
  EXPECT_EQ(DateOf(std::numeric_limits<int32_t>::min()), year{-32767} / January / 1d);
}

}  // namespace
}  // namespace h5
