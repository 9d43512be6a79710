// Damaged data files in a whole diagnosis: each file of the demo book in
// turn replaced by an empty file, a text file, another program's SQLite
// database, a cut copy, a copy with flipped bytes, or a copy whose tables
// were changed behind the format's back (corpus/format_mutations.txt). No
// run may crash or leave a file open. Where the Open must fail, the box is
// the Open's own report and the run stops where that file's failure stops
// it; elsewhere only the library's own texts may appear.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

#include "platform/kakeidb/kakeidb.h"
#include "platform/root/root_environment.h"
#include "rig.h"
#include "tools/book_builder.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;

constexpr std::chrono::year_month_day kToday{std::chrono::year{2002}, std::chrono::month{5},
                                             std::chrono::day{27}};

fs::path Corpus(const std::string& name) { return fs::path(H5_HARDENING_CORPUS) / name; }

// What the diagnosis does when the Open of a file fails with a reported
// status: the box carries the Open's label; the level is where that failure
// leaves the run.
struct Target {
  const char* file;
  const char* open_label;  // nullptr: the file's failures are never shown
  const char* preset;
  int16_t level;
};

const Target kTargets[] = {
    {"Himoku.dat", "費目ファイル オープン", "", 0},
    {"suitou02.dat", "Open　出納帳", "", 0},
    {"bunkat02.dat", "Open　bunkatu", "", 0},
    {"Credit.dat", "Open　クレジット", "", 0},
    {"Kyuyo.dat", "Open　Kyuyo", "", 0},
    {"Kyuyo02.dat", "Open　給与金額ファイル", "", 0},
    {"Yosan02.dat", "Open　yosan", "", 7},
    // The year before's start file does not cover today.
    {"start02.dat", "Open　Start", "6", 6},
    // Without a readable period file the periods are built from the start
    // date; the demo book's are calendar months anyway.
    {"Kikan02.dat", nullptr, "", 4},
};

struct Damage {
  std::string name;
  std::string bytes;
  // The status the damaged file's Open must answer, or nullopt when the
  // Open may succeed.
  std::optional<int16_t> open_status;
};

// A database made by running sql on a fresh file; empty on failure.
std::string DatabaseFrom(const fs::path& scratch, const std::string& base, const std::string& sql,
                         std::string* error) {
  fs::remove(scratch);
  if (!base.empty()) WriteBytes(scratch, base);
  sqlite3* db = nullptr;
  int rc =
      sqlite3_open_v2(scratch.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  char* message = nullptr;
  // A scratch file: no need to wait for the disk.
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    *error = message ? message : sqlite3_errstr(rc);
  }
  sqlite3_free(message);
  sqlite3_close_v2(db);
  std::string bytes = rc == SQLITE_OK ? ReadBytes(scratch) : std::string();
  fs::remove(scratch);
  return bytes;
}

// The damages of one real file: whole-file replacements, cuts and flips.
std::vector<Damage> Damages(const std::string& original, const fs::path& scratch) {
  std::vector<Damage> damages;
  damages.push_back({"empty file", ReadBytes(Corpus("empty.dat")), 2});
  damages.push_back({"text file", ReadBytes(Corpus("text_named_like_data.dat")), 2});
  for (const char* seed : {"foreign.sql", "foreign_with_our_id.sql"}) {
    std::string error;
    std::string bytes = DatabaseFrom(scratch, "", ReadBytes(Corpus(seed)), &error);
    EXPECT_FALSE(bytes.empty()) << seed << ": " << error;
    damages.push_back({seed, bytes, 2});
  }
  // Every cut loses pages the header counts (or the header itself).
  for (size_t cut : {size_t{1}, size_t{50}, size_t{99}, size_t{100}, size_t{512}, size_t{4095},
                     size_t{4096}, original.size() / 2, original.size() - 1}) {
    if (cut >= original.size()) continue;
    damages.push_back({"cut at " + std::to_string(cut), original.substr(0, cut), 2});
  }
  // The header's fields, the first pages' headers, the middle, the end.
  std::vector<size_t> offsets = {0,    15,
                                 16,   17,
                                 18,   19,
                                 20,   21,
                                 24,   28,
                                 32,   40,
                                 44,   48,
                                 52,   56,
                                 60,   64,
                                 68,   92,
                                 96,   100,
                                 101,  103,
                                 105,  108,
                                 4096, 4097,
                                 4099, 4101,
                                 4104, 8192,
                                 8200, original.size() / 2};
  if (original.size() >= 100) {
    offsets.push_back(original.size() - 100);
    offsets.push_back(original.size() - 1);
  }
  for (size_t offset : offsets) {
    if (offset >= original.size()) continue;
    for (unsigned char mask : {0x01, 0x80, 0xFF}) {
      std::string bytes = original;
      bytes[offset] = static_cast<char>(bytes[offset] ^ mask);
      std::ostringstream name;
      name << "byte " << offset << " ^ 0x" << std::hex << static_cast<int>(mask);
      damages.push_back({name.str(), bytes, std::nullopt});
    }
  }
  return damages;
}

struct Mutation {
  std::optional<int16_t> open_status;
  std::string sql;
};

std::vector<Mutation> Mutations() {
  std::vector<Mutation> mutations;
  std::istringstream lines(ReadBytes(Corpus("format_mutations.txt")));
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.find('\t');
    if (tab == std::string::npos) {
      ADD_FAILURE() << "no tab in mutation line: " << line;
      continue;
    }
    std::string status = line.substr(0, tab);
    Mutation mutation;
    if (status != "-") mutation.open_status = static_cast<int16_t>(std::stoi(status));
    mutation.sql = line.substr(tab + 1);
    mutations.push_back(mutation);
  }
  return mutations;
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class DamagedDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(BuildBook(DemoBook(kToday, true), root_.path(), &error)) << error;
    pristine_ = ReadTree(root_.path());
  }

  // Places bytes as target, runs a whole diagnosis both ways, checks it and
  // puts the real file back.
  void Run(const Target& target, const Damage& damage) {
    const fs::path file = KakeiFolder(root_.path()) / target.file;
    const std::string original = ReadBytes(file);
    WriteBytes(file, damage.bytes);
    const std::vector<std::string> names = Names(file.parent_path());
    for (bool agree : {true, false}) {
      const std::string context =
          std::string(target.file) + ", " + damage.name + (agree ? ", agreeing" : ", declining");
      RootEnvironment environment(root_.path());
      environment.SetToday(kToday);
      std::unique_ptr<KakeiDb> engine = OpenKakeiDb(root_.path(), environment);
      AnsweringDialogs dialogs(agree);
      DiagnosisOutcome outcome = RunWholeDiagnosis(environment, *engine, dialogs);
      ++runs_;

      std::vector<std::string> found = Violations(outcome, dialogs, engine->open_files());
      for (const MessageBoxRequest& box : dialogs.shown()) {
        std::optional<StatusHeadingParts> heading = ParseHeading(box.text);
        if (!heading) continue;
        ++statuses_[heading->status];
        // Damage reads as damage (2), a wrong owner (51), keys or records
        // that do not fit (6, 22, 8), and then files closed by the report (3).
        if (heading->status != 2 && heading->status != 3 && heading->status != 6 &&
            heading->status != 8 && heading->status != 22 && heading->status != 51) {
          found.push_back("a box for status " + std::to_string(heading->status));
        }
      }
      if (target.open_label == nullptr && !dialogs.shown().empty()) {
        found.push_back("a box for a file whose failures are never shown");
      }
      if (damage.open_status && target.open_label != nullptr) {
        // The Open's own report, and nothing after it.
        std::optional<StatusHeadingParts> heading =
            dialogs.shown().size() == 1 ? ParseHeading(dialogs.shown()[0].text) : std::nullopt;
        if (!heading || heading->status != *damage.open_status ||
            heading->label != target.open_label) {
          found.push_back("expected one box for status " + std::to_string(*damage.open_status) +
                          " under \"" + target.open_label + "\", got " +
                          std::to_string(dialogs.shown().size()) + " boxes" +
                          (dialogs.shown().empty() ? "" : ": " + dialogs.shown()[0].text));
        }
      }
      if (damage.open_status) {
        if (outcome.preset_level != target.preset) {
          found.push_back("preset " + outcome.preset_level);
        }
        if (outcome.level != target.level) {
          found.push_back("level " + std::to_string(outcome.level) + ", expected " +
                          std::to_string(target.level));
        }
      }
      // The whole root is compared once per file (below); here the damaged
      // file itself and what lies next to it (no journal, no new file).
      if (ReadBytes(file) != damage.bytes) found.push_back("the damaged file changed");
      if (Names(file.parent_path()) != names) found.push_back("files appeared or vanished");
      EXPECT_TRUE(found.empty()) << context << Joined(found);
    }
    WriteBytes(file, original);
  }

  ScratchDir root_;
  Tree pristine_;
  int runs_ = 0;
  std::map<int16_t, int> statuses_;  // headings seen
};

TEST_F(DamagedDataTest, DamagedFilesGiveStatusesNeverCrashes) {
  const fs::path scratch = root_.path() / "scratch.db";
  for (const Target& target : kTargets) {
    const std::string original = ReadBytes(KakeiFolder(root_.path()) / target.file);
    ASSERT_FALSE(original.empty()) << target.file;
    for (const Damage& damage : Damages(original, scratch)) Run(target, damage);
    EXPECT_TRUE(ReadTree(root_.path()) == pristine_) << target.file;
  }
  EXPECT_TRUE(ReadTree(root_.path()) == pristine_);
  std::ostringstream summary;
  summary << runs_ << " runs; statuses shown";
  for (auto [status, count] : statuses_) summary << " " << status << ":" << count;
  std::cout << summary.str() << std::endl;
  RecordProperty("summary", summary.str());
}

TEST_F(DamagedDataTest, TablesChangedBehindTheFormatsBack) {
  const fs::path scratch = root_.path() / "scratch.db";
  std::vector<Mutation> mutations = Mutations();
  ASSERT_GE(mutations.size(), 40u);
  std::vector<int> applied(mutations.size(), 0);
  for (const Target& target : kTargets) {
    const std::string original = ReadBytes(KakeiFolder(root_.path()) / target.file);
    for (size_t i = 0; i < mutations.size(); ++i) {
      std::string error;
      std::string bytes = DatabaseFrom(scratch, original, mutations[i].sql, &error);
      if (bytes.empty()) continue;  // the file lacks the table this one changes
      ++applied[i];
      Run(target, {mutations[i].sql, bytes, mutations[i].open_status});
    }
    EXPECT_TRUE(ReadTree(root_.path()) == pristine_) << target.file;
  }
  for (size_t i = 0; i < mutations.size(); ++i) {
    EXPECT_GT(applied[i], 0) << "applies to no data file: " << mutations[i].sql;
  }
  EXPECT_TRUE(ReadTree(root_.path()) == pristine_);
  std::ostringstream summary;
  summary << runs_ << " runs; statuses shown";
  for (auto [status, count] : statuses_) summary << " " << status << ":" << count;
  std::cout << summary.str() << std::endl;
  RecordProperty("summary", summary.str());
}

}  // namespace
}  // namespace h5
