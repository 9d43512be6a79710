// Odd and damaged surroundings of the account book in a whole diagnosis:
// huge and badly encoded INI files and registry values, odd names in the
// account book's folder, files that are folders, links that lead nowhere.
// No run may crash or leave a file open; where the outcome is settled, it
// is checked; nothing in the root may change.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>

#include "platform/fake/fault_injecting_record_manager.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/root/root_environment.h"
#include "rig.h"
#include "tools/book_builder.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;

constexpr std::chrono::year_month_day kToday{std::chrono::year{2002}, std::chrono::month{5},
                                             std::chrono::day{27}};
constexpr int kAny = -1;

fs::path Corpus(const std::string& name) { return fs::path(H5_HARDENING_CORPUS) / name; }

fs::path DirNameIni(const fs::path& root) { return root / "drive_c" / "Hidamari5" / "DirName.ini"; }
fs::path KakeiIni(const fs::path& root) {
  return root / "drive_c" / "HdmData5" / "kakeibo" / "Kakei.ini";
}

const std::string kHuge(100 * 1024, 'A');
const std::string kHugeDigits(100 * 1024, '9');

void Registry(const fs::path& root, const std::string& path_value) {
  WriteBytes(root / "registry.reg",
             "Windows Registry Editor Version 5.00\r\n\r\n"
             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５]\r\n\"Path\"=\"" +
                 path_value + "\"\r\n");
}

void Copy(const fs::path& from, const fs::path& to) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

struct SettingsCase {
  const char* name;
  std::function<void(const fs::path& root)> change;
  const char* preset;  // nullptr: any
  int level;           // kAny: any
  bool boxes;          // whether boxes may appear
};

fs::path Folder(const fs::path& root) { return KakeiFolder(root); }

const SettingsCase kCases[] = {
    // Huge values and lines.
    {"100 KB datapath: cut to 255 bytes, a folder that does not exist",
     [](const fs::path& r) {
       WriteBytes(DirNameIni(r), "[DirName]\r\ndatapath=" + kHuge + "\r\n");
     },
     "7", 7, false},
    {"100 KB kakeiPath",
     [](const fs::path& r) {
       WriteBytes(DirNameIni(r), "[DirName]\r\nkakeiPath=" + kHuge + "\r\n");
     },
     "7", 7, false},
    {"100 KB line and section before the real entries",
     [](const fs::path& r) {
       WriteBytes(DirNameIni(r), kHuge + "\r\n[" + kHuge + "]\r\n" + kHuge + "=" + kHuge +
                                     "\r\n[DirName]\r\ndatapath=HdmData5\r\n");
     },
     "", 4, false},
    {"100 KB of digits as the account-book number",
     [](const fs::path& r) {
       WriteBytes(KakeiIni(r), "[\x8f\xdc\x96\xa1\x8a\xfa\x8c\xc0]\r\n\x89\xc6\x8c\x76\x95\xeb=" +
                                   kHugeDigits + "\r\n");
     },
     nullptr, kAny, false},
    {"100 KB registry Path on drive C: the defaults still find the book",
     [](const fs::path& r) { Registry(r, "C:\\\\" + kHuge); }, "", 4, false},
    {"100 KB registry Path of backslashes",
     [](const fs::path& r) { Registry(r, std::string(100 * 1024, '\\')); }, nullptr, kAny, false},
    {"100 KB counting option",
     [](const fs::path& r) {
       WriteBytes(KakeiIni(r),
                  "[\xb5\xcc\xdf\xbc\xae\xdd]\r\n\x8f\x57\x8c\x76=" + kHugeDigits + "\r\n");
     },
     "", kAny, false},
    {"one 1 MB line without a line end",
     [](const fs::path& r) { WriteBytes(DirNameIni(r), std::string(1 << 20, '[')); }, "", 4, false},
    // Bytes that are not CP932.
    {"invalid CP932 around valid keys",
     [](const fs::path& r) { Copy(Corpus("invalid_cp932_keys.ini"), DirNameIni(r)); }, "", 4,
     false},
    {"invalid CP932 in the folder names",
     [](const fs::path& r) { Copy(Corpus("invalid_cp932_values.ini"), DirNameIni(r)); }, nullptr,
     kAny, false},
    {"invalid CP932 as the account-book number and counting option: book 0",
     [](const fs::path& r) { Copy(Corpus("invalid_cp932_kakei.ini"), KakeiIni(r)); }, "7", 7,
     false},
    {"registry Path with bytes that are not UTF-8",
     [](const fs::path& r) { Registry(r, "C:\\\\Hidamari5\xff\xfe\x80"); }, nullptr, kAny, false},
    {"registry file of binary garbage",
     [](const fs::path& r) { WriteBytes(r / "registry.reg", std::string("\0\xff\x01\"[\\", 6)); },
     "", 4, false},
    // Names in the account book's folder.
    {"START02.DAT in capitals",
     [](const fs::path& r) { fs::rename(Folder(r) / "start02.dat", Folder(r) / "START02.DAT"); },
     "", 4, false},
    {"SUITOU02.DAT and HIMOKU.DAT in capitals",
     [](const fs::path& r) {
       fs::rename(Folder(r) / "suitou02.dat", Folder(r) / "SUITOU02.DAT");
       fs::rename(Folder(r) / "Himoku.dat", Folder(r) / "HIMOKU.DAT");
     },
     "", 4, false},
    {"start02xdat leads to start02.dat, which is gone: the year before does not cover today",
     [](const fs::path& r) { fs::rename(Folder(r) / "start02.dat", Folder(r) / "start02xdat"); },
     "6", 6, false},
    {"candidates that lead to no file, and names that are no candidates",
     [](const fs::path& r) {
       const fs::path f = Folder(r);
       for (const char* name :
            {"start2.dat", "startab.dat", "start.dat", "start02.dat.bak", "start 02.dat",
             "start０２.dat", "start02😀.dat", "スタート02.dat", "start-1.dat", "start9z.dat",
             "start0 .dat", "start07\n.dat", "start09\xff.dat", "start1\\.dat", "startdat"}) {
         WriteBytes(f / name, "");
       }
       WriteBytes(f / ("start08" + std::string(244, 'x') + "dat"), "");
       for (int yy = 10; yy < 90; ++yy) WriteBytes(f / ("start" + std::to_string(yy) + "xdat"), "");
       fs::create_directory(f / "start03.dat");
       fs::create_symlink(f / "nowhere.dat", f / "start05.dat");
       WriteBytes(f / ".start04.dat", "");
     },
     "", 4, false},
    {"a candidate whose start file is empty is reported and passed over",
     [](const fs::path& r) { WriteBytes(Folder(r) / "start0a.dat", ""); }, "", 4, true},
    {"the account book's folder is gone",
     [](const fs::path& r) { fs::rename(Folder(r), Folder(r).parent_path() / "kakeibo9"); }, "7", 7,
     false},
    {"the account book's folder is a file",
     [](const fs::path& r) {
       fs::remove_all(Folder(r));
       WriteBytes(Folder(r), "not a folder");
     },
     "7", 7, false},
    {"Himoku.dat is a folder",
     [](const fs::path& r) {
       fs::remove(Folder(r) / "Himoku.dat");
       fs::create_directory(Folder(r) / "Himoku.dat");
     },
     "", 0, true},
    {"suitou02.dat is a link to nowhere: no cash book",
     [](const fs::path& r) {
       fs::remove(Folder(r) / "suitou02.dat");
       fs::create_symlink(Folder(r) / "gone.dat", Folder(r) / "suitou02.dat");
     },
     "", 0, false},
    {"suitou02.dat is a loop of links",
     [](const fs::path& r) {
       fs::remove(Folder(r) / "suitou02.dat");
       fs::create_symlink(Folder(r) / "loop.dat", Folder(r) / "suitou02.dat");
       fs::create_symlink(Folder(r) / "suitou02.dat", Folder(r) / "loop.dat");
     },
     "", 0, true},
    {"suitou02.dat is a FIFO: never opened, never waited on",
     [](const fs::path& r) {
       fs::remove(Folder(r) / "suitou02.dat");
       ASSERT_EQ(::mkfifo((Folder(r) / "suitou02.dat").c_str(), 0600), 0);
     },
     "", 0, true},
    {"Yosan02.dat is a link to /dev/zero",
     [](const fs::path& r) {
       fs::remove(Folder(r) / "Yosan02.dat");
       fs::create_symlink("/dev/zero", Folder(r) / "Yosan02.dat");
     },
     "", 7, true},
    {"bunkat02.dat is a link to the cash book: another layout under its name",
     [](const fs::path& r) {
       fs::remove(Folder(r) / "bunkat02.dat");
       fs::create_symlink(Folder(r) / "suitou02.dat", Folder(r) / "bunkat02.dat");
     },
     "", kAny, true},
    {"Kikan02.dat is the budget file: twelve periods of nonsense",
     [](const fs::path& r) { Copy(Folder(r) / "Yosan02.dat", Folder(r) / "Kikan02.dat"); }, "",
     kAny, true},
};

class DamagedSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(BuildBook(DemoBook(kToday, true), pristine_.path(), &error)) << error;
  }

  // A copy of the demo root to change.
  fs::path FreshRoot(const std::string& name) {
    fs::path root = scratch_.path() / name;
    fs::copy(pristine_.path(), root, fs::copy_options::recursive);
    return root;
  }

  ScratchDir pristine_;
  ScratchDir scratch_;
};

TEST_F(DamagedSettingsTest, OddSurroundingsNeverCrashAndChangeNothing) {
  int index = 0;
  std::ostringstream summary;
  for (const SettingsCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const fs::path root = FreshRoot("case" + std::to_string(index++));
    c.change(root);
    const Tree before = ReadTree(root);
    for (bool agree : {true, false}) {
      RootEnvironment environment(root);
      environment.SetToday(kToday);
      std::unique_ptr<KakeiDb> engine = OpenKakeiDb(root, environment);
      AnsweringDialogs dialogs(agree);
      DiagnosisOutcome outcome = RunWholeDiagnosis(environment, *engine, dialogs);
      std::vector<std::string> found = Violations(outcome, dialogs, engine->open_files());
      EXPECT_TRUE(found.empty()) << Joined(found);
      if (c.preset) {
        EXPECT_EQ(outcome.preset_level, c.preset);
      }
      if (c.level != kAny) {
        EXPECT_EQ(outcome.level, c.level);
      }
      if (!c.boxes) {
        EXPECT_TRUE(dialogs.shown().empty()) << dialogs.shown().front().text;
      }
      EXPECT_TRUE(ReadTree(root) == before);
      if (agree) {
        summary << "\n  " << c.name << ": preset \"" << outcome.preset_level << "\", level "
                << outcome.level << ", " << dialogs.shown().size() << " boxes";
        for (const MessageBoxRequest& box : dialogs.shown()) {
          std::optional<StatusHeadingParts> heading = ParseHeading(box.text);
          if (heading) summary << " [" << heading->status << " " << heading->label << "]";
        }
      }
    }
  }
  std::cout << summary.str() << std::endl;
}

// A WIN.INI whose OPTIONS is 100 KB long counts as holding the options:
// status 86 shows only the environment message and writes nothing.
TEST_F(DamagedSettingsTest, HugeOptionsValueIsPresentOptions) {
  const fs::path root = FreshRoot("huge-options");
  WriteBytes(WinIniFile(root), "[Btrieve]\r\nOPTIONS=" + kHuge + "\r\n");
  const Tree before = ReadTree(root);
  RootEnvironment environment(root);
  environment.SetToday(kToday);
  std::unique_ptr<KakeiDb> engine = OpenKakeiDb(root, environment);
  FaultInjectingRecordManager faulty(*engine);
  faulty.FailCall(0, kBtrTooManyFiles);
  AnsweringDialogs dialogs(true);
  DiagnosisOutcome outcome = RunWholeDiagnosis(environment, faulty, dialogs);
  std::vector<BoxKind> kinds;
  std::vector<std::string> found = Violations(outcome, dialogs, engine->open_files(), &kinds);
  EXPECT_TRUE(found.empty()) << Joined(found);
  EXPECT_EQ(kinds, std::vector<BoxKind>{BoxKind::kEnvironment});
  EXPECT_TRUE(ReadTree(root) == before);
}

// A WIN.INI full of bytes that are not CP932, without [Btrieve]: a Yes
// writes the options and keeps every other byte of the file.
TEST_F(DamagedSettingsTest, OptionsWrittenIntoBadlyEncodedWinIniKeepEveryByte) {
  const fs::path root = FreshRoot("bad-win-ini");
  const std::string old_ini = ReadBytes(Corpus("invalid_cp932_keys.ini")) + kHuge + "\r\n";
  WriteBytes(WinIniFile(root), old_ini);
  RootEnvironment environment(root);
  environment.SetToday(kToday);
  std::unique_ptr<KakeiDb> engine = OpenKakeiDb(root, environment);
  FaultInjectingRecordManager faulty(*engine);
  faulty.FailCall(0, kBtrTooManyFiles);
  AnsweringDialogs dialogs(true);
  DiagnosisOutcome outcome = RunWholeDiagnosis(environment, faulty, dialogs);
  std::vector<BoxKind> kinds;
  std::vector<std::string> found = Violations(outcome, dialogs, engine->open_files(), &kinds);
  EXPECT_TRUE(found.empty()) << Joined(found);
  EXPECT_EQ(kinds, (std::vector<BoxKind>{BoxKind::kOptionsOffer, BoxKind::kOptionsWritten}));
  const std::string new_ini = ReadBytes(WinIniFile(root));
  EXPECT_EQ(new_ini.substr(0, old_ini.size()), old_ini);
  EXPECT_EQ(environment.WinIniString("Btrieve", "OPTIONS", "", 200), kOfferedOptions);
  // Only the data files' folder and WIN.INI's folder hold files; no
  // temporary file is left next to WIN.INI.
  int files = 0;
  for (const auto& entry : fs::directory_iterator(WinIniFile(root).parent_path())) {
    files += entry.is_regular_file() ? 1 : 0;
  }
  EXPECT_EQ(files, 1);
}

// Files the library cannot read (as a user without rights to them): the
// Open reports 46 and the run goes on as for any failed Open.
TEST_F(DamagedSettingsTest, UnreadableFilesGiveStatusesNeverCrash) {
  if (::geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the superuser";
  struct Case {
    const char* file;
    const char* label;
    const char* preset;
    int16_t level;
  } cases[] = {{"start02.dat", "Open　Start", "6", 6}, {"suitou02.dat", "Open　出納帳", "", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const fs::path root = FreshRoot(std::string("unreadable-") + c.file);
    fs::permissions(Folder(root) / c.file, fs::perms::none);
    // An unreadable DirName.ini reads as missing: the defaults apply.
    fs::permissions(DirNameIni(root), fs::perms::none);
    RootEnvironment environment(root);
    environment.SetToday(kToday);
    std::unique_ptr<KakeiDb> engine = OpenKakeiDb(root, environment);
    AnsweringDialogs dialogs(true);
    DiagnosisOutcome outcome = RunWholeDiagnosis(environment, *engine, dialogs);
    std::vector<std::string> found = Violations(outcome, dialogs, engine->open_files());
    EXPECT_TRUE(found.empty()) << Joined(found);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    std::optional<StatusHeadingParts> heading = ParseHeading(dialogs.shown()[0].text);
    ASSERT_TRUE(heading);
    EXPECT_EQ(heading->status, kBtrAccessDenied);
    EXPECT_EQ(heading->label, c.label);
    EXPECT_EQ(outcome.preset_level, c.preset);
    EXPECT_EQ(outcome.level, c.level);
    fs::permissions(Folder(root) / c.file, fs::perms::owner_all);
    fs::permissions(DirNameIni(root), fs::perms::owner_all);
  }
}

}  // namespace
}  // namespace h5
