// The month's spending and budget, in yen.
#ifndef H5KAKEI_DIAGNOSIS_SPENDING_H_
#define H5KAKEI_DIAGNOSIS_SPENDING_H_

#include <cstdint>
#include <string>
#include <vector>

namespace h5 {

// A pay statement already expanded in this period.
struct StatementSeenEntry {
  int16_t month = 0;
  int16_t statement_code = 0;
  int16_t salary_kind = 0;
};

// The profile file that may hold [ｵﾌﾟｼｮﾝ] 集計: the account book's own
// Kakei.ini (DataDir + KakeiSubDir).
std::string AggregationOptionFile();

// This thread's AggregationOption as the last SumMonthSpending read it:
// 1 counts card purchases on their purchase date, anything else on their
// debit day through the installment file.
int16_t& AggregationOption();

// Totals the spending of the period [period_start, period_end] (day numbers,
// both inclusive) from the cash book, the counted pay-statement items and the
// card debits due in the period. Expects the cash book, installment,
// card, category, item-definition and salary-amount files opened (the last
// four may be absent). Totals saturate at 2147483647.
void SumMonthSpending(int32_t& period_start, int32_t& period_end, int32_t& spending_total,
                      std::vector<StatementSeenEntry>& statement_seen_list,
                      int16_t& statement_seen_last);

// Totals the kind-1 budget amounts of accounting month (1..12). Expects the
// budget file open.
void SumMonthBudget(int16_t& month, int32_t& budget_total);

}  // namespace h5

#endif  // H5KAKEI_DIAGNOSIS_SPENDING_H_
