#include "platform/root/root_environment.h"
#include "platform/root/path_map.h"
#include "platform/root/root_cookie_store.h"
#include "platform/root/root_shell.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "scratch.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using namespace std::chrono_literals;

// CP932: 表 (trail byte '\'), ア (trail byte 'A'), ヂ (ア with 'A' folded).
const std::string kHyo = "\x95\x5C", kA = "\x83\x41", kDi = "\x83\x61";

std::string Map(const ScratchDir& root, std::string_view windows_path) {
  std::optional<fs::path> mapped = MapWindowsPath(root.path(), windows_path);
  return mapped ? mapped->lexically_relative(root.path()).generic_string() : "<none>";
}

// Stored names, case folding, '.'/'..' kept inside the drive, and refusals.
TEST(PathMapTest, MapsInsideTheDriveOrRefuses) {
  ScratchDir root;
  root.Write("drive_c/HdmData5/Kakeibo/kakeibo1/start02.dat", "");
  root.Write("drive_c/Hidamari5/DirName.ini", "");
  root.Write("drive_c/表/x.txt", "");
  for (const char* dir :
       {"drive_c/ア", "drive_c/Case", "drive_c/case", "drive_c/ONLY", "drive_d/Data"})
    root.MakeDir(dir);
  std::string deep = "C:", deep_mapped = "drive_c";
  for (int i = 0; i < 2000; ++i) deep += "\\ab", deep_mapped += "/ab";
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\hdmdata5\\KAKEIBO\\Kakeibo1\\START02.DAT",
       "drive_c/HdmData5/Kakeibo/kakeibo1/start02.dat"},
      {"C:\\HdmData5/kakeibo\\KAKEIBO1/", "drive_c/HdmData5/Kakeibo/kakeibo1"},
      {"C:\\HdmData5\\missing\\X.dat", "drive_c/HdmData5/missing/X.dat"},
      {"\\HdmData5\\kakeibo", "drive_c/HdmData5/Kakeibo"},
      {"hidamari5\\dirname.INI", "drive_c/Hidamari5/DirName.ini"},
      {"D:\\DATA", "drive_d/Data"},
      {"d:", "drive_d"},
      {"C:\\a\\\\\\b\\\\", "drive_c/a/b"},
      {"C:\\...", "drive_c/..."},
      {"C:\\" + kHyo + "\\X.TXT", "drive_c/表/x.txt"},
      {"C:\\" + kA, "drive_c/ア"},
      {"C:\\" + kDi, "drive_c/ヂ"},
      {"C:\\case", "drive_c/case"},
      {"C:\\CASE", "drive_c/Case"},  // exact name, else smallest
      {"C:\\only", "drive_c/ONLY"},
      {deep, deep_mapped},
      {"C:\\" + std::string(255, 'a'), "drive_c/" + std::string(255, 'a')},
      {"C:\\..\\..\\etc\\passwd", "drive_c/etc/passwd"},
      {"..\\..\\x", "drive_c/x"},
      {"\\..\\drive_d\\data", "drive_c/drive_d/data"},
      {"D:\\data\\..\\..\\..\\drive_c\\HdmData5", "drive_d/drive_c/HdmData5"},
      {"C:\\HdmData5\\..\\..\\..\\Hidamari5\\.\\dirname.ini", "drive_c/Hidamari5/DirName.ini"},
      {"C:..\\..", "drive_c"},
      {"C:\\HdmData5\\\0\\..\\..\\etc"s, "drive_c/HdmData5"},
      {"C:\\bad|name\\..\\ONLY", "drive_c/ONLY"}};
  for (const auto& [input, expected] : cases) EXPECT_EQ(Map(root, input), expected) << input;
  const char* refused[] = {"1:\\x",          "::\\x",        "\x82\xA0:\\x", "\\\\server\\share\\x",
                           "//server/share", "\\\\?\\C:\\x", "C:\\a|b",      "C:\\a?b",
                           "C:\\a*",         "C:\\a<b",      "C:\\a>b",      "C:\\a\"b",
                           "C:\\a:b",        "C:\\a\x01",    "C:\\a\tb",     "C:\\\x80x",
                           "C:\\\xA0x",      "C:\\\xFF",     "C:\\x\x81",    "C:\\\x81 x",
                           "C:\\\x85\x40"};
  for (const char* input : refused) EXPECT_EQ(Map(root, input), "<none>") << input;
  for (const std::string& input :
       {""s, "\0C:\\x"s, "C:\\" + std::string(256, 'a'), "C:\\" + std::string(32768, 'a')})
    EXPECT_EQ(Map(root, input), "<none>") << input.size();
  // Random hostile input never maps outside a drive folder.
  const std::string alphabet[] = {"\\",  "/", ".",    "..",   ":",  "C",    "c",   "a",
                                  "\0"s, " ", "\x81", "\x5C", kHyo, "\x80", "\\\\"};
  std::mt19937 random(20020415);
  std::uniform_int_distribution<size_t> pick(0, std::size(alphabet) - 1);
  for (int round = 0; round < 5000; ++round) {
    std::string input;
    for (int n = random() % 25; n > 0; --n) input += alphabet[pick(random)];
    std::optional<fs::path> mapped = MapWindowsPath(root.path(), input);
    if (!mapped) continue;
    fs::path inside = mapped->lexically_relative(root.path());
    ASSERT_FALSE(inside.empty()) << input;
    EXPECT_EQ(inside.begin()->string().substr(0, 6), "drive_") << input;
    for (const fs::path& part : inside) EXPECT_NE(part, "..") << input;
    EXPECT_EQ(mapped->lexically_normal(), *mapped) << input;
  }
}

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
  const char* missing_files[] = {"C:\\Hidamari5\\none.ini", "C:\\dir.ini", "C:\\..\\outside.ini",
                                 "C:\\a|b.ini", "\\\\server\\share\\x.ini"};
  EXPECT_EQ(env_.PrivateProfileString("DirName", "datapath", "HdmData5", 256, ""), "HdmData5");
  for (const char* file : missing_files) {
    EXPECT_EQ(env_.PrivateProfileString("DirName", "datapath", "HdmData5", 256, file), "HdmData5")
        << file;
    EXPECT_EQ(env_.PrivateProfileInt("DirName", "datapath", 7, file), 7u) << file;
  }
  const std::string kakei = "C:\\HdmData5\\kakeibo\\Kakei.ini";
  EXPECT_EQ(env_.PrivateProfileInt(kShomikigen, kKakeibo, 1, kakei), 2u);
  EXPECT_EQ(env_.PrivateProfileInt(kShomikigen, "x", 1, kakei), 1u);
}

struct WinIniCase {
  const char* what;
  std::string setup, before;  // setup ending in '/' is a folder, else win.ini itself
  std::string section, key, value;
  std::string old;                   // read before, and after a refusal
  std::optional<std::string> after;  // nullopt: refused, nothing changes
  bool size_limit = false;           // the temporary file cannot be written in full
};

// Writes change the value's bytes only, in place; refusals leave the whole root alone.
TEST(WinIniWriteTest, WritesInPlaceOrRefusesAndLeavesAllAlone) {
  const std::string mixed = "; 16-bit\r\n[fonts]\r\n[" + kShomikigen + "]\n" + kKakeibo + " = ";
  const std::string rest = " \r\n\r\n[Btrieve]\r\n  OPTIONS =  NO   \r\n[mci]\r\nwav=waveaudio";
  const std::string w = "drive_c/windows/win.ini", utf8 = "\xEF\xBB\xBF[賞味期限]\r\n家計簿=";
  const WinIniCase cases[] = {
      {"mixed CP932 file", w, mixed + "\x83\x5C\x95\x5C" + rest, kShomikigen, kKakeibo, kOptions,
       "\x83\x5C\x95\x5C", mixed + kOptions + rest},
      {"created on drive C", "drive_c/", "", "B", "K", "v", "NO", "[B]\r\nK=v\r\n"},
      {"stored names, mode kept", "drive_c/WINDOWS/WIN.INI", "[a]\nb=c\n", "a", "b", "d", "c",
       "[a]\nb=d\n"},
      {"UTF-8 stays UTF-8", w, utf8 + "✓\r\n", kShomikigen, kKakeibo, "\x95\x5C", "?",
       utf8 + "表\r\n"},
      {"no drive C", "", "", "B", "K", "v", "NO", std::nullopt},
      {"empty key", w, "[B]\r\nK=NO\r\n", "B", "", "x", "NO", std::nullopt},
      {"line break in value", w, "[B]\r\nK=NO\r\n", "B", "K", "a\r\n[Evil]", "NO", std::nullopt},
      {"win.ini is a folder", w + "/keep/", "", "B", "K", "v", "NO", std::nullopt},
      {"windows is a file", "drive_c/windows", "a file", "B", "K", "v", "NO", std::nullopt},
      {"file size limit", w, "[B]\r\nK=NO\r\n" + std::string(100, ';'), "B", "K", kOptions, "NO",
       std::nullopt, true}};
  for (const WinIniCase& c : cases) {
    ScratchDir root;
    const bool folder = c.setup.empty() || c.setup.ends_with('/');
    const std::string file = folder ? w : c.setup;
    if (folder && !c.setup.empty()) root.MakeDir(c.setup);
    if (!folder) ::chmod(root.Write(c.setup, c.before).c_str(), 0640);
    Snapshot before = TakeSnapshot(root.path());
    RootEnvironment env(root.path());
    EXPECT_EQ(env.WinIniString(c.section, c.key, "NO", 100), c.old) << c.what;
    struct rlimit old_limit;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    struct rlimit limit = old_limit;
    if (c.size_limit) limit.rlim_cur = 16;  // holds for root too
    auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    bool written = env.WriteWinIniString(c.section, c.key, c.value);
    ::setrlimit(RLIMIT_FSIZE, &old_limit);
    ::signal(SIGXFSZ, old_handler);
    EXPECT_EQ(written, c.after.has_value()) << c.what;
    EXPECT_EQ(env.WinIniString(c.section, c.key, "NO", 100), c.after ? c.value : c.old) << c.what;
    Snapshot expected = before;
    if (c.after) expected[file] = "file 416 " + *c.after;  // mode 0640 kept
    if (c.after && folder) {
      EXPECT_EQ(ReadTree(root.path()), (Tree{{file, *c.after}})) << c.what;
    } else {
      EXPECT_EQ(TakeSnapshot(root.path()), expected) << c.what;
    }
  }
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
      {"C:\\", ""},
      {"D:\\x", ""},
      {"C:\\\x89\xC6\x8C\x76", "\x89\xC6\x8C\x76"},
      {"", ""}};
  for (const auto& [path, name] : stored) EXPECT_EQ(env_.StoredName(path), name) << path;
  EXPECT_EQ(env_.ShortPath("c:\\program files\\HIDAMARI5\\"), "c:\\PROGRA~1\\HIDAMA~1\\");
  EXPECT_EQ(env_.ShortPath("C:\\Program Files\\Hidamari5\\HdmMenu5.exe\0x"s),
            "C:\\PROGRA~1\\HIDAMA~1\\HdmMenu5.exe");
  EXPECT_EQ(env_.ShortPath("C:\\Program Files\\Nothing\\"), "");
  EXPECT_EQ(env_.ShortPath(""), "");
}

TEST_F(RootEnvironmentTest, RootGivenRelativeOrUnnormalized) {
  root_.MakeDir("drive_c/HdmData5");
  RootEnvironment dotted(root_.path().string() + "/./x/../");
  EXPECT_EQ(dotted.root(), root_.path());
  EXPECT_EQ(dotted.StoredName("C:\\"), "");
  fs::path old = fs::current_path();
  fs::current_path(root_.path().parent_path());
  RootEnvironment relative(root_.path().filename());
  fs::current_path("/");
  EXPECT_EQ(relative.root(), root_.path());
  EXPECT_EQ(relative.StoredName("C:\\hdmdata5"), "HdmData5");
  fs::current_path(old);
}

TEST_F(RootEnvironmentTest, TodayAndLibraryDirectory) {
  time_t now = ::time(nullptr);
  struct tm local {};
  ::localtime_r(&now, &local);
  EXPECT_EQ(env_.Today(),
            std::chrono::year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday);
  env_.SetToday(std::chrono::year{2002} / 4 / 15);
  EXPECT_EQ(env_.Today(), std::chrono::year{2002} / 4 / 15);
  EXPECT_EQ(env_.LibraryDirectory(), "C:\\Windows\\System32");
}

// Exact address lookup; the size counts CP932 bytes and the NUL.
TEST(RootCookieStoreTest, LooksUpExactAddressesWithinTheBuffer) {
  ScratchDir root;
  EXPECT_EQ(RootCookieStore(root.path()).Cookie("file:///C:\\x", "winflag", 255), std::nullopt);
  root.Write(
      "cookies.txt",
      "\xEF\xBB\xBF# comment\tline\r\nfile:///C:\\ひだまり\\timer\\bottom0.html\twinflag=1\r\n"
      "file:///c:\\ひだまり\\timer\\bottom0.html\twinflag=0\r\nother\tother=x; winflag=1; name=値\n"
      "no tab here\n#commented\twinflag=1\nempty\t\ntwice\tfirst\ntwice\tsecond\n"
      "page\twinflag=1\nwide\t値");
  RootCookieStore store(root.path());
  const std::string page = "file:///C:\\\x82\xD0\x82\xBE\x82\xDC\x82\xE8\\timer\\bottom0.html";
  const std::tuple<std::string, uint32_t, std::optional<std::string>> cases[] = {
      {page, 255, "winflag=1"},
      {"file:///c:\\\x82\xD0\x82\xBE\x82\xDC\x82\xE8\\timer\\bottom0.html", 255, "winflag=0"},
      {"FILE:///C:\\\x82\xD0\x82\xBE\x82\xDC\x82\xE8\\timer\\bottom0.html", 255, std::nullopt},
      {page + " ", 255, std::nullopt},
      {page + "\0junk"s, 255, "winflag=1"},
      {"other", 255, "other=x; winflag=1; name=\x92\x6C"},
      {"commented", 255, std::nullopt},
      {"#commented", 255, std::nullopt},
      {"empty", 255, ""},
      {"twice", 255, "first"},
      {"no tab here", 255, std::nullopt},
      {"", 255, std::nullopt},
      {"page", 10, "winflag=1"},
      {"page", 9, std::nullopt},
      {"page", 0, std::nullopt},
      {"wide", 3, "\x92\x6C"},  // 値: 2 bytes in CP932, 3 in UTF-8
      {"wide", 2, std::nullopt}};
  for (const auto& [url, size, cookie] : cases) {
    EXPECT_EQ(store.Cookie(url, "winflag", size), cookie) << url << " " << size;
  }
}

// Reports argc, [arguments], folder, H5KAKEI_ROOT and pid whole in launch.out; "slow" waits first.
const char kStandIn[] =
    "#!/bin/sh\n[ \"$1\" = slow ] && sleep 2\n"
    "{ echo \"$#\"; for a in \"$@\"; do echo \"[$a]\"; done; pwd -P; echo \"$H5KAKEI_ROOT\";\n"
    "  echo $$; } > \"$H5KAKEI_ROOT/launch.tmp\" && mv \"$H5KAKEI_ROOT/launch.tmp\" "
    "\"$H5KAKEI_ROOT/launch.out\"\n";

class RootShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::chmod(root_.Write("drive_c/Hidamari5/HdmMenu5.exe", kStandIn).c_str(), 0755);
    root_.MakeDir("drive_c/Windows/System32");
    root_.Write("drive_c/Hidamari5/readme.txt", "not a program");
    root_.MakeDir("drive_c/Hidamari5/folder.exe");
  }
  ScratchDir root_;
  RootShell shell_{root_.path()};
};

// Starts the program with one UTF-8 argument in its folder, returns at once and reaps it.
TEST_F(RootShellTest, StartsProgramWithoutWaiting) {
  // verb, program, parameters, directory, argc and arguments, folder in the root
  const std::tuple<std::string, std::string, std::string, std::string, std::string, std::string>
      cases[] = {
          {"OPEN", "C:\\hidamari5\\HDMMENU5.EXE", "4,1", "C:\\Windows\\System32", "1\n[4,1]\n",
           "drive_c/Windows/System32"},
          {"open", "C:\\Hidamari5\\HdmMenu5.exe", "a  b \"c\" $HOME * \x89\xC6\x8C\x76",
           "C:\\Hidamari5", "1\n[a  b \"c\" $HOME * 家計]\n", "drive_c/Hidamari5"},
          {"", "\\Hidamari5\\HdmMenu5.exe", "", "", "0\n", "drive_c/Hidamari5"},
          {"OPEN", "C:\\Hidamari5\\HdmMenu5.exe", "slow", "C:\\", "1\n[slow]\n", "drive_c"},
      };
  fs::path out = root_.path() / "launch.out";
  for (const auto& [verb, program, parameters, directory, arguments, cwd] : cases) {
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(shell_.Execute(verb, program, parameters, directory, 9)) << parameters;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    for (int i = 0; i < 1000 && !fs::exists(out); ++i) std::this_thread::sleep_for(10ms);
    std::string text = root_.Read("launch.out"), root, pid;
    fs::remove(out);
    std::string head = arguments + fs::canonical(root_.path() / cwd).string() + "\n";
    ASSERT_EQ(text.substr(0, head.size()), head);
    std::istringstream rest(text.substr(head.size()));
    std::getline(std::getline(rest, root), pid);
    EXPECT_EQ(fs::canonical(root), fs::canonical(root_.path()));
    fs::path proc = fs::path("/proc") / pid;  // gone, not left a zombie
    for (int i = 0; i < 1000 && fs::exists(proc); ++i) std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(pid.empty() || fs::exists(proc)) << "process " << pid << " left behind";
  }
}

TEST_F(RootShellTest, RefusesWhatCannotStart) {
  const std::string menu = "C:\\Hidamari5\\HdmMenu5.exe", dir = "C:\\Hidamari5";
  const std::vector<std::string> cases[] = {
      // verb, program, directory
      {"print", menu, dir},
      {"OPEN", "C:\\Hidamari5\\Nothing.exe", dir},
      {"OPEN", "\\HdmMenu5.exe", dir},  // a lone backslash is no install folder
      {"OPEN", "C:\\Hidamari5\\folder.exe", dir},
      {"OPEN", "C:\\Hidamari5\\readme.txt", dir},
      {"OPEN", "C:\\..\\..\\..\\bin\\sh", dir},
      {"OPEN", "C:\\Hidamari5\\a|b.exe", dir},
      {"OPEN", menu, "C:\\Nothing"},
      {"OPEN", menu, "C:\\Hidamari5\\readme.txt"}};
  for (const auto& c : cases)
    EXPECT_FALSE(shell_.Execute(c[0], c[1], "4,1", c[2], 9)) << c[1] << c[2];
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(fs::exists(root_.path() / "launch.out"));
}

}  // namespace
}  // namespace h5
