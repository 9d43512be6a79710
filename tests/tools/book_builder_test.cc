// Books written into a root all or nothing, or refused whole by place.
#include "tools/book_tool.h"

#include <gtest/gtest.h>

#include <sstream>

#include "run_process.h"
#include "scratch.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// Every book of malformed_books.txt is refused whole with its message, and
// nothing is written, neither into a root that holds files nor as a new root.
TEST(BookBuilderTest, MalformedBooksAreRejectedWholeWithThePlaceNamed) {
  std::istringstream table(ReadBytes(H5_SOURCE_DIR "/tests/tools/malformed_books.txt"));
  std::string book, expected, error;
  int books = 0;
  while (std::getline(table, book)) {
    if (book.empty() || book[0] == '#') continue;
    ASSERT_TRUE(std::getline(table, expected)) << book;
    ++books;
    ScratchDir dir;
    dir.Write("root/registry.reg", "REGEDIT4\n");
    dir.Write("root/drive_c/HdmData5/kakeibo/Kakei.ini", "[x]\r\ny=1\r\n");
    Snapshot before = TakeSnapshot(dir.path());
    EXPECT_FALSE(BuildBook(json::parse(book), dir.path() / "root", &error)) << book;
    EXPECT_EQ(error, expected) << book;
    EXPECT_EQ(TakeSnapshot(dir.path()), before) << book;
    EXPECT_FALSE(BuildBook(json::parse(book), dir.path() / "fresh" / "root", &error));
    EXPECT_FALSE(fs::exists(dir.path() / "fresh")) << book;
  }
  EXPECT_EQ(books, 73);
}

TEST(BookBuilderTest, EverySectionIsWrittenAsGivenBesideWhatWasThere) {
  ScratchDir dir;
  const fs::path root = dir.path() / "root";
  dir.Write("root/registry.reg", "REGEDIT4\n");
  dir.Write("root/drive_c/HDMDATA5/old.txt", "old");
  std::string error;
  ASSERT_TRUE(BuildBook(json::parse(R"({
      "registry": {"HKEY_LOCAL_MACHINE\\SOFTWARE\\ひだまり家庭帳５": {"Path": "C:\\H5", "Gone": null},
                   "HKEY_CURRENT_USER\\X": {"Q": "say \"hi\"", "": "default", "a\\b": ""}},
      "ini": {"C:\\HdmData5\\Kakei.ini": {"賞味期限": {"家計簿": 1}},
              "C:\\H5\\DirName.ini": {"DirName": {"datapath": "HdmData5", "kakeiPath": null, "e": ""},
                                      "ｵﾌﾟｼｮﾝ": {"集計": "-1"}}},
      "cookies": {"file:///C:\\H5\\timer\\bottom0.html": "winflag=1; x=2", "http://a/": null,
                  "file:///b": ""},
      "files": {"C:\\hdmdata5\\start2.dat": {"hex": ""}, "C:\\bin\\raw.bin": {"hex": "01 23 45 67 89 ab CD EF"},
                "C:\\t\\utf8.txt": {"text": "給与"}, "C:\\T\\ansi.txt": {"ansi": "a?給与"}}})"),
                        root.string() + "/", &error))
      << error;
  // Folders are found whatever their case; nothing is left beside the root.
  EXPECT_EQ(
      ReadTree(root),
      (Tree{{"registry.reg",
             "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\X]\n@=\"default\"\n"
             "\"Q\"=\"say \\\"hi\\\"\"\n\"a\\\\b\"=\"\"\n"
             "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\ひだまり家庭帳５]\n\"Path\"=\"C:\\\\H5\"\n"},
            {"drive_c/HDMDATA5/Kakei.ini",
             "[\x8f\xdc\x96\xa1\x8a\xfa\x8c\xc0]\r\n\x89\xc6\x8c\x76\x95\xeb=1\r\n"},
            {"drive_c/H5/DirName.ini",
             "[DirName]\r\ndatapath=HdmData5\r\ne=\r\n\r\n[\xb5\xcc\xdf\xbc\xae\xdd]\r\n"
             "\x8f\x57\x8c\x76=-1\r\n"},
            {"cookies.txt", "file:///C:\\H5\\timer\\bottom0.html\twinflag=1; x=2\nfile:///b\t\n"},
            {"drive_c/HDMDATA5/old.txt", "old"},
            {"drive_c/HDMDATA5/start2.dat", ""},
            {"drive_c/bin/raw.bin", "\x01\x23\x45\x67\x89\xab\xcd\xef"},
            {"drive_c/T/utf8.txt", "給与"},
            {"drive_c/T/ansi.txt", "a?\x8b\x8b\x97\x5e"}}));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(BookBuilderTest, LaunchLogProgramRecordsEachLaunch) {
  ScratchDir dir;
  fs::path root = dir.path() / "it's a root";  // the baked-in path needs quoting
  const json book = {{"programs", {{"C:\\H5\\HdmMenu5.exe", "launch-log"}}}};
  std::string error;
  ASSERT_TRUE(BuildBook(book, root, &error)) << error;
  fs::path work = root / "drive_c" / "H5", program = work / "HdmMenu5.exe";
  EXPECT_EQ(fs::status(program).permissions(), fs::perms(0755));
  // Without H5KAKEI_ROOT the program logs into the root it was built for;
  // with it, as the shell adapter sets it, into that root.
  for (std::string command :
       {"cd " + ShellQuoted(work) + " && env -u H5KAKEI_ROOT " + ShellQuoted(program) + " '4,1'",
        "cd " + ShellQuoted(dir.path()) + " && env -u H5KAKEI_ROOT " + ShellQuoted(program),
        "cd " + ShellQuoted(work) + " && H5KAKEI_ROOT=" + ShellQuoted(dir.path()) + " " +
            ShellQuoted(program) + " 'a b'"}) {
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  EXPECT_EQ(ReadBytes(root / "launch.log"),
            "4,1\t" + work.string() + "\n\t" + dir.path().string() + "\n");
  EXPECT_EQ(ReadBytes(dir.path() / "launch.log"), "a b\t" + work.string() + "\n");
}

// Books that cannot be read and roots that cannot be written are refused
// with everything left as it was.
TEST(BookBuilderTest, UnreadableBooksAndUnwritableRootsChangeNothing) {
  ScratchDir dir;
  const fs::path file = dir.Write("file", "x"), book = dir.Write("book.json", "{}"),
                 bad = dir.Write("bad.json", "{\"ini\": }"), missing = dir.path() / "missing.json";
  const std::tuple<fs::path, fs::path, std::string> cases[] = {
      {missing, dir.path() / "root", "cannot read the book " + missing.string()},
      {bad, dir.path() / "root", bad.string() + ": not valid JSON: "},
      {book, file, "root \"" + file.string() + "\" is not a folder"},
      {book, "", "no root folder given"},
      {book, file / "r",
       "cannot make a folder beside the root \"" + (file / "r").string() + "\": "},
  };
  for (const auto& [book_file, root_path, expected] : cases) {
    const Snapshot before = TakeSnapshot(dir.path());
    std::string error;
    EXPECT_FALSE(BuildBookFile(book_file, root_path, &error));
    EXPECT_EQ(error.substr(0, expected.size()), expected);
    EXPECT_EQ(TakeSnapshot(dir.path()), before);
  }
}

}  // namespace
}  // namespace h5
