// The layouts of data files, and the dump: data files back to book entries
// that rebuild the same files, and as text.
#include "tools/dump.h"

#include <gtest/gtest.h>

#include <sstream>

#include "scratch.h"
#include "tools/book_builder.h"
#include "tools/layouts.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

TEST(LayoutsTest, FieldsAndKeysLieInsideTheirRecordsWithoutOverlap) {
  for (const Layout& layout : AllLayouts()) {
    std::vector<int> owner(static_cast<size_t>(layout.record_length), 0);
    for (const FieldDef& field : layout.fields) {
      ASSERT_LE(field.offset + field.width, layout.record_length) << field.name;
      for (int i = field.offset; i < field.offset + field.width; ++i) {
        EXPECT_EQ(owner[static_cast<size_t>(i)]++, 0) << layout.name << "." << field.name;
      }
    }
    for (const KeyDefinition& key : layout.keys) {
      for (const KeySegment& s : key.segments) EXPECT_LE(s.offset + s.length, layout.record_length);
    }
  }
}

// every_layout.json: one file of every layout, plus the odd ones: hex records
// with bytes no field covers, another owner or none, a file of no known layout.
json EveryLayout() {
  return json::parse(ReadBytes(H5_SOURCE_DIR "/tests/tools/every_layout.json"));
}

fs::path DataPath(const fs::path& root, const std::string& path) {
  return root / ("drive_" + std::string(1, path[0] | 0x20)) / "k" / path.substr(5);
}

TEST(DumpTest, BookEntriesRebuildTheSameFiles) {
  ScratchDir dir;
  json book = EveryLayout(), again;
  std::string error;
  ASSERT_TRUE(BuildBook(book, dir.path() / "first", &error)) << error;
  for (const auto& [path, entry] : book["data"].items()) {
    std::optional<json> dumped = DataFileToBookEntry(DataPath(dir.path() / "first", path), &error);
    ASSERT_TRUE(dumped) << error;
    again["data"][path] = *dumped;
  }
  ASSERT_TRUE(BuildBook(again, dir.path() / "second", &error)) << error;
  EXPECT_TRUE(ReadTree(dir.path() / "first") == ReadTree(dir.path() / "second"));

  // Records that fields can say come back as fields, the others as hex.
  const json& dumped = again["data"];
  EXPECT_EQ(dumped["C:\\k\\suitou02.dat"]["records"][0],
            json::parse(R"({"entryKind": 1, "categoryCode": 0, "entryDate": "2002-04-03",
                "cardCode": 0, "statementCode": 0, "amount": 800, "fromPayStatement": 0})"));
  EXPECT_EQ(dumped["C:\\k\\start02.dat"]["records"][1], json({{"hex", "0100d20704000100"}}));
  // Zeros instead of blanks after a name are kept as they are.
  EXPECT_EQ(dumped["C:\\k\\Himoku.dat"]["records"][2]["name"], "給与" + std::string(16, '\0'));
  EXPECT_EQ(dumped["C:\\k\\Himoku.dat"]["records"][1]["name"], " a b");
  // Days with a calendar date come back as dates, the others as numbers.
  EXPECT_EQ(dumped["C:\\k\\Kikan02.dat"]["records"], json::parse(R"([
      {"Year": 2002, "Month": 4, "StartDay": "2002-04-01", "EndDay": "2002-04-30"},
      {"Year": 2002, "Month": 5, "StartDay": 0, "EndDay": "1899-12-29"},
      {"Year": 1, "Month": 1, "StartDay": "0001-01-01", "EndDay": "9999-12-31"},
      {"Year": 0, "Month": 0, "StartDay": -693594, "EndDay": 2958466},
      {"Year": 0, "Month": 0, "StartDay": -2147483648, "EndDay": 2147483647}])"));
  EXPECT_EQ(dumped["C:\\k\\Yosan02.dat"]["owner"], "other");
  EXPECT_EQ(dumped["d:\\k\\Credit.dat"]["owner"], "");
  EXPECT_FALSE(dumped["C:\\k\\suitou02.dat"].contains("owner"));
  EXPECT_EQ(dumped["C:\\k\\short.dat"],
            json::parse(R"({"recordLength": 40, "keys": [{"number": 0, "duplicates": false,
                "segments": [{"offset": 7, "length": 4, "type": "signed"}]}],
                "records": [{"hex": "01000000000000000000000000000000000000000000000000000000000000000007000000000000"}]})"));
  EXPECT_EQ(dumped["C:\\k\\empty.dat"], json({{"layout", "budget"}, {"records", json::array()}}));
}

TEST(DumpTest, TextDumpShowsKeysBytesAndFields) {
  ScratchDir dir;
  std::string error;
  ASSERT_TRUE(BuildBook(EveryLayout(), dir.path(), &error)) << error;
  auto dump = [&](const std::string& path) {
    std::ostringstream out;
    EXPECT_TRUE(DumpDataFile(DataPath(dir.path(), path), out, &error)) << error;
    return out.str();
  };
  EXPECT_EQ(dump("C:\\k\\Yosan02.dat"),
            "file     " + DataPath(dir.path(), "C:\\k\\Yosan02.dat").string() +
                "\nrecord   12 bytes\nowner    \"other\"\n"
                "key 0    0+1 unsigned, 1+1 unsigned, 2+2 signed, 4+2 signed, 6+2 signed; "
                "duplicates allowed\nlayout   budget\nrecords  1\n\nrecord 1 of 1\n"
                "  0000  01 01 02 00 03 00 04 00  10 27 00 00\n  month      1\n  budgetKind 1\n"
                "  itemCode1  2\n  itemCode2  3\n  itemCode3  4\n  amount     10000\n");
  std::string text = dump("C:\\k\\suitou02.dat");
  for (const char* expected :
       {"owner    \"tefu\"\n", "records  2\n", "\nrecord 1 of 2\n",
        "  0000  01 00 00 00 00 00 00 e5  91 00 00 00 00 00 00 00\n",
        "  0040  00 00 00 00 00 00 00 00  00 00 00 00 00 00 00\n",
        "  entryDate        2002-04-03 (37349)\n", "  amount           -2147483648\n"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  }
  EXPECT_NE(dump("C:\\k\\Himoku.dat").find("  name       \"給与\"\n"), std::string::npos);
  text = dump("C:\\k\\Kikan02.dat");
  EXPECT_NE(text.find("  StartDay 0\n  EndDay   1899-12-29 (-1)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  StartDay day -693594 (-693594)\n"), std::string::npos) << text;
  EXPECT_NE(dump("C:\\k\\short.dat").find("key 0    7+4 signed; unique\nlayout   unknown"),
            std::string::npos);

  std::ostringstream json_text;
  ASSERT_TRUE(DumpDataFileJson(DataPath(dir.path(), "C:\\k\\Kyuyo02.dat"), json_text, &error));
  EXPECT_EQ(json::parse(json_text.str())["records"][0]["statementDate"], "2002-04-25");
  // Files that are no data files give an error and print nothing.
  for (const fs::path& file : {dir.Write("junk.dat", "not a data file"), dir.path() / "none"}) {
    std::ostringstream out;
    EXPECT_FALSE(DumpDataFile(file, out, &error));
    EXPECT_FALSE(DumpDataFileJson(file, out, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(out.str(), "");
  }
}

}  // namespace
}  // namespace h5
