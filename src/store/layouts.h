// Read-only views over the packed records of the transaction files, the
// start file and the period file. A view borrows the record buffer; a field
// that would lie past a short buffer reads as 0.
#ifndef H5KAKEI_STORE_LAYOUTS_H_
#define H5KAKEI_STORE_LAYOUTS_H_

#include <cstddef>
#include <cstdint>
#include <span>

#include "text/fields.h"

namespace h5 {

// The cash book, "suitou" + yy + ".dat", 79 bytes. Key 0 begins with the
// entry date.
namespace cash_book_layout {
constexpr size_t kEntryKind = 0;          // byte: 1 = spending outflow
constexpr size_t kCategoryCode = 5;       // 16-bit major category code
constexpr size_t kEntryDate = 7;          // 32-bit day number
constexpr size_t kCardCode = 11;          // 16-bit, 0 = no card
constexpr size_t kStatementCode = 17;     // 16-bit pay-statement code
constexpr size_t kAmount = 33;            // 32-bit yen
constexpr size_t kFromPayStatement = 44;  // byte: 1 = booked from a pay statement
constexpr int32_t kRecordLength = 79;
constexpr int16_t kKeyNumber = 0;
}  // namespace cash_book_layout

class CashBookRecordView {
 public:
  explicit CashBookRecordView(std::span<const uint8_t> record) : r_(record) {}
  uint8_t entryKind() const { return GetByteAt(r_, cash_book_layout::kEntryKind); }
  int16_t categoryCode() const { return GetInt16At(r_, cash_book_layout::kCategoryCode); }
  int32_t entryDate() const { return GetInt32At(r_, cash_book_layout::kEntryDate); }
  int16_t cardCode() const { return GetInt16At(r_, cash_book_layout::kCardCode); }
  int16_t statementCode() const { return GetInt16At(r_, cash_book_layout::kStatementCode); }
  int32_t amount() const { return GetInt32At(r_, cash_book_layout::kAmount); }
  uint8_t fromPayStatement() const { return GetByteAt(r_, cash_book_layout::kFromPayStatement); }

 private:
  std::span<const uint8_t> r_;
};

// The installment file, "bunkat" + yy + ".dat", 27 bytes. Key 7 begins with
// the debit date.
namespace installment_layout {
constexpr size_t kEntryKind = 0;   // byte: 1 = a debit that counts as spending
constexpr size_t kCardCode = 7;    // 16-bit, key 0 of Credit.dat
constexpr size_t kDebitDate = 15;  // 32-bit day number
constexpr size_t kAmount = 19;     // 32-bit yen
constexpr int32_t kRecordLength = 27;
constexpr int16_t kKeyNumber = 7;
}  // namespace installment_layout

class InstallmentRecordView {
 public:
  explicit InstallmentRecordView(std::span<const uint8_t> record) : r_(record) {}
  uint8_t entryKind() const { return GetByteAt(r_, installment_layout::kEntryKind); }
  int16_t cardCode() const { return GetInt16At(r_, installment_layout::kCardCode); }
  int32_t debitDate() const { return GetInt32At(r_, installment_layout::kDebitDate); }
  int32_t amount() const { return GetInt32At(r_, installment_layout::kAmount); }

 private:
  std::span<const uint8_t> r_;
};

// The budget file, "Yosan" + yy + ".dat", 12 bytes. Key 0 is bytes 0-7.
namespace budget_layout {
constexpr size_t kMonth = 0;       // byte: accounting month 1..12
constexpr size_t kBudgetKind = 1;  // byte: 1 = totalled by the diagnosis
constexpr size_t kItemCode1 = 2;   // 16-bit
constexpr size_t kItemCode2 = 4;   // 16-bit
constexpr size_t kItemCode3 = 6;   // 16-bit
constexpr size_t kAmount = 8;      // 32-bit yen
constexpr int32_t kRecordLength = 12;
constexpr int16_t kKeyNumber = 0;
}  // namespace budget_layout

class BudgetRecordView {
 public:
  explicit BudgetRecordView(std::span<const uint8_t> record) : r_(record) {}
  uint8_t month() const { return GetByteAt(r_, budget_layout::kMonth); }
  uint8_t budgetKind() const { return GetByteAt(r_, budget_layout::kBudgetKind); }
  int16_t itemCode1() const { return GetInt16At(r_, budget_layout::kItemCode1); }
  int16_t itemCode2() const { return GetInt16At(r_, budget_layout::kItemCode2); }
  int16_t itemCode3() const { return GetInt16At(r_, budget_layout::kItemCode3); }
  int32_t amount() const { return GetInt32At(r_, budget_layout::kAmount); }

 private:
  std::span<const uint8_t> r_;
};

// Kyuyo.dat, the pay-statement item definitions, 26 bytes. Key 1 is bytes
// 0-3: record class, statement code.
namespace salary_item_def_layout {
constexpr size_t kRecordClass = 0;    // 16-bit: 1 = an item definition
constexpr size_t kStatementCode = 2;  // 16-bit
constexpr size_t kItemKind = 4;       // byte: 1 = counts as spending
constexpr size_t kItemNumber = 13;    // 16-bit, links to the amounts
constexpr size_t kItemGroup = 15;     // 16-bit
constexpr int32_t kRecordLength = 26;
constexpr int16_t kKeyNumber = 1;
}  // namespace salary_item_def_layout

class SalaryItemDefRecordView {
 public:
  explicit SalaryItemDefRecordView(std::span<const uint8_t> record) : r_(record) {}
  int16_t recordClass() const { return GetInt16At(r_, salary_item_def_layout::kRecordClass); }
  int16_t statementCode() const { return GetInt16At(r_, salary_item_def_layout::kStatementCode); }
  uint8_t itemKind() const { return GetByteAt(r_, salary_item_def_layout::kItemKind); }
  int16_t itemNumber() const { return GetInt16At(r_, salary_item_def_layout::kItemNumber); }
  int16_t itemGroup() const { return GetInt16At(r_, salary_item_def_layout::kItemGroup); }

 private:
  std::span<const uint8_t> r_;
};

// The salary-amount file, "Kyuyo" + yy + ".dat", 26 bytes. Key 2 is bytes
// 0-5: salary kind, statement code, month.
namespace salary_amount_layout {
constexpr size_t kSalaryKind = 0;     // 16-bit: 0 = category "給与", 1 = other
constexpr size_t kStatementCode = 2;  // 16-bit
constexpr size_t kMonth = 4;          // 16-bit calendar month
constexpr size_t kItemNumber = 6;     // 16-bit, 0 or less = no item
constexpr size_t kStatementDate = 8;  // 32-bit day number
constexpr size_t kAmount = 12;        // 32-bit yen
constexpr int32_t kRecordLength = 26;
constexpr int16_t kKeyNumber = 2;
}  // namespace salary_amount_layout

class SalaryAmountRecordView {
 public:
  explicit SalaryAmountRecordView(std::span<const uint8_t> record) : r_(record) {}
  int16_t salaryKind() const { return GetInt16At(r_, salary_amount_layout::kSalaryKind); }
  int16_t statementCode() const { return GetInt16At(r_, salary_amount_layout::kStatementCode); }
  int16_t month() const { return GetInt16At(r_, salary_amount_layout::kMonth); }
  int16_t itemNumber() const { return GetInt16At(r_, salary_amount_layout::kItemNumber); }
  int32_t statementDate() const { return GetInt32At(r_, salary_amount_layout::kStatementDate); }
  int32_t amount() const { return GetInt32At(r_, salary_amount_layout::kAmount); }

 private:
  std::span<const uint8_t> r_;
};

// The start file, "start" + yy + ".dat", 8 bytes: the first day of the book
// year. Bytes 0-1 are not used.
namespace start_layout {
constexpr size_t kYear = 2;   // 16-bit
constexpr size_t kMonth = 4;  // 16-bit
constexpr size_t kDay = 6;    // 16-bit
constexpr int32_t kRecordLength = 8;
}  // namespace start_layout

class StartRecordView {
 public:
  explicit StartRecordView(std::span<const uint8_t> record) : r_(record) {}
  int16_t Year() const { return GetInt16At(r_, start_layout::kYear); }
  int16_t Month() const { return GetInt16At(r_, start_layout::kMonth); }
  int16_t Day() const { return GetInt16At(r_, start_layout::kDay); }

 private:
  std::span<const uint8_t> r_;
};

// The period file, "Kikan" + yy + ".dat", 12 bytes a monthly period. Key 0
// begins with year and month.
namespace period_layout {
constexpr size_t kYear = 0;      // 16-bit
constexpr size_t kMonth = 2;     // 16-bit
constexpr size_t kStartDay = 4;  // 32-bit day number
constexpr size_t kEndDay = 8;    // 32-bit day number, inclusive
constexpr int32_t kRecordLength = 12;
}  // namespace period_layout

class PeriodRecordView {
 public:
  explicit PeriodRecordView(std::span<const uint8_t> record) : r_(record) {}
  int16_t Year() const { return GetInt16At(r_, period_layout::kYear); }
  int16_t Month() const { return GetInt16At(r_, period_layout::kMonth); }
  int32_t StartDay() const { return GetInt32At(r_, period_layout::kStartDay); }
  int32_t EndDay() const { return GetInt32At(r_, period_layout::kEndDay); }

 private:
  std::span<const uint8_t> r_;
};

}  // namespace h5

#endif  // H5KAKEI_STORE_LAYOUTS_H_
