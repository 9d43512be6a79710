#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "store/files.h"
#include "store/module.h"
#include "store_fixture.h"
#include "text/fields.h"

namespace h5 {
namespace {

std::vector<uint8_t> PeriodBytes(int16_t year, int16_t month, int32_t start, int32_t end) {
  std::vector<uint8_t> r(12);
  PutInt16At(r, 0, year);
  PutInt16At(r, 2, month);
  PutInt32At(r, 4, start);
  PutInt32At(r, 8, end);
  return r;
}

TEST_F(StoreTest, ReadFirstStart) {
  DeliverRecord({0, 0, 0xD2, 0x07, 4, 0, 25, 0});
  AnswerOperation(kBtrGetFirst, 0);
  OpenStart();
  ReadFirstStart();
  const BtrCall& call = records.calls().back();
  EXPECT_EQ(call.operation, kBtrGetFirst);
  EXPECT_EQ(call.data_length, 8);
  EXPECT_EQ(call.key_number, 0);
  EXPECT_EQ(Module().start.record, (std::vector<uint8_t>{0, 0, 0xD2, 0x07, 4, 0, 25, 0}));
}

TEST_F(StoreTest, ReadFirstStartNeverReports) {
  for (int16_t status : {2, 3, 22, 9}) {
    SetUp();
    OpenStart();
    AnswerOperation(kBtrGetFirst, status);
    ReadFirstStart();
    EXPECT_EQ(Module().BtrStatus, status);
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(Module().FileState[kSlotStart], kFileOpen);
  }
}

TEST_F(StoreTest, ReadFirstStartOnAbsentFileAnswersEndOfFile) {
  AnswerOperation(kBtrOpen, kBtrFileNotFound);
  OpenStart();
  ReadFirstStart();
  EXPECT_EQ(records.calls().size(), 1u);
  EXPECT_EQ(Module().BtrStatus, kBtrEndOfFile);
  CloseStart();
  EXPECT_EQ(Module().FileState[kSlotStart], kFileClosed);
  EXPECT_EQ(records.calls().size(), 1u);
}

TEST_F(StoreTest, OpenKikan) {
  struct Case {
    int16_t status;
    int32_t length;
  };
  for (const Case& c : {Case{0, 12}, Case{12, 12}, Case{2, 5}, Case{20, 5}, Case{86, 5}}) {
    SCOPED_TRACE(c.status);
    SetUp();
    AnswerOperation(kBtrOpen, c.status);
    OpenKikan();
    ASSERT_EQ(records.calls().size(), 1u);
    EXPECT_EQ(records.calls()[0].path, std::string(kTestKakeiDir) + "Kikan02.dat");
    EXPECT_EQ(records.calls()[0].data_length, 5);
    EXPECT_EQ(records.calls()[0].owner, (std::vector<uint8_t>{'t', 'e', 'f', 'u', 0}));
    EXPECT_EQ(Module().kikan.data_length, c.length);
    EXPECT_EQ(Module().BtrStatus, c.status);
    EXPECT_TRUE(dialogs.shown().empty());
    for (int slot = 1; slot <= 34; ++slot) EXPECT_EQ(Module().FileState[slot], 0);
  }
}

TEST_F(StoreTest, KikanReadsUnpackIntoThePeriodRecord) {
  DeliverRecord(PeriodBytes(2002, 4, 37371, 37400));
  AnswerOperation(kBtrGetGreaterOrEqual, 0);
  AnswerOperation(kBtrGetNext, 0);
  OpenKikan();
  Module().kikan.key_number = 0;
  ReadGtorEQKikan();
  EXPECT_EQ(records.calls().back().operation, kBtrGetGreaterOrEqual);
  EXPECT_EQ(records.calls().back().data_length, 12);
  EXPECT_EQ(Module().PeriodRecord, (PeriodEntry{2002, 4, 37371, 37400}));
  DeliverRecord(PeriodBytes(2002, 5, 37401, 37431));
  Module().kikan.data_length = 3;  // Get Next passes the buffer's size regardless
  ReadNXTKikan();
  EXPECT_EQ(records.calls().back().operation, kBtrGetNext);
  EXPECT_EQ(records.calls().back().data_length, 12);
  EXPECT_EQ(Module().PeriodRecord, (PeriodEntry{2002, 5, 37401, 37431}));
}

TEST_F(StoreTest, KikanFailuresLeaveThePeriodRecordAndStaySilent) {
  OpenKikan();
  Module().PeriodRecord = PeriodEntry{1, 2, 3, 4};
  for (int16_t status : {9, 2, 3, 22}) {
    AnswerOperation(kBtrGetGreaterOrEqual, status);
    AnswerOperation(kBtrGetNext, status);
    ReadGtorEQKikan();
    EXPECT_EQ(Module().BtrStatus, status);
    ReadNXTKikan();
    EXPECT_EQ(Module().BtrStatus, status);
  }
  EXPECT_EQ(Module().PeriodRecord, (PeriodEntry{1, 2, 3, 4}));
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(StoreTest, CloseKikan) {
  OpenKikan();
  CloseKikan();
  EXPECT_EQ(records.calls().back().operation, kBtrClose);
  EXPECT_EQ(records.calls().back().path, std::string(kTestKakeiDir) + "Kikan02.dat");
  EXPECT_EQ(Module().BtrStatus, 0);
  EXPECT_EQ(records.open_files(), 0);
  CloseKikan();  // not open: the record manager's status, no message
  EXPECT_EQ(Module().BtrStatus, kBtrFileNotOpen);
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(StoreTest, KikanRecMove) {
  std::vector<uint8_t> bytes = PeriodBytes(2003, 3, 37676, 37706);
  KikanRecMove(bytes, 1);
  EXPECT_EQ(Module().PeriodRecord, (PeriodEntry{2003, 3, 37676, 37706}));
  std::vector<uint8_t> out(12, 0);
  KikanRecMove(out, 2);
  EXPECT_EQ(out, bytes);
  std::vector<uint8_t> other = PeriodBytes(1, 1, 1, 1);
  KikanRecMove(other, 3);
  KikanRecMove(other, 0);
  EXPECT_EQ(other, PeriodBytes(1, 1, 1, 1));
  EXPECT_EQ(Module().PeriodRecord, (PeriodEntry{2003, 3, 37676, 37706}));
  std::vector<uint8_t> shorter(5, 0xFF);  // only the fields that fit are written
  KikanRecMove(shorter, 2);
  EXPECT_EQ(shorter, (std::vector<uint8_t>{0xD3, 0x07, 0x03, 0x00, 0xFF}));
}

}  // namespace
}  // namespace h5
