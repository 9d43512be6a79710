#include "diagnosis/pay_statement.h"

#include <array>
#include <limits>

#include "store/files.h"
#include "store/layouts.h"
#include "store/module.h"
#include "text/checked.h"
#include "text/fields.h"

namespace h5 {

void AddPayStatementItems(int16_t month, int16_t statement_code, int16_t salary_kind,
                          int32_t& spending_total, int16_t counted_kind) {
  std::vector<SalaryItem> items;
  int16_t count = 0;
  LoadSalaryItemDefs(statement_code, 0, items, count);
  FillSalaryItemAmounts(month, salary_kind, statement_code, items, count);
  for (const SalaryItem& item : items) {
    if (item.item_kind == counted_kind) {
      spending_total = SaturatingTotalAdd(spending_total, item.amount);
    }
  }
}

void LoadSalaryItemDefs(int16_t statement_code, int16_t item_group, std::vector<SalaryItem>& items,
                        int16_t& count) {
  items.clear();
  count = 0;
  OpenKyuyo();
  ModuleData& m = Module();
  m.kyuyo.key_number = 1;
  m.kyuyo.key_buffer.fill(0);
  PutInt16At(m.kyuyo.key_buffer, 0, 1);
  PutInt16At(m.kyuyo.key_buffer, 2, statement_code);
  std::array<uint8_t, 26> buffer{};
  ReadEQKyuyo(buffer);
  SalaryItemDefRecordView record(buffer);
  while (record.statementCode() == statement_code && m.BtrStatus == 0 &&
         record.recordClass() == 1) {
    if (record.itemGroup() == item_group) {
      // The count is 16-bit: a statement this long ends the list here.
      if (items.size() == static_cast<size_t>(std::numeric_limits<int16_t>::max())) break;
      items.push_back({record.itemKind(), record.itemNumber(), 0});
    }
    ReadNXTKyuyo(buffer);
  }
  count = static_cast<int16_t>(items.size());
}

void FillSalaryItemAmounts(int16_t month, int16_t salary_kind, int16_t statement_code,
                           std::vector<SalaryItem>& items, int16_t count) {
  size_t listed = std::min(items.size(), static_cast<size_t>(count < 0 ? 0 : count));
  for (size_t i = 0; i < listed; ++i) items[i].amount = 0;
  ModuleData& m = Module();
  m.kyuyo_kingaku.key_number = 2;
  m.kyuyo_kingaku.key_buffer.fill(0);
  PutInt16At(m.kyuyo_kingaku.key_buffer, 0, salary_kind);
  PutInt16At(m.kyuyo_kingaku.key_buffer, 2, statement_code);
  PutInt16At(m.kyuyo_kingaku.key_buffer, 4, month);
  std::array<uint8_t, 26> buffer{};
  ReadEQKyuyoKingaku(buffer);
  if (m.BtrStatus != 0) return;
  SalaryAmountRecordView record(buffer);
  while (record.salaryKind() == salary_kind && record.statementCode() == statement_code &&
         record.month() == month && m.BtrStatus == 0) {
    if (record.itemNumber() > 0) {
      for (size_t i = 0; i < listed; ++i) {
        if (items[i].item_number == record.itemNumber()) {
          items[i].amount = record.amount();
          break;
        }
      }
    }
    ReadNXTKyuyoKingaku(buffer);
  }
}

}  // namespace h5
