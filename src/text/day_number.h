// Dates as day numbers: 32-bit signed counts of days, day 0 = 30 December
// 1899 (day 2 = 1 January 1900), as OLE dates count them.
#ifndef H5KAKEI_TEXT_DAY_NUMBER_H_
#define H5KAKEI_TEXT_DAY_NUMBER_H_

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace h5 {

struct CalendarDate {
  int32_t year = 0;
  int32_t month = 0;  // 1..12
  int32_t day = 0;    // 1..31
  friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// The day number of (year, month, day) composed with carry: month 13 is
// January of the next year, month 0 December of the year before, day 0 the
// last day of the previous month, a day beyond the month runs on into the
// next. Any int32 arguments are accepted: the proleptic Gregorian calendar
// is extended without limit and a result beyond the int32 range saturates at
// INT32_MIN / INT32_MAX (some 5.8 million years away) instead of overflowing.
int32_t DayNumber(int32_t year, int32_t month, int32_t day);

// The calendar parts of a day number; defined for every int32.
CalendarDate CalendarParts(int32_t day_number);

// 1 = Sunday .. 7 = Saturday; defined for every int32.
int32_t Weekday(int32_t day_number);

// The day number of a chrono date; a date that is not ok() (30 February,
// month 13) is composed with carry like DayNumber.
int32_t DayNumberOf(std::chrono::year_month_day date);
// The chrono date of a day number, clamped to the years chrono can hold
// (-32767..32767).
std::chrono::year_month_day DateOf(int32_t day_number);

// "YYYY-MM-DD" of a day number, the form ParseIsoDate reads.
std::string IsoDateText(int32_t day_number);

// "YYYY-MM-DD" with digits only, naming a real day of year 1 or later.
std::optional<std::chrono::year_month_day> ParseIsoDate(std::string_view text);

}  // namespace h5

#endif  // H5KAKEI_TEXT_DAY_NUMBER_H_
