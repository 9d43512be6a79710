// The reads: order by typed keys, positioning, Get Next, what comes back.
#include <climits>
#include <numeric>
#include <random>

#include "kakeidb_test.h"

namespace h5::testing {
namespace {

// 24-byte records: key 0 = signed 32-bit at 0; key 1 = a 4-byte string at 6
// then unsigned 16-bit at 4 (out of record order); key 3 = signed 16-bit at
// 10, unique; key 4 = signed 64-bit at 16. The write index is at 12.
const FileDefinition kTyped{
    24,
    "ABCD",
    {Key(0, {{0, 4, SegmentType::kSigned}}),
     Key(1, {{6, 4, SegmentType::kString}, {4, 2, SegmentType::kUnsigned}}),
     Key(3, {{10, 2, SegmentType::kSigned}}, false), Key(4, {{16, 8, SegmentType::kSigned}})}};

// The order a key must give, worked out on the decoded segments.
std::vector<int64_t> Order(const Record& r, const KeyDefinition& key) {
  std::vector<int64_t> order;
  for (const KeySegment& g : key.segments) {
    if (g.type == SegmentType::kString) {
      order.insert(order.end(), r.begin() + g.offset, r.begin() + g.offset + g.length);
      continue;
    }
    uint64_t v = 0;
    for (int i = 0; i < g.length; ++i) v |= uint64_t{r[g.offset + i]} << (8 * i);
    const int unused = 64 - 8 * g.length;
    order.push_back(g.type == SegmentType::kSigned && unused > 0
                        ? static_cast<int64_t>(v << unused) >> unused
                        : static_cast<int64_t>(v));
  }
  return order;
}

// The key value as a caller builds it in the key buffer.
Record KeyValue(const Record& r, const KeyDefinition& key) {
  Record value;
  for (const KeySegment& g : key.segments) {
    value.insert(value.end(), r.begin() + g.offset, r.begin() + g.offset + g.length);
  }
  return value;
}

uint32_t Mark(const Block& block) { return static_cast<uint32_t>(GetLe32(block.data.data() + 12)); }

class TypedReadTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    std::mt19937 random(20020401);
    const int32_t as[] = {INT32_MIN, -70000, -256, -1, 0, 1, 255, 256, 65536, INT32_MAX};
    const uint16_t us[] = {0, 1, 0x00FF, 0x0100, 0x7FFF, 0x8000, 0xFFFF};
    const uint8_t ss[] = {0, ' ', 'A', 0x7f, 0x80, 0xff};
    const int64_t cs[] = {INT64_MIN, INT32_MIN, -1, 0, 1, 1LL << 32, INT64_MAX};
    std::vector<int16_t> bs;
    for (int b = -300; b < 300; ++b) bs.push_back(static_cast<int16_t>(b * 109));
    std::shuffle(bs.begin(), bs.end(), random);
    for (uint32_t i = 0; i < 600; ++i) {
      Record r(24, 0);
      PutLe(r, 0, random() % 3 == 0 ? int32_t(random()) : as[random() % std::size(as)], 4);
      PutLe(r, 4, us[random() % std::size(us)], 2);
      for (int k = 0; k < 4; ++k) r[6 + k] = ss[random() % 2 + (k == 0 ? random() % 5 : 0)];
      PutLe(r, 10, bs[i], 2);
      PutLe(r, 12, i, 4);
      PutLe(r, 16, cs[random() % std::size(cs)], 8);
      rows_.push_back(r);
    }
    Write("typed.dat", kTyped, rows_);
    ASSERT_EQ(OpenFile(block_, "typed.dat"), kBtrOk);
  }

  // Marks in the order key must give; duplicates stay in write order.
  std::vector<uint32_t> ExpectedOrder(const KeyDefinition& key) const {
    std::vector<uint32_t> marks(rows_.size());
    std::iota(marks.begin(), marks.end(), 0);
    std::stable_sort(marks.begin(), marks.end(), [&](uint32_t x, uint32_t y) {
      return Order(rows_[x], key) < Order(rows_[y], key);
    });
    return marks;
  }
  // A read with value in a key buffer otherwise 0xEE. On 0 the whole record
  // comes back and its key value, not a byte more, is written to the key buffer.
  int16_t ReadKey(int16_t operation, const KeyDefinition& key, const Record& value = {}) {
    std::memset(block_.key, 0xEE, sizeof(block_.key));
    std::copy(value.begin(), value.end(), block_.key);
    const int16_t status = Read(*engine_, block_, operation, key.number, 24);
    if (status != kBtrOk) return status;
    const Record& row = rows_[std::min<size_t>(Mark(block_), rows_.size() - 1)];
    EXPECT_EQ(block_.Delivered(), row);
    const Record expected = KeyValue(row, key);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), block_.key));
    EXPECT_EQ(std::count(block_.key + expected.size(), std::end(block_.key), 0xEE),
              kKeyBufferSize - static_cast<int>(expected.size()));
    return status;
  }

  std::vector<Record> rows_;
  Block block_;
};

// Every key reads in typed order, and Get Equal and Get Greater or Equal find
// the first record of their key value.
TEST_F(TypedReadTest, OrderAndPositioning) {
  EXPECT_EQ(Read(*engine_, block_, kBtrGetFirst, 2, 24), kBtrInvalidKeyNumber);  // a gap
  std::mt19937 random(99);
  for (const KeyDefinition& key : kTyped.keys) {
    const std::vector<uint32_t> order = ExpectedOrder(key);
    std::vector<uint32_t> marks;
    int16_t status = ReadKey(kBtrGetFirst, key);
    for (; status == kBtrOk && marks.size() <= rows_.size(); status = ReadKey(kBtrGetNext, key)) {
      marks.push_back(Mark(block_));
    }
    EXPECT_EQ(status, kBtrEndOfFile);
    EXPECT_EQ(marks, order) << key.number;
    EXPECT_EQ(ReadKey(kBtrGetNext, key), kBtrEndOfFile);
    for (int probe = 0; probe < 60; ++probe) {
      SCOPED_TRACE(::testing::Message() << "key " << key.number << " probe " << probe);
      // Half the probes are values in the file, half are next to them
      // (numbers +-1, wrapping at the ends).
      Record wanted = rows_[random() % rows_.size()];
      const int delta = probe % 2 == 0 ? 0 : static_cast<int>(random() % 3) - 1;
      for (const KeySegment& g : key.segments) {
        for (int i = 0, carry = delta; i < g.length && g.type != SegmentType::kString; ++i) {
          carry += wanted[g.offset + i];
          wanted[g.offset + i] = static_cast<uint8_t>(carry);
          carry >>= 8;
        }
      }
      auto at = std::find_if(order.begin(), order.end(), [&](uint32_t mark) {
        return !(Order(rows_[mark], key) < Order(wanted, key));
      });
      const bool equal = at != order.end() && Order(wanted, key) == Order(rows_[*at], key);
      const Record value = KeyValue(wanted, key);
      status = ReadKey(kBtrGetEqual, key, value);
      if (!equal) {
        EXPECT_EQ(status, kBtrKeyNotFound);
        EXPECT_EQ(ReadKey(kBtrGetNext, key), kBtrInvalidPositioning);
      } else {
        ASSERT_EQ(status, kBtrOk);
        EXPECT_EQ(Mark(block_), *at);
      }
      status = ReadKey(kBtrGetGreaterOrEqual, key, value);
      if (at == order.end()) {
        EXPECT_EQ(status, kBtrEndOfFile);
        continue;
      }
      ASSERT_EQ(status, kBtrOk);
      EXPECT_EQ(Mark(block_), *at);
      if (at + 1 != order.end()) {
        ASSERT_EQ(ReadKey(kBtrGetNext, key), kBtrOk);
        EXPECT_EQ(Mark(block_), at[1]);
      }
    }
  }
}

TEST_F(EngineTest, CashBookStatusesRecordsShortBuffersAndTheGetNextsAfter) {
  Write("suitou02.dat", CashBookDefinition(),
        {CashRecord(37010, 10, 1), CashRecord(37000, 20, 2), CashRecord(37010, 30, 3),
         CashRecord(-5, 40, 4), CashRecord(37020, 50, 5), CashRecord(37010, 60, 6)});
  Write("empty.dat", CashBookDefinition(), {});
  Block block_;
  const struct {
    int16_t operation, key_number;
    int32_t key;  // the date set into the key buffer
    int16_t status;
    std::vector<uint8_t> marks;  // delivered on 0, then by every Get Next
    int16_t next_status;
  } cases[] = {
      {kBtrGetFirst, 0, 0, kBtrOk, {4, 2, 1, 3, 6, 5}, kBtrEndOfFile},
      {kBtrGetEqual, 0, 37010, kBtrOk, {1, 3, 6, 5}, kBtrEndOfFile},
      {kBtrGetEqual, 0, 37005, kBtrKeyNotFound, {}, kBtrInvalidPositioning},
      {kBtrGetGreaterOrEqual, 0, 37000, kBtrOk, {2, 1, 3, 6, 5}, kBtrEndOfFile},
      {kBtrGetGreaterOrEqual, 0, 37021, kBtrEndOfFile, {}, kBtrEndOfFile},
      {kBtrGetFirst, 1, 0, kBtrInvalidKeyNumber, {}, kBtrInvalidPositioning},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.operation << " key " << c.key_number << " " << c.key);
    ASSERT_EQ(OpenFile(block_, "suitou02.dat"), kBtrOk);  // no current record
    block_.SetKey32(c.key);
    std::fill(block_.data.begin(), block_.data.end(), 0xCC);
    std::vector<uint8_t> marks;
    int16_t status = Read(*engine_, block_, c.operation, c.key_number);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(block_.length, 79);
    if (status != kBtrOk) {
      // Nothing delivered: buffers as they were.
      EXPECT_EQ(block_.data[0], 0xCC);
      EXPECT_EQ(GetLe32(block_.key), c.key);
    }
    // Get Next follows the key of the last read, whatever key number it is given.
    for (; status == kBtrOk; status = Read(*engine_, block_, kBtrGetNext, 99)) {
      marks.push_back(block_.data[78]);
      EXPECT_EQ(GetLe32(block_.key), block_.Date());
    }
    EXPECT_EQ(marks, c.marks);
    if (!c.marks.empty()) {
      EXPECT_EQ(status, kBtrEndOfFile);
    }
    EXPECT_EQ(Read(*engine_, block_, kBtrGetNext, 0), c.next_status);
  }
  // A failed read with an unknown key number leaves the position where it was.
  block_.SetKey32(37020);
  ASSERT_EQ(Read(*engine_, block_, kBtrGetEqual, 0), kBtrOk);
  ASSERT_EQ(Read(*engine_, block_, kBtrGetFirst, 5), kBtrInvalidKeyNumber);
  EXPECT_EQ(Read(*engine_, block_, kBtrGetNext, 0), kBtrEndOfFile);
  // A Get Equal that misses drops the position.
  ASSERT_EQ(Read(*engine_, block_, kBtrGetFirst, 0), kBtrOk);
  block_.SetKey32(1);
  ASSERT_EQ(Read(*engine_, block_, kBtrGetEqual, 0), kBtrKeyNotFound);
  EXPECT_EQ(Read(*engine_, block_, kBtrGetNext, 0), kBtrInvalidPositioning);
  // An empty file.
  ASSERT_EQ(OpenFile(block_, "empty.dat"), kBtrOk);
  for (auto [op, status] : {std::pair{kBtrGetFirst, kBtrEndOfFile},
                            {kBtrGetNext, kBtrEndOfFile},
                            {kBtrGetEqual, kBtrKeyNotFound},
                            {kBtrGetGreaterOrEqual, kBtrEndOfFile}}) {
    EXPECT_EQ(Read(*engine_, block_, op, 0), status) << op;
  }
  // A short data buffer gets what fits, and 22.
  ASSERT_EQ(OpenFile(block_, "suitou02.dat"), kBtrOk);
  block_.SetKey32(37010);
  // Exactly ten bytes on the heap: a write beyond them is caught by ASan.
  auto data = std::make_unique<uint8_t[]>(10);
  int32_t length = 10;
  ASSERT_EQ(engine_->BTRV(kBtrGetEqual, block_.position, data.get(), &length, block_.key, 0, 0),
            kBtrDataBufferTooShort);
  EXPECT_EQ(length, 10);
  const Record whole = CashRecord(37010, 10, 1);
  EXPECT_EQ(Record(data.get(), data.get() + 10), Record(whole.begin(), whole.begin() + 10));
  EXPECT_EQ(GetLe32(block_.key), 37010);
  ASSERT_EQ(Read(*engine_, block_, kBtrGetNext, 0), kBtrOk);  // the position moved
  EXPECT_EQ(block_.data[78], 3);
  for (int32_t room : {0, -1, 78}) {
    SCOPED_TRACE(room);
    std::fill(block_.data.begin(), block_.data.end(), 0xCC);
    EXPECT_EQ(Read(*engine_, block_, kBtrGetFirst, 0, room), kBtrDataBufferTooShort);
    EXPECT_EQ(block_.length, std::max(room, 0));
    EXPECT_EQ(block_.data[std::max(room, 0)], 0xCC);
  }
  length = 79;
  EXPECT_EQ(engine_->BTRV(kBtrGetFirst, block_.position, nullptr, &length, block_.key, 0, 0),
            kBtrDataBufferTooShort);
  EXPECT_EQ(length, 0);
}

}  // namespace
}  // namespace h5::testing
