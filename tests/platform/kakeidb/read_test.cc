// The reads: order by typed keys, positioning, Get Next, what comes back.
#include <algorithm>
#include <climits>
#include <cstring>
#include <random>
#include <tuple>

#include "engine_fixture.h"
#include "platform/record_manager.h"

namespace h5::testing {
namespace {

// A 16-byte record: signed 32-bit A at 0 (key 0), unsigned 16-bit U at 4 and
// a 4-byte string S at 6 (key 1), signed 16-bit B at 10 (key 3, unique), the
// write index at 12.
struct Typed {
  int32_t a;
  uint16_t u;
  std::string s;
  int16_t b;
  uint32_t mark;
};

FileDefinition TypedDefinition() {
  return FileDefinition{16,
                        "ABCD",
                        {Key(0, {{0, 4, SegmentType::kSigned}}),
                         Key(1, {{4, 2, SegmentType::kUnsigned}, {6, 4, SegmentType::kString}}),
                         Key(3, {{10, 2, SegmentType::kSigned}}, /*duplicates=*/false)}};
}

Record Encode(const Typed& t) {
  Record record(16, 0);
  PutLe(record, 0, t.a, 4);
  PutLe(record, 4, t.u, 2);
  std::memcpy(record.data() + 6, t.s.data(), 4);
  PutLe(record, 10, t.b, 2);
  PutLe(record, 12, t.mark, 4);
  return record;
}

// The order each key must give, worked out on the decoded values.
auto OrderKey(int key, const Typed& t) {
  std::vector<uint8_t> s(t.s.begin(), t.s.end());  // bytes compare unsigned
  switch (key) {
    case 0:
      return std::make_tuple(int64_t{t.a}, std::vector<uint8_t>());
    case 1:
      return std::make_tuple(int64_t{t.u}, s);
    default:
      return std::make_tuple(int64_t{t.b}, std::vector<uint8_t>());
  }
}

std::vector<uint32_t> ExpectedOrder(std::vector<Typed> rows, int key) {
  std::stable_sort(rows.begin(), rows.end(), [key](const Typed& x, const Typed& y) {
    return OrderKey(key, x) < OrderKey(key, y);
  });
  std::vector<uint32_t> marks;
  for (const Typed& t : rows) marks.push_back(t.mark);
  return marks;
}

uint32_t Mark(const Block& block) {
  uint32_t mark;
  std::memcpy(&mark, block.data.data() + 12, 4);
  return mark;
}

// The key value of a record, as a caller builds it in the key buffer.
std::vector<uint8_t> KeyValue(const Typed& t, int key) {
  Record r = Encode(t);
  switch (key) {
    case 0:
      return {r.begin(), r.begin() + 4};
    case 1:
      return {r.begin() + 4, r.begin() + 10};
    default:
      return {r.begin() + 10, r.begin() + 12};
  }
}

class TypedReadTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    std::mt19937 random(20020401);
    const int32_t as[] = {INT32_MIN, -70000, -256, -1, 0, 1, 255, 256, 65536, INT32_MAX};
    const uint16_t us[] = {0, 1, 0x00FF, 0x0100, 0x7FFF, 0x8000, 0xFFFF};
    const char ss[] = {'\0', ' ', 'A', '\x7f', '\x80', '\xff'};
    std::vector<int16_t> bs;
    for (int b = -300; b < 300; ++b) bs.push_back(static_cast<int16_t>(b * 109));
    std::shuffle(bs.begin(), bs.end(), random);
    for (uint32_t i = 0; i < 600; ++i) {
      Typed t;
      t.a = random() % 3 == 0 ? static_cast<int32_t>(random()) : as[random() % std::size(as)];
      t.u = us[random() % std::size(us)];
      for (int k = 0; k < 4; ++k) t.s.push_back(ss[random() % 2 + (k == 0 ? random() % 5 : 0)]);
      t.b = bs[i];
      t.mark = i;
      rows_.push_back(t);
    }
    std::vector<Record> records;
    for (const Typed& t : rows_) records.push_back(Encode(t));
    Write("typed.dat", TypedDefinition(), records);
    ASSERT_EQ(OpenFile(block_, "typed.dat"), kBtrOk);
  }

  std::vector<Typed> rows_;
  Block block_;
};

TEST_F(TypedReadTest, EveryKeyReadsInTypedOrderWithDuplicatesInWriteOrder) {
  for (int key : {0, 1, 3}) {
    SCOPED_TRACE(key);
    std::vector<uint32_t> marks;
    int16_t status = Read(*engine_, block_, kBtrGetFirst, static_cast<int16_t>(key), 16);
    while (status == kBtrOk && marks.size() <= rows_.size()) {
      marks.push_back(Mark(block_));
      status = Read(*engine_, block_, kBtrGetNext, static_cast<int16_t>(key), 16);
    }
    EXPECT_EQ(status, kBtrEndOfFile);
    EXPECT_EQ(marks, ExpectedOrder(rows_, key));
    EXPECT_EQ(Read(*engine_, block_, kBtrGetNext, static_cast<int16_t>(key), 16), kBtrEndOfFile);
  }
}

TEST_F(TypedReadTest, PositioningReadsFindTheFirstRecordOfTheirKeyValue) {
  std::mt19937 random(99);
  for (int key : {0, 1, 3}) {
    std::vector<uint32_t> order = ExpectedOrder(rows_, key);
    for (int probe = 0; probe < 60; ++probe) {
      // Half the probes are values in the file, half are near them.
      Typed wanted = rows_[random() % rows_.size()];
      if (probe % 2 == 1) {
        // Wraps at the ends, which makes probes there too.
        wanted.a = static_cast<int32_t>(static_cast<uint32_t>(wanted.a) + random() % 3 - 1);
        wanted.u = static_cast<uint16_t>(wanted.u + random() % 3 - 1);
        wanted.b = static_cast<int16_t>(wanted.b + random() % 3 - 1);
      }
      auto at = std::find_if(order.begin(), order.end(), [&](uint32_t mark) {
        return !(OrderKey(key, rows_[mark]) < OrderKey(key, wanted));
      });
      bool equal = at != order.end() && !(OrderKey(key, wanted) < OrderKey(key, rows_[*at]));
      std::vector<uint8_t> value = KeyValue(wanted, key);
      SCOPED_TRACE(::testing::Message() << "key " << key << " probe " << probe);

      block_.SetKey({});
      std::copy(value.begin(), value.end(), block_.key);
      int16_t status = Read(*engine_, block_, kBtrGetEqual, static_cast<int16_t>(key), 16);
      if (!equal) {
        EXPECT_EQ(status, kBtrKeyNotFound);
        EXPECT_EQ(Read(*engine_, block_, kBtrGetNext, static_cast<int16_t>(key), 16),
                  kBtrInvalidPositioning);
      } else {
        ASSERT_EQ(status, kBtrOk);
        EXPECT_EQ(Mark(block_), *at);
      }

      block_.SetKey({});
      std::copy(value.begin(), value.end(), block_.key);
      status = Read(*engine_, block_, kBtrGetGreaterOrEqual, static_cast<int16_t>(key), 16);
      if (at == order.end()) {
        EXPECT_EQ(status, kBtrEndOfFile);
        continue;
      }
      ASSERT_EQ(status, kBtrOk);
      EXPECT_EQ(Mark(block_), *at);
      // Get Next goes on from there.
      for (auto next = at + 1; next != order.end() && next != at + 12; ++next) {
        ASSERT_EQ(Read(*engine_, block_, kBtrGetNext, static_cast<int16_t>(key), 16), kBtrOk);
        EXPECT_EQ(Mark(block_), *next);
      }
    }
  }
}

TEST_F(TypedReadTest, TheRecordsKeyValueIsWrittenBackAndNothingMore) {
  for (int key : {0, 1, 3}) {
    SCOPED_TRACE(key);
    for (int16_t operation : {kBtrGetFirst, kBtrGetNext, kBtrGetGreaterOrEqual, kBtrGetEqual}) {
      std::memset(block_.key, 0xEE, sizeof(block_.key));
      if (operation == kBtrGetGreaterOrEqual || operation == kBtrGetEqual) {
        std::vector<uint8_t> value = KeyValue(rows_[17], key);
        std::copy(value.begin(), value.end(), block_.key);
      }
      ASSERT_EQ(Read(*engine_, block_, operation, static_cast<int16_t>(key), 16), kBtrOk);
      std::vector<uint8_t> expected = KeyValue(rows_[Mark(block_)], key);
      EXPECT_TRUE(std::equal(expected.begin(), expected.end(), block_.key));
      for (size_t i = expected.size(); i < sizeof(block_.key); ++i) {
        ASSERT_EQ(block_.key[i], 0xEE) << i;
      }
      EXPECT_EQ(block_.length, 16);
      EXPECT_EQ(block_.Delivered(), Encode(rows_[Mark(block_)]));
    }
  }
}

TEST_F(TypedReadTest, GetNextFollowsTheKeyOfTheLastRead) {
  ASSERT_EQ(Read(*engine_, block_, kBtrGetFirst, 3, 16), kBtrOk);
  std::vector<uint32_t> order = ExpectedOrder(rows_, 3);
  // Key numbers given to Get Next, even ones the file lacks, change nothing.
  for (int16_t key_number : {0, 1, 99, -5}) {
    ASSERT_EQ(Read(*engine_, block_, kBtrGetNext, key_number, 16), kBtrOk);
  }
  EXPECT_EQ(Mark(block_), order[4]);
}

TEST_F(TypedReadTest, UnknownKeyNumbers) {
  for (int16_t key_number : {2, 4, 118, 119, -1, 32767}) {
    for (int16_t operation : {kBtrGetFirst, kBtrGetEqual, kBtrGetGreaterOrEqual}) {
      EXPECT_EQ(Read(*engine_, block_, operation, key_number, 16), kBtrInvalidKeyNumber);
    }
  }
}

class CashReadTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    Write("suitou02.dat", CashBookDefinition(),
          {CashRecord(37010, 10, 1), CashRecord(37000, 20, 2), CashRecord(37010, 30, 3),
           CashRecord(-5, 40, 4), CashRecord(37020, 50, 5), CashRecord(37010, 60, 6)});
    ASSERT_EQ(OpenFile(block_, "suitou02.dat"), kBtrOk);
  }
  Block block_;
};

struct ReadCase {
  const char* name;
  int16_t operation;
  int16_t key_number;
  int32_t key;  // the date set into the key buffer
  int16_t status;
  uint8_t mark;  // of the record delivered on 0
};

TEST_F(CashReadTest, StatusesAndRecords) {
  const ReadCase cases[] = {
      {"first", kBtrGetFirst, 0, 0, kBtrOk, 4},
      {"equal finds the first written", kBtrGetEqual, 0, 37010, kBtrOk, 1},
      {"equal negative date", kBtrGetEqual, 0, -5, kBtrOk, 4},
      {"equal missing", kBtrGetEqual, 0, 37005, kBtrKeyNotFound, 0},
      {"equal beyond the last", kBtrGetEqual, 0, 40000, kBtrKeyNotFound, 0},
      {"greater or equal, equal", kBtrGetGreaterOrEqual, 0, 37000, kBtrOk, 2},
      {"greater or equal, between", kBtrGetGreaterOrEqual, 0, 37001, kBtrOk, 1},
      {"greater or equal, below all", kBtrGetGreaterOrEqual, 0, INT32_MIN, kBtrOk, 4},
      {"greater or equal, the last", kBtrGetGreaterOrEqual, 0, 37020, kBtrOk, 5},
      {"greater or equal, beyond", kBtrGetGreaterOrEqual, 0, 37021, kBtrEndOfFile, 0},
      {"unknown key", kBtrGetFirst, 1, 0, kBtrInvalidKeyNumber, 0},
      {"negative key", kBtrGetGreaterOrEqual, -1, 0, kBtrInvalidKeyNumber, 0},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    block_.SetKey32(c.key);
    std::fill(block_.data.begin(), block_.data.end(), 0xCC);
    EXPECT_EQ(Read(*engine_, block_, c.operation, c.key_number), c.status);
    if (c.status == kBtrOk) {
      EXPECT_EQ(block_.length, 79);
      EXPECT_EQ(block_.data[78], c.mark);
      EXPECT_EQ(GetLe32(block_.key), CashDate(block_));
    } else {
      // Nothing delivered: buffers as they were.
      EXPECT_EQ(block_.length, 79);
      EXPECT_EQ(block_.data[0], 0xCC);
      EXPECT_EQ(GetLe32(block_.key), c.key);
    }
  }
}

TEST_F(CashReadTest, GetNextAfterEachPositioningRead) {
  struct Case {
    int16_t operation;
    int32_t key;
    std::vector<uint8_t> marks;  // the positioning read, then every Get Next
  };
  const Case cases[] = {
      {kBtrGetFirst, 0, {4, 2, 1, 3, 6, 5}},
      {kBtrGetEqual, 37010, {1, 3, 6, 5}},
      {kBtrGetGreaterOrEqual, 37001, {1, 3, 6, 5}},
      {kBtrGetGreaterOrEqual, 37020, {5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.operation);
    block_.SetKey32(c.key);
    std::vector<uint8_t> marks;
    int16_t status = Read(*engine_, block_, c.operation, 0);
    while (status == kBtrOk) {
      marks.push_back(block_.data[78]);
      status = Read(*engine_, block_, kBtrGetNext, 0);
    }
    EXPECT_EQ(status, kBtrEndOfFile);
    EXPECT_EQ(marks, c.marks);
    EXPECT_EQ(Read(*engine_, block_, kBtrGetNext, 0), kBtrEndOfFile);
  }
}

TEST_F(CashReadTest, GetNextWithoutACurrentRecord) {
  EXPECT_EQ(Read(*engine_, block_, kBtrGetNext, 0), kBtrInvalidPositioning);
  block_.SetKey32(37000);
  ASSERT_EQ(Read(*engine_, block_, kBtrGetEqual, 0), kBtrOk);
  block_.SetKey32(1);
  ASSERT_EQ(Read(*engine_, block_, kBtrGetEqual, 0), kBtrKeyNotFound);
  EXPECT_EQ(Read(*engine_, block_, kBtrGetNext, 0), kBtrInvalidPositioning);
  block_.SetKey32(40000);
  ASSERT_EQ(Read(*engine_, block_, kBtrGetGreaterOrEqual, 0), kBtrEndOfFile);
  EXPECT_EQ(Read(*engine_, block_, kBtrGetNext, 0), kBtrEndOfFile);
  // An unknown key number leaves the position where it was.
  block_.SetKey32(37020);
  ASSERT_EQ(Read(*engine_, block_, kBtrGetEqual, 0), kBtrOk);
  ASSERT_EQ(Read(*engine_, block_, kBtrGetFirst, 5), kBtrInvalidKeyNumber);
  EXPECT_EQ(Read(*engine_, block_, kBtrGetNext, 0), kBtrEndOfFile);
}

TEST_F(CashReadTest, ShortDataBufferGetsWhatFitsAnd22) {
  block_.SetKey32(37010);
  // Exactly ten bytes on the heap: a write beyond them is caught by ASan.
  auto data = std::make_unique<uint8_t[]>(10);
  int32_t length = 10;
  ASSERT_EQ(engine_->BTRV(kBtrGetEqual, block_.position, data.get(), &length, block_.key, 0, 0),
            kBtrDataBufferTooShort);
  EXPECT_EQ(length, 10);
  Record expected = CashRecord(37010, 10, 1);
  EXPECT_TRUE(std::equal(data.get(), data.get() + 10, expected.begin()));
  EXPECT_EQ(GetLe32(block_.key), 37010);
  // The position moved all the same.
  ASSERT_EQ(Read(*engine_, block_, kBtrGetNext, 0), kBtrOk);
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
  // A larger buffer gets the record; the rest stays as it was.
  std::fill(block_.data.begin(), block_.data.end(), 0xCC);
  ASSERT_EQ(Read(*engine_, block_, kBtrGetFirst, 0, 1024), kBtrOk);
  EXPECT_EQ(block_.length, 79);
  EXPECT_EQ(block_.data[79], 0xCC);
}

TEST_F(EngineTest, EmptyFile) {
  Write("empty.dat", CashBookDefinition(), {});
  Block block;
  ASSERT_EQ(OpenFile(block, "empty.dat"), kBtrOk);
  EXPECT_EQ(Read(*engine_, block, kBtrGetFirst, 0), kBtrEndOfFile);
  EXPECT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrEndOfFile);
  block.SetKey32(0);
  EXPECT_EQ(Read(*engine_, block, kBtrGetEqual, 0), kBtrKeyNotFound);
  EXPECT_EQ(Read(*engine_, block, kBtrGetGreaterOrEqual, 0), kBtrEndOfFile);
}

TEST_F(EngineTest, KeyAsLongAsTheKeyBuffer) {
  FileDefinition definition{300, "ABCD", {Key(0, {{20, 254, SegmentType::kString}})}};
  std::vector<Record> records;
  for (int i = 0; i < 40; ++i) {
    Record record(300, static_cast<uint8_t>('a' + i % 26));
    record[0] = static_cast<uint8_t>(i);
    record[273] = static_cast<uint8_t>(i);  // the key's last byte
    records.push_back(record);
  }
  Write("wide.dat", definition, records);
  Block block;
  ASSERT_EQ(OpenFile(block, "wide.dat"), kBtrOk);
  // Buffers of exactly their documented sizes on the heap.
  auto key = std::make_unique<uint8_t[]>(kKeyBufferSize);
  auto data = std::make_unique<uint8_t[]>(300);
  std::memcpy(key.get(), records[7].data() + 20, kKeyBufferSize);
  int32_t length = 300;
  ASSERT_EQ(engine_->BTRV(kBtrGetEqual, block.position, data.get(), &length, key.get(), 0, 0),
            kBtrOk);
  EXPECT_EQ(data[0], 7);
  EXPECT_EQ(length, 300);
  int count = 1;
  while (engine_->BTRV(kBtrGetNext, block.position, data.get(), &length, key.get(), 0, 0) ==
         kBtrOk) {
    EXPECT_EQ(key[253], data[0]);
    ++count;
  }
  EXPECT_GT(count, 1);
}

TEST_F(EngineTest, LongRunOfDuplicatesComesBackInWriteOrder) {
  std::vector<Record> records;
  for (int i = 0; i < 1000; ++i) {
    records.push_back(CashRecord(i % 3 == 0 ? 37000 : 36999 + 2 * (i % 2), i, 0));
  }
  Write("dups.dat", CashBookDefinition(), records);
  Block block;
  ASSERT_EQ(OpenFile(block, "dups.dat"), kBtrOk);
  block.SetKey32(37000);
  std::vector<int64_t> amounts;
  for (int16_t status = Read(*engine_, block, kBtrGetEqual, 0);
       status == kBtrOk && CashDate(block) == 37000;
       status = Read(*engine_, block, kBtrGetNext, 0)) {
    amounts.push_back(GetLe32(block.data.data() + 33));
  }
  std::vector<int64_t> expected;
  for (int i = 0; i < 1000; ++i) {
    if (i % 3 == 0) expected.push_back(i);
  }
  EXPECT_EQ(amounts, expected);
}

}  // namespace
}  // namespace h5::testing
