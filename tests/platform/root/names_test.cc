// The root's listing order and short names, which must not depend on the
// Linux file system underneath.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/root/ntfs_names.h"
#include "platform/root/path_map.h"
#include "platform/root/root_environment.h"
#include "scratch.h"
#include "text/ansi.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;

TEST(NtfsOrder, ListingIsTheSameWhateverTheCreationOrder) {
  // NTFS order: upper-cased UTF-16 units, so '_' (0x5F) comes after every
  // letter and full-width letters (U+FF2x) after kana and kanji.
  const std::vector<std::string> expected = {"a.dat",    "B.dat",    "b1.dat", "c.dat", "_x.dat",
                                             "かな.dat", "家計.dat", "ｂ.dat", "Ｃ.dat"};
  std::vector<std::string> order = expected;
  for (int round = 0; round < 3; ++round) {
    ScratchDir root;
    if (round == 1) std::reverse(order.begin(), order.end());
    if (round == 2) std::rotate(order.begin(), order.begin() + 4, order.end());
    for (const std::string& name : order) root.Write("drive_c/Book/" + name, "");
    RootEnvironment env(root.path());
    std::optional<std::vector<std::string>> listed = env.ListFiles("C:\\Book");
    ASSERT_TRUE(listed);
    std::vector<std::string> names;
    for (const std::string& ansi : *listed) names.push_back(FromAnsi(ansi));
    EXPECT_EQ(names, expected) << "round " << round;
  }
  EXPECT_TRUE(NtfsNameLess("ä", "Ö") && NtfsNameLess("ё", "Ж") && !NtfsNameLess("ABC", "abc"));
  // Bytes that are not UTF-8 sort after valid names, each on its own.
  EXPECT_TRUE(NtfsNameLess("家", "\xFF") && NtfsNameLess("\xC3", "\xFF") &&
              NtfsNameLess("a\xE6\x97", "a\xFF"));
}

TEST(ShortNames, ValidNamesStayAndOthersGetNumberedAliases) {
  struct Case {
    const char* name;
    bool valid;
  } cases[] = {
      {"HdmData5", true},   {"start02.dat", true}, {"a.b", true},     {"家計簿.dat", true},
      {"Hdm Data5", false}, {"LongName9", false},  {"a.text", false}, {"a.b.c", false},
      {".profile", false},  {"a+b", false},        {"file.", false},  {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsShortName(ToAnsi(c.name)), c.valid) << c.name;

  ScratchDir root;
  for (const char* name : {"Hdm Data6", "Hdm Data5", "HDMDAT~2", "Long Name.text", "x.y.zip",
                           "Program Files", "ab", "かな かな.dat"}) {
    root.MakeDir(std::string("drive_c/") + name);
  }
  std::map<std::string, std::string> aliases = FolderAliases(root.path() / "drive_c");
  const std::map<std::string, std::string> expected = {
      {"Hdm Data5", "HDMDAT~1"},          {"Hdm Data6", "HDMDAT~3"},  // ~2 is a stored name
      {"Long Name.text", "LONGNA~1.TEX"}, {"x.y.zip", "XY~1.ZIP"},
      {"Program Files", "PROGRA~1"},      {"かな かな.dat", ToAnsi("かなか~1.DAT")}};
  EXPECT_EQ(aliases, expected);
}

TEST(ShortNames, ShortPathUsesAliasesAndAliasesResolve) {
  ScratchDir root;
  root.Write("drive_c/Hdm Data5/kakeibo/kakeibo1/start02.dat", "x");
  root.MakeDir("drive_c/Hdm Data6");
  RootEnvironment env(root.path());
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\Hdm Data5\\kakeibo\\kakeibo1\\", "C:\\HDMDAT~1\\kakeibo\\kakeibo1\\"},
      {"c:\\hdm data5\\KAKEIBO\\kakeibo1\\start02.dat",
       "c:\\HDMDAT~1\\KAKEIBO\\kakeibo1\\start02.dat"},
      {"C:\\Hdm Data6", "C:\\HDMDAT~2"},
      {"C:\\HDMDAT~1\\kakeibo", "C:\\HDMDAT~1\\kakeibo"},
      {"C:\\", "C:\\"},
      {"C:\\Hdm Data7\\", ""},
      {"D:\\", ""},
  };
  for (const auto& [path, expected] : cases) EXPECT_EQ(env.ShortPath(path), expected) << path;

  EXPECT_EQ(MapWindowsPath(root.path(), "C:\\hdmdat~1\\KAKEIBO\\kakeibo1\\start02.dat"),
            root.path() / "drive_c/Hdm Data5/kakeibo/kakeibo1/start02.dat");
  EXPECT_EQ(MapWindowsPath(root.path(), "C:\\HDMDAT~2"), root.path() / "drive_c/Hdm Data6");
  EXPECT_EQ(MapWindowsPath(root.path(), "C:\\HDMDAT~3"), root.path() / "drive_c/HDMDAT~3");
  EXPECT_EQ(env.StoredName("C:\\HDMDAT~1\\kakeibo"), "kakeibo");
}

// A folder's listing is kept once the folder has settled, and listed again
// when an entry comes, goes or is renamed.
TEST(FolderListing, NamesFollowChangesToTheFolder) {
  ScratchDir root;
  root.Write("drive_c/book/Alpha.dat", "x");
  const auto settle = [] { std::this_thread::sleep_for(std::chrono::milliseconds(2100)); };
  const auto map = [&](const char* path) { return MapWindowsPath(root.path(), path); };
  const std::filesystem::path book = root.path() / "drive_c/book";
  settle();
  EXPECT_EQ(map("C:\\BOOK\\ALPHA.DAT"), book / "Alpha.dat");
  EXPECT_EQ(map("C:\\BOOK\\BETA.DAT"), book / "BETA.DAT");  // kept as written

  root.Write("drive_c/book/Beta.dat", "x");
  EXPECT_EQ(map("C:\\BOOK\\BETA.DAT"), book / "Beta.dat");
  std::filesystem::rename(book / "Alpha.dat", book / "Gamma.dat");
  settle();
  EXPECT_EQ(map("C:\\BOOK\\BETA.DAT"), book / "Beta.dat");
  EXPECT_EQ(map("C:\\BOOK\\ALPHA.DAT"), book / "ALPHA.DAT");
  EXPECT_EQ(map("C:\\BOOK\\GAMMA.DAT"), book / "Gamma.dat");
}

}  // namespace
}  // namespace h5
