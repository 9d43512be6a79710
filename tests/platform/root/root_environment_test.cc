#include "platform/root/root_environment.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "scratch.h"
#include "text/ansi.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kSuiteSubkey =
    "SOFTWARE\\SORAHATO\\\x82\xD0\x82\xBE\x82\xDC\x82\xE8\x89\xC6\x92\xEB\x92\xA0\x82\x54";
const std::string kShomikigen = "\x8F\xDC\x96\xA1\x8A\xFA\x8C\xC0";  // 賞味期限
const std::string kKakeibo = "\x89\xC6\x8C\x76\x95\xEB";             // 家計簿
const std::string kOptions = "/m:32 /p:1024 /b:16 /f:50 /l:40 /n:12";

class RootEnvironmentTest : public ::testing::Test {
 protected:
  ScratchDir root_;
  RootEnvironment env_{root_.path()};
};

TEST_F(RootEnvironmentTest, RegistryValuesComeBackInCp932) {
  EXPECT_EQ(env_.RegistryString(kSuiteSubkey, "Path"), std::nullopt);  // no file
  root_.Write(
      "registry.reg",
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE"
      "\\SORAHATO\\ひだまり家庭帳５]\r\n\"Path\"=\"C:\\\\ひだまり\\\\\"\r\n");
  EXPECT_EQ(env_.RegistryString(kSuiteSubkey, "path"), "C:\\\x82\xD0\x82\xBE\x82\xDC\x82\xE8\\");
  EXPECT_EQ(env_.RegistryString(kSuiteSubkey, "Path\0"s),
            env_.RegistryString(kSuiteSubkey, "Path"));
  EXPECT_EQ(env_.RegistryString(kSuiteSubkey, "Other"), std::nullopt);
  EXPECT_EQ(env_.RegistryString("SOFTWARE\\SORAHATO", "Path"), std::nullopt);
}

TEST_F(RootEnvironmentTest, PrivateProfileThroughWindowsPaths) {
  root_.Write("drive_c/HIDAMARI5/dirname.INI", "[DirName]\r\ndatapath=Data6\r\n");
  root_.Write("drive_c/Windows/app.ini", "[a]\r\nk=in windows\r\n");
  root_.Write("drive_c/HdmData5/kakeibo/Kakei.ini",
              "[" + kShomikigen + "]\r\n" + kKakeibo + "=2\r\n");
  root_.Write("outside.ini", "[DirName]\r\ndatapath=outside\r\n");
  root_.MakeDir("drive_c/dir.ini");
  for (std::string file : {"C:\\Hidamari5\\DirName.ini"s, "C:\\Hidamari5\\DirName.ini\0junk"s,
                           "\\hidamari5\\dirname.ini"s}) {
    EXPECT_EQ(env_.PrivateProfileString("DirName", "datapath", "HdmData5", 256, file), "Data6");
  }
  EXPECT_EQ(env_.PrivateProfileString("a", "k", "d", 256, "APP.INI"), "in windows");
  const char* missing_files[] = {"",
                                 "C:\\Hidamari5\\none.ini",
                                 "none.ini",
                                 "C:\\dir.ini",
                                 "C:\\..\\outside.ini",
                                 "..\\..\\outside.ini",
                                 "C:\\a|b.ini",
                                 "\\\\server\\share\\x.ini"};
  for (const char* file : missing_files) {
    EXPECT_EQ(env_.PrivateProfileString("DirName", "datapath", "HdmData5", 256, file), "HdmData5")
        << file;
    EXPECT_EQ(env_.PrivateProfileInt("DirName", "datapath", 7, file), 7u) << file;
  }
  const std::string kakei = "C:\\HdmData5\\kakeibo\\Kakei.ini";
  EXPECT_EQ(env_.PrivateProfileInt(kShomikigen, kKakeibo, 1, kakei), 2u);
  EXPECT_EQ(env_.PrivateProfileInt(kShomikigen, "x", 1, kakei), 1u);
}

// Replacing, adding a key and adding a section keep every other byte of a mixed file.
TEST_F(RootEnvironmentTest, WinIniReadAndWriteKeepEveryOtherByte) {
  const std::string before = "; for 16-bit app support\r\n[fonts]\r\n[" + kShomikigen + "]\n" +
                             kKakeibo +
                             " = \x83\x5C\x95\x5C \r\n\r\n[Btrieve]\r\n  OPTIONS =  NO   "
                             "\r\nother=1\r\n[mci extensions]\r\nwav=waveaudio";
  root_.Write("drive_c/windows/win.ini", before);
  EXPECT_EQ(env_.WinIniString("btrieve", "options", "NO", 100), "NO");
  EXPECT_EQ(env_.WinIniString(kShomikigen, kKakeibo, "", 100), "\x83\x5C\x95\x5C");

  ASSERT_TRUE(env_.WriteWinIniString("Btrieve", "OPTIONS", kOptions));
  std::string expected = before;
  expected.replace(expected.find("NO   "), 2, kOptions);
  EXPECT_EQ(ReadTree(root_.path()), (Tree{{"drive_c/windows/win.ini", expected}}));
  EXPECT_EQ(env_.WinIniString("Btrieve", "OPTIONS", "NO", 100), kOptions);
  ASSERT_TRUE(env_.WriteWinIniString("mci extensions", "mid", "sequencer"));
  ASSERT_TRUE(env_.WriteWinIniString("New", "k", "v"));
  EXPECT_EQ(root_.Read("drive_c/windows/win.ini"),
            expected + "\r\nmid=sequencer\r\n[New]\r\nk=v\r\n");
}

struct WinIniCase {
  const char* what;
  std::string setup, before;  // setup ending in '/' is a folder, else win.ini itself
  std::string section, key, value;
  std::optional<std::string> after;  // nullopt: refused, nothing changes
};

TEST(WinIniWriteTest, WritesInPlaceOrRefusesAndLeavesAllAlone) {
  const WinIniCase cases[] = {
      {"created on drive C", "drive_c/", "", "Btrieve", "OPTIONS", kOptions,
       "[Btrieve]\r\nOPTIONS=" + kOptions + "\r\n"},
      {"stored names, mode kept", "drive_c/WINDOWS/WIN.INI", "[a]\nb=c\n", "a", "b", "d",
       "[a]\nb=d\n"},
      {"UTF-8 stays UTF-8", "drive_c/windows/win.ini", "\xEF\xBB\xBF[賞味期限]\r\n家計簿=✓\r\n",
       kShomikigen, "\x83\x5C", "\x95\x5C", "\xEF\xBB\xBF[賞味期限]\r\n家計簿=✓\r\nソ=表\r\n"},
      {"no drive C", "", "", "Btrieve", "OPTIONS", kOptions, std::nullopt},
      {"empty key", "drive_c/windows/win.ini", "[Btrieve]\r\nOPTIONS=NO\r\n", "Btrieve", "", "x",
       std::nullopt},
      {"line break in value", "drive_c/windows/win.ini", "[Btrieve]\r\nOPTIONS=NO\r\n", "Btrieve",
       "OPTIONS", "a\r\n[Evil]", std::nullopt},
      {"win.ini is a folder", "drive_c/windows/win.ini/keep/", "", "B", "K", "v", std::nullopt},
      {"windows is a file", "drive_c/windows", "a file", "B", "K", "v", std::nullopt},
  };
  for (const WinIniCase& c : cases) {
    ScratchDir root;
    std::string file = "drive_c/windows/win.ini";
    if (!c.setup.empty() && c.setup.back() == '/') {
      root.MakeDir(c.setup);
    } else if (!c.setup.empty()) {
      ::chmod(root.Write(c.setup, c.before).c_str(), 0640);
      file = c.setup;
    }
    Snapshot before = TakeSnapshot(root.path());
    RootEnvironment env(root.path());
    EXPECT_EQ(env.WriteWinIniString(c.section, c.key, c.value), c.after.has_value()) << c.what;
    if (!c.after) {
      EXPECT_EQ(TakeSnapshot(root.path()), before) << c.what;
      EXPECT_EQ(env.WinIniString(c.section, c.key, "NO", 100), "NO") << c.what;
      continue;
    }
    EXPECT_EQ(ReadTree(root.path()), (Tree{{file, *c.after}})) << c.what;
    if (before.count(file)) {
      EXPECT_EQ(TakeSnapshot(root.path())[file].substr(0, 9), "file 416 ") << c.what;
    }
  }
}

TEST_F(RootEnvironmentTest, FailedWinIniWriteLeavesOldFile) {
  root_.Write("drive_c/windows/win.ini", "[Btrieve]\r\nOPTIONS=NO\r\n" + std::string(100, ';'));
  Snapshot before = TakeSnapshot(root_.path());
  // The file size limit holds for root too: the temporary file cannot be written in full.
  struct rlimit old_limit;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  struct rlimit small = old_limit;
  small.rlim_cur = 16;
  auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  bool written = env_.WriteWinIniString("Btrieve", "OPTIONS", kOptions);
  ::setrlimit(RLIMIT_FSIZE, &old_limit);
  ::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(written);
  EXPECT_EQ(TakeSnapshot(root_.path()), before);
  EXPECT_EQ(env_.WinIniString("Btrieve", "OPTIONS", "x", 100), "NO");
}

TEST_F(RootEnvironmentTest, ListFilesGivesOrdinaryFilesOnly) {
  for (const char* name : {"start01.dat", "START02.DAT", "家計.dat", "✓.dat", ".hidden.dat"}) {
    root_.Write("drive_c/HdmData5/kakeibo/kakeibo1/"s + name, "");
  }
  fs::path dir = root_.MakeDir("drive_c/HdmData5/kakeibo/kakeibo1/start03.dat").parent_path();
  fs::create_directory_symlink(dir / "start03.dat", dir / "linkdir.dat");
  fs::create_symlink(dir / "start01.dat", dir / "linkfile.dat");
  fs::create_symlink(dir / "nothing", dir / "dangling.dat");
  std::optional<std::vector<std::string>> names =
      env_.ListFiles("c:\\hdmdata5\\KAKEIBO\\Kakeibo1\\");
  ASSERT_TRUE(names);
  std::sort(names->begin(), names->end());
  EXPECT_EQ(*names, (std::vector<std::string>{"?.dat", "START02.DAT", "linkfile.dat", "start01.dat",
                                              "\x89\xC6\x8C\x76.dat"}));
  for (const char* missing : {"C:\\HdmData5\\kakeibo\\kakeibo2\\",
                              "C:\\HdmData5\\kakeibo\\kakeibo1\\start01.dat", "C:\\a|b"}) {
    EXPECT_EQ(env_.ListFiles(missing), std::nullopt) << missing;
  }
  EXPECT_EQ(env_.ListFiles("C:\\HdmData5"), std::vector<std::string>{});
}

TEST_F(RootEnvironmentTest, StoredAndShortNames) {
  root_.Write("drive_c/Program Files/Hidamari5/HdmMenu5.exe", "");
  root_.MakeDir("drive_c/家計");
  const std::pair<std::string, std::string> stored[] = {
      {"C:\\PROGRAM FILES", "Program Files"},
      {"c:\\program files\\hidamari5\\", "Hidamari5"},
      {"C:\\Program Files\\Hidamari5\\hdmmenu5.EXE", "HdmMenu5.exe"},
      {"C:\\Program Files\\Nothing", ""},
      {"C:\\Program Files\\..", ""},
      {"C:\\", ""},
      {"D:\\x", ""},
      {"C:\\\x89\xC6\x8C\x76", "\x89\xC6\x8C\x76"},
      {"", ""},
  };
  for (const auto& [path, name] : stored) EXPECT_EQ(env_.StoredName(path), name) << path;

  EXPECT_EQ(env_.ShortPath("c:\\program files\\HIDAMARI5\\"), "c:\\program files\\HIDAMARI5\\");
  EXPECT_EQ(env_.ShortPath("C:\\Program Files\\Hidamari5\\HdmMenu5.exe\0x"s),
            "C:\\Program Files\\Hidamari5\\HdmMenu5.exe");
  EXPECT_EQ(env_.ShortPath("C:\\Program Files\\Nothing\\"), "");
  EXPECT_EQ(env_.ShortPath(""), "");
}

TEST_F(RootEnvironmentTest, RootGivenRelativeOrWithTrailingSlash) {
  root_.MakeDir("drive_c/HdmData5");
  RootEnvironment slash(root_.path().string() + "/");
  EXPECT_EQ(slash.StoredName("C:\\hdmdata5"), "HdmData5");
  EXPECT_EQ(slash.StoredName("C:\\"), "");
  fs::path old = fs::current_path();
  fs::current_path(root_.path().parent_path());
  RootEnvironment relative(root_.path().filename());
  fs::current_path("/");
  EXPECT_EQ(relative.root(), root_.path());
  EXPECT_EQ(relative.StoredName("C:\\hdmdata5"), "HdmData5");
  fs::current_path(old);
}

TEST_F(RootEnvironmentTest, TodayAndLibraryDirectory) {
  auto local_today = [] {
    time_t now = ::time(nullptr);
    struct tm local {};
    ::localtime_r(&now, &local);
    return std::chrono::year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday;
  };
  auto before = local_today();
  auto today = env_.Today();
  EXPECT_TRUE(today == before || today == local_today());
  std::chrono::year_month_day fixed = std::chrono::year{2002} / 4 / 15;
  env_.SetToday(fixed);
  EXPECT_EQ(env_.Today(), fixed);
  env_.SetToday(std::nullopt);
  EXPECT_NE(env_.Today(), fixed);
  EXPECT_EQ(env_.LibraryDirectory(), "C:\\Windows\\System32");
  env_.SetLibraryDirectory("C:\\Hidamari5");
  EXPECT_EQ(env_.LibraryDirectory(), "C:\\Hidamari5");
}

}  // namespace
}  // namespace h5
