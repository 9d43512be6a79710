#include "startup/period_table.h"

#include <algorithm>

#include "store/files.h"
#include "text/day_number.h"

namespace h5 {
namespace {

bool SameMonth(int32_t a, int32_t b) {
  CalendarDate x = CalendarParts(a);
  CalendarDate y = CalendarParts(b);
  return x.year == y.year && x.month == y.month;
}

// Day number of the day before day d + 1 of the month after (year, month),
// cut to that month's end: the last day of a period that starts on day d + 1.
int32_t PeriodEnd(int32_t year, int32_t month, int16_t d) {
  return DayNumber(year, month + 1, ClampDay(year, month + 1, d));
}

}  // namespace

void ClearPeriodTable(PeriodTableType& table) { table.fill(PeriodEntry{}); }

void LoadPeriodTable(PeriodTableType& table) {
  ClearPeriodTable(table);
  int16_t count = 0;
  ModuleData& m = Module();
  OpenKikan();
  m.kikan.key_number = 0;
  m.kikan.key_buffer.fill(0);  // two 16-bit zeros: from the first period on
  ReadGtorEQKikan();
  while (true) {
    if (m.BtrStatus != 0) {
      CloseKikan();
      return;
    }
    ++count;
    if (count == 13) {  // a thirteenth record is never stored
      CloseKikan();
      return;
    }
    table[count] = m.PeriodRecord;
    ReadNXTKikan();
  }
}

void FixPeriodTable(int32_t from, PeriodTableType& table) {
  CalendarDate start = CalendarParts(from);
  int32_t year = start.year;
  int32_t month = start.month;
  auto d = static_cast<int16_t>(start.day - 1);
  PeriodEntry& first = table[1];

  if (first.Year == 0 || !SameMonth(first.StartDay, from)) {
    first.Year = static_cast<int16_t>(year);
    first.Month = static_cast<int16_t>(month);
    first.StartDay = from;
    first.EndDay = PeriodEnd(year, month, d);
    for (int i = 2; i <= 12; ++i) {
      if (++month > 12) {
        ++year;
        month = 1;
      }
      PeriodEntry& entry = table[i];
      entry.Year = static_cast<int16_t>(year);
      entry.Month = static_cast<int16_t>(month);
      entry.StartDay = table[i - 1].EndDay + 1;
      entry.EndDay = PeriodEnd(year, month, d);
    }
    return;
  }
  if (first.StartDay != from) {
    first.StartDay = from;
    // Composed with carry and not clamped: the period file's own months rule.
    CalendarDate last = CalendarParts(table[12].EndDay);
    table[12].EndDay = DayNumber(last.year, last.month, d);
  }
}

int16_t ClampDay(int32_t year, int32_t month, int32_t day) {
  int32_t length = DayNumber(year, month + 1, 1) - DayNumber(year, month, 1);
  return static_cast<int16_t>(std::min(day, length));
}

int16_t FindCurrentMonth(const PeriodTableType& table, int32_t day) {
  int16_t found = 0;
  for (int16_t i = 1; i <= 12; ++i) {
    if (table[i].StartDay <= day && table[i].EndDay >= day) found = i;
  }
  return found;
}

}  // namespace h5
