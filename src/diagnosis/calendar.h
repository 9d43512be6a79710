// The bank business-day calendar: card debits fall due on the first day that
// is not a Saturday, a Sunday, a national holiday of the built-in Japanese
// calendar, 1-3 January or 31 December.
#ifndef H5KAKEI_DIAGNOSIS_CALENDAR_H_
#define H5KAKEI_DIAGNOSIS_CALENDAR_H_

#include <array>
#include <cstdint>

namespace h5 {

// Holidays of three consecutive months, in the order they were added.
struct HolidayList {
  std::array<int32_t, 21> days{};
  int16_t count = 0;
};

// The day number of the n-th given weekday (1 = Sunday .. 7 = Saturday) of
// the month; month is composed with carry like DayNumber.
int32_t NthWeekdayOfMonth(int16_t year, int16_t month, int16_t weekday, int16_t n);

// Day of March / September of the equinox holiday of year. Outside the years
// the formula was fitted to the result may lie outside the month; it is then
// carried into the neighbouring month like any composed date.
int32_t VernalEquinoxDay(int32_t year);
int32_t AutumnalEquinoxDay(int32_t year);

// The holidays of the months month - 1, month and month + 1 of year, with a
// holiday on a Sunday (other than 3 January) moved to the Monday after.
// Month 13 is January of the next year; any other month outside 1..12
// (including the month before January) contributes nothing.
HolidayList BankHolidays(int16_t year, int16_t month);

// The day number of the first bank business day on or after (year, month,
// day), composed with carry like DayNumber. Only the holidays of the
// neighbouring months are known, which covers every date a real calendar
// date can move to.
int32_t NextBankBusinessDay(int16_t year, int16_t month, int16_t day);

}  // namespace h5

#endif  // H5KAKEI_DIAGNOSIS_CALENDAR_H_
