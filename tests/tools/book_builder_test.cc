#include "tools/book_builder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "platform/kakeidb/data_file_writer.h"
#include "scratch.h"
#include "tools/layouts.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// A root that already holds files, so that a rejected book can be seen to
// leave it exactly as it was.
void FillRoot(const fs::path& root) {
  WriteBytes(root / "registry.reg", "REGEDIT4\n");
  WriteBytes(root / "drive_c" / "HdmData5" / "kakeibo" / "Kakei.ini", "[x]\r\ny=1\r\n");
  WriteBytes(root / "drive_c" / "keep.txt", "keep");
}

struct MalformedCase {
  const char* book;
  const char* error;
};

const MalformedCase kMalformed[] = {
    {R"([])", "book: expected an object, got an array"},
    {R"({"bogus": {}})",
     R"(book["bogus"]: unknown section (expected registry, ini, cookies, programs, files, data))"},
    {R"({"data": {"C:\\d\\s.dat": {"layout": "cashbok", "records": []}}})",
     R"(data["C:\\d\\s.dat"].layout: unknown layout "cashbok" (expected one of start, period, category, card, cashbook, installment, budget, salary-item, salary-amount))"},
    {R"({"data": {"C:\\d\\s.dat": {"layout": "cashbook", "records": [{"amout": 1}]}}})",
     R"(data["C:\\d\\s.dat"].records[0].amout: no such field in layout "cashbook")"},
    {R"({"data": {"C:\\HdmData5\\kakeibo\\kakeibo1\\suitou02.dat": {"layout": "cashbook",
        "records": [{}, {}, {"amount": -2147483648}, {"amount": 2147483648}]}}})",
     R"(data["C:\\HdmData5\\kakeibo\\kakeibo1\\suitou02.dat"].records[3].amount: expected an integer within 32 bits)"},
    {R"({"data": {"C:\\s.dat": {"layout": "cashbook", "records": [{"entryDate": "2002-13-01"}]}}})",
     R"(data["C:\\s.dat"].records[0].entryDate: no such date: 2002-13-01)"},
    {R"({"data": {"C:\\s.dat": {"layout": "cashbook", "records": [{"entryKind": 256}]}}})",
     R"(data["C:\\s.dat"].records[0].entryKind: expected an integer from 0 to 255)"},
    {R"({"data": {"C:\\s.dat": {"layout": "cashbook", "records": [{"categoryCode": 32768}]}}})",
     R"(data["C:\\s.dat"].records[0].categoryCode: expected an integer within 16 bits)"},
    {R"({"data": {"C:\\s.dat": {"layout": "cashbook", "records": [{"amount": "800"}]}}})",
     R"(data["C:\\s.dat"].records[0].amount: expected an integer within 32 bits, got a string)"},
    {R"({"data": {"C:\\h.dat": {"layout": "category", "records": [{"name": "給与給与給与給与給与給与"}]}}})",
     R"(data["C:\\h.dat"].records[0].name: text takes 24 bytes in CP932; the field holds 20)"},
    {R"({"data": {"C:\\h.dat": {"layout": "category", "records": [{"name": "한"}]}}})",
     R"(data["C:\\h.dat"].records[0].name: text has a character that CP932 cannot hold)"},
    {R"({"data": {"C:\\s.dat": {"layout": "cashbook", "records": [5]}}})",
     R"(data["C:\\s.dat"].records[0]: expected an object of fields or {"hex": ...}, got a number)"},
    {R"({"data": {"C:\\s.dat": {"layout": "cashbook", "records": [{"hex": "00"}]}}})",
     R"(data["C:\\s.dat"].records[0].hex: 1 bytes; the records of this file are 79 bytes)"},
    {R"({"data": {"C:\\s.dat": {"layout": "budget", "records": [{"hex": "0401000000000000102700zz"}]}}})",
     R"(data["C:\\s.dat"].records[0].hex: expected a string of hex digit pairs)"},
    {R"({"data": {"C:\\s.dat": {"layout": "budget", "records": [{"hex": "", "month": 1}]}}})",
     R"(data["C:\\s.dat"].records[0]: a record given as hex has no other members)"},
    {R"({"data": {"C:\\s.dat": {"layout": "budget", "records": {}}}})",
     R"(data["C:\\s.dat"].records: expected an array of records, got an object)"},
    {R"({"data": {"C:\\s.dat": {"records": []}}})",
     R"(data["C:\\s.dat"]: expected a layout (or both recordLength and keys))"},
    {R"({"data": {"C:\\s.dat": {"layout": "budget", "record": []}}})",
     R"(data["C:\\s.dat"].record: unknown member (expected layout, records, owner, recordLength, keys))"},
    {R"({"data": {"C:\\s.dat": {"layout": "budget", "owner": "toolongname"}}})",
     R"(data["C:\\s.dat"].owner: expected an owner name of at most 8 bytes)"},
    {R"({"data": {"C:\\s.dat": {"layout": "cashbook", "recordLength": 8}}})",
     R"(data["C:\\s.dat"].recordLength: too short for the keys of layout "cashbook"; give keys as well)"},
    {R"({"data": {"C:\\s.dat": {"layout": "budget", "recordLength": 10, "records": [{"amount": 1}]}}})",
     R"(data["C:\\s.dat"].records[0].amount: the field lies beyond the record length 10)"},
    {R"({"data": {"C:\\s.dat": {"recordLength": 10,
        "keys": [{"number": 0, "segments": [{"offset": 8, "length": 4, "type": "signed"}]}]}}})",
     R"(data["C:\\s.dat"].keys[0].segments[0].length: expected an integer from 1 to 2 (the segment must lie in the record))"},
    {R"({"data": {"C:\\s.dat": {"recordLength": 10,
        "keys": [{"number": 0, "segments": [{"offset": 0, "length": 3, "type": "signed"}]}]}}})",
     R"(data["C:\\s.dat"].keys[0].segments[0].length: an integer segment has 1, 2, 4 or 8 bytes)"},
    {R"({"data": {"C:\\s.dat": {"recordLength": 10, "keys": [
        {"number": 1, "segments": [{"offset": 0, "length": 2, "type": "string"}]},
        {"number": 1, "segments": [{"offset": 0, "length": 2, "type": "text"}]}]}}})",
     R"(data["C:\\s.dat"].keys[1].number: key 1 is defined twice)"},
    {R"({"data": {"C:\\s.dat": {"recordLength": 4, "keys": [], "records": [{"amount": 1}]}}})",
     R"(data["C:\\s.dat"].records[0]: without a layout every record is given as {"hex": ...})"},
    {R"({"files": {"C:\\x.bin": {"hex": "0g"}}})",
     R"(files["C:\\x.bin"].hex: expected pairs of hex digits)"},
    {R"({"files": {"C:\\x.bin": {"hex": "00", "text": "a"}}})",
     R"(files["C:\\x.bin"]: expected {"hex": ...}, {"text": ...} or {"ansi": ...})"},
    {R"({"files": {"C:\\x.bin": {"utf16": "a"}}})",
     R"(files["C:\\x.bin"].utf16: unknown form (expected hex, text or ansi))"},
    {R"({"files": {"C:\\": {"hex": ""}}})",
     R"(files["C:\\"]: not a Windows path of a file (such as C:\folder\name))"},
    {R"({"files": {"\\\\server\\share\\x": {"hex": ""}}})",
     R"(files["\\\\server\\share\\x"]: not a Windows path of a file (such as C:\folder\name))"},
    {R"({"files": {"": {"hex": ""}}})",
     R"(files[""]: not a Windows path of a file (such as C:\folder\name))"},
    {R"({"ini": {"C:\\a😀.ini": {}}})",
     R"(ini["C:\\a😀.ini"]: the path has a character that CP932 cannot hold)"},
    {R"({"ini": {"C:\\a.ini": {"s": {"k": "a\nb"}}}})",
     R"(ini["C:\\a.ini"]["s"]["k"]: an ini file cannot hold a line break or NUL here)"},
    {R"({"ini": {"a.ini": {"s": {"k": "v"}}}})",
     R"(ini["a.ini"]: expected a full Windows path such as C:\folder\name.ini)"},
    {R"({"ini": {"C:\\a.ini": {"s": {"": "v"}}}})",
     R"(ini["C:\\a.ini"]["s"][""]: an ini key must not be empty or start with ';' or '[')"},
    {R"({"ini": {"C:\\a.ini": {"s": {";k": "v"}}}})",
     R"(ini["C:\\a.ini"]["s"][";k"]: an ini key must not be empty or start with ';' or '[')"},
    {R"({"ini": {"C:\\a.ini": {"s": {"[k": "v"}}}})",
     R"(ini["C:\\a.ini"]["s"]["[k"]: an ini key must not be empty or start with ';' or '[')"},
    {R"({"ini": {"C:\\a.ini": {"s": {"k=v": "x"}}}})",
     R"(ini["C:\\a.ini"]["s"]["k=v"]: the name cannot hold "=")"},
    {R"({"ini": {"C:\\a.ini": {"s]": {}}}})",
     R"(ini["C:\\a.ini"]["s]"]: the name cannot hold "]")"},
    {R"({"ini": {"C:\\a.ini": {"s": {"k": true}}}})",
     R"(ini["C:\\a.ini"]["s"]["k"]: expected text, an integer or null, got a boolean)"},
    {R"({"ini": {"C:\\a.ini": {"s": {"k": "😀"}}}})",
     R"(ini["C:\\a.ini"]["s"]["k"]: has a character that CP932 cannot hold)"},
    {R"({"ini": {"C:\\a.ini": {"s": []}}})",
     R"(ini["C:\\a.ini"]["s"]: expected an object, got an array)"},
    {R"({"registry": {"SOFTWARE\\X": {}}})",
     R"(registry["SOFTWARE\\X"]: expected a key path that starts with HKEY_ and has no line break)"},
    {R"({"registry": {"HKEY_LOCAL_MACHINE\\SOFTWARE\\X": {"Path": 1}}})",
     R"(registry["HKEY_LOCAL_MACHINE\\SOFTWARE\\X"]["Path"]: expected text or null, got a number)"},
    {R"({"registry": {"HKEY_LOCAL_MACHINE\\X": {"Path": "a\r\nb"}}})",
     R"(registry["HKEY_LOCAL_MACHINE\\X"]["Path"]: a registry string value cannot hold a line break or NUL)"},
    {R"({"cookies": {"file:///x": 1}})",
     R"(cookies["file:///x"]: expected the cookie text or null, got a number)"},
    {R"({"cookies": {"#x": "a"}})",
     R"(cookies["#x"]: a page address is not empty, does not start with #, has no tab and no line break)"},
    {R"({"programs": {"C:\\Hidamari5\\HdmMenu5.exe": "notepad"}})",
     R"(programs["C:\\Hidamari5\\HdmMenu5.exe"]: expected the program kind "launch-log")"},
    {R"({"cookies": []})", "cookies: expected an object, got an array"},
    // A fault in the last section still rejects the book before anything is written.
    {R"({"registry": {"HKEY_LOCAL_MACHINE\\X": {"Path": "C:\\new"}},
        "ini": {"C:\\new\\a.ini": {"s": {"k": "v"}}},
        "cookies": {"file:///x": "a=1"},
        "programs": {"C:\\new\\p.exe": "launch-log"},
        "files": {"C:\\new\\f.bin": {"hex": "00"}},
        "data": {"C:\\new\\ok.dat": {"layout": "budget", "records": [{"month": 1}]},
                 "C:\\new\\zz.dat": {"layout": "budget", "records": [{"month": 1}, {"month": -1}]}}})",
     R"(data["C:\\new\\zz.dat"].records[1].month: expected an integer from 0 to 255)"},
};

TEST(BookBuilderTest, MalformedBooksAreRejectedWholeWithThePlaceNamed) {
  for (const MalformedCase& c : kMalformed) {
    ScratchDir dir;
    fs::path root = dir.path() / "root";
    FillRoot(root);
    Snapshot before = TakeSnapshot(dir.path());
    std::string error;
    EXPECT_FALSE(BuildBook(json::parse(c.book), root, &error)) << c.book;
    EXPECT_EQ(error, c.error) << c.book;
    EXPECT_EQ(TakeSnapshot(dir.path()), before) << c.book;

    // A root that did not exist is not created for a rejected book.
    fs::path fresh = dir.path() / "fresh" / "root";
    EXPECT_FALSE(BuildBook(json::parse(c.book), fresh, &error));
    EXPECT_FALSE(fs::exists(dir.path() / "fresh")) << c.book;
  }
}

TEST(BookBuilderTest, RegistryIsWrittenWithEscapes) {
  ScratchDir dir;
  json book = json::parse(R"({"registry": {
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５": {"Path": "C:\\Hidamari5", "Gone": null},
      "HKEY_CURRENT_USER\\X": {"Q": "say \"hi\"", "": "default", "a\\b": ""}}})");
  std::string error;
  ASSERT_TRUE(BuildBook(book, dir.path(), &error)) << error;
  EXPECT_EQ(ReadBytes(dir.path() / "registry.reg"),
            "Windows Registry Editor Version 5.00\n"
            "\n[HKEY_CURRENT_USER\\X]\n"
            "@=\"default\"\n"
            "\"Q\"=\"say \\\"hi\\\"\"\n"
            "\"a\\\\b\"=\"\"\n"
            "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５]\n"
            "\"Path\"=\"C:\\\\Hidamari5\"\n");
}

TEST(BookBuilderTest, IniFilesAreCp932WithCrlf) {
  ScratchDir dir;
  json book = json::parse(R"({"ini": {
      "C:\\HdmData5\\kakeibo\\Kakei.ini": {"賞味期限": {"家計簿": 1}},
      "C:\\Hidamari5\\DirName.ini": {"DirName": {"datapath": "HdmData5", "kakeiPath": null, "empty": ""},
                                     "ｵﾌﾟｼｮﾝ": {"集計": "-1"}}}})");
  std::string error;
  ASSERT_TRUE(BuildBook(book, dir.path(), &error)) << error;
  EXPECT_EQ(ReadBytes(dir.path() / "drive_c" / "HdmData5" / "kakeibo" / "Kakei.ini"),
            "[\x8f\xdc\x96\xa1\x8a\xfa\x8c\xc0]\r\n\x89\xc6\x8c\x76\x95\xeb=1\r\n");
  EXPECT_EQ(ReadBytes(dir.path() / "drive_c" / "Hidamari5" / "DirName.ini"),
            "[DirName]\r\ndatapath=HdmData5\r\nempty=\r\n"
            "\r\n[\xb5\xcc\xdf\xbc\xae\xdd]\r\n\x8f\x57\x8c\x76=-1\r\n");
}

TEST(BookBuilderTest, CookiesAndRawFiles) {
  ScratchDir dir;
  json book = json::parse(R"({
      "cookies": {"file:///C:\\Hidamari5\\timer\\bottom0.html": "winflag=1; x=2", "http://a/": null,
                  "file:///b": ""},
      "files": {"C:\\HdmData5\\start2.dat": {"hex": ""},
                "C:\\bin\\raw.bin": {"hex": "00 ff 10"},
                "C:\\t\\utf8.txt": {"text": "給与"},
                "C:\\t\\ansi.txt": {"ansi": "給与"}}})");
  std::string error;
  ASSERT_TRUE(BuildBook(book, dir.path(), &error)) << error;
  EXPECT_EQ(ReadBytes(dir.path() / "cookies.txt"),
            "file:///C:\\Hidamari5\\timer\\bottom0.html\twinflag=1; x=2\nfile:///b\t\n");
  fs::path c = dir.path() / "drive_c";
  EXPECT_TRUE(fs::is_regular_file(c / "HdmData5" / "start2.dat"));
  EXPECT_EQ(ReadBytes(c / "HdmData5" / "start2.dat"), "");
  EXPECT_EQ(ReadBytes(c / "bin" / "raw.bin"), std::string("\x00\xff\x10", 3));
  EXPECT_EQ(ReadBytes(c / "t" / "utf8.txt"), "給与");
  EXPECT_EQ(ReadBytes(c / "t" / "ansi.txt"), "\x8b\x8b\x97\x5e");
}

TEST(BookBuilderTest, DataFilesCarryLayoutOwnerAndRecords) {
  ScratchDir dir;
  json book = json::parse(R"({"data": {
      "C:\\HdmData5\\kakeibo\\kakeibo1\\suitou02.dat": {"layout": "cashbook",
          "records": [{"entryKind": 1, "entryDate": "2002-04-03", "amount": 800},
                      {"entryKind": 2, "entryDate": 37351, "amount": 900}]},
      "d:\\odd.dat": {"layout": "card", "owner": "", "records": [{"cardCode": 3}]},
      "C:\\raw.dat": {"recordLength": 3, "owner": "abc",
          "keys": [{"number": 5, "duplicates": false,
                    "segments": [{"offset": 1, "length": 2, "type": "unsigned"}]}],
          "records": [{"hex": "010203"}]}}})");
  std::string error;
  ASSERT_TRUE(BuildBook(book, dir.path(), &error)) << error;

  std::optional<DataFileContents> cash = ReadDataFile(
      dir.path() / "drive_c" / "HdmData5" / "kakeibo" / "kakeibo1" / "suitou02.dat", &error);
  ASSERT_TRUE(cash) << error;
  EXPECT_EQ(cash->definition, DefinitionOf(*FindLayout("cashbook")));
  ASSERT_EQ(cash->records.size(), 2u);
  EXPECT_EQ(cash->records[0][0], 1);
  EXPECT_EQ(cash->records[0][7], 0xe5);  // 37349
  EXPECT_EQ(cash->records[0][8], 0x91);
  EXPECT_EQ(cash->records[1][33], 0x84);  // 900
  EXPECT_EQ(cash->records[1][34], 0x03);

  std::optional<DataFileContents> card = ReadDataFile(dir.path() / "drive_d" / "odd.dat", &error);
  ASSERT_TRUE(card) << error;
  EXPECT_EQ(card->definition.owner_name, "");

  std::optional<DataFileContents> raw = ReadDataFile(dir.path() / "drive_c" / "raw.dat", &error);
  ASSERT_TRUE(raw) << error;
  EXPECT_EQ(raw->definition.record_length, 3);
  EXPECT_EQ(raw->definition.owner_name, "abc");
  ASSERT_EQ(raw->definition.keys.size(), 1u);
  EXPECT_EQ(raw->definition.keys[0].number, 5);
  EXPECT_FALSE(raw->definition.keys[0].duplicates);
  EXPECT_EQ(raw->definition.keys[0].segments[0], (KeySegment{1, 2, SegmentType::kUnsigned}));
  EXPECT_EQ(raw->records, (std::vector<std::vector<uint8_t>>{{1, 2, 3}}));
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

TEST(BookBuilderTest, LaunchLogProgramRecordsEachLaunch) {
  ScratchDir dir;
  fs::path root = dir.path() / "it's a root";  // the baked-in path needs quoting
  json book = json::parse(R"({"programs": {"C:\\Hidamari5\\HdmMenu5.exe": "launch-log"}})");
  std::string error;
  ASSERT_TRUE(BuildBook(book, root, &error)) << error;
  fs::path program = root / "drive_c" / "Hidamari5" / "HdmMenu5.exe";
  struct stat st {};
  ASSERT_EQ(stat(program.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);

  fs::path work = root / "drive_c" / "Hidamari5";
  // Without H5KAKEI_ROOT the program logs into the root it was built for.
  std::string command =
      "cd " + ShellQuote(work) + " && env -u H5KAKEI_ROOT " + ShellQuote(program) + " '4,1'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  command = "cd " + ShellQuote(dir.path()) + " && env -u H5KAKEI_ROOT " + ShellQuote(program);
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadBytes(root / "launch.log"),
            "4,1\t" + work.string() + "\n\t" + dir.path().string() + "\n");

  // With H5KAKEI_ROOT, as the shell adapter sets it, the log goes there.
  fs::path other = dir.path() / "other";
  fs::create_directories(other);
  command = "cd " + ShellQuote(work) + " && H5KAKEI_ROOT=" + ShellQuote(other) + " " +
            ShellQuote(program) + " 'a b'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadBytes(other / "launch.log"), "a b\t" + work.string() + "\n");
}

TEST(BookBuilderTest, BookFilesAreReadAndParseErrorsNamed) {
  ScratchDir dir;
  std::string error;
  EXPECT_FALSE(BuildBookFile(dir.path() / "missing.json", dir.path() / "root", &error));
  EXPECT_EQ(error, "cannot read the book " + (dir.path() / "missing.json").string());

  WriteBytes(dir.path() / "bad.json", "{\"ini\": {\n  \"C:\\\\a.ini\": }\n}");
  EXPECT_FALSE(BuildBookFile(dir.path() / "bad.json", dir.path() / "root", &error));
  EXPECT_EQ(error.rfind((dir.path() / "bad.json").string() + ": not valid JSON: ", 0), 0u) << error;
  EXPECT_NE(error.find("line 2"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(dir.path() / "root"));

  WriteBytes(dir.path() / "good.json", R"({"cookies": {"file:///x": "winflag=0"}})");
  ASSERT_TRUE(BuildBookFile(dir.path() / "good.json", dir.path() / "root", &error)) << error;
  EXPECT_EQ(ReadBytes(dir.path() / "root" / "cookies.txt"), "file:///x\twinflag=0\n");
}

}  // namespace
}  // namespace h5
