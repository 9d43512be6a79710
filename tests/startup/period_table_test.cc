#include "startup/period_table.h"

#include <gtest/gtest.h>

#include "text/day_number.h"

namespace h5 {
namespace {

std::string Iso(int32_t day) {
  CalendarDate d = CalendarParts(day);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
  return text;
}

struct Expected {
  int position;
  int year, month;
  const char* start;
  const char* end;
};

void ExpectPeriods(const PeriodTableType& table, std::initializer_list<Expected> expected) {
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.position);
    const PeriodEntry& entry = table[e.position];
    EXPECT_EQ(entry.Year, e.year);
    EXPECT_EQ(entry.Month, e.month);
    EXPECT_EQ(Iso(entry.StartDay), e.start);
    EXPECT_EQ(Iso(entry.EndDay), e.end);
  }
}

void ExpectConsecutive(const PeriodTableType& table) {
  for (int i = 2; i <= 12; ++i) EXPECT_EQ(table[i].StartDay, table[i - 1].EndDay + 1) << i;
}

TEST(FixPeriodTable, BuildsFromTheTwentyFifth) {
  PeriodTableType table{};
  FixPeriodTable(DayNumber(2002, 4, 25), table);
  ExpectPeriods(table, {{1, 2002, 4, "2002-04-25", "2002-05-24"},
                        {2, 2002, 5, "2002-05-25", "2002-06-24"},
                        {12, 2003, 3, "2003-03-25", "2003-04-24"}});
  ExpectConsecutive(table);
}

TEST(FixPeriodTable, BuildsCalendarMonthsFromTheFirst) {
  PeriodTableType table{};
  FixPeriodTable(DayNumber(2002, 4, 1), table);
  ExpectPeriods(table, {{1, 2002, 4, "2002-04-01", "2002-04-30"},
                        {2, 2002, 5, "2002-05-01", "2002-05-31"},
                        {11, 2003, 2, "2003-02-01", "2003-02-28"},
                        {12, 2003, 3, "2003-03-01", "2003-03-31"}});
  ExpectConsecutive(table);
}

TEST(FixPeriodTable, CutsToTheMonthsEndFromTheThirtyFirst) {
  PeriodTableType table{};
  FixPeriodTable(DayNumber(2002, 1, 31), table);
  ExpectPeriods(table, {{1, 2002, 1, "2002-01-31", "2002-02-28"},
                        {2, 2002, 2, "2002-03-01", "2002-03-30"},
                        {3, 2002, 3, "2002-03-31", "2002-04-30"},
                        {4, 2002, 4, "2002-05-01", "2002-05-30"}});
  ExpectConsecutive(table);
}

PeriodTableType FileTable() {
  PeriodTableType table{};
  FixPeriodTable(DayNumber(2002, 4, 25), table);
  return table;
}

TEST(FixPeriodTable, PatchesFirstStartAndLastEndWhenOnlyTheDayDiffers) {
  PeriodTableType table = FileTable();
  PeriodTableType before = table;
  FixPeriodTable(DayNumber(2002, 4, 10), table);
  EXPECT_EQ(Iso(table[1].StartDay), "2002-04-10");
  EXPECT_EQ(Iso(table[12].EndDay), "2003-04-09");
  for (int i = 2; i <= 11; ++i) EXPECT_EQ(table[i], before[i]) << i;
  EXPECT_EQ(table[1].EndDay, before[1].EndDay);
  EXPECT_EQ(table[12].StartDay, before[12].StartDay);
}

TEST(FixPeriodTable, PatchWithDayOneEndsOnTheLastDayOfThePreviousMonth) {
  PeriodTableType table = FileTable();
  FixPeriodTable(DayNumber(2002, 4, 1), table);
  EXPECT_EQ(Iso(table[1].StartDay), "2002-04-01");
  EXPECT_EQ(Iso(table[12].EndDay), "2003-03-31");
}

TEST(FixPeriodTable, ReplacesATableOfAnotherMonth) {
  PeriodTableType table = FileTable();
  FixPeriodTable(DayNumber(2002, 5, 25), table);
  ExpectPeriods(table, {{1, 2002, 5, "2002-05-25", "2002-06-24"}});
  ExpectConsecutive(table);
}

TEST(FixPeriodTable, KeepsAMatchingTable) {
  PeriodTableType table = FileTable();
  table[3].EndDay += 2;  // odd file contents stay as read
  PeriodTableType before = table;
  FixPeriodTable(DayNumber(2002, 4, 25), table);
  EXPECT_EQ(table, before);
}

TEST(ClampDay, CutsToTheMonthLength) {
  EXPECT_EQ(ClampDay(2002, 2, 30), 28);
  EXPECT_EQ(ClampDay(2004, 2, 30), 29);
  EXPECT_EQ(ClampDay(2002, 13, 31), 31);  // January 2003
  EXPECT_EQ(ClampDay(2002, 4, 0), 0);
  EXPECT_EQ(ClampDay(2002, 4, 24), 24);
}

TEST(FindCurrentMonth, TakesTheLastMatchAndZeroOutside) {
  PeriodTableType table = FileTable();
  EXPECT_EQ(FindCurrentMonth(table, DayNumber(2002, 4, 25)), 1);
  EXPECT_EQ(FindCurrentMonth(table, DayNumber(2002, 5, 24)), 1);
  EXPECT_EQ(FindCurrentMonth(table, DayNumber(2003, 4, 24)), 12);
  EXPECT_EQ(FindCurrentMonth(table, DayNumber(2003, 4, 25)), 0);
  EXPECT_EQ(FindCurrentMonth(table, DayNumber(2002, 4, 24)), 0);
  table[5] = table[1];  // overlapping periods: the later position wins
  EXPECT_EQ(FindCurrentMonth(table, DayNumber(2002, 5, 1)), 5);
  PeriodTableType empty{};
  EXPECT_EQ(FindCurrentMonth(empty, DayNumber(2002, 5, 1)), 0);
}

}  // namespace
}  // namespace h5
