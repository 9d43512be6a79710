#include "platform/kakeidb/key_codec.h"

#include <climits>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

namespace h5 {
namespace {

std::vector<uint8_t> SortOf(int64_t value, int bytes, SegmentType type) {
  KeyDefinition key{0, {{0, bytes, type}}, true};
  std::vector<uint8_t> le(static_cast<size_t>(bytes));
  for (int i = 0; i < bytes; ++i)
    le[i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
  std::vector<uint8_t> sort(le.size());
  EncodeSortKey(le.data(), key, sort.data());
  return sort;
}

TEST(KeyCodecTest, SortableFormOrdersLikeTheNumbers) {
  struct Case {
    int bytes;
    SegmentType type;
    std::vector<int64_t> ascending;
  };
  const Case cases[] = {
      {1, SegmentType::kSigned, {-128, -1, 0, 1, 127}},
      {1, SegmentType::kUnsigned, {0, 1, 127, 128, 255}},
      {2, SegmentType::kSigned, {-32768, -256, -255, -1, 0, 1, 255, 256, 32767}},
      {2, SegmentType::kUnsigned, {0, 1, 255, 256, 32767, 32768, 65535}},
      {4, SegmentType::kSigned, {INT32_MIN, -65536, -1, 0, 35872, 65536, INT32_MAX}},
      {4, SegmentType::kUnsigned, {0, 1, 65536, INT32_MAX, int64_t{UINT32_MAX}}},
      {8, SegmentType::kSigned, {INT64_MIN, INT32_MIN, -1, 0, 1, INT64_MAX}},
  };
  for (const Case& c : cases) {
    for (size_t i = 0; i + 1 < c.ascending.size(); ++i) {
      SCOPED_TRACE(::testing::Message() << c.bytes << " bytes, " << c.ascending[i]);
      EXPECT_LT(SortOf(c.ascending[i], c.bytes, c.type),
                SortOf(c.ascending[i + 1], c.bytes, c.type));
    }
  }
}

TEST(KeyCodecTest, ExtractsSegmentsInKeyOrder) {
  // Himoku.dat's key 4 takes bytes 0-7; a key may also list segments out of
  // record order.
  KeyDefinition key{
      4,
      {{6, 2, SegmentType::kSigned}, {0, 1, SegmentType::kUnsigned}, {8, 3, SegmentType::kString}},
      true};
  const uint8_t record[12] = {1, 2, 3, 4, 5, 6, 0x03, 0x80, 'a', 'b', 'c', 'd'};
  uint8_t value[6];
  ExtractKeyValue(record, key, value);
  EXPECT_EQ(std::vector<uint8_t>(value, value + 6),
            (std::vector<uint8_t>{0x03, 0x80, 1, 'a', 'b', 'c'}));
  uint8_t sort[6];
  EncodeSortKey(value, key, sort);
  // -32765 big-endian with the sign flipped, then the byte, then the text.
  EXPECT_EQ(std::vector<uint8_t>(sort, sort + 6),
            (std::vector<uint8_t>{0x00, 0x03, 1, 'a', 'b', 'c'}));
  uint8_t from_record[6];
  EncodeRecordSortKey(record, key, from_record);
  EXPECT_EQ(std::vector<uint8_t>(from_record, from_record + 6),
            std::vector<uint8_t>(sort, sort + 6));
}

}  // namespace
}  // namespace h5
