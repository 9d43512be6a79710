#include "text/fields.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace h5 {
namespace {

TEST(FieldsTest, ReadsLittleEndian) {
  // A cash-book record: entry date 35872 at bytes 7-10.
  const std::array<uint8_t, 12> record = {0x10, 0x27, 0xFF, 0xFF, 0xFF, 0xFF,
                                          0,    0x20, 0x8C, 0x00, 0x00, 0x80};
  EXPECT_EQ(GetInt16At(record, 0), 10000);
  EXPECT_EQ(GetInt32At(record, 2), -1);
  EXPECT_EQ(GetInt16At(record, 2), -1);
  EXPECT_EQ(GetInt32At(record, 7), 35872);
  EXPECT_EQ(GetByteAt(record, 11), 0x80);
  EXPECT_EQ(GetInt16At(record, 10), static_cast<int16_t>(0x8000));
}

TEST(FieldsTest, OutOfBoundsReadsZero) {
  const std::array<uint8_t, 4> record = {1, 2, 3, 4};
  const struct {
    size_t offset;
    int16_t int16;
    int32_t int32;
    uint8_t byte;
  } cases[] = {
      {0, 0x0201, 0x04030201, 1}, {2, 0x0403, 0, 3},       {3, 0, 0, 4}, {4, 0, 0, 0}, {5, 0, 0, 0},
      {SIZE_MAX, 0, 0, 0},        {SIZE_MAX - 1, 0, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetInt16At(record, c.offset), c.int16) << c.offset;
    EXPECT_EQ(GetInt32At(record, c.offset), c.int32) << c.offset;
    EXPECT_EQ(GetByteAt(record, c.offset), c.byte) << c.offset;
  }
  EXPECT_EQ(GetInt32At(std::span<const uint8_t>(), 0), 0);
}

TEST(FieldsTest, WritesAndRoundTrips) {
  std::vector<uint8_t> record(8, 0xAA);
  PutInt16At(record, 0, -2);
  PutInt32At(record, 2, 0x12345678);
  PutByteAt(record, 7, 7);
  EXPECT_EQ(record, (std::vector<uint8_t>{0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12, 0xAA, 7}));
  for (int32_t value : {0, 1, -1, 35872, INT32_MIN, INT32_MAX}) {
    PutInt32At(record, 3, value);
    EXPECT_EQ(GetInt32At(record, 3), value);
  }
}

TEST(FieldsTest, OutOfBoundsWritesNothing) {
  std::vector<uint8_t> record(4, 0xAA);
  PutInt32At(record, 1, -1);
  PutInt16At(record, 3, -1);
  PutByteAt(record, 4, 0);
  PutInt32At(record, SIZE_MAX - 2, 0);
  EXPECT_EQ(record, std::vector<uint8_t>(4, 0xAA));
  PutInt16At(record, 2, 0);
  EXPECT_EQ(record, (std::vector<uint8_t>{0xAA, 0xAA, 0, 0}));
}

}  // namespace
}  // namespace h5
