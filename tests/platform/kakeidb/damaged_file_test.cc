// Files that are not what they claim, and files another program is writing.
#include <chrono>
#include <cstring>
#include <random>
#include <set>

#include "engine_fixture.h"
#include "platform/record_manager.h"

namespace h5::testing {
namespace {

std::vector<Record> CashRecords(int count) {
  std::vector<Record> records;
  for (int i = 0; i < count; ++i) {
    records.push_back(CashRecord(37000 + i / 2, i, static_cast<uint8_t>(i)));
  }
  return records;
}

class DamagedFileTest : public EngineTest {
 protected:
  // Opens name and reads key 0 from the first record to the end; the first
  // status that is neither 0 nor 9, or 0 when everything read fine.
  int16_t OpenAndReadAll(const std::string& name, int* records_read = nullptr) {
    Block block;
    int16_t status = OpenFile(block, name);
    if (status != kBtrOk) return status;
    int count = 0;
    status = Read(*engine_, block, kBtrGetFirst, 0);
    while (status == kBtrOk && count < 100000) {
      ++count;
      status = Read(*engine_, block, kBtrGetNext, 0);
    }
    if (records_read != nullptr) *records_read = count;
    EXPECT_EQ(Close(*engine_, block), kBtrOk);
    return status == kBtrEndOfFile ? int16_t{kBtrOk} : status;
  }
};

struct DamageCase {
  const char* name;
  const char* sql;  // run on a good file of 10 cash-book records
  int16_t open_status;
  int16_t read_status;  // of reading everything, when the open succeeds
  int records_before;   // read fine before the damage shows
};

TEST_F(DamagedFileTest, DamagedDeclarationsAndRecords) {
  const DamageCase cases[] = {
      {"intact", "SELECT 1", kBtrOk, kBtrOk, 10},
      {"foreign application id", "PRAGMA application_id = 7", kBtrIoError, 0, 0},
      {"no file row", "DELETE FROM kakeidb_file", kBtrIoError, 0, 0},
      {"two file rows", "INSERT INTO kakeidb_file SELECT * FROM kakeidb_file", kBtrIoError, 0, 0},
      {"other format", "UPDATE kakeidb_file SET format = 'other'", kBtrIoError, 0, 0},
      {"newer version", "UPDATE kakeidb_file SET version = 2", kBtrIoError, 0, 0},
      {"record length zero", "UPDATE kakeidb_file SET record_length = 0", kBtrIoError, 0, 0},
      {"record length huge", "UPDATE kakeidb_file SET record_length = 1e12", kBtrIoError, 0, 0},
      {"record length text", "UPDATE kakeidb_file SET record_length = 'long'", kBtrIoError, 0, 0},
      {"owner name text", "UPDATE kakeidb_file SET owner_name = 'ABCD'", kBtrIoError, 0, 0},
      {"owner name too long", "UPDATE kakeidb_file SET owner_name = X'414243444546474849'",
       kBtrIoError, 0, 0},
      {"segment beyond the record", "UPDATE kakeidb_segments SET byte_offset = 76", kBtrIoError, 0,
       0},
      {"negative segment offset", "UPDATE kakeidb_segments SET byte_offset = -1", kBtrIoError, 0,
       0},
      {"integer segment of 3 bytes", "UPDATE kakeidb_segments SET byte_length = 3", kBtrIoError, 0,
       0},
      {"unknown segment type", "UPDATE kakeidb_segments SET type = 'float'", kBtrIoError, 0, 0},
      {"segment of an undeclared key", "UPDATE kakeidb_segments SET key_number = 5", kBtrIoError, 0,
       0},
      {"segments out of sequence", "UPDATE kakeidb_segments SET position = 1", kBtrIoError, 0, 0},
      {"key without segments", "DELETE FROM kakeidb_segments", kBtrIoError, 0, 0},
      {"key number out of range",
       "UPDATE kakeidb_keys SET key_number = 200;"
       "UPDATE kakeidb_segments SET key_number = 200",
       kBtrIoError, 0, 0},
      {"missing key table", "DROP TABLE kakeidb_key_0", kBtrIoError, 0, 0},
      {"key table as a view",
       "DROP TABLE kakeidb_key_0; CREATE VIEW kakeidb_key_0 AS"
       " SELECT X'00' AS entry, id FROM kakeidb_records",
       kBtrIoError, 0, 0},
      {"missing records table", "DROP TABLE kakeidb_records", kBtrIoError, 0, 0},
      {"records table without its columns",
       "DROP TABLE kakeidb_records; CREATE TABLE kakeidb_records (x)", kBtrIoError, 0, 0},
      {"record too short", "UPDATE kakeidb_records SET data = substr(data, 1, 78) WHERE id = 4",
       kBtrOk, kBtrIoError, 3},
      {"record too long", "UPDATE kakeidb_records SET data = data || X'00' WHERE id = 4", kBtrOk,
       kBtrIoError, 3},
      {"record as text", "UPDATE kakeidb_records SET data = 'x' WHERE id = 4", kBtrOk, kBtrIoError,
       3},
      {"record missing", "DELETE FROM kakeidb_records WHERE id = 4", kBtrOk, kBtrIoError, 3},
      {"index value differs from the record",
       "UPDATE kakeidb_records SET data = zeroblob(79) WHERE id = 4", kBtrOk, kBtrIoError, 3},
      {"entry names an earlier record", "UPDATE kakeidb_key_0 SET id = 1 WHERE id = 5", kBtrOk,
       kBtrIoError, 4},
      // Harmless: the record still stands where its key puts it.
      {"entry one byte longer",
       "UPDATE kakeidb_key_0 SET entry = CAST(entry || X'00' AS BLOB) WHERE id = 4", kBtrOk, kBtrOk,
       10},
      // Values of other types sort before every BLOB: Get First meets them
      // first, and the record after them is out of order.
      {"entry as text", "UPDATE kakeidb_key_0 SET entry = 'abcd' WHERE id = 10", kBtrOk,
       kBtrIoError, 1},
      {"entry as a number", "UPDATE kakeidb_key_0 SET entry = 5 WHERE id = 10", kBtrOk, kBtrIoError,
       1},
      {"id as text", "UPDATE kakeidb_key_0 SET id = 'x' WHERE id = 2", kBtrOk, kBtrIoError, 1},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    Write("good.dat", CashBookDefinition(), CashRecords(10));
    RunSql(DiskPath("good.dat"), c.sql);
    Watch("good.dat");
    Block block;
    int16_t status = OpenFile(block, "good.dat");
    EXPECT_EQ(status, c.open_status);
    if (status != kBtrOk) {
      EXPECT_EQ(engine_->open_files(), 0);
      continue;
    }
    ASSERT_EQ(Close(*engine_, block), kBtrOk);
    int read = 0;
    EXPECT_EQ(OpenAndReadAll("good.dat", &read), c.read_status);
    EXPECT_EQ(read, c.records_before);
  }
}

TEST_F(DamagedFileTest, DamagedRecordIsMetAgainOnRetryAndCanBeSkippedByPositioning) {
  Write("good.dat", CashBookDefinition(), CashRecords(10));
  RunSql(DiskPath("good.dat"), "UPDATE kakeidb_records SET data = X'01' WHERE id = 4");
  Watch("good.dat");
  Block block;
  ASSERT_EQ(OpenFile(block, "good.dat"), kBtrOk);
  ASSERT_EQ(Read(*engine_, block, kBtrGetFirst, 0), kBtrOk);
  ASSERT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrOk);
  ASSERT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrOk);
  EXPECT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrIoError);
  EXPECT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrIoError);
  // Records 2 and 3 share a date; 3 is damaged.
  block.SetKey32(37001);
  ASSERT_EQ(Read(*engine_, block, kBtrGetEqual, 0), kBtrOk);
  EXPECT_EQ(block.data[78], 2);
  EXPECT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrIoError);
  block.SetKey32(37002);
  ASSERT_EQ(Read(*engine_, block, kBtrGetGreaterOrEqual, 0), kBtrOk);
  EXPECT_EQ(block.data[78], 4);
  ASSERT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrOk);
  EXPECT_EQ(block.data[78], 5);
}

TEST_F(DamagedFileTest, BytesThatAreNoDatabase) {
  Write("good.dat", CashBookDefinition(), CashRecords(300));
  const std::string good = ReadBytes(DiskPath("good.dat"));
  std::mt19937 random(5);
  std::string noise(8192, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"random bytes", noise},
      {"text", "C:\\HdmData5\\kakeibo\\kakeibo1\\suitou02.dat\r\n"},
      {"header only", good.substr(0, 100)},
      {"first page only", good.substr(0, 4096)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(DiskPath("bad.dat"), c.bytes);
    Watch("bad.dat");
    EXPECT_EQ(OpenAndReadAll("bad.dat"), kBtrIoError);
  }
}

// A cut file says it is damaged, even when only the end of its last page is
// missing (which SQLite itself would read as zeros).
TEST_F(DamagedFileTest, TruncatedFileIsDamaged) {
  const std::vector<Record> records = CashRecords(2000);
  Write("good.dat", CashBookDefinition(), records);
  const std::string good = ReadBytes(DiskPath("good.dat"));
  ASSERT_GT(good.size(), 8 * 4096u);
  for (size_t size :
       {good.size() / 4, good.size() / 2, good.size() - 4096, good.size() - 100, good.size() - 1}) {
    SCOPED_TRACE(size);
    WriteBytes(DiskPath("cut.dat"), good.substr(0, size));
    Watch("cut.dat");
    Block block;
    int16_t status = OpenFile(block, "cut.dat");
    std::vector<Record> read;
    if (status == kBtrOk) status = Read(*engine_, block, kBtrGetFirst, 0);
    while (status == kBtrOk && read.size() <= records.size()) {
      read.push_back(block.Delivered());
      status = Read(*engine_, block, kBtrGetNext, 0);
    }
    Close(*engine_, block);
    EXPECT_EQ(status, kBtrIoError);
    EXPECT_TRUE(read.empty());
  }
}

TEST_F(DamagedFileTest, ForeignSqliteDatabase) {
  std::filesystem::create_directories(DiskPath(""));
  RunSql(DiskPath("foreign.dat"),
         "CREATE TABLE entries (date INTEGER, amount INTEGER); INSERT INTO entries VALUES (1, 2)");
  Watch("foreign.dat");
  EXPECT_EQ(OpenAndReadAll("foreign.dat"), kBtrIoError);
  // The right tables but no marker in the header.
  Write("good.dat", CashBookDefinition(), CashRecords(3));
  RunSql(DiskPath("good.dat"), "PRAGMA application_id = 0");
  Watch("good.dat");
  EXPECT_EQ(OpenAndReadAll("good.dat"), kBtrIoError);
}

// Random damage anywhere in a file: every answer is a status, never a crash
// or a read beyond a buffer (this test earns its keep under ASan).
TEST_F(DamagedFileTest, RandomByteDamageGivesStatuses) {
  FileDefinition definition = CashBookDefinition();
  definition.keys.push_back(
      Key(2, {{33, 4, SegmentType::kSigned}, {0, 1, SegmentType::kUnsigned}}));
  Write("good.dat", definition, CashRecords(400));
  const std::string good = ReadBytes(DiskPath("good.dat"));
  const std::set<int16_t> allowed = {
      kBtrOk,          kBtrIoError,     kBtrInvalidKeyNumber, kBtrOwnerNameWrong,
      kBtrKeyNotFound, kBtrAccessDenied};
  std::mt19937 random(1999);
  int damaged_seen = 0;
  for (int round = 0; round < 150; ++round) {
    std::string bytes = good;
    const int flips = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < flips; ++i) {
      bytes[random() % bytes.size()] ^= static_cast<char>(1 + random() % 255);
    }
    WriteBytes(DiskPath("fuzz.dat"), bytes);
    const uint64_t hash = FileHash(DiskPath("fuzz.dat"));
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
    ASSERT_EQ(FileHash(DiskPath("fuzz.dat")), hash);
  }
  EXPECT_GT(damaged_seen, 0);
  EXPECT_EQ(engine_->open_files(), 0);
}

// Another program with the file open for writing, through SQLite as the
// account book would.
class WriterTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    Write("suitou02.dat", CashBookDefinition(), CashRecords(50));
    ASSERT_EQ(sqlite3_open(DiskPath("suitou02.dat").c_str(), &writer_), SQLITE_OK);
  }
  void TearDown() override {
    sqlite3_close(writer_);
    EngineTest::TearDown();
  }
  int Exec(const char* sql) { return sqlite3_exec(writer_, sql, nullptr, nullptr, nullptr); }
  // A record as the writer adds it, through the documented format.
  int AppendRecord(int id, int32_t date) {
    Record record = CashRecord(date, 0, 0xAB);
    // The sortable date, then the id, both big-endian with the sign flipped.
    Record entry = {static_cast<uint8_t>((date >> 24) ^ 0x80),
                    static_cast<uint8_t>(date >> 16),
                    static_cast<uint8_t>(date >> 8),
                    static_cast<uint8_t>(date),
                    0x80,
                    0,
                    0,
                    0,
                    0,
                    0,
                    0,
                    static_cast<uint8_t>(id)};
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(writer_, "INSERT INTO kakeidb_records VALUES (?1, ?2);", -1, &insert,
                       nullptr);
    sqlite3_bind_int(insert, 1, id);
    sqlite3_bind_blob(insert, 2, record.data(), 79, SQLITE_TRANSIENT);
    int rc = sqlite3_step(insert);
    sqlite3_finalize(insert);
    sqlite3_prepare_v2(writer_, "INSERT INTO kakeidb_key_0 VALUES (?1, ?2);", -1, &insert, nullptr);
    sqlite3_bind_blob(insert, 1, entry.data(), 12, SQLITE_TRANSIENT);
    sqlite3_bind_int(insert, 2, id);
    int rc2 = sqlite3_step(insert);
    sqlite3_finalize(insert);
    return rc == SQLITE_DONE && rc2 == SQLITE_DONE ? SQLITE_OK : SQLITE_ERROR;
  }
  void Release() { hashes_.erase(DiskPath("suitou02.dat")); }

  sqlite3* writer_ = nullptr;
};

TEST_F(WriterTest, ReadsGoOnWhileAnotherProgramWrites) {
  Release();  // the writer changes the file; we do not
  ASSERT_EQ(Exec("BEGIN IMMEDIATE"), SQLITE_OK);
  ASSERT_EQ(AppendRecord(51, 36000), SQLITE_OK);
  Block block;
  ASSERT_EQ(OpenFile(block, "suitou02.dat"), kBtrOk);
  // The uncommitted record is not seen.
  ASSERT_EQ(Read(*engine_, block, kBtrGetFirst, 0), kBtrOk);
  EXPECT_EQ(CashDate(block), 37000);
  int count = 1;
  while (Read(*engine_, block, kBtrGetNext, 0) == kBtrOk) ++count;
  EXPECT_EQ(count, 50);
  ASSERT_EQ(Exec("COMMIT"), SQLITE_OK);
  ASSERT_EQ(Read(*engine_, block, kBtrGetFirst, 0), kBtrOk);
  EXPECT_EQ(CashDate(block), 36000);
}

TEST_F(WriterTest, NoLockIsHeldBetweenCalls) {
  Release();
  Block block;
  ASSERT_EQ(OpenFile(block, "suitou02.dat"), kBtrOk);
  block.SetKey32(37003);
  ASSERT_EQ(Read(*engine_, block, kBtrGetGreaterOrEqual, 0), kBtrOk);
  ASSERT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrOk);
  // Mid-way through a scan the writer commits at once, without waiting.
  sqlite3_busy_timeout(writer_, 0);
  ASSERT_EQ(Exec("BEGIN EXCLUSIVE"), SQLITE_OK);
  ASSERT_EQ(AppendRecord(51, 37004), SQLITE_OK);
  ASSERT_EQ(Exec("COMMIT"), SQLITE_OK);
  // The scan goes on to the end, in key order.
  int64_t last_date = CashDate(block);
  int count = 0;
  int16_t status;
  while ((status = Read(*engine_, block, kBtrGetNext, 0)) == kBtrOk) {
    EXPECT_GE(CashDate(block), last_date);
    last_date = CashDate(block);
    ++count;
  }
  EXPECT_EQ(status, kBtrEndOfFile);
  EXPECT_GE(count, 50 - 8);
  EXPECT_EQ(Close(*engine_, block), kBtrOk);
}

TEST_F(WriterTest, ExclusiveLockGivesFileLockedThenReadsResume) {
  Release();
  Block open_before;
  ASSERT_EQ(OpenFile(open_before, "suitou02.dat"), kBtrOk);
  ASSERT_EQ(Exec("BEGIN EXCLUSIVE"), SQLITE_OK);
  ASSERT_EQ(AppendRecord(51, 36000), SQLITE_OK);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Read(*engine_, open_before, kBtrGetFirst, 0), kBtrFileLocked);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
  Block open_during;
  EXPECT_EQ(OpenFile(open_during, "suitou02.dat"), kBtrFileLocked);
  EXPECT_EQ(engine_->open_files(), 1);
  ASSERT_EQ(Exec("COMMIT"), SQLITE_OK);
  ASSERT_EQ(Read(*engine_, open_before, kBtrGetFirst, 0), kBtrOk);
  EXPECT_EQ(CashDate(open_before), 36000);
  EXPECT_EQ(OpenFile(open_during, "suitou02.dat"), kBtrOk);
}

TEST_F(WriterTest, LockedGetNextCanBeRetriedFromTheSamePlace) {
  Release();
  Block block;
  ASSERT_EQ(OpenFile(block, "suitou02.dat"), kBtrOk);
  ASSERT_EQ(Read(*engine_, block, kBtrGetFirst, 0), kBtrOk);
  std::vector<int> marks = {block.data[78]};
  // Use up the read-ahead so that the next Get Next must read the file.
  while (marks.size() < 8) {
    ASSERT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrOk);
    marks.push_back(block.data[78]);
  }
  ASSERT_EQ(Exec("BEGIN EXCLUSIVE"), SQLITE_OK);
  ASSERT_EQ(AppendRecord(51, 36000), SQLITE_OK);  // keeps the lock exclusive
  EXPECT_EQ(Read(*engine_, block, kBtrGetNext, 0), kBtrFileLocked);
  ASSERT_EQ(Exec("ROLLBACK"), SQLITE_OK);
  int16_t status;
  while ((status = Read(*engine_, block, kBtrGetNext, 0)) == kBtrOk) {
    marks.push_back(block.data[78]);
  }
  EXPECT_EQ(status, kBtrEndOfFile);
  std::vector<int> expected;
  for (int i = 0; i < 50; ++i) expected.push_back(i);
  EXPECT_EQ(marks, expected);
}

}  // namespace
}  // namespace h5::testing
