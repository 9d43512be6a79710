// The all-or-nothing write of a book into a root that already holds files:
// faults found only while the files are moved into place.
#include <gtest/gtest.h>

#include "scratch.h"
#include "tools/book_builder.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class RootWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = dir_.path() / "root";
    WriteBytes(root_ / "registry.reg", "REGEDIT4\n");
    WriteBytes(root_ / "cookies.txt", "file:///x\twinflag=1\n");
    WriteBytes(root_ / "drive_c" / "HDMDATA5" / "old.txt", "old");
  }

  // Builds book, expecting a failure whose message starts with error_start,
  // and checks that the root is as before.
  void ExpectRejected(const char* book, const std::string& error_start) {
    Snapshot before = TakeSnapshot(dir_.path());
    std::string error;
    EXPECT_FALSE(BuildBook(json::parse(book), root_, &error));
    EXPECT_EQ(error.substr(0, error_start.size()), error_start) << error;
    EXPECT_EQ(TakeSnapshot(dir_.path()), before);
  }

  ScratchDir dir_;
  fs::path root_;
};

TEST_F(RootWriterTest, FilesLandInExistingFoldersWhateverTheirCase) {
  std::string error;
  ASSERT_TRUE(BuildBook(json::parse(R"({
      "registry": {"HKEY_LOCAL_MACHINE\\X": {"Path": "C:\\Hidamari5"}},
      "files": {"C:\\HdmData5\\new.txt": {"text": "new"},
                "C:\\hidamari5\\A\\b.txt": {"text": "b"},
                "C:\\HIDAMARI5\\a\\c.txt": {"text": "c"}}})"),
                        root_, &error))
      << error;
  fs::path c = root_ / "drive_c";
  EXPECT_EQ(ReadBytes(c / "HDMDATA5" / "new.txt"), "new");
  EXPECT_EQ(ReadBytes(c / "HDMDATA5" / "old.txt"), "old");
  // The first file made the folders; the later one found them.
  EXPECT_EQ(ReadBytes(c / "HIDAMARI5" / "a" / "b.txt"), "b");
  EXPECT_EQ(ReadBytes(c / "HIDAMARI5" / "a" / "c.txt"), "c");
  EXPECT_EQ(ReadBytes(root_ / "registry.reg"),
            "Windows Registry Editor Version "
            "5.00\n\n[HKEY_LOCAL_MACHINE\\X]\n\"Path\"=\"C:\\\\Hidamari5\"\n");
  EXPECT_EQ(ReadBytes(root_ / "cookies.txt"), "file:///x\twinflag=1\n");  // not in the book
  // Nothing but the book's files and what was there before.
  size_t entries = 0;
  for (const auto& entry : fs::directory_iterator(root_)) {
    EXPECT_EQ(entry.path().filename().string().find(".h5kakei"), std::string::npos);
    ++entries;
  }
  EXPECT_EQ(entries, 3u);
}

TEST_F(RootWriterTest, TwoNamesForOneFileAreRejected) {
  ExpectRejected(
      R"({"ini": {"C:\\Hidamari5\\a.ini": {}},
                     "files": {"c:\\HIDAMARI5\\A.INI": {"hex": ""}}})",
      R"(files["c:\\HIDAMARI5\\A.INI"]: names the same file as ini["C:\\Hidamari5\\a.ini"])");
}

TEST_F(RootWriterTest, AFolderInTheWayUndoesEverythingWrittenBefore) {
  fs::create_directories(root_ / "drive_c" / "HDMDATA5" / "kakeibo" / "kakeibo1" / "suitou02.dat");
  ExpectRejected(
      R"({
      "registry": {"HKEY_LOCAL_MACHINE\\X": {"Path": "C:\\Hidamari5"}},
      "cookies": {"file:///y": "winflag=0"},
      "ini": {"C:\\Hidamari5\\new\\deep\\a.ini": {"s": {"k": "v"}}},
      "files": {"C:\\HdmData5\\old.txt": {"text": "replaced"}},
      "data": {"C:\\HdmData5\\kakeibo\\kakeibo1\\suitou02.dat": {"layout": "cashbook"}}})",
      R"(data["C:\\HdmData5\\kakeibo\\kakeibo1\\suitou02.dat"]: a folder is in the way at )");
}

TEST_F(RootWriterTest, AFileInTheWayOfAFolderUndoesEverything) {
  WriteBytes(root_ / "drive_c" / "Hidamari5", "not a folder");
  ExpectRejected(R"({
      "registry": {"HKEY_LOCAL_MACHINE\\X": {"Path": "C:\\Hidamari5"}},
      "files": {"C:\\HdmData5\\old.txt": {"text": "replaced"}},
      "programs": {"C:\\Hidamari5\\HdmMenu5.exe": "launch-log"}})",
                 R"(programs["C:\\Hidamari5\\HdmMenu5.exe"]: cannot make the folder )");
}

TEST_F(RootWriterTest, ARootThatIsAFileIsRejected) {
  WriteBytes(dir_.path() / "file", "x");
  std::string error;
  EXPECT_FALSE(BuildBook(json::parse(R"({"cookies": {}})"), dir_.path() / "file", &error));
  EXPECT_EQ(error, "root \"" + (dir_.path() / "file").string() + "\" is not a folder");
  EXPECT_FALSE(BuildBook(json::object(), "", &error));
  EXPECT_EQ(error, "no root folder given");
}

TEST_F(RootWriterTest, ANewRootIsRemovedAgainWhenTheWriteFails) {
  fs::path fresh = dir_.path() / "a" / "b";
  std::string error;
  EXPECT_FALSE(
      BuildBook(json::parse(R"({"ini": {"C:\\x.ini": {}}, "files": {"C:\\X.INI": {"hex": ""}}})"),
                fresh, &error));
  EXPECT_FALSE(fs::exists(dir_.path() / "a")) << error;
  ASSERT_TRUE(BuildBook(json::parse(R"({"ini": {"C:\\x.ini": {}}})"), fresh, &error)) << error;
  EXPECT_TRUE(fs::exists(fresh / "drive_c" / "x.ini"));
}

}  // namespace
}  // namespace h5
