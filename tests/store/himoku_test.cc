#include "store/himoku.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "store/files.h"
#include "store_fixture.h"

namespace h5 {
namespace {

std::vector<uint8_t> SampleHimoku() {
  std::vector<uint8_t> r(68);
  for (size_t i = 0; i < r.size(); ++i) r[i] = static_cast<uint8_t>(0x40 + i);
  return r;
}

TEST(UnpackHimokuTest, FieldsComeFromTheirBytes) {
  std::vector<uint8_t> r = SampleHimoku();
  HimokuRecord record;
  record.extra_text = "kept";
  UnpackHimokuRecord(r, record);
  EXPECT_EQ(record.group, 0x40);
  EXPECT_EQ(record.level, 0x41);
  EXPECT_EQ(record.minorCode, 0x4342);   // bytes 2-3
  EXPECT_EQ(record.middleCode, 0x4544);  // bytes 4-5
  EXPECT_EQ(record.majorCode, 0x4746);   // bytes 6-7
  EXPECT_EQ(record.name[0], 0x48);
  EXPECT_EQ(record.name[19], 0x5B);
  EXPECT_EQ(record.field6[0], 0x5C);
  EXPECT_EQ(record.field6[9], 0x65);
  EXPECT_EQ(record.field7, 0x66);
  EXPECT_EQ(record.field8, 0x6867);
  EXPECT_EQ(record.field9, 0x6A69);
  EXPECT_EQ(record.field10, 0x6C6B);
  EXPECT_EQ(record.field11[0], 0x6D);
  EXPECT_EQ(record.field11[19], 0x80);
  EXPECT_EQ(record.extra_text, "kept");
}

TEST(UnpackHimokuTest, SingleBytesWidenWithoutSign) {
  struct Case {
    uint8_t byte;
    int16_t value;
  };
  for (const Case& c :
       {Case{0, 0}, Case{2, 2}, Case{0x7F, 127}, Case{0x80, 128}, Case{0xFF, 255}}) {
    std::vector<uint8_t> r(68, 0);
    r[0] = r[1] = r[38] = c.byte;
    HimokuRecord record;
    UnpackHimokuRecord(r, record);
    EXPECT_EQ(record.group, c.value);
    EXPECT_EQ(record.level, c.value);
    EXPECT_EQ(record.field7, c.value);
  }
}

TEST(UnpackHimokuTest, KeyBytesOfAMajorCategory) {
  // Group 0, level 0, major 3: the key (and record) bytes 0-7.
  std::vector<uint8_t> r(68, 0);
  r[6] = 3;
  HimokuRecord record;
  UnpackHimokuRecord(r, record);
  EXPECT_EQ(record.majorCode, 3);
  EXPECT_EQ(record.middleCode, 0);
  EXPECT_EQ(record.minorCode, 0);
}

TEST(UnpackHimokuTest, TrailingBytesAndShortBuffersAreSafe) {
  std::vector<uint8_t> r(68, 0);
  r[65] = r[66] = r[67] = 0xEE;
  HimokuRecord record;
  UnpackHimokuRecord(r, record);
  for (uint8_t b : record.field11) EXPECT_EQ(b, 0);
  std::vector<uint8_t> shorter(7, 1);  // major code would be bytes 6-7
  UnpackHimokuRecord(shorter, record);
  EXPECT_EQ(record.middleCode, 0x0101);
  EXPECT_EQ(record.majorCode, 0);
}

TEST(UnpackCreditTest, FirstThirtyFourBytes) {
  std::vector<uint8_t> r(60);
  for (size_t i = 0; i < r.size(); ++i) r[i] = static_cast<uint8_t>(i);
  CreditRecord record;
  UnpackCreditRecord(r, record);
  EXPECT_EQ(record.cardCode, 0x0100);
  EXPECT_EQ(record.field2[0], 2);
  EXPECT_EQ(record.field2[19], 21);
  EXPECT_EQ(record.field3, 0x1716);
  EXPECT_EQ(record.field4, 0x1918);
  EXPECT_EQ(record.field5, 0x1B1A);
  EXPECT_EQ(record.field6, 0x1D1C);
  EXPECT_EQ(record.field7, 0x1F1E);
  EXPECT_EQ(record.field8, 0x2120);
  r[0] = 0xFF;
  r[1] = 0xFF;
  UnpackCreditRecord(r, record);
  EXPECT_EQ(record.cardCode, -1);
}

TEST_F(StoreTest, ReadEQHimokuUnpacksOnlyOnSuccess) {
  std::vector<uint8_t> r = SampleHimoku();
  DeliverRecord(r);
  OpenHimoku(Module().KakeiDir);
  Module().himoku.key_number = 4;
  AnswerOperation(kBtrGetEqual, 0);
  HimokuRecord record;
  ReadEQHimoku(record);
  EXPECT_EQ(records.calls().back().key_number, 4);
  EXPECT_EQ(record.majorCode, 0x4746);
  for (int16_t status : {4, 9}) {
    AnswerOperation(kBtrGetEqual, status);
    HimokuRecord untouched;
    untouched.majorCode = 77;
    untouched.name.fill('n');
    ReadEQHimoku(untouched);
    EXPECT_EQ(Module().BtrStatus, status);
    EXPECT_EQ(untouched.majorCode, 77);
    EXPECT_EQ(untouched.name[0], 'n');
  }
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(StoreTest, ReadEQCreditUsesItsOwnDataLength) {
  std::vector<uint8_t> r(60, 0);
  r[0] = 7;
  r[33] = 0x12;
  DeliverRecord(r);
  OpenCredit();
  AnswerOperation(kBtrGetEqual, 0);
  ReadEQCredit();
  EXPECT_EQ(records.calls().back().data_length, 1024);
  EXPECT_EQ(Module().credit.data_length, 60);  // the block's length is not used
  EXPECT_EQ(Module().credit_record.cardCode, 7);
  EXPECT_EQ(Module().credit_record.field8, 0x1200);
  AnswerOperation(kBtrGetEqual, kBtrKeyNotFound);
  ReadEQCredit();
  EXPECT_EQ(Module().BtrStatus, kBtrKeyNotFound);
  EXPECT_TRUE(dialogs.shown().empty());
}

}  // namespace
}  // namespace h5
