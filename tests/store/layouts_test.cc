#include "store/layouts.h"

#include <gtest/gtest.h>

#include <vector>

namespace h5 {
namespace {

TEST(LayoutsTest, CashBook) {
  std::vector<uint8_t> r(79, 0);
  r[0] = 1;
  r[5] = 0x03;
  r[7] = 0x20;
  r[8] = 0x8C;  // 20 8C 00 00: 18 March 1998
  r[11] = 0x02;
  r[17] = 0x05;
  r[18] = 0x01;
  r[33] = r[34] = r[35] = r[36] = 0xFF;
  r[44] = 1;
  CashBookRecordView view(r);
  EXPECT_EQ(view.entryKind(), 1);
  EXPECT_EQ(view.categoryCode(), 3);
  EXPECT_EQ(view.entryDate(), 35872);
  EXPECT_EQ(view.cardCode(), 2);
  EXPECT_EQ(view.statementCode(), 0x0105);
  EXPECT_EQ(view.amount(), -1);
  EXPECT_EQ(view.fromPayStatement(), 1);
}

TEST(LayoutsTest, Budget) {
  std::vector<uint8_t> r = {0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x27, 0x00, 0x00};
  BudgetRecordView view(r);
  EXPECT_EQ(view.month(), 4);
  EXPECT_EQ(view.budgetKind(), 1);
  EXPECT_EQ(view.itemCode1(), 0);
  EXPECT_EQ(view.amount(), 10000);
  r[2] = 1;
  r[4] = 2;
  r[6] = 3;
  EXPECT_EQ(view.itemCode1(), 1);
  EXPECT_EQ(view.itemCode2(), 2);
  EXPECT_EQ(view.itemCode3(), 3);
}

TEST(LayoutsTest, Installment) {
  std::vector<uint8_t> r(27, 0);
  r[0] = 1;
  r[7] = 9;
  r[15] = 0x20;
  r[16] = 0x8C;
  r[19] = 0x88;
  r[20] = 0x13;  // 5000
  InstallmentRecordView view(r);
  EXPECT_EQ(view.entryKind(), 1);
  EXPECT_EQ(view.cardCode(), 9);
  EXPECT_EQ(view.debitDate(), 35872);
  EXPECT_EQ(view.amount(), 5000);
}

TEST(LayoutsTest, SalaryRecords) {
  std::vector<uint8_t> def(26, 0);
  def[0] = 1;
  def[2] = 12;
  def[4] = 1;
  def[13] = 3;
  def[15] = 0xFF;
  def[16] = 0xFF;
  SalaryItemDefRecordView d(def);
  EXPECT_EQ(d.recordClass(), 1);
  EXPECT_EQ(d.statementCode(), 12);
  EXPECT_EQ(d.itemKind(), 1);
  EXPECT_EQ(d.itemNumber(), 3);
  EXPECT_EQ(d.itemGroup(), -1);

  std::vector<uint8_t> amount(26, 0);
  amount[0] = 1;
  amount[2] = 12;
  amount[4] = 4;
  amount[6] = 3;
  amount[8] = 0x20;
  amount[9] = 0x8C;
  amount[12] = 100;
  SalaryAmountRecordView a(amount);
  EXPECT_EQ(a.salaryKind(), 1);
  EXPECT_EQ(a.statementCode(), 12);
  EXPECT_EQ(a.month(), 4);
  EXPECT_EQ(a.itemNumber(), 3);
  EXPECT_EQ(a.statementDate(), 35872);
  EXPECT_EQ(a.amount(), 100);
}

TEST(LayoutsTest, StartAndPeriod) {
  std::vector<uint8_t> start = {0x63, 0x00, 0xD2, 0x07, 0x04, 0x00, 0x19, 0x00};
  StartRecordView s(start);
  EXPECT_EQ(s.Year(), 2002);
  EXPECT_EQ(s.Month(), 4);
  EXPECT_EQ(s.Day(), 25);
  std::vector<uint8_t> period = {0xD2, 0x07, 0x04, 0x00, 0x20, 0x8C, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  PeriodRecordView p(period);
  EXPECT_EQ(p.Year(), 2002);
  EXPECT_EQ(p.Month(), 4);
  EXPECT_EQ(p.StartDay(), 35872);
  EXPECT_EQ(p.EndDay(), -1);
}

TEST(LayoutsTest, ShortRecordReadsZeroPastItsEnd) {
  std::vector<uint8_t> r(35, 0xFF);  // the amount at 33 would need 37 bytes
  CashBookRecordView view(r);
  EXPECT_EQ(view.amount(), 0);
  EXPECT_EQ(view.fromPayStatement(), 0);
  EXPECT_EQ(view.statementCode(), -1);
  CashBookRecordView empty({});
  EXPECT_EQ(empty.entryKind(), 0);
}

}  // namespace
}  // namespace h5
