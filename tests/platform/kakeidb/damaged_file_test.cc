// Files that are not what they claim, and files another program is writing.
#include <chrono>
#include <cstdio>
#include <numeric>

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
      // Declarations out of bounds are swept by the hardening tests' format
      // mutations; here the rows themselves.
      {"SELECT 1", kBtrOk, 10},
      {"UPDATE kakeidb_file SET owner_name = X'414243444546474849'", kBtrIoError, 0},
      {"UPDATE kakeidb_segments SET key_number = 5", kBtrIoError, 0},
      {"DROP TABLE kakeidb_records; CREATE TABLE kakeidb_records (id, data)", kBtrIoError, 0},
      {"UPDATE kakeidb_records SET data = substr(data, 1, 78) WHERE id = 4", kBtrIoError, 3},
      {"UPDATE kakeidb_records SET data = 'x' WHERE id = 4", kBtrIoError, 3},
      // The record no longer stands where its key puts it.
      {"UPDATE kakeidb_records SET data = zeroblob(79) WHERE id = 4", kBtrIoError, 3},
      {"UPDATE kakeidb_records SET key_0 = X'80000000' WHERE id = 4", kBtrIoError, 0},
      {"UPDATE kakeidb_records SET key_0 = CAST(key_0 || X'00' AS BLOB) WHERE id = 4", kBtrIoError,
       3},
      // Other types sort before every BLOB, and are met first.
      {"UPDATE kakeidb_records SET key_0 = 'abcd' WHERE id = 10", kBtrIoError, 0},
      {"UPDATE kakeidb_records SET id = 'x' WHERE id = 2", kBtrIoError, 1},
      {"UPDATE kakeidb_records SET id = 9223372036854775807 WHERE id = 10", kBtrIoError, 9},
      {"DELETE FROM kakeidb_records WHERE id = 4", kBtrOk, 9}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    WriteDamaged(c.sql);
    int read = 0;
    EXPECT_EQ(OpenAndReadAll("good.dat", &read), c.status);
    EXPECT_EQ(read, c.read);
    EXPECT_EQ(engine_->open_files(), 0);
    // The whole-file reader finds the same damage, in write order.
    std::string error;
    EXPECT_EQ(ReadDataFile(DiskPath("good.dat"), &error).has_value(), c.status == kBtrOk) << error;
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
  ASSERT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrOk);
  EXPECT_EQ(block.data[78], 5);
}

// A file of the first version (a table per key) is refused, saying how to
// rewrite it.
TEST_F(DamagedFileTest, FileOfTheFirstVersionAsksToBeRewritten) {
  std::filesystem::create_directories(DiskPath("old.dat").parent_path());
  RunSql(DiskPath("old.dat"), R"(PRAGMA application_id = 1263223874; PRAGMA user_version = 1;
    CREATE TABLE kakeidb_file (format TEXT, version INTEGER, record_length INTEGER, owner_name BLOB);
    CREATE TABLE kakeidb_keys (key_number INTEGER PRIMARY KEY, duplicates INTEGER NOT NULL);
    CREATE TABLE kakeidb_segments (key_number, position, byte_offset, byte_length, type TEXT,
                                   PRIMARY KEY (key_number, position)) WITHOUT ROWID;
    CREATE TABLE kakeidb_records (id INTEGER PRIMARY KEY, data BLOB NOT NULL);
    CREATE TABLE kakeidb_key_0 (entry BLOB PRIMARY KEY, id INTEGER NOT NULL) WITHOUT ROWID;
    INSERT INTO kakeidb_file VALUES ('kakeidb', 1, 79, X'41424344');
    INSERT INTO kakeidb_keys VALUES (0, 1); INSERT INTO kakeidb_segments VALUES (0, 0, 7, 4, 'signed');
    INSERT INTO kakeidb_records VALUES (1, zeroblob(79));)");
  Watch("old.dat");
  EXPECT_EQ(OpenAndReadAll("old.dat"), kBtrIoError);
  std::string error;
  EXPECT_FALSE(ReadDataFile(DiskPath("old.dat"), &error));
  EXPECT_NE(error.find("version 1"), std::string::npos) << error;
  EXPECT_NE(error.find("h5kakei book build"), std::string::npos) << error;
}

// Cut files (even when only the end of the last page is missing, which
// SQLite itself would read as zeros). Bytes of other kinds are swept by the
// hardening tests.
TEST_F(DamagedFileTest, CutFiles) {
  Write("good.dat", CashBookDefinition(), CashRecords(2000));
  const std::string good = ReadBytes(DiskPath("good.dat"));
  const size_t n = good.size();
  ASSERT_GT(n, 8 * 4096u);
  for (size_t size : {size_t{0}, size_t{100}, n / 2, n - 4096, n - 100, n - 1}) {
    SCOPED_TRACE(size);
    WriteBytes(DiskPath("bad.dat"), good.substr(0, size));
    Watch("bad.dat");
    int read = 0;
    EXPECT_EQ(OpenAndReadAll("bad.dat", &read), kBtrIoError);
    EXPECT_EQ(read, 0);
  }
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
  // Adds record id as a copy of record 1 with another date and its sortable
  // value: big-endian, sign bit flipped.
  int AppendRecord(int id, int32_t date) {
    const auto u = static_cast<uint32_t>(date);
    char sql[300];
    std::snprintf(sql, sizeof(sql),
                  "INSERT INTO kakeidb_records SELECT %d, CAST(substr(data, 1, 7) || "
                  "X'%02X%02X%02X%02X' || substr(data, 12) AS BLOB), X'%08X' FROM kakeidb_records "
                  "WHERE id = 1",
                  id, u & 0xFF, u >> 8 & 0xFF, u >> 16 & 0xFF, u >> 24, u ^ 0x80000000u);
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
