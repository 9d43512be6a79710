// A cash-book pass as the diagnosis makes it: Get Greater or Equal on key 0
// (the entry date), then Get Next to the end, over 100,000 records of 79
// bytes; against the same rows read straight from SQLite with one reused
// statement, which is the floor any SQLite-backed engine can reach.
//
// BM_KakeiDbVersusRawSqlite runs both passes in each iteration and reports
// the ratio as a counter. BM_RawSqliteReplanPerRecord shows what a Get Next
// that prepared its query per record would cost (items_per_second).
#include <sqlite3.h>
#include <stdlib.h>
#include <time.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/fake/fake_environment.h"
#include "platform/kakeidb/data_file_writer.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/root/path_map.h"

namespace h5 {
namespace {

constexpr int kRecords = 100000;
constexpr int32_t kRecordLength = 79;
constexpr int32_t kFirstDate = 37000;
constexpr int32_t kScanFrom = kFirstDate - 10;  // before every entry

class Fixture {
 public:
  Fixture() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kakeidb_bench.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    root_ = pattern;
    std::filesystem::path dir = root_ / "drive_c" / "HdmData5" / "kakeibo" / "kakeibo1";
    std::filesystem::create_directories(dir);

    // Entries are written about in date order, as a household books them, but
    // not exactly: a tenth come days late.
    std::mt19937 random(2002);
    std::vector<std::vector<uint8_t>> records;
    for (int i = 0; i < kRecords; ++i) {
      int32_t date =
          kFirstDate + i / 30 + (random() % 10 == 0 ? -static_cast<int>(random() % 5) : 0);
      std::vector<uint8_t> record(kRecordLength);
      for (uint8_t& byte : record) byte = static_cast<uint8_t>(random());
      std::memcpy(record.data() + 7, &date, 4);
      records.push_back(record);
    }

    FileDefinition definition{kRecordLength, "ABCD", {{0, {{7, 4, SegmentType::kSigned}}, true}}};
    std::string error;
    auto writer = DataFileWriter::Create(dir / "suitou02.dat", definition, &error);
    if (!writer) std::abort();
    for (const auto& record : records) {
      if (!writer->Append(record, &error)) std::abort();
    }
    if (!writer->Commit(&error)) std::abort();

    // The same rows as a plain SQLite table with an index on the date.
    raw_path_ = root_ / "raw.db";
    sqlite3* db = nullptr;
    sqlite3_open(raw_path_.c_str(), &db);
    sqlite3_exec(db,
                 "PRAGMA journal_mode = OFF; BEGIN;"
                 "CREATE TABLE cash (id INTEGER PRIMARY KEY, entry_date INTEGER NOT NULL,"
                 " data BLOB NOT NULL);"
                 "CREATE INDEX cash_date ON cash (entry_date, id);",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO cash VALUES (?1, ?2, ?3)", -1, &insert, nullptr);
    for (int i = 0; i < kRecords; ++i) {
      int32_t date;
      std::memcpy(&date, records[i].data() + 7, 4);
      sqlite3_reset(insert);
      sqlite3_bind_int(insert, 1, i + 1);
      sqlite3_bind_int(insert, 2, date);
      sqlite3_bind_blob(insert, 3, records[i].data(), kRecordLength, SQLITE_STATIC);
      sqlite3_step(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }

  ~Fixture() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  const std::filesystem::path& root() const { return root_; }
  const std::filesystem::path& raw_path() const { return raw_path_; }

 private:
  std::filesystem::path root_;
  std::filesystem::path raw_path_;
};

Fixture& SharedFixture() {
  static Fixture fixture;
  return fixture;
}

// One open cash book, read as ReadGtorEQSuitou / ReadNXTSuitou do.
class EngineScan {
 public:
  EngineScan() : engine_(OpenKakeiDb(WindowsPathResolver(SharedFixture().root()), environment_)) {
    char path[kKeyBufferSize];
    std::memset(path, ' ', sizeof(path));
    const char name[] = "C:\\HdmData5\\kakeibo\\kakeibo1\\suitou02.dat";
    std::memcpy(path, name, sizeof(name) - 1);
    char owner[6] = {'A', 'B', 'C', 'D', 0, 0};
    int32_t length = 5;
    if (engine_->BTRV(kBtrOpen, position_, owner, &length, path, 0, 0) != kBtrOk) std::abort();
  }

  // Records read by key 0 from kScanFrom on: all of them.
  int64_t Pass() {
    std::memset(key_, 0, sizeof(key_));
    std::memcpy(key_, &kScanFrom, 4);
    int32_t length = kRecordLength;
    int64_t count = 0;
    int16_t status = engine_->BTRV(kBtrGetGreaterOrEqual, position_, record_, &length, key_, 0, 0);
    while (status == kBtrOk) {
      ++count;
      benchmark::DoNotOptimize(record_[33]);
      length = kRecordLength;
      status = engine_->BTRV(kBtrGetNext, position_, record_, &length, key_, 0, 0);
    }
    if (status != kBtrEndOfFile) std::abort();
    return count;
  }

 private:
  FakeEnvironment environment_;
  std::unique_ptr<KakeiDb> engine_;
  uint8_t position_[kPositionBlockSize] = {};
  uint8_t key_[kKeyBufferSize] = {};
  uint8_t record_[kRecordLength] = {};
};

// The same pass straight on SQLite: one prepared statement, stepped.
class RawScan {
 public:
  RawScan() {
    sqlite3_open_v2(SharedFixture().raw_path().c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_prepare_v3(db_, "SELECT data FROM cash WHERE entry_date >= ?1 ORDER BY entry_date, id",
                       -1, SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
  }
  ~RawScan() {
    sqlite3_finalize(statement_);
    sqlite3_close(db_);
  }

  int64_t Pass() {
    sqlite3_reset(statement_);
    sqlite3_bind_int(statement_, 1, kScanFrom);
    int64_t count = 0;
    while (sqlite3_step(statement_) == SQLITE_ROW) {
      std::memcpy(record_, sqlite3_column_blob(statement_, 0),
                  static_cast<size_t>(sqlite3_column_bytes(statement_, 0)));
      benchmark::DoNotOptimize(record_[33]);
      ++count;
    }
    sqlite3_reset(statement_);
    return count;
  }

 private:
  sqlite3* db_ = nullptr;
  sqlite3_stmt* statement_ = nullptr;
  uint8_t record_[kRecordLength] = {};
};

// What Get Next would cost if it planned its query again for every record:
// prepare, seek past the last record, step once, finalize.
void BM_RawSqliteReplanPerRecord(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(SharedFixture().raw_path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  constexpr int kRecordsPerPass = 10000;
  uint8_t record[kRecordLength];
  int64_t records = 0;
  for (auto _ : state) {
    int32_t date = kScanFrom;
    int64_t id = 0;
    for (int n = 0; n < kRecordsPerPass; ++n) {
      sqlite3_stmt* statement = nullptr;
      sqlite3_prepare_v2(db,
                         "SELECT entry_date, id, data FROM cash WHERE (entry_date, id) > (?1, ?2)"
                         " ORDER BY entry_date, id LIMIT 1",
                         -1, &statement, nullptr);
      sqlite3_bind_int(statement, 1, date);
      sqlite3_bind_int64(statement, 2, id);
      if (sqlite3_step(statement) != SQLITE_ROW) std::abort();
      date = sqlite3_column_int(statement, 0);
      id = sqlite3_column_int64(statement, 1);
      std::memcpy(record, sqlite3_column_blob(statement, 2), kRecordLength);
      benchmark::DoNotOptimize(record[33]);
      sqlite3_finalize(statement);
      ++records;
    }
  }
  sqlite3_close(db);
  state.SetItemsProcessed(records);
}
BENCHMARK(BM_RawSqliteReplanPerRecord)->Unit(benchmark::kMillisecond);

void BM_KakeiDbScan(benchmark::State& state) {
  EngineScan scan;
  int64_t records = 0;
  for (auto _ : state) records += scan.Pass();
  state.SetItemsProcessed(records);
}
BENCHMARK(BM_KakeiDbScan)->Unit(benchmark::kMillisecond);

void BM_RawSqliteScan(benchmark::State& state) {
  RawScan scan;
  int64_t records = 0;
  for (auto _ : state) records += scan.Pass();
  state.SetItemsProcessed(records);
}
BENCHMARK(BM_RawSqliteScan)->Unit(benchmark::kMillisecond);

// The CPU time of this thread, in nanoseconds: unlike wall time, not
// stretched by other programs on a busy machine.
double ThreadCpuNs() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// Both passes in every iteration, one after the other, timed apart.
void BM_KakeiDbVersusRawSqlite(benchmark::State& state) {
  EngineScan engine;
  RawScan raw;
  double engine_ns = 0;
  double raw_ns = 0;
  int64_t records = 0;
  for (auto _ : state) {
    double t0 = ThreadCpuNs();
    int64_t engine_records = engine.Pass();
    double t1 = ThreadCpuNs();
    int64_t raw_records = raw.Pass();
    double t2 = ThreadCpuNs();
    if (engine_records != raw_records || engine_records != kRecords) std::abort();
    engine_ns += t1 - t0;
    raw_ns += t2 - t1;
    records += engine_records;
  }
  state.counters["kakeidb_ns_per_record"] = engine_ns / static_cast<double>(records);
  state.counters["raw_ns_per_record"] = raw_ns / static_cast<double>(records);
  state.counters["ratio"] = engine_ns / raw_ns;
}
BENCHMARK(BM_KakeiDbVersusRawSqlite)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
}  // namespace h5

BENCHMARK_MAIN();
