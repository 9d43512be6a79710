// The native adapters against the Wine prefix the suite runs in (ACP 932).
#include "platform/win32/win32_environment.h"

#include <windows.h>
// wininet.h needs windows.h first.
#include <wininet.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/kakeidb/data_file_writer.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/win32/win32_cookie_store.h"
#include "platform/win32/win32_screen.h"
#include "platform/win32/win32_shell.h"
#include "scratch.h"
#include "text/ansi.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;

std::string Ansi(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return ToAnsi(std::string(utf8.begin(), utf8.end()));
}

// Sets a string value under HKEY_LOCAL_MACHINE in the given registry view.
void SetRegistryValue(const std::string& subkey, const char* name, const std::string& value,
                      REGSAM view) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  const DWORD number = 7;
  RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
  RegCloseKey(key);
}

TEST(Win32EnvironmentTest, ReadsTheSuiteKeyInThe32BitView) {
  const std::string suite = ToAnsi("SOFTWARE\\SORAHATO\\ひだまり家庭帳５");
  const std::string only64 = ToAnsi("SOFTWARE\\SORAHATO\\H5KakeiOnly64");
  SetRegistryValue(suite, "Path", ToAnsi("C:\\ひだまり5"), KEY_WOW64_32KEY);
  SetRegistryValue(only64, "Path", "C:\\x", KEY_WOW64_64KEY);
  Win32Environment env;
  EXPECT_EQ(env.RegistryString(suite, "Path"), ToAnsi("C:\\ひだまり5"));
  const std::pair<std::string, const char*> missing[] = {
      {suite, "Missing"}, {suite, "Number"}, {only64, "Path"}, {"SOFTWARE\\NoSuchKey", "Path"}};
  for (const auto& [subkey, name] : missing) {
    EXPECT_EQ(env.RegistryString(subkey, name), std::nullopt) << subkey << " " << name;
  }
}

TEST(Win32EnvironmentTest, ReadsProfilesInCp932AndWritesWinIni) {
  ScratchDir scratch;
  const std::string ini = Ansi(scratch.Write(
      "DirName.ini", ToAnsi("[DirName]\r\ndatapath=データ\r\n[賞味期限]\r\n家計簿=3\r\n")));
  Win32Environment env;
  // size 4 leaves room for 3 bytes: one double-byte character, never a half.
  EXPECT_EQ(env.PrivateProfileString("DirName", "datapath", "x", 4, ini), ToAnsi("デ"));
  EXPECT_EQ(env.PrivateProfileString("DirName", "datapath", "x", 256, ini), ToAnsi("データ"));
  EXPECT_EQ(env.PrivateProfileString("DirName", "kakeiPath", "kakeibo", 256, ini), "kakeibo");
  EXPECT_EQ(env.PrivateProfileString("DirName", "datapath", "none", 256, ""), "none");
  EXPECT_EQ(env.PrivateProfileInt(ToAnsi("賞味期限"), ToAnsi("家計簿"), 1, ini), 3u);
  EXPECT_EQ(env.PrivateProfileInt("DirName", "book", 1, ini), 1u);

  ASSERT_TRUE(env.WriteWinIniString("H5KakeiTest", "OPTIONS", "/m:32 /f:50"));
  EXPECT_EQ(env.WinIniString("H5KakeiTest", "OPTIONS", "", 256), "/m:32 /f:50");
  WriteProfileStringA("H5KakeiTest", nullptr, nullptr);
  EXPECT_EQ(env.WinIniString("H5KakeiTest", "OPTIONS", "gone", 256), "gone");
}

TEST(Win32EnvironmentTest, ListsOrdinaryFilesByTheirStoredNames) {
  ScratchDir scratch;
  const fs::path book = scratch.MakeDir("Kakeibo1");
  for (const char* name : {"Start02.DAT", "kikan02.dat", "Hidden.dat"}) {
    scratch.Write(std::string("Kakeibo1/") + name, "x");
  }
  scratch.MakeDir("Kakeibo1/start03.dat");
  SetFileAttributesA(Ansi(book / "Hidden.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
  Win32Environment env;
  std::optional<std::vector<std::string>> names = env.ListFiles(Ansi(book));
  ASSERT_TRUE(names);
  std::sort(names->begin(), names->end());
  EXPECT_EQ(*names, (std::vector<std::string>{"Start02.DAT", "kikan02.dat"}));
  EXPECT_EQ(env.ListFiles(Ansi(book / "missing")), std::nullopt);
  EXPECT_EQ(env.StoredName(Ansi(book / "START02.dat")), "Start02.DAT");
  EXPECT_EQ(env.StoredName(Ansi(book / "none.dat")), "");
  EXPECT_FALSE(env.ShortPath(Ansi(book)).empty());
  EXPECT_EQ(env.ShortPath(Ansi(book / "none")), "");
}

TEST(Win32EnvironmentTest, DatesScreenAndOwnFolder) {
  const std::chrono::year_month_day day{std::chrono::year{2002}, std::chrono::April,
                                        std::chrono::day{15}};
  EXPECT_EQ(Win32Environment(day).Today(), day);
  EXPECT_TRUE(Win32Environment().Today().ok());
  char exe[MAX_PATH];
  std::string own(exe, GetModuleFileNameA(nullptr, exe, MAX_PATH));
  EXPECT_EQ(Win32Environment().LibraryDirectory(), own.substr(0, own.find_last_of('\\')));
  EXPECT_EQ(Win32Screen().TwipsPerPixelX(), 15.0f);  // Wine's default 96 dpi
}

TEST(Win32CookieStoreTest, ReadsCookiesOfExactAddresses) {
  const char kPage[] = "http://h5kakei.test/timer/bottom0.html";
  ASSERT_TRUE(InternetSetCookieA(kPage, nullptr, "winflag=1"));
  Win32CookieStore cookies;
  EXPECT_EQ(cookies.Cookie(kPage, "", 1024), "winflag=1");
  EXPECT_EQ(cookies.Cookie(kPage, "", 4), std::nullopt);
  EXPECT_EQ(cookies.Cookie("http://other.test/", "", 1024), std::nullopt);
}

TEST(Win32ShellTest, StartsTheStandInInItsFolder) {
  ScratchDir scratch;
  const fs::path stand_in = scratch.path() / "HdmMenu5.exe";
  fs::copy_file(H5_LAUNCH_LOG_EXE, stand_in);
  Win32Shell shell;
  ASSERT_TRUE(shell.Execute("OPEN", Ansi(stand_in), "4,1", Ansi(scratch.path()), SW_RESTORE));
  std::string log;
  for (int wait = 0; wait < 200 && log.empty(); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    log = ReadBytes(scratch.path() / "launch.log");
  }
  EXPECT_EQ(log, "4,1\t" + Ansi(scratch.path()) + "\n");
  EXPECT_FALSE(shell.Execute("OPEN", Ansi(scratch.path() / "none.exe"), "", "", SW_RESTORE));
}

TEST(Win32KakeiDbTest, OpensDataFilesByTheirWindowsPath) {
  ScratchDir scratch;
  const fs::path folder = scratch.path() / fs::path(u8"家計簿");
  fs::create_directories(folder);
  const fs::path file = folder / "Himoku.dat";
  std::string error;
  auto writer = DataFileWriter::Create(file, FileDefinition{4, "tefu", {{0, {{0, 2}}}}}, &error);
  ASSERT_TRUE(writer) << error;
  const uint8_t record[4] = {1, 0, 'a', 'b'};
  ASSERT_TRUE(writer->Append(record, &error) && writer->Commit(&error)) << error;

  std::unique_ptr<KakeiDb> db =
      OpenKakeiDb(NativeWindowsPath, *std::make_unique<Win32Environment>());
  char block[kPositionBlockSize] = {};
  char key[kKeyBufferSize] = {};
  const std::string path = Ansi(file);
  std::copy(path.begin(), path.end(), key);
  char owner[] = "tefu";
  int32_t length = 5;
  ASSERT_EQ(db->BTRV(kBtrOpen, block, owner, &length, key, 0, 0), kBtrOk);
  uint8_t data[4];
  length = sizeof(data);
  EXPECT_EQ(db->BTRV(kBtrGetFirst, block, data, &length, key, 0, 0), kBtrOk);
  EXPECT_EQ(std::string(data, data + 4), std::string(record, record + 4));
}

}  // namespace
}  // namespace h5
