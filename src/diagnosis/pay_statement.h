// The counted items of one pay statement of one month: their definitions come
// from the item-definition file, their amounts from the salary-amount file.
#ifndef H5KAKEI_DIAGNOSIS_PAY_STATEMENT_H_
#define H5KAKEI_DIAGNOSIS_PAY_STATEMENT_H_

#include <cstdint>
#include <vector>

namespace h5 {

struct SalaryItem {
  int16_t item_kind = 0;    // 1 = counted as spending
  int16_t item_number = 0;  // links a definition to its amounts
  int32_t amount = 0;       // yen
};

// Adds the amounts of the statement's items of kind counted_kind for month
// to spending_total (saturating at 2147483647).
void AddPayStatementItems(int16_t month, int16_t statement_code, int16_t salary_kind,
                          int32_t& spending_total, int16_t counted_kind);

// The item definitions of statement_code in item_group, in file order.
void LoadSalaryItemDefs(int16_t statement_code, int16_t item_group, std::vector<SalaryItem>& items,
                        int16_t& count);

// Sets the amounts of the listed items from the salary-amount records of
// (salary_kind, statement_code, month); unlisted item numbers are ignored.
void FillSalaryItemAmounts(int16_t month, int16_t salary_kind, int16_t statement_code,
                           std::vector<SalaryItem>& items, int16_t count);

}  // namespace h5

#endif  // H5KAKEI_DIAGNOSIS_PAY_STATEMENT_H_
