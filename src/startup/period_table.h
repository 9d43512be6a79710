// The twelve monthly periods of the book year: read from the period file,
// reconciled with the book year's first day, searched for today.
#ifndef H5KAKEI_STARTUP_PERIOD_TABLE_H_
#define H5KAKEI_STARTUP_PERIOD_TABLE_H_

#include <cstdint>

#include "store/module.h"

namespace h5 {

// Sets all fields of entries 1..12 to 0.
void ClearPeriodTable(PeriodTableType& table);

// Fills table from the period file of FiscalYear: at most the first 12
// records in key order. A missing or unreadable file leaves it empty.
void LoadPeriodTable(PeriodTableType& table);

// Reconciles table with from, the day number of the book year's first day:
// rebuilds all twelve periods when entry 1 is empty or starts in another
// month, moves the first start and last end when only the day differs.
void FixPeriodTable(int32_t from, PeriodTableType& table);

// The smaller of day and the length of the month (month 13 = January of the
// next year).
int16_t ClampDay(int32_t year, int32_t month, int32_t day);

// The last position 1..12 whose period contains day; 0 when none does.
int16_t FindCurrentMonth(const PeriodTableType& table, int32_t day);

}  // namespace h5

#endif  // H5KAKEI_STARTUP_PERIOD_TABLE_H_
