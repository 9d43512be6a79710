#include "diagnosis/spending.h"

#include <limits>

#include "diagnosis/calendar.h"
#include "diagnosis/category_name.h"
#include "diagnosis/pay_statement.h"
#include "store/files.h"
#include "store/layouts.h"
#include "store/module.h"
#include "store/settings.h"
#include "text/ansi.h"
#include "text/checked.h"
#include "text/day_number.h"
#include "text/fields.h"
#include "text/vbstring.h"

namespace h5 {
namespace {

// How far before the period the installment pass starts: a debit dated up to
// a month earlier may move forward into the period.
constexpr int32_t kDebitMargin = 31;

int16_t SalaryKindOf(int16_t category_code) {
  CategoryNameBuffer name{};
  LookupCategoryName(4, 0, category_code, 0, 0, name);
  std::string text =
      FromAnsi(std::string_view(reinterpret_cast<const char*>(name.data()), name.size()));
  return TrimSpaces(text) == "給与" ? 0 : 1;
}

// The debit day moved to a bank business day. A date beyond the calendar's
// 16-bit years cannot be moved and is taken as it stands.
int32_t DueDay(int32_t debit_date) {
  CalendarDate date = CalendarParts(debit_date);
  std::optional<int16_t> year = ToInt16(date.year);
  if (!year) return debit_date;
  return NextBankBusinessDay(*year, static_cast<int16_t>(date.month),
                             static_cast<int16_t>(date.day));
}

void ExpandStatement(const CashBookRecordView& entry, int32_t& total,
                     std::vector<StatementSeenEntry>& seen, int16_t& seen_last) {
  int16_t salary_kind = SalaryKindOf(entry.categoryCode());
  auto month = static_cast<int16_t>(CalendarParts(entry.entryDate()).month);
  int16_t code = entry.statementCode();
  for (int i = 0; i <= seen_last && i < static_cast<int>(seen.size()); ++i) {
    const StatementSeenEntry& s = seen[i];
    if (s.month == month && s.statement_code == code && s.salary_kind == salary_kind) return;
  }
  // The index is 16-bit; past its end a statement is still counted, only no
  // longer remembered.
  if (seen_last < std::numeric_limits<int16_t>::max()) {
    ++seen_last;
    seen.resize(static_cast<size_t>(seen_last) + 1);
    seen[seen_last] = {month, code, salary_kind};
  }
  AddPayStatementItems(month, code, salary_kind, total, 1);
}

void CashBookPass(int32_t period_start, int32_t period_end, int32_t& total,
                  std::vector<StatementSeenEntry>& seen, int16_t& seen_last) {
  ModuleData& m = Module();
  m.suitou.key_number = 0;
  m.suitou.key_buffer.fill(0);
  PutInt32At(m.suitou.key_buffer, 0, period_start);
  ReadGtorEQSuitou();
  CashBookRecordView entry(m.suitou.record);
  const bool cards_on_purchase = AggregationOption() == 1;
  while (entry.entryDate() <= period_end && m.BtrStatus == 0) {
    if (entry.fromPayStatement() == 1) {
      ExpandStatement(entry, total, seen, seen_last);  // its own amount never counts
    } else if (!(entry.cardCode() != 0 && !cards_on_purchase)) {
      if (entry.entryKind() == 1) total = SaturatingTotalAdd(total, entry.amount());
    }
    ReadNXTSuitou();
  }
}

void InstallmentPass(int32_t period_start, int32_t period_end, int32_t& total) {
  ModuleData& m = Module();
  m.bunkatu.key_number = 7;
  m.bunkatu.key_buffer.fill(0);
  int32_t from = CheckedSub32(period_start, kDebitMargin).value_or(period_start);
  PutInt32At(m.bunkatu.key_buffer, 0, from);
  ReadGtorEQBunkatu();
  InstallmentRecordView debit(m.bunkatu.record);
  int32_t due = DueDay(debit.debitDate());
  while (due <= period_end && m.BtrStatus == 0) {
    if (due >= period_start) {
      m.credit.key_number = 0;
      m.credit.key_buffer.fill(0);
      PutInt16At(m.credit.key_buffer, 0, debit.cardCode());
      ReadEQCredit();
      // Only whether the card exists matters.
      if (m.BtrStatus == 0 && debit.entryKind() == 1) {
        total = SaturatingTotalAdd(total, debit.amount());
      }
    }
    ReadNXTBunkatu();
    due = DueDay(debit.debitDate());
  }
}

}  // namespace

std::string AggregationOptionFile() {
  return Module().DataDir + Module().KakeiSubDir + "Kakei.ini";
}

int16_t& AggregationOption() {
  thread_local int16_t option = 0;
  return option;
}

void SumMonthSpending(int32_t& period_start, int32_t& period_end, int32_t& spending_total,
                      std::vector<StatementSeenEntry>& statement_seen_list,
                      int16_t& statement_seen_last) {
  // Any value beyond 16 bits means nothing, like every value but 1.
  int32_t option = IniGetInt("ｵﾌﾟｼｮﾝ", "集計", 0, AggregationOptionFile());
  AggregationOption() = ToInt16(option).value_or(0);
  spending_total = 0;
  statement_seen_last = -1;
  CashBookPass(period_start, period_end, spending_total, statement_seen_list, statement_seen_last);
  if (AggregationOption() == 1) return;
  InstallmentPass(period_start, period_end, spending_total);
}

void SumMonthBudget(int16_t& month, int32_t& budget_total) {
  ModuleData& m = Module();
  int32_t total = 0;
  m.yosan.key_number = 0;
  m.yosan.key_buffer.fill(0);
  auto month_byte = static_cast<uint8_t>(month);
  PutByteAt(m.yosan.key_buffer, 0, month_byte);
  PutByteAt(m.yosan.key_buffer, 1, 1);
  ReadGtorEQYosan();
  BudgetRecordView budget(m.yosan.record);
  while (budget.budgetKind() == 1 && m.BtrStatus == 0) {
    if (budget.month() == month_byte) total = SaturatingTotalAdd(total, budget.amount());
    ReadNXTYosan();
  }
  budget_total = total;
}

}  // namespace h5
