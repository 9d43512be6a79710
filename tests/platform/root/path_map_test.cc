#include "platform/root/path_map.h"

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "scratch.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// CP932: 表 (trail byte '\'), ア (trail byte 'A'), ヂ (ア with 'A' folded).
const std::string kHyo = "\x95\x5C", kA = "\x83\x41", kDi = "\x83\x61";

class PathMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_.Write("drive_c/HdmData5/Kakeibo/kakeibo1/start02.dat", "");
    root_.Write("drive_c/Hidamari5/DirName.ini", "");
    root_.Write("drive_c/表/x.txt", "");
    for (const char* dir :
         {"drive_c/ア", "drive_c/Case", "drive_c/case", "drive_c/ONLY", "drive_d/Data"})
      root_.MakeDir(dir);
  }
  std::string Map(std::string_view windows_path) {
    std::optional<fs::path> mapped = MapWindowsPath(root_.path(), windows_path);
    return mapped ? mapped->lexically_relative(root_.path()).generic_string() : "<none>";
  }
  ScratchDir root_;
};

// Stored names, case folding, '.'/'..' kept inside the drive, and refusals.
TEST_F(PathMapTest, MapsInsideTheDriveOrRefuses) {
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
      {"C:\\", "drive_c"},
      {"C:\\a\\\\\\b\\\\", "drive_c/a/b"},
      {"C:\\...", "drive_c/..."},
      {"C:\\\x81\x45", "drive_c/・"},
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
  for (const auto& [input, expected] : cases) EXPECT_EQ(Map(input), expected) << input;
  const char* refused[] = {"1:\\x",          "::\\x",        "\x82\xA0:\\x", "\\\\server\\share\\x",
                           "//server/share", "\\\\?\\C:\\x", "C:\\a|b",      "C:\\a?b",
                           "C:\\a*",         "C:\\a<b",      "C:\\a>b",      "C:\\a\"b",
                           "C:\\a:b",        "C:\\a\x01",    "C:\\a\tb",     "C:\\\x80x",
                           "C:\\\xA0x",      "C:\\\xFF",     "C:\\x\x81",    "C:\\\x81 x",
                           "C:\\\x85\x40"};
  for (const char* input : refused) EXPECT_EQ(Map(input), "<none>") << input;
  EXPECT_EQ(Map(""), "<none>");
  EXPECT_EQ(Map("\0C:\\x"s), "<none>");
  EXPECT_EQ(Map("C:\\" + std::string(256, 'a')), "<none>");
  EXPECT_EQ(Map("C:\\" + std::string(32768, 'a')), "<none>");
}

TEST(NormalizeRootTest, AbsoluteWithoutTrailingSeparator) {
  EXPECT_EQ(NormalizeRoot("/tmp/a/./b/../"), fs::path("/tmp/a"));
  EXPECT_EQ(NormalizeRoot("/"), fs::path("/"));
}

// Random hostile input never maps outside a drive folder.
TEST_F(PathMapTest, RandomInputStaysInsideADrive) {
  const std::string alphabet[] = {"\\",  "/", ".",    "..",   ":",  "C",    "c",   "a",
                                  "\0"s, " ", "\x81", "\x5C", kHyo, "\x80", "\\\\"};
  std::mt19937 random(20020415);
  std::uniform_int_distribution<size_t> pick(0, std::size(alphabet) - 1);
  for (int round = 0; round < 5000; ++round) {
    std::string input;
    for (int n = random() % 25; n > 0; --n) input += alphabet[pick(random)];
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
