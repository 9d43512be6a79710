// Files that are not what they claim, and files another program is writing.
#include <chrono>
#include <cstdio>
#include <numeric>
#include <random>
#include <set>

#include "kakeidb_test.h"

namespace h5::testing {
namespace {

std::vector<Record> CashRecords(int count) {
  std::vector<Record> records;
  for (int i = 0; i < count; ++i) records.push_back(CashRecord(37000 + i / 2, i, i));
  return records;
}

class DamagedFileTest : public EngineTest {
 protected:
  // Opens name and reads key 0 to the end: the first status neither 0 nor 9.
  int16_t OpenAndReadAll(const std::string& name, int* records_read = nullptr) {
    Block block;
    int16_t status = OpenFile(block, name);
    if (status != kBtrOk) return status;
    int count = 0;
    for (status = Read(*engine_, block, kBtrGetFirst, 0); status == kBtrOk && count < 100000;
         status = Read(*engine_, block, kBtrGetNext, 0)) {
      ++count;
    }
    if (records_read != nullptr) *records_read = count;
    EXPECT_EQ(Close(*engine_, block), kBtrOk);
    return status == kBtrEndOfFile ? int16_t{kBtrOk} : status;
  }
  // A good file of 10 cash-book records, then sql on it.
  void WriteDamaged(const std::string& sql) {
    Write("good.dat", CashBookDefinition(), CashRecords(10));
    RunSql(DiskPath("good.dat"), sql);
    Watch("good.dat");
  }
};

TEST_F(DamagedFileTest, DamagedDeclarationsRecordsAndEntries) {
  const struct {
    const char* sql;
    int16_t status;  // of opening and reading everything
    int read;        // records read fine before the damage shows
  } cases[] = {
      {"SELECT 1", kBtrOk, 10},
      {"PRAGMA application_id = 7", kBtrIoError, 0},
      {"PRAGMA application_id = 0", kBtrIoError, 0},
      {"DELETE FROM kakeidb_file", kBtrIoError, 0},
      {"INSERT INTO kakeidb_file SELECT * FROM kakeidb_file", kBtrIoError, 0},
      {"UPDATE kakeidb_file SET format = 'other'", kBtrIoError, 0},
      {"UPDATE kakeidb_file SET version = 2", kBtrIoError, 0},
      {"UPDATE kakeidb_file SET record_length = 0", kBtrIoError, 0},
      {"UPDATE kakeidb_file SET record_length = 1e12", kBtrIoError, 0},
      {"UPDATE kakeidb_file SET record_length = 'long'", kBtrIoError, 0},
      {"UPDATE kakeidb_file SET owner_name = 'ABCD'", kBtrIoError, 0},
      {"UPDATE kakeidb_file SET owner_name = X'414243444546474849'", kBtrIoError, 0},
      {"UPDATE kakeidb_segments SET byte_offset = 76", kBtrIoError, 0},
      {"UPDATE kakeidb_segments SET byte_offset = -1", kBtrIoError, 0},
      {"UPDATE kakeidb_segments SET byte_length = 3", kBtrIoError, 0},
      {"UPDATE kakeidb_segments SET type = 'float'", kBtrIoError, 0},
      {"UPDATE kakeidb_segments SET key_number = 5", kBtrIoError, 0},
      {"UPDATE kakeidb_segments SET position = 1", kBtrIoError, 0},
      {"DELETE FROM kakeidb_segments", kBtrIoError, 0},
      {"UPDATE kakeidb_keys SET key_number = 200; UPDATE kakeidb_segments SET key_number = 200",
       kBtrIoError, 0},
      {"DROP TABLE kakeidb_key_0", kBtrIoError, 0},
      {"DROP TABLE kakeidb_key_0; CREATE VIEW kakeidb_key_0 AS SELECT X'00' AS entry, id"
       " FROM kakeidb_records",
       kBtrIoError, 0},
      {"DROP TABLE kakeidb_records", kBtrIoError, 0},
      {"DROP TABLE kakeidb_records; CREATE TABLE kakeidb_records (x)", kBtrIoError, 0},
      {"UPDATE kakeidb_records SET data = substr(data, 1, 78) WHERE id = 4", kBtrIoError, 3},
      {"UPDATE kakeidb_records SET data = data || X'00' WHERE id = 4", kBtrIoError, 3},
      {"UPDATE kakeidb_records SET data = 'x' WHERE id = 4", kBtrIoError, 3},
      {"DELETE FROM kakeidb_records WHERE id = 4", kBtrIoError, 3},
      {"UPDATE kakeidb_records SET data = zeroblob(79) WHERE id = 4", kBtrIoError, 3},
      {"UPDATE kakeidb_key_0 SET id = 1 WHERE id = 5", kBtrIoError, 4},
      // Harmless: the record still stands where its key puts it.
      {"UPDATE kakeidb_key_0 SET entry = CAST(entry || X'00' AS BLOB) WHERE id = 4", kBtrOk, 10},
      // Other types sort before every BLOB; the record after them is out of order.
      {"UPDATE kakeidb_key_0 SET entry = 'abcd' WHERE id = 10", kBtrIoError, 1},
      {"UPDATE kakeidb_key_0 SET entry = 5 WHERE id = 10", kBtrIoError, 1},
      {"UPDATE kakeidb_key_0 SET id = 'x' WHERE id = 2", kBtrIoError, 1},
      {"DELETE FROM kakeidb_key_0 WHERE id = 2", kBtrOk, 9},
      {"INSERT INTO kakeidb_key_0 VALUES (X'800000058000000000000002', 2)", kBtrIoError, 1},
      {"UPDATE kakeidb_key_0 SET entry = X'80000002' WHERE id = 2", kBtrIoError, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    WriteDamaged(c.sql);
    int read = 0;
    EXPECT_EQ(OpenAndReadAll("good.dat", &read), c.status);
    EXPECT_EQ(read, c.read);
    EXPECT_EQ(engine_->open_files(), 0);
    // The whole-file reader also checks that every record has its entries.
    std::string error;
    EXPECT_EQ(ReadDataFile(DiskPath("good.dat"), &error).has_value(), c.sql[0] == 'S') << error;
  }
}

TEST_F(DamagedFileTest, DamagedRecordIsMetAgainOnRetryAndCanBeSkippedByPositioning) {
  WriteDamaged("UPDATE kakeidb_records SET data = X'01' WHERE id = 4");
  Block block;
  ASSERT_EQ(OpenFile(block, "good.dat"), kBtrOk);
  ASSERT_EQ(Read(*engine_, block, kBtrGetFirst, 0), kBtrOk);
  ASSERT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrOk);
  ASSERT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrOk);
  EXPECT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrIoError);
  EXPECT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrIoError);
  block.SetKey32(37001);  // records 2 and 3; 3 is damaged
  ASSERT_EQ(Read(*engine_, block, kBtrGetEqual, 0), kBtrOk);
  EXPECT_EQ(block.data[78], 2);
  EXPECT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrIoError);  // again
  block.SetKey32(37002);
  ASSERT_EQ(Read(*engine_, block, kBtrGetGreaterOrEqual, 0), kBtrOk);
  EXPECT_EQ(block.data[78], 4);
  ASSERT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrOk);
  EXPECT_EQ(block.data[78], 5);
}

// Bytes that are no data file, among them cut ones (even when only the end
// of the last page is missing, which SQLite itself would read as zeros).
TEST_F(DamagedFileTest, BytesThatAreNoDataFile) {
  Write("good.dat", CashBookDefinition(), CashRecords(2000));
  const std::string good = ReadBytes(DiskPath("good.dat"));
  ASSERT_GT(good.size(), 8 * 4096u);
  RunSql(root_.path() / "foreign.db",
         "CREATE TABLE entries (date INTEGER, amount INTEGER); INSERT INTO entries VALUES (1, 2)");
  std::string noise;
  for (std::mt19937 random(5); noise.size() < 8192;) noise += static_cast<char>(random());
  std::vector<std::string> cases = {noise, "C:\\HdmData5\\kakeibo\\kakeibo1\\suitou02.dat\r\n",
                                    ReadBytes(root_.path() / "foreign.db")};
  const size_t n = good.size();
  for (size_t size :
       {size_t{0}, size_t{100}, size_t{4096}, n / 4, n / 2, n - 4096, n - 100, n - 1}) {
    cases.push_back(good.substr(0, size));
  }
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(bytes.size());
    WriteBytes(DiskPath("bad.dat"), bytes);
    Watch("bad.dat");
    int read = 0;
    EXPECT_EQ(OpenAndReadAll("bad.dat", &read), kBtrIoError);
    EXPECT_EQ(read, 0);
  }
}

// Random damage anywhere in a file: every answer is a status, never a crash
// or a read beyond a buffer (this test earns its keep under ASan).
TEST_F(DamagedFileTest, RandomByteDamageGivesStatuses) {
  FileDefinition definition = CashBookDefinition();
  definition.keys.push_back(
      Key(2, {{33, 4, SegmentType::kSigned}, {0, 1, SegmentType::kUnsigned}}));
  Write("good.dat", definition, CashRecords(400));
  const std::string good = ReadBytes(DiskPath("good.dat"));
  const std::set<int16_t> allowed = {kBtrOk,          kBtrIoError,      kBtrInvalidKeyNumber,
                                     kBtrKeyNotFound, kBtrAccessDenied, kBtrOwnerNameWrong};
  std::mt19937 random(1999);
  int damaged_seen = 0;
  for (int round = 0; round < 150; ++round) {
    std::string bytes = good;
    for (int i = 1 + static_cast<int>(random() % 8); i > 0; --i) {
      bytes[random() % bytes.size()] ^= static_cast<char>(1 + random() % 255);
    }
    WriteBytes(DiskPath("fuzz.dat"), bytes);
    for (int16_t key_number : {0, 2}) {
      Block block;
      int16_t status = OpenFile(block, "fuzz.dat");
      ASSERT_TRUE(allowed.count(status)) << "round " << round << " open " << status;
      if (status != kBtrOk) {
        ++damaged_seen;
        break;
      }
      block.SetKey32(37050);
      status = Read(*engine_, block, kBtrGetGreaterOrEqual, key_number);
      for (int n = 0; status == kBtrOk && n < 1000; ++n) {
        status = Read(*engine_, block, kBtrGetNext, key_number);
      }
      ASSERT_TRUE(status == kBtrEndOfFile || allowed.count(status))
          << "round " << round << " read " << status;
      ASSERT_EQ(Close(*engine_, block), kBtrOk);
    }
    ASSERT_EQ(ReadBytes(DiskPath("fuzz.dat")), bytes);  // never written to
  }
  EXPECT_GT(damaged_seen, 0);
  EXPECT_EQ(engine_->open_files(), 0);
}

// Another program writing the file through SQLite, as the account book would.
class WriterTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    WriteFile(DiskPath("suitou02.dat"), CashBookDefinition(), CashRecords(50));
    ASSERT_EQ(sqlite3_open(DiskPath("suitou02.dat").string().c_str(), &writer_), SQLITE_OK);
  }
  void TearDown() override { sqlite3_close(writer_), EngineTest::TearDown(); }
  int Exec(const std::string& sql) {
    return sqlite3_exec(writer_, sql.c_str(), nullptr, nullptr, nullptr);
  }
  // Adds record id (< 256) as a copy of record 1 with another date, its
  // entry as the format describes: date and id big-endian, sign bits flipped.
  int AppendRecord(int id, int32_t date) {
    const auto u = static_cast<uint32_t>(date);
    char sql[400];
    std::snprintf(sql, sizeof(sql),
                  "INSERT INTO kakeidb_records SELECT %d, CAST(substr(data, 1, 7) || "
                  "X'%02X%02X%02X%02X' || substr(data, 12) AS BLOB) FROM kakeidb_records "
                  "WHERE id = 1; INSERT INTO kakeidb_key_0 VALUES (X'%08X80000000000000%02X', %d)",
                  id, u & 0xFF, u >> 8 & 0xFF, u >> 16 & 0xFF, u >> 24, u ^ 0x80000000u, id, id);
    return Exec(sql);
  }

  sqlite3* writer_ = nullptr;
};

TEST_F(WriterTest, LocksGive85AndReadsResumeWritesShowOnceCommitted) {
  Block block, during;
  ASSERT_EQ(OpenFile(block, "suitou02.dat"), kBtrOk);
  std::vector<int> marks;
  // Use up the read-ahead so that the next Get Next must read the file.
  for (int16_t op = kBtrGetFirst; marks.size() < 8; op = kBtrGetNext) {
    ASSERT_EQ(Read(*engine_, block, op, 0), kBtrOk);
    marks.push_back(block.data[78]);
  }
  // No lock is held between calls: the writer gets its lock without waiting.
  sqlite3_busy_timeout(writer_, 0);
  ASSERT_EQ(Exec("BEGIN EXCLUSIVE"), SQLITE_OK);
  ASSERT_EQ(AppendRecord(51, 36000), SQLITE_OK);  // makes the lock exclusive
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrFileLocked);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
  EXPECT_EQ(OpenFile(during, "suitou02.dat"), kBtrFileLocked);
  EXPECT_EQ(engine_->open_files(), 1);
  ASSERT_EQ(Exec("ROLLBACK"), SQLITE_OK);
  int16_t status;
  while ((status = Read(*engine_, block, kBtrGetNext, 0)) == kBtrOk) {
    marks.push_back(block.data[78]);
  }
  EXPECT_EQ(status, kBtrEndOfFile);
  std::vector<int> expected(50);
  std::iota(expected.begin(), expected.end(), 0);
  EXPECT_EQ(marks, expected);
  EXPECT_EQ(OpenFile(during, "suitou02.dat"), kBtrOk);
  // An uncommitted record is not seen; once committed it is, in key order.
  ASSERT_EQ(Exec("BEGIN IMMEDIATE"), SQLITE_OK);
  ASSERT_EQ(AppendRecord(52, 36000), SQLITE_OK);
  ASSERT_EQ(Read(*engine_, block, kBtrGetFirst, 0), kBtrOk);
  EXPECT_EQ(block.Date(), 37000);
  ASSERT_EQ(Exec("COMMIT"), SQLITE_OK);
  ASSERT_EQ(Read(*engine_, during, kBtrGetFirst, 0), kBtrOk);
  EXPECT_EQ(during.Date(), 36000);
  ASSERT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrOk);  // on from the old position
  EXPECT_EQ(block.Date(), 37000);
}

}  // namespace
}  // namespace h5::testing
