#include "platform/root/path_map.h"

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "scratch.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// CP932 bytes used below.
const std::string kHyo = "\x95\x5C";        // 表, trail byte '\'
const std::string kA = "\x83\x41";          // ア, trail byte 'A'
const std::string kDi = "\x83\x61";         // ヂ, ア with its trail byte folded
const std::string kMiddleDot = "\x81\x45";  // ・
const std::string kUnmapped = "\x85\x40";   // a code CP932 leaves undefined

class PathMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_.Write("drive_c/HdmData5/Kakeibo/kakeibo1/start02.dat", "");
    root_.Write("drive_c/Hidamari5/DirName.ini", "");
    root_.Write("drive_c/表/x.txt", "");
    root_.MakeDir("drive_c/ア");
    root_.MakeDir("drive_c/Case");
    root_.MakeDir("drive_c/case");
    root_.MakeDir("drive_c/ONLY");
    root_.MakeDir("drive_d/Data");
  }

  // The mapped path relative to the root, or "<none>".
  std::string Map(std::string_view windows_path) {
    std::optional<fs::path> mapped = MapWindowsPath(root_.path(), windows_path);
    if (!mapped) return "<none>";
    return mapped->lexically_relative(root_.path()).generic_string();
  }

  ScratchDir root_;
};

struct MapCase {
  std::string input;
  std::string expected;
};

TEST_F(PathMapTest, MapsAndFindsStoredNames) {
  const MapCase cases[] = {
      {"C:\\hdmdata5\\KAKEIBO\\Kakeibo1\\START02.DAT",
       "drive_c/HdmData5/Kakeibo/kakeibo1/start02.dat"},
      {"c:/hdmdata5/kakeibo", "drive_c/HdmData5/Kakeibo"},
      {"C:\\HdmData5/kakeibo\\KAKEIBO1/", "drive_c/HdmData5/Kakeibo/kakeibo1"},
      {"C:\\HdmData5\\missing\\X.dat", "drive_c/HdmData5/missing/X.dat"},
      {"\\HdmData5\\kakeibo", "drive_c/HdmData5/Kakeibo"},
      {"hidamari5\\dirname.INI", "drive_c/Hidamari5/DirName.ini"},
      {"D:\\DATA", "drive_d/Data"},
      {"d:", "drive_d"},
      {"C:\\", "drive_c"},
      {"C:\\a\\\\\\b\\\\", "drive_c/a/b"},
      {"C:\\ONLY\\.\\", "drive_c/ONLY"},
      {"C:\\...", "drive_c/..."},
      {"C:\\" + kMiddleDot, "drive_c/・"},
      // Double-byte characters: a trail byte '\' is no separator, a trail
      // byte 'A' is never folded.
      {"C:\\" + kHyo + "\\X.TXT", "drive_c/表/x.txt"},
      {"C:\\" + kA, "drive_c/ア"},
      {"C:\\" + kDi, "drive_c/ヂ"},
      // The exact name wins; otherwise the smallest match.
      {"C:\\case", "drive_c/case"},
      {"C:\\CASE", "drive_c/Case"},
      {"C:\\cAsE", "drive_c/Case"},
      {"C:\\only", "drive_c/ONLY"},
  };
  for (const MapCase& c : cases) EXPECT_EQ(Map(c.input), c.expected) << c.input;
}

TEST_F(PathMapTest, NeverLeavesTheDrive) {
  const MapCase cases[] = {
      {"C:\\..\\..\\etc\\passwd", "drive_c/etc/passwd"},
      {"C:/../../../etc/passwd", "drive_c/etc/passwd"},
      {"..\\..\\x", "drive_c/x"},
      {"\\..\\drive_d\\data", "drive_c/drive_d/data"},
      {"D:\\data\\..\\..\\..\\drive_c\\HdmData5", "drive_d/drive_c/HdmData5"},
      {"C:\\HdmData5\\..\\..\\..\\Hidamari5\\.\\dirname.ini", "drive_c/Hidamari5/DirName.ini"},
      {"C:..\\..", "drive_c"},
      // A Windows A function reads up to the NUL.
      {"C:\\HdmData5\\\0\\..\\..\\etc"s, "drive_c/HdmData5"},
  };
  for (const MapCase& c : cases) EXPECT_EQ(Map(c.input), c.expected) << c.input;
}

TEST_F(PathMapTest, RefusesWhatNamesNoFile) {
  const std::string refused[] = {
      "",
      "\0C:\\x"s,
      "1:\\x",
      "::\\x",
      "\x82\xA0:\\x",  // あ before the colon
      "\\\\server\\share\\x",
      "//server/share",
      "\\\\?\\C:\\x",
      "C:\\a|b",
      "C:\\a?b",
      "C:\\a*",
      "C:\\a<b",
      "C:\\a>b",
      "C:\\a\"b",
      "C:\\a:b",
      "C:\\a\x01",
      "C:\\a\tb",
      "C:\\\x80x",
      "C:\\\xA0x",
      "C:\\\xFF",
      "C:\\x\x81",   // lone lead byte at the end
      "C:\\\x81 x",  // lead byte without a trail byte
      "C:\\" + kUnmapped,
      "C:\\" + std::string(256, 'a'),
      "C:\\" + std::string(32768, 'a'),
  };
  for (const std::string& input : refused) EXPECT_EQ(Map(input), "<none>") << input;
}

TEST_F(PathMapTest, KeepsBadComponentsThatDotDotRemoves) {
  EXPECT_EQ(Map("C:\\bad|name\\..\\ONLY"), "drive_c/ONLY");
}

TEST_F(PathMapTest, LongButValidPaths) {
  std::string deep = "C:";
  for (int i = 0; i < 2000; ++i) deep += "\\ab";
  std::string expected = "drive_c";
  for (int i = 0; i < 2000; ++i) expected += "/ab";
  EXPECT_EQ(Map(deep), expected);
  EXPECT_EQ(Map("C:\\" + std::string(255, 'a')), "drive_c/" + std::string(255, 'a'));
}

TEST(NormalizeRootTest, AbsoluteWithoutTrailingSeparator) {
  EXPECT_EQ(NormalizeRoot("/tmp/a/"), fs::path("/tmp/a"));
  EXPECT_EQ(NormalizeRoot("/tmp/a/./b/../"), fs::path("/tmp/a"));
  EXPECT_EQ(NormalizeRoot("/"), fs::path("/"));
  EXPECT_EQ(NormalizeRoot("rel/"), fs::current_path() / "rel");
}

// Random hostile input never maps outside a drive folder.
TEST_F(PathMapTest, RandomInputStaysInsideADrive) {
  const std::string alphabet[] = {"\\",  "/", ".",    "..",   ":",  "C",    "c",   "a",
                                  "\0"s, " ", "\x81", "\x5C", kHyo, "\x80", "\\\\"};
  std::mt19937 random(20020415);
  std::uniform_int_distribution<size_t> pick(0, std::size(alphabet) - 1);
  std::uniform_int_distribution<int> length(0, 24);
  for (int round = 0; round < 5000; ++round) {
    std::string input;
    for (int n = length(random); n > 0; --n) input += alphabet[pick(random)];
    std::optional<fs::path> mapped = MapWindowsPath(root_.path(), input);
    if (!mapped) continue;
    fs::path inside = mapped->lexically_relative(root_.path());
    ASSERT_FALSE(inside.empty()) << input;
    EXPECT_EQ(inside.begin()->string().substr(0, 6), "drive_") << input;
    for (const fs::path& part : inside) EXPECT_NE(part, "..") << input;
    EXPECT_EQ(mapped->lexically_normal(), *mapped) << input;
  }
}

}  // namespace
}  // namespace h5
