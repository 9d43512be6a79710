// Whole diagnoses: start-up plus the creation of the control (the diagnosis
// run), on books of growing size, beside the raw SQLite floor: one range scan
// of the period's cash-book rows with a prepared statement, the least any
// reader of those files has to do.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <thread>

#include "control/frm_kakei.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_record_manager.h"
#include "platform/fake/fake_shell.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/root/path_map.h"
#include "platform/root/root_environment.h"
#include "startup/startup.h"
#include "store/module.h"
#include "text/day_number.h"
#include "tools/book_tool.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr char kBook[] = "C:\\HdmData5\\kakeibo\\kakeibo1\\";

struct BookShape {
  int years;           // book years, the last one containing today
  int entries_a_year;  // cash-book entries spread over each year
  int current_period;  // extra entries in today's period
};

std::string TwoDigits(int year) {
  char text[4];
  std::snprintf(text, sizeof text, "%02d", year % 100);
  return text;
}

// Writes a book whose last book year runs from April 2002; today is
// 2002-04-20.
fs::path BuildBook(const BookShape& shape) {
  // The format version in the name: a book kept from an older build is not reused.
  fs::path root = fs::temp_directory_path() / ("h5kakei-bench-v2-" + std::to_string(shape.years) +
                                               "-" + std::to_string(shape.entries_a_year) + "-" +
                                               std::to_string(shape.current_period));
  if (fs::exists(root / "ready")) return root;
  fs::remove_all(root);
  json book;
  book["registry"] = {
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５", {{"Path", "C:\\Hidamari5"}}}};
  auto data = [&](const std::string& name, const char* layout, json records) {
    book["data"][std::string(kBook) + name] = {{"layout", layout}, {"records", records}};
  };
  data("Himoku.dat", "category", json::array({{{"majorCode", 10}, {"name", "給与"}}}));
  data("Credit.dat", "card", json::array({{{"cardCode", 1}}}));
  for (int i = 0; i < shape.years; ++i) {
    int year = 2002 - (shape.years - 1) + i;
    std::string yy = TwoDigits(year);
    data("start" + yy + ".dat", "start", json::array({{{"Year", year}, {"Month", 4}, {"Day", 1}}}));
    int32_t first = DayNumber(year, 4, 1);
    json entries = json::array();
    for (int e = 0; e < shape.entries_a_year; ++e) {
      entries.push_back({{"entryKind", 1 + e % 2},
                         {"entryDate", first + e * 365 / shape.entries_a_year},
                         {"categoryCode", 20},
                         {"amount", 100 + e % 900}});
    }
    if (year == 2002) {
      for (int e = 0; e < shape.current_period; ++e) {
        entries.push_back({{"entryKind", 1},
                           {"entryDate", first + e % 20},
                           {"categoryCode", 20},
                           {"amount", 100 + e % 900}});
      }
    }
    data("suitou" + yy + ".dat", "cashbook", entries);
    json budgets = json::array();
    for (int m = 1; m <= 12; ++m) {
      budgets.push_back({{"month", m}, {"budgetKind", 1}, {"amount", 20000000}});
    }
    data("Yosan" + yy + ".dat", "budget", budgets);
  }
  std::string error;
  if (!h5::BuildBook(book, root, &error)) {
    fprintf(stderr, "cannot build the benchmark book: %s\n", error.c_str());
    std::abort();
  }
  std::ofstream(root / "ready") << "1";
  // Measured at rest: files and folders written in the last two seconds are
  // not yet kept by the record manager and the root (see SettledStamp).
  std::this_thread::sleep_for(std::chrono::milliseconds(2100));
  return root;
}

void Diagnose(benchmark::State& state, const BookShape& shape) {
  fs::path root = BuildBook(shape);
  RootEnvironment env(root);
  env.SetToday(std::chrono::year_month_day{std::chrono::year{2002}, std::chrono::month{4},
                                           std::chrono::day{20}});
  std::unique_ptr<RecordManager> records = OpenKakeiDb(WindowsPathResolver(root), env);
  FakeDialogs dialogs;
  FakeScreen screen;
  int16_t level = 0;
  for (auto _ : state) {
    ResetModule(Ports{&env, records.get(), &dialogs, nullptr, nullptr, &screen});
    Main();
    RecordingSurface surface;
    FrmKakei control(surface);
    level = control.DiagnosisLevel();
  }
  state.counters["level"] = level;
  if (!dialogs.shown().empty()) state.SkipWithError("a message box was shown");
}

// The floor: the period's cash-book rows read once through SQLite.
void Floor(benchmark::State& state, const BookShape& shape) {
  fs::path root = BuildBook(shape);
  fs::path file = root / "drive_c/HdmData5/kakeibo/kakeibo1/suitou02.dat";
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  // The period's records in key order, as a reader that knows the format
  // would fetch them.
  sqlite3_stmt* scan = nullptr;
  const char* sql =
      "SELECT data FROM kakeidb_records WHERE key_0 >= ?1 AND key_0 < ?2 ORDER BY key_0, id";
  if (sqlite3_prepare_v2(db, sql, -1, &scan, nullptr) != SQLITE_OK) {
    state.SkipWithError(sqlite3_errmsg(db));
    sqlite3_close(db);
    return;
  }
  // Sortable key values: big-endian with the sign bit flipped.
  auto sortable = [](int32_t day) {
    uint32_t v = static_cast<uint32_t>(day) ^ 0x80000000u;
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  };
  const std::string from = sortable(DayNumber(2002, 4, 1));
  const std::string to = sortable(DayNumber(2002, 5, 1));
  int64_t bytes = 0;
  for (auto _ : state) {
    sqlite3_reset(scan);
    sqlite3_bind_blob(scan, 1, from.data(), int(from.size()), SQLITE_STATIC);
    sqlite3_bind_blob(scan, 2, to.data(), int(to.size()), SQLITE_STATIC);
    while (sqlite3_step(scan) == SQLITE_ROW) bytes += sqlite3_column_bytes(scan, 0);
  }
  benchmark::DoNotOptimize(bytes);
  sqlite3_finalize(scan);
  sqlite3_close(db);
}

// The record manager never becomes active: 501 opens of the category file,
// one message box, then the close-all.
void InactiveRetryLoop(benchmark::State& state) {
  FakeEnvironment env;
  FakeRecordManager records;
  records.SetHandler(
      [](const BtrCall& call, std::span<uint8_t>, int32_t*) -> std::optional<int16_t> {
        if (call.operation == kBtrOpen) return kBtrInactive;
        return std::nullopt;
      });
  FakeDialogs dialogs;
  FakeScreen screen;
  for (auto _ : state) {
    ResetModule(Ports{&env, &records, &dialogs, nullptr, nullptr, &screen});
    Module().KakeiDir = kBook;
    RecordingSurface surface;
    FrmKakei control(surface);
    benchmark::DoNotOptimize(control.DiagnosisLevel());
  }
}

const BookShape kRealistic{10, 5000, 0};
const BookShape kPeriod1000{1, 0, 1000};
const BookShape kPeriod10000{1, 0, 10000};
const BookShape kHuge{1, 0, 100000};

BENCHMARK_CAPTURE(Diagnose, realistic_10_years_5000_a_year, kRealistic)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Floor, realistic_10_years_5000_a_year, kRealistic)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Diagnose, period_1000_entries, kPeriod1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Floor, period_1000_entries, kPeriod1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Diagnose, period_10000_entries, kPeriod10000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Floor, period_10000_entries, kPeriod10000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Diagnose, huge_100000_in_period, kHuge)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Floor, huge_100000_in_period, kHuge)->Unit(benchmark::kMillisecond);
BENCHMARK(InactiveRetryLoop)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace h5

BENCHMARK_MAIN();
