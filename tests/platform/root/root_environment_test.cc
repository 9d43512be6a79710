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

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> EntriesOf(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  return Sorted(names);
}

class RootEnvironmentTest : public ::testing::Test {
 protected:
  ScratchDir root_;
  RootEnvironment env_{root_.path()};
};

TEST_F(RootEnvironmentTest, RegistryValuesComeBackInCp932) {
  EXPECT_EQ(env_.RegistryString(kSuiteSubkey, "Path"), std::nullopt);  // no file
  root_.Write("registry.reg",
              "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５]\r\n"
              "\"Path\"=\"C:\\\\ひだまり\\\\\"\r\n");
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

  EXPECT_EQ(env_.PrivateProfileString("DirName", "datapath", "HdmData5", 256,
                                      "C:\\Hidamari5\\DirName.ini"),
            "Data6");
  EXPECT_EQ(env_.PrivateProfileString("DirName", "datapath", "HdmData5", 256,
                                      "C:\\Hidamari5\\DirName.ini\0junk"s),
            "Data6");
  EXPECT_EQ(env_.PrivateProfileString("a", "k", "d", 256, "APP.INI"), "in windows");
  EXPECT_EQ(env_.PrivateProfileString("DirName", "datapath", "d", 256, "\\hidamari5\\dirname.ini"),
            "Data6");
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
  EXPECT_EQ(env_.PrivateProfileInt(kShomikigen, kKakeibo, 1, "C:\\HdmData5\\kakeibo\\Kakei.ini"),
            2u);
  EXPECT_EQ(env_.PrivateProfileInt(kShomikigen, "x", 1, "C:\\HdmData5\\kakeibo\\Kakei.ini"), 1u);
}

TEST_F(RootEnvironmentTest, WinIniReadAndWriteKeepEveryOtherByte) {
  // Mixed line endings, CP932 text, blanks and no final newline.
  const std::string before =
      "; for 16-bit app support\r\n"
      "[fonts]\r\n"
      "[" +
      kShomikigen + "]\n" + kKakeibo +
      " = \x83\x5C\x95\x5C \r\n"
      "\r\n"
      "[Btrieve]\r\n"
      "  OPTIONS =  NO   \r\n"
      "other=1\r\n"
      "[mci extensions]\r\n"
      "wav=waveaudio";
  root_.Write("drive_c/windows/win.ini", before);
  EXPECT_EQ(env_.WinIniString("btrieve", "options", "NO", 100), "NO");
  EXPECT_EQ(env_.WinIniString(kShomikigen, kKakeibo, "", 100), "\x83\x5C\x95\x5C");

  ASSERT_TRUE(env_.WriteWinIniString("Btrieve", "OPTIONS", kOptions));
  std::string expected = before;
  expected.replace(expected.find("NO   "), 2, kOptions);
  EXPECT_EQ(root_.Read("drive_c/windows/win.ini"), expected);
  EXPECT_EQ(env_.WinIniString("Btrieve", "OPTIONS", "NO", 100), kOptions);
  EXPECT_EQ(EntriesOf(root_.path() / "drive_c/windows"), std::vector<std::string>{"win.ini"});

  ASSERT_TRUE(env_.WriteWinIniString("mci extensions", "mid", "sequencer"));
  expected += "\r\nmid=sequencer";
  EXPECT_EQ(root_.Read("drive_c/windows/win.ini"), expected);

  ASSERT_TRUE(env_.WriteWinIniString("New", "k", "v"));
  expected += "\r\n[New]\r\nk=v\r\n";
  EXPECT_EQ(root_.Read("drive_c/windows/win.ini"), expected);
}

TEST_F(RootEnvironmentTest, WinIniWriteCreatesTheFileOnDriveC) {
  root_.MakeDir("drive_c");
  ASSERT_TRUE(env_.WriteWinIniString("Btrieve", "OPTIONS", kOptions));
  EXPECT_EQ(root_.Read("drive_c/windows/win.ini"), "[Btrieve]\r\nOPTIONS=" + kOptions + "\r\n");
}

TEST_F(RootEnvironmentTest, WinIniWriteFindsStoredNamesAndKeepsMode) {
  fs::path file = root_.Write("drive_c/WINDOWS/WIN.INI", "[a]\nb=c\n");
  ::chmod(file.c_str(), 0640);
  ASSERT_TRUE(env_.WriteWinIniString("a", "b", "d"));
  EXPECT_EQ(root_.Read("drive_c/WINDOWS/WIN.INI"), "[a]\nb=d\n");
  EXPECT_EQ(EntriesOf(root_.path() / "drive_c"), std::vector<std::string>{"WINDOWS"});
  struct stat st;
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(RootEnvironmentTest, WinIniInUtf8StaysUtf8) {
  root_.Write("drive_c/windows/win.ini", "\xEF\xBB\xBF[賞味期限]\r\n家計簿=✓\r\n");
  EXPECT_EQ(env_.WinIniString(kShomikigen, kKakeibo, "", 100), "?");
  ASSERT_TRUE(env_.WriteWinIniString(kShomikigen, "\x83\x5C", "\x95\x5C"));  // ソ=表
  EXPECT_EQ(root_.Read("drive_c/windows/win.ini"),
            "\xEF\xBB\xBF[賞味期限]\r\n家計簿=✓\r\nソ=表\r\n");
}

TEST_F(RootEnvironmentTest, WinIniWriteRefusesWithoutDriveC) {
  EXPECT_FALSE(env_.WriteWinIniString("Btrieve", "OPTIONS", kOptions));
  EXPECT_FALSE(fs::exists(root_.path() / "drive_c"));
}

TEST_F(RootEnvironmentTest, WinIniWriteRefusesBadNamesAndLeavesFile) {
  const std::string before = "[Btrieve]\r\nOPTIONS=NO\r\n";
  root_.Write("drive_c/windows/win.ini", before);
  EXPECT_FALSE(env_.WriteWinIniString("Btrieve", "", "x"));
  EXPECT_FALSE(env_.WriteWinIniString("Btrieve", "OPTIONS", "a\r\n[Evil]"));
  EXPECT_EQ(root_.Read("drive_c/windows/win.ini"), before);
}

TEST_F(RootEnvironmentTest, FailedWinIniWriteLeavesOldFile) {
  const std::string before = "[Btrieve]\r\nOPTIONS=NO\r\n" + std::string(100, ';') + "\r\n";
  root_.Write("drive_c/windows/win.ini", before);

  // The file size limit holds for root too: the temporary file cannot be
  // written in full.
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
  EXPECT_EQ(root_.Read("drive_c/windows/win.ini"), before);
  EXPECT_EQ(EntriesOf(root_.path() / "drive_c/windows"), std::vector<std::string>{"win.ini"});
  EXPECT_EQ(env_.WinIniString("Btrieve", "OPTIONS", "NO", 100), "NO");
}

TEST_F(RootEnvironmentTest, WinIniThatIsNoFileIsNotReplaced) {
  root_.MakeDir("drive_c/windows/win.ini/keep");
  EXPECT_FALSE(env_.WriteWinIniString("Btrieve", "OPTIONS", kOptions));
  EXPECT_TRUE(fs::is_directory(root_.path() / "drive_c/windows/win.ini/keep"));
  EXPECT_EQ(env_.WinIniString("Btrieve", "OPTIONS", "NO", 100), "NO");

  ScratchDir other;
  other.Write("drive_c/windows", "a file where the folder should be");
  RootEnvironment env(other.path());
  EXPECT_FALSE(env.WriteWinIniString("Btrieve", "OPTIONS", kOptions));
  EXPECT_EQ(other.Read("drive_c/windows"), "a file where the folder should be");
}

TEST_F(RootEnvironmentTest, ListFilesGivesOrdinaryFilesOnly) {
  root_.Write("drive_c/HdmData5/kakeibo/kakeibo1/start01.dat", "");
  root_.Write("drive_c/HdmData5/kakeibo/kakeibo1/START02.DAT", "");
  root_.Write("drive_c/HdmData5/kakeibo/kakeibo1/家計.dat", "");
  root_.Write("drive_c/HdmData5/kakeibo/kakeibo1/✓.dat", "");
  root_.Write("drive_c/HdmData5/kakeibo/kakeibo1/.hidden.dat", "");
  root_.MakeDir("drive_c/HdmData5/kakeibo/kakeibo1/start03.dat");
  fs::path dir = root_.path() / "drive_c/HdmData5/kakeibo/kakeibo1";
  fs::create_directory_symlink(dir / "start03.dat", dir / "linkdir.dat");
  fs::create_symlink(dir / "start01.dat", dir / "linkfile.dat");
  fs::create_symlink(dir / "nothing", dir / "dangling.dat");

  std::optional<std::vector<std::string>> names =
      env_.ListFiles("c:\\hdmdata5\\KAKEIBO\\Kakeibo1\\");
  ASSERT_TRUE(names);
  EXPECT_EQ(Sorted(*names), (std::vector<std::string>{"?.dat", "START02.DAT", "linkfile.dat",
                                                      "start01.dat", "\x89\xC6\x8C\x76.dat"}));
  EXPECT_EQ(env_.ListFiles("C:\\HdmData5\\kakeibo\\kakeibo2\\"), std::nullopt);
  EXPECT_EQ(env_.ListFiles("C:\\HdmData5\\kakeibo\\kakeibo1\\start01.dat"), std::nullopt);
  EXPECT_EQ(env_.ListFiles("C:\\a|b"), std::nullopt);
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

  EXPECT_EQ(env_.ShortPath("c:\\program files\\HIDAMARI5\\"), "c:\\PROGRA~1\\HIDAMARI5\\");
  EXPECT_EQ(env_.ShortPath("C:\\Program Files\\Hidamari5\\HdmMenu5.exe\0x"s),
            "C:\\PROGRA~1\\Hidamari5\\HdmMenu5.exe");
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
    return std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                       std::chrono::month{unsigned(local.tm_mon + 1)},
                                       std::chrono::day{unsigned(local.tm_mday)}};
  };
  auto before = local_today();
  auto today = env_.Today();
  auto after = local_today();
  EXPECT_TRUE(today == before || today == after);

  std::chrono::year_month_day fixed{std::chrono::year{2002}, std::chrono::month{4},
                                    std::chrono::day{15}};
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
