// Damaged input: data files damaged in whole or behind the format's back
// (corpus/format_mutations.txt), odd surroundings of the account book
// (huge or badly encoded INI files and registry values, odd names, links,
// folders, unreadable files) in whole diagnoses, and malformed books
// (corpus/books/) refused whole by the book builder with one line naming
// the place. Nothing may crash, and nothing may be written.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <utility>

#include "platform/fake/fault_injecting_record_manager.h"
#include "rig.h"
#include "tools/book_tool.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;

fs::path Corpus(const std::string& name) { return fs::path(H5_HARDENING_CORPUS) / name; }

// What a failed Open of the file leaves: its box's label and the level.
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
  std::optional<int16_t> open_status;  // nullopt: the Open may succeed
};

// The bytes of base (or of a fresh file) after running sql; empty on failure.
std::string DatabaseFrom(const fs::path& scratch, const std::string& base, const std::string& sql) {
  fs::remove(scratch);
  if (!base.empty()) WriteBytes(scratch, base);
  sqlite3* db = nullptr;
  int rc =
      sqlite3_open_v2(scratch.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  sqlite3_close_v2(db);
  std::string bytes = rc == SQLITE_OK ? ReadBytes(scratch) : std::string();
  fs::remove(scratch);
  return bytes;
}

// Whole-file replacements, cuts (each loses pages the header counts, or the
// header itself) and flips of the header's fields, the first pages' headers,
// the middle and the end.
std::vector<Damage> Damages(const std::string& original, const fs::path& scratch) {
  std::vector<Damage> damages = {{"empty file", ReadBytes(Corpus("empty.dat")), 2},
                                 {"text file", ReadBytes(Corpus("text_named_like_data.dat")), 2}};
  for (const char* seed : {"foreign.sql", "foreign_with_our_id.sql"}) {
    damages.push_back({seed, DatabaseFrom(scratch, "", ReadBytes(Corpus(seed))), 2});
    EXPECT_FALSE(damages.back().bytes.empty()) << seed;
  }
  const size_t size = original.size();
  for (size_t cut : {size_t{1}, size_t{50}, size_t{99}, size_t{100}, size_t{512}, size_t{4095},
                     size_t{4096}, size / 2, size - 1}) {
    if (cut < size)
      damages.push_back({"cut at " + std::to_string(cut), original.substr(0, cut), 2});
  }
  std::vector<size_t> offsets = {
      0,  15, 16, 17, 18,  19,  20,  21,  24,  28,   32,   40,   44,   48,   52,   56,   60,
      64, 68, 92, 96, 100, 101, 103, 105, 108, 4096, 4097, 4099, 4101, 4104, 8192, 8200, size / 2};
  if (size >= 100) offsets.insert(offsets.end(), {size - 100, size - 1});
  for (size_t offset : offsets) {
    for (int mask : {0x01, 0x80, 0xFF}) {
      if (offset >= size) continue;
      std::string bytes = original;
      bytes[offset] = static_cast<char>(bytes[offset] ^ mask);
      damages.push_back(
          {"byte " + std::to_string(offset) + " ^ " + std::to_string(mask), bytes, std::nullopt});
    }
  }
  return damages;
}

constexpr int kAny = -1;

// What a whole diagnosis on a damaged root must end with, besides
// Violations and every file left as it was.
constexpr const char* kNoBox = nullptr;
constexpr const char* kAnyBoxes = "";
struct Outcome {
  const char* preset;  // nullptr: any
  int level;           // kAny: any
  const char* boxes;   // kNoBox, kAnyBoxes or the heading of the one box
};

// Runs a whole diagnosis on root both ways and checks it. Boxes may only
// show what damage explains: damage (2), a wrong owner (51), keys or
// records that do not fit (6, 22, 8), no rights (46), and then files closed
// by the report (3).
void ExpectOutcome(const fs::path& root, const Outcome& want, const std::string& context) {
  const Tree before = ReadTree(root);
  for (bool agree : {true, false}) {
    DiagnosisRun run = RealRoot(root).Run(agree);
    std::vector<std::string>& found = run.found;
    for (const std::string& heading : run.headings) {
      if (!heading.empty() && !std::set{2, 3, 6, 8, 22, 46, 51}.contains(std::stoi(heading))) {
        found.push_back("a box for " + heading);
      }
    }
    if (want.boxes == kNoBox
            ? !run.boxes.empty()
            : *want.boxes != '\0' && run.headings != std::vector<std::string>{want.boxes}) {
      found.push_back("boxes other than \"" + std::string(want.boxes ? want.boxes : "") +
                      "\":" + Joined(run.headings));
    }
    if (want.preset && run.preset_level != want.preset) {
      found.push_back("preset \"" + run.preset_level + "\"");
    }
    if (want.level != kAny && run.level != want.level) {
      found.push_back("level " + std::to_string(run.level));
    }
    if (ReadTree(root) != before) found.push_back("files changed");
    EXPECT_TRUE(found.empty()) << context << (agree ? ", agreeing" : ", declining")
                               << Joined(found);
  }
}

class DamagedInputTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(BuildDemoBook(root_.path(), true)); }

  // A copy of the demo root to change.
  fs::path FreshRoot(const std::string& name) {
    fs::path root = scratch_.path() / name;
    fs::copy(root_.path(), root, fs::copy_options::recursive);
    return root;
  }

  ScratchDir root_;
  ScratchDir scratch_;
};

// Each data file in turn replaced by each damage (false), or by a copy of
// itself changed by each line of corpus/format_mutations.txt that applies
// to it (true).
class DamagedDataTest : public DamagedInputTest, public ::testing::WithParamInterface<bool> {};

TEST_P(DamagedDataTest, GivesStatusesNeverCrashes) {
  std::vector<Damage> mutations;  // named by their SQL text
  std::istringstream lines(ReadBytes(Corpus("format_mutations.txt")));
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    const size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos) << line;
    std::optional<int16_t> status;
    if (line[0] != '-') status = static_cast<int16_t>(std::stoi(line.substr(0, tab)));
    mutations.push_back({line.substr(tab + 1), "", status});
  }
  ASSERT_GE(mutations.size(), 40u);
  std::set<std::string> applied;
  const fs::path scratch = scratch_.path() / "scratch.db";
  for (const Target& target : kTargets) {
    const fs::path file = KakeiFolder(root_.path()) / target.file;
    const std::string original = ReadBytes(file);
    ASSERT_FALSE(original.empty()) << target.file;
    std::vector<Damage> damages = GetParam() ? mutations : Damages(original, scratch);
    std::erase_if(damages, [&](Damage& damage) {
      if (!GetParam()) return false;
      damage.bytes = DatabaseFrom(scratch, original, damage.name);
      if (!damage.bytes.empty()) applied.insert(damage.name);
      return damage.bytes.empty();  // the file lacks the table this one changes
    });
    // Where the Open must fail, its own report alone; the run stops where
    // that failure stops it.
    const char* boxes = target.open_label ? kAnyBoxes : kNoBox;
    for (const Damage& damage : damages) {
      WriteBytes(file, damage.bytes);
      const std::string report =
          std::to_string(damage.open_status.value_or(0)) + " " + (boxes ? target.open_label : "");
      ExpectOutcome(root_.path(),
                    damage.open_status
                        ? Outcome{target.preset, target.level, boxes ? report.c_str() : kNoBox}
                        : Outcome{nullptr, kAny, boxes},
                    std::string(target.file) + ", " + damage.name);
    }
    WriteBytes(file, original);
  }
  for (const Damage& mutation : mutations) {
    EXPECT_TRUE(!GetParam() || applied.contains(mutation.name))
        << "applies to nothing: " << mutation.name;
  }
}

INSTANTIATE_TEST_SUITE_P(WholeFilesOrTables, DamagedDataTest, ::testing::Bool());

const std::string kHuge(100 * 1024, 'A');
const std::string kHugeDigits(100 * 1024, '9');

// The places a case changes in a copy of the demo root.
struct Paths {
  explicit Paths(const fs::path& root)
      : root(root),
        f(KakeiFolder(root)),
        dir_name(root / "drive_c" / "Hidamari5" / "DirName.ini"),
        kakei_ini(root / "drive_c" / "HdmData5" / "kakeibo" / "Kakei.ini"),
        registry(root / "registry.reg") {}
  fs::path root, f, dir_name, kakei_ini, registry;
};
using Change = std::function<void(const Paths& p)>;

Change Put(fs::path Paths::*file, const std::string& bytes) {
  return [=](const Paths& p) { WriteBytes(p.*file, bytes); };
}
Change CopyOver(fs::path Paths::*file, const std::string& corpus) {
  return [=](const Paths& p) {
    fs::copy_file(Corpus(corpus), p.*file, fs::copy_options::overwrite_existing);
  };
}
Change RegistryPath(const std::string& value) {
  return Put(&Paths::registry,
             "Windows Registry Editor Version 5.00\r\n\r\n"
             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５]\r\n\"Path\"=\"" +
                 value + "\"\r\n");
}
void Relink(const fs::path& link, const fs::path& target) {
  fs::remove(link);
  fs::create_symlink(target, link);
}

struct SettingsCase {
  const char* name;
  Change change;
  Outcome outcome;
};

const SettingsCase kCases[] = {
    {"100 KB datapath: cut to 255 bytes, a folder that does not exist",
     Put(&Paths::dir_name, "[DirName]\r\ndatapath=" + kHuge + "\r\n"), "7", 7, kNoBox},
    {"100 KB kakeiPath", Put(&Paths::dir_name, "[DirName]\r\nkakeiPath=" + kHuge + "\r\n"), "7", 7,
     kNoBox},
    {"100 KB line and section before the real entries",
     Put(&Paths::dir_name, kHuge + "\r\n[" + kHuge + "]\r\n" + kHuge + "=" + kHuge +
                               "\r\n[DirName]\r\ndatapath=HdmData5\r\n"),
     "", 4, kNoBox},
    {"100 KB of digits as the account-book number",
     Put(&Paths::kakei_ini,
         "[\x8f\xdc\x96\xa1\x8a\xfa\x8c\xc0]\r\n\x89\xc6\x8c\x76\x95\xeb=" + kHugeDigits + "\r\n"),
     nullptr, kAny, kNoBox},
    {"100 KB counting option",
     Put(&Paths::kakei_ini,
         "[\xb5\xcc\xdf\xbc\xae\xdd]\r\n\x8f\x57\x8c\x76=" + kHugeDigits + "\r\n"),
     "", kAny, kNoBox},
    {"100 KB registry Path on drive C: the defaults still find the book",
     RegistryPath("C:\\\\" + kHuge), "", 4, kNoBox},
    {"100 KB registry Path of backslashes", RegistryPath(std::string(100 * 1024, '\\')), nullptr,
     kAny, kNoBox},
    {"one 1 MB line without a line end", Put(&Paths::dir_name, std::string(1 << 20, '[')), "", 4,
     kNoBox},
    {"invalid CP932 around valid keys", CopyOver(&Paths::dir_name, "invalid_cp932_keys.ini"), "", 4,
     kNoBox},
    {"invalid CP932 in the folder names", CopyOver(&Paths::dir_name, "invalid_cp932_values.ini"),
     nullptr, kAny, kNoBox},
    {"invalid CP932 as the account-book number and counting option: book 0",
     CopyOver(&Paths::kakei_ini, "invalid_cp932_kakei.ini"), "7", 7, kNoBox},
    {"registry Path with bytes that are not UTF-8", RegistryPath("C:\\\\Hidamari5\xff\xfe\x80"),
     nullptr, kAny, kNoBox},
    {"registry file of binary garbage", Put(&Paths::registry, std::string("\0\xff\x01\"[\\", 6)),
     "", 4, kNoBox},
    {"START02.DAT in capitals",
     [](const Paths& p) { fs::rename(p.f / "start02.dat", p.f / "START02.DAT"); }, "", 4, kNoBox},
    {"SUITOU02.DAT and HIMOKU.DAT in capitals",
     [](const Paths& p) {
       fs::rename(p.f / "suitou02.dat", p.f / "SUITOU02.DAT");
       fs::rename(p.f / "Himoku.dat", p.f / "HIMOKU.DAT");
     },
     "", 4, kNoBox},
    {"start02xdat leads to start02.dat, which is gone: the year before does not cover today",
     [](const Paths& p) { fs::rename(p.f / "start02.dat", p.f / "start02xdat"); }, "6", 6, kNoBox},
    {"candidates that lead to no file, and names that are no candidates",
     [](const Paths& p) {
       for (const char* name : {"start2.dat", "startab.dat", "start.dat", "start02.dat.bak",
                                "start 02.dat", "start０２.dat", "start02😀.dat", "スタート02.dat",
                                "start-1.dat", "start9z.dat", "start0 .dat", "start07\n.dat",
                                "start09\xff.dat", "start1\\.dat", "startdat", ".start04.dat"}) {
         WriteBytes(p.f / name, "");
       }
       WriteBytes(p.f / ("start08" + std::string(244, 'x') + "dat"), "");
       for (int yy = 10; yy < 90; ++yy)
         WriteBytes(p.f / ("start" + std::to_string(yy) + "xdat"), "");
       fs::create_directory(p.f / "start03.dat");
       fs::create_symlink(p.f / "nowhere.dat", p.f / "start05.dat");
     },
     "", 4, kNoBox},
    {"a candidate whose start file is empty is reported and passed over",
     [](const Paths& p) { WriteBytes(p.f / "start0a.dat", ""); }, "", 4, kAnyBoxes},
    {"the account book's folder is gone",
     [](const Paths& p) { fs::rename(p.f, p.f.parent_path() / "kakeibo9"); }, "7", 7, kNoBox},
    {"the account book's folder is a file",
     [](const Paths& p) {
       fs::remove_all(p.f);
       WriteBytes(p.f, "not a folder");
     },
     "7", 7, kNoBox},
    {"Himoku.dat is a folder",
     [](const Paths& p) {
       fs::remove(p.f / "Himoku.dat");
       fs::create_directory(p.f / "Himoku.dat");
     },
     "", 0, kAnyBoxes},
    {"suitou02.dat is a link to nowhere: no cash book",
     [](const Paths& p) { Relink(p.f / "suitou02.dat", p.f / "gone.dat"); }, "", 0, kNoBox},
    {"suitou02.dat is a loop of links",
     [](const Paths& p) {
       Relink(p.f / "suitou02.dat", p.f / "loop.dat");
       fs::create_symlink(p.f / "suitou02.dat", p.f / "loop.dat");
     },
     "", 0, kAnyBoxes},
    {"suitou02.dat is a FIFO: never opened, never waited on",
     [](const Paths& p) {
       fs::remove(p.f / "suitou02.dat");
       ASSERT_EQ(::mkfifo((p.f / "suitou02.dat").c_str(), 0600), 0);
     },
     "", 0, kAnyBoxes},
    {"Yosan02.dat is a link to /dev/zero",
     [](const Paths& p) { Relink(p.f / "Yosan02.dat", "/dev/zero"); }, "", 7, kAnyBoxes},
    {"bunkat02.dat is a link to the cash book: another layout under its name",
     [](const Paths& p) { Relink(p.f / "bunkat02.dat", p.f / "suitou02.dat"); }, "", kAny,
     kAnyBoxes},
    {"Kikan02.dat is the budget file: twelve periods of nonsense",
     [](const Paths& p) {
       fs::copy_file(p.f / "Yosan02.dat", p.f / "Kikan02.dat",
                     fs::copy_options::overwrite_existing);
     },
     "", kAny, kAnyBoxes},
    // As for a user without rights to them: the Open reports 46 and the run
    // goes on as for any failed Open; an unreadable DirName.ini reads as
    // missing, so the defaults apply.
    {"start02.dat and DirName.ini unreadable",
     [](const Paths& p) {
       fs::permissions(p.f / "start02.dat", fs::perms::none);
       fs::permissions(p.dir_name, fs::perms::none);
     },
     "6", 6, "46 Open　Start"},
    {"suitou02.dat and DirName.ini unreadable",
     [](const Paths& p) {
       fs::permissions(p.f / "suitou02.dat", fs::perms::none);
       fs::permissions(p.dir_name, fs::perms::none);
     },
     "", 0, "46 Open　出納帳"},
};

TEST_F(DamagedInputTest, OddSurroundingsNeverCrashAndChangeNothing) {
  for (size_t i = 0; i < std::size(kCases); ++i) {
    // File permissions (the cases with one box) do not bind the superuser.
    if (kCases[i].outcome.boxes && *kCases[i].outcome.boxes && ::geteuid() == 0) continue;
    const fs::path root = FreshRoot("case" + std::to_string(i));
    kCases[i].change(Paths(root));
    ExpectOutcome(root, kCases[i].outcome, kCases[i].name);
  }
}

// Status 86 against odd WIN.INIs: a 100 KB OPTIONS counts as options present
// (only the environment message, nothing written); a WIN.INI of bytes that
// are not CP932 without [Btrieve] gets the options on a Yes and keeps every
// other byte, and no temporary file is left anywhere.
TEST_F(DamagedInputTest, TooManyFilesAgainstOddWinIni) {
  const std::pair<std::string, std::vector<BoxKind>> cases[] = {
      {"[Btrieve]\r\nOPTIONS=" + kHuge + "\r\n", {BoxKind::kEnvironment}},
      {ReadBytes(Corpus("invalid_cp932_keys.ini")) + kHuge + "\r\n",
       {BoxKind::kOptionsOffer, BoxKind::kOptionsWritten}}};
  for (const auto& [old_ini, kinds] : cases) {
    const fs::path root = FreshRoot("win-ini" + std::to_string(kinds.size()));
    WriteBytes(WinIniFile(root), old_ini);
    const Tree before = ReadTree(root);
    RealRoot real(root);
    FaultInjectingRecordManager faulty(*real.engine);
    faulty.FailCall(0, kBtrTooManyFiles);
    DiagnosisRun run = real.Run(true, &faulty);
    EXPECT_TRUE(run.found.empty()) << Joined(run.found);
    EXPECT_EQ(run.kinds, kinds);
    Tree after = ReadTree(root);
    const std::string new_ini =
        std::exchange(after[WinIniFile(root).lexically_relative(root).string()], old_ini);
    EXPECT_TRUE(after == before);
    EXPECT_EQ(new_ini.substr(0, old_ini.size()), old_ini);
    const bool written = kinds.size() == 2;
    EXPECT_EQ(new_ini != old_ini, written);
    if (written) {
      EXPECT_EQ(real.environment.WinIniString("Btrieve", "OPTIONS", "", 200), kOfferedOptions);
    }
  }
}

void ExpectRefused(const fs::path& book, const std::string& error_part) {
  SCOPED_TRACE(book.filename().string());
  ScratchDir scratch;
  const fs::path root = scratch.path() / "root";
  WriteBytes(root / "drive_c" / "keep.txt", "keep");
  const Snapshot before = TakeSnapshot(scratch.path());
  std::string error;
  EXPECT_FALSE(BuildBookFile(book, root, &error));
  EXPECT_NE(error.find(error_part), std::string::npos) << error.substr(0, 300);
  EXPECT_EQ(error.find('\n'), std::string::npos) << "one line: " << error.substr(0, 300);
  EXPECT_LT(error.size(), 1000u);
  EXPECT_TRUE(TakeSnapshot(scratch.path()) == before);
  EXPECT_FALSE(BuildBookFile(book, scratch.path() / "fresh" / "root", &error));
  EXPECT_FALSE(fs::exists(scratch.path() / "fresh"));
}

TEST(MalformedBookTest, RefusedWholeWithThePlaceNamed) {
  const fs::path books = fs::path(H5_HARDENING_CORPUS) / "books";
  const std::pair<const char*, const char*> kBooks[] = {
      {"cut_short.json", "not valid JSON"},
      {"invalid_utf8.json", "not valid JSON"},
      {"two_byte_order_marks.json", "not valid JSON"},
      // Beyond a double the parser throws out_of_range, not parse_error: it
      // must still end in one line, not std::terminate.
      {"number_beyond_double.json", "not valid JSON"},
      {"number_beyond_64_bits.json", "records[0].amount: expected an integer within 32 bits"},
      {"number_below_64_bits.json", "records[0].amount: expected an integer within 32 bits"},
      {"fraction.json", "records[0].amount: expected an integer within 32 bits"},
      {"null_record.json", "records[0]: expected an object"},
      {"layout_number.json", ".layout"},
      {"february_30.json", "records[0].entryDate: no such date"},
      {"short_year.json", "records[0].entryDate"},
      {"date_with_time.json", "records[0].entryDate"},
      {"file_inside_file.json", "C:\\\\a"},
      {"same_file_twice.json", "C:\\\\x.dat"},
      {"same_file_in_two_cases.json", "a.txt"},
      {"drive_digit.json", "not a Windows path"},
      {"odd_hex.json", ".hex: expected pairs of hex digits"},
      {"key_number_beyond_16_bits.json", "keys[0].number"},
      {"record_length_huge.json", "recordLength"},
      {"registry_key_injection.json", "registry["},
      {"ini_value_injection.json", "[\"k\"]: an ini file cannot hold a line break"},
      {"duplicate_section.json", "registry: expected an object, got an array"},
      // A NUL would end names and texts early for every reader
      // ("C:\\a\u0000b.txt" would write C:\\a): refused wherever it stands.
      {"nul_in_path.json", "files["},
      {"nul_in_registry_value.json", "[\"Path\"]"},
      {"nul_in_ini_key.json", "[\"s\"]"},
      {"nul_in_ini_value.json", "[\"k\"]"},
  };
  std::set<std::string> listed;
  for (const auto& [file, error] : kBooks) {
    ExpectRefused(books / file, error);
    listed.insert(file);
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(books)) {
    EXPECT_TRUE(listed.count(entry.path().filename().string())) << entry.path() << " is untested";
  }
}

// A nested value where a number belongs is refused by place; copying or
// printing a JSON value recurses once per level, so a book nested a million
// levels deep is refused before anything copies it.
TEST(MalformedBookTest, DeepNestingIsRefusedWithoutRunningOutOfStack) {
  for (int depth : {1000, 1000000}) {
    ScratchDir scratch;
    ExpectRefused(
        scratch.Write("deep.json",
                      R"({"data": {"C:\\s.dat": {"layout": "budget", "records": [{"amount": )" +
                          std::string(depth, '[') + std::string(depth, ']') + "}]}}}"),
        "records[0].amount");
  }
}

// Paths that climb above their drive stay inside it: nothing is ever
// written outside the root.
TEST(MalformedBookTest, ClimbingPathsStayInsideTheRoot) {
  ScratchDir scratch;
  const fs::path root = scratch.path() / "root";
  nlohmann::json book = {{"files",
                          {{"C:\\..\\..\\..\\climbed.txt", {{"text", "x"}}},
                           {"C:\\a\\..\\..\\..\\b\\climbed2.txt", {{"text", "y"}}}}}};
  std::string error;
  const bool built = BuildBook(book, root, &error);
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(scratch.path())) {
    const fs::path inside = entry.path().lexically_relative(root);
    EXPECT_FALSE(inside.empty() || *inside.begin() == "..") << entry.path();
  }
  if (built) {
    EXPECT_TRUE(fs::exists(root / "drive_c" / "climbed.txt"));
    EXPECT_TRUE(fs::exists(root / "drive_c" / "b" / "climbed2.txt"));
  } else {
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace h5
