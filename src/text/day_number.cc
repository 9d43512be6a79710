#include "text/day_number.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace h5 {

namespace {

// Days from 1970-01-01 to day 0, 1899-12-30.
constexpr int64_t kEpochShift = 25569;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days since 1970-01-01 of a valid proleptic Gregorian date (H. Hinnant's
// algorithm). 64-bit throughout, so any year an int32 month carry can reach
// is safe.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = FloorDiv(year, 400);
  const int64_t year_of_era = year - era * 400;
  const int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

CalendarDate CivilFromDays(int64_t days) {
  days += 719468;
  const int64_t era = FloorDiv(days, 146097);
  const int64_t day_of_era = days - era * 146097;
  const int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t shifted_month = (5 * day_of_year + 2) / 153;
  const int64_t day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
  const int64_t month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
  const int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
  return CalendarDate{static_cast<int32_t>(year), static_cast<int32_t>(month),
                      static_cast<int32_t>(day)};
}

int32_t Saturate(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t DayNumber(int32_t year, int32_t month, int32_t day) {
  const int64_t months_from_january = int64_t{month} - 1;
  const int64_t carried_year = int64_t{year} + FloorDiv(months_from_january, 12);
  const int64_t carried_month = months_from_january - FloorDiv(months_from_january, 12) * 12 + 1;
  return Saturate(DaysFromCivil(carried_year, carried_month, 1) + kEpochShift + int64_t{day} - 1);
}

CalendarDate CalendarParts(int32_t day_number) {
  return CivilFromDays(int64_t{day_number} - kEpochShift);
}

int32_t Weekday(int32_t day_number) {
  // Day 0 was a Saturday.
  const int64_t shifted = int64_t{day_number} + 6;
  return static_cast<int32_t>(shifted - FloorDiv(shifted, 7) * 7 + 1);
}

int32_t DayNumberOf(std::chrono::year_month_day date) {
  return DayNumber(static_cast<int>(date.year()), static_cast<int32_t>(unsigned{date.month()}),
                   static_cast<int32_t>(unsigned{date.day()}));
}

std::chrono::year_month_day DateOf(int32_t day_number) {
  static const int32_t first = DayNumber(-32767, 1, 1);
  static const int32_t last = DayNumber(32767, 12, 31);
  const int32_t clamped = std::clamp(day_number, first, last);
  return std::chrono::year_month_day{
      std::chrono::sys_days{std::chrono::days{int64_t{clamped} - kEpochShift}}};
}

std::string IsoDateText(int32_t day_number) {
  const CalendarDate date = CalendarParts(day_number);
  char text[32];
  std::snprintf(text, sizeof(text), "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

std::optional<std::chrono::year_month_day> ParseIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  auto number = [&](size_t pos, size_t length) -> std::optional<unsigned> {
    unsigned value = 0;
    for (char c : text.substr(pos, length)) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
  };
  std::optional<unsigned> year = number(0, 4), month = number(5, 2), day = number(8, 2);
  if (!year || !month || !day || *year < 1) return std::nullopt;
  std::chrono::year_month_day date{std::chrono::year{static_cast<int>(*year)},
                                   std::chrono::month{*month}, std::chrono::day{*day}};
  if (!date.ok()) return std::nullopt;
  return date;
}

}  // namespace h5
