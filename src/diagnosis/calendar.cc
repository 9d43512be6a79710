#include "diagnosis/calendar.h"

#include <cmath>

#include "text/day_number.h"

namespace h5 {

namespace {

constexpr int32_t kSunday = 1;
constexpr int32_t kMonday = 2;
constexpr int32_t kSaturday = 7;

// Truncation toward zero; the holiday formulas rely on it for years before
// 1980, where it differs from rounding down.
double Fix(double value) { return std::trunc(value); }

// Day of the month of an equinox: Fix(constant + 0.242194 * (Y - 1980) -
// Fix((Y - 1980) / 4)), the operations in exactly this order.
int32_t EquinoxDay(double constant, int32_t year) {
  const double years = static_cast<double>(year - 1980);
  const double product = 0.242194 * years;
  const double sum = constant + product;
  const double value = sum - Fix(years / 4.0);
  return static_cast<int32_t>(Fix(value));
}

// 32-bit form of NthWeekdayOfMonth: January of year + 1 may lie one past the
// 16-bit range.
int32_t NthWeekday(int32_t year, int32_t month, int32_t weekday, int32_t n) {
  const int32_t first = DayNumber(year, month, 1);
  const int32_t w = Weekday(first);
  const int32_t offset = w > weekday ? 7 - w + weekday : weekday - w;
  return first + offset + (n - 1) * 7;
}

void Add(HolidayList& list, int32_t day_number) {
  if (list.count >= static_cast<int16_t>(list.days.size())) return;
  list.days[static_cast<size_t>(list.count)] = day_number;
  ++list.count;
}

// Adds the holidays of one calendar month (1..12) of year.
void AddMonth(HolidayList& list, int32_t year, int32_t month) {
  const auto day = [year, month](int32_t d) { return DayNumber(year, month, d); };
  const auto second_monday = [year, month]() { return NthWeekday(year, month, kMonday, 2); };
  switch (month) {
    case 1:
      Add(list, day(1));
      Add(list, day(2));
      Add(list, day(3));
      Add(list, year >= 2000 ? second_monday() : day(15));
      break;
    case 2:
      Add(list, day(11));
      break;
    case 3:
      Add(list, day(VernalEquinoxDay(year)));
      break;
    case 4:
      Add(list, day(29));
      break;
    case 5:
      Add(list, day(3));
      Add(list, day(4));
      Add(list, day(5));
      break;
    case 7:
      Add(list, day(20));
      break;
    case 9:
      Add(list, day(15));
      Add(list, day(AutumnalEquinoxDay(year)));
      break;
    case 10:
      Add(list, year >= 2000 ? second_monday() : day(10));
      break;
    case 11:
      Add(list, day(3));
      Add(list, day(23));
      break;
    case 12:
      Add(list, day(23));
      Add(list, day(31));
      break;
    default:  // June, August and anything that is no month
      break;
  }
}

bool IsThirdOfJanuary(int32_t day_number) {
  const CalendarDate date = CalendarParts(day_number);
  return date.month == 1 && date.day == 3;
}

}  // namespace

int32_t NthWeekdayOfMonth(int16_t year, int16_t month, int16_t weekday, int16_t n) {
  return NthWeekday(year, month, weekday, n);
}

int32_t VernalEquinoxDay(int32_t year) { return EquinoxDay(20.8431, year); }

int32_t AutumnalEquinoxDay(int32_t year) { return EquinoxDay(23.2488, year); }

HolidayList BankHolidays(int16_t year, int16_t month) {
  HolidayList list;
  const int32_t middle = month;
  for (int32_t m = middle - 1; m <= middle + 1; ++m) {
    if (m == 13) {
      AddMonth(list, static_cast<int32_t>(year) + 1, 1);
    } else if (m >= 1 && m <= 12) {
      AddMonth(list, year, m);
    }
  }
  // Substitute holidays: a Sunday holiday moves to Monday, except 3 January,
  // which ends a run of holidays anyway.
  for (int16_t i = 0; i < list.count; ++i) {
    int32_t& entry = list.days[static_cast<size_t>(i)];
    if (Weekday(entry) == kSunday && !IsThirdOfJanuary(entry)) ++entry;
  }
  return list;
}

int32_t NextBankBusinessDay(int16_t year, int16_t month, int16_t day) {
  const HolidayList holidays = BankHolidays(year, month);
  int32_t d = DayNumber(year, month, day);
  for (;;) {
    if (Weekday(d) == kSunday) d += 1;
    if (Weekday(d) == kSaturday) d += 2;
    bool holiday = false;
    for (int16_t i = 0; i < holidays.count; ++i) {
      if (holidays.days[static_cast<size_t>(i)] == d) {
        holiday = true;
        break;
      }
    }
    if (!holiday) return d;
    d += 1;
  }
}

}  // namespace h5
