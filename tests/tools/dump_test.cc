#include "tools/dump.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/kakeidb/data_file_writer.h"
#include "scratch.h"
#include "tools/book_builder.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// One file of every layout, plus the odd ones: hex records with bytes no
// field covers, another owner, a file of no known layout.
const char kEveryLayout[] = R"({"data": {
  "C:\\k\\start02.dat": {"layout": "start", "records": [{"Year": 2002, "Month": 4, "Day": 1},
                                                      {"hex": "0100d20704000100"}]},
  "C:\\k\\Kikan02.dat": {"layout": "period", "records": [
      {"Year": 2002, "Month": 4, "StartDay": "2002-04-01", "EndDay": "2002-04-30"},
      {"Year": 2002, "Month": 5, "StartDay": 0, "EndDay": -1}]},
  "C:\\k\\Himoku.dat": {"layout": "category", "records": [
      {"group": 0, "level": 0, "majorCode": 1, "name": "給与"},
      {"group": 255, "level": 2, "majorCode": -1, "middleCode": 2, "minorCode": 3, "name": " a b"},
      {"hex": "00000000000001008b8b975e0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"}]},
  "C:\\k\\Credit.dat": {"layout": "card", "records": [{"cardCode": 1}, {"cardCode": -32768}]},
  "C:\\k\\suitou02.dat": {"layout": "cashbook", "records": [
      {"entryKind": 1, "entryDate": "2002-04-03", "amount": 800},
      {"entryKind": 2, "categoryCode": 1, "entryDate": 37371, "cardCode": 3, "statementCode": 1,
       "amount": -2147483648, "fromPayStatement": 1}]},
  "C:\\k\\bunkat02.dat": {"layout": "installment", "records": [
      {"entryKind": 1, "cardCode": 3, "debitDate": "2002-04-27", "amount": 500}]},
  "C:\\k\\Yosan02.dat": {"layout": "budget", "owner": "other", "records": [
      {"month": 1, "budgetKind": 1, "itemCode1": 2, "itemCode2": 3, "itemCode3": 4, "amount": 10000}]},
  "C:\\k\\Kyuyo.dat": {"layout": "salary-item", "records": [
      {"recordClass": 1, "statementCode": 1, "itemKind": 1, "itemNumber": 3, "itemGroup": 0}]},
  "C:\\k\\Kyuyo02.dat": {"layout": "salary-amount", "records": [
      {"salaryKind": 0, "statementCode": 1, "month": 4, "itemNumber": 3,
       "statementDate": "2002-04-25", "amount": 300}]},
  "C:\\k\\short.dat": {"layout": "cashbook", "recordLength": 40,
      "keys": [{"number": 0, "segments": [{"offset": 7, "length": 4, "type": "signed"}]}],
      "records": [{"entryKind": 1, "amount": 7}]},
  "C:\\k\\empty.dat": {"layout": "budget"}
}})";

fs::path DataPath(const fs::path& root, const std::string& name) {
  return root / "drive_c" / "k" / name;
}

TEST(DumpTest, BookEntriesRebuildTheSameFiles) {
  ScratchDir dir;
  json book = json::parse(kEveryLayout);
  std::string error;
  ASSERT_TRUE(BuildBook(book, dir.path() / "first", &error)) << error;

  json again = {{"data", json::object()}};
  for (const auto& [path, entry] : book["data"].items()) {
    std::string name = path.substr(path.rfind('\\') + 1);
    std::optional<json> dumped = DataFileToBookEntry(DataPath(dir.path() / "first", name), &error);
    ASSERT_TRUE(dumped) << error;
    again["data"][path] = *dumped;
  }
  ASSERT_TRUE(BuildBook(again, dir.path() / "second", &error)) << error;

  for (const auto& [path, entry] : book["data"].items()) {
    std::string name = path.substr(path.rfind('\\') + 1);
    std::optional<DataFileContents> first =
        ReadDataFile(DataPath(dir.path() / "first", name), &error);
    std::optional<DataFileContents> second =
        ReadDataFile(DataPath(dir.path() / "second", name), &error);
    ASSERT_TRUE(first && second) << name;
    EXPECT_EQ(first->definition, second->definition) << name;
    EXPECT_EQ(first->records, second->records) << name;
  }

  // Records that fields can say come back as fields, the others as hex.
  const json& dumped = again["data"];
  EXPECT_EQ(dumped["C:\\k\\suitou02.dat"]["records"][0], json({{"entryKind", 1},
                                                               {"categoryCode", 0},
                                                               {"entryDate", "2002-04-03"},
                                                               {"cardCode", 0},
                                                               {"statementCode", 0},
                                                               {"amount", 800},
                                                               {"fromPayStatement", 0}}));
  EXPECT_EQ(dumped["C:\\k\\start02.dat"]["records"][1], json({{"hex", "0100d20704000100"}}));
  // Zeros instead of blanks after a name are kept as they are.
  EXPECT_EQ(dumped["C:\\k\\Himoku.dat"]["records"][2]["name"], "給与" + std::string(16, '\0'));
  EXPECT_EQ(dumped["C:\\k\\Himoku.dat"]["records"][1]["name"], " a b");
  EXPECT_EQ(dumped["C:\\k\\Kikan02.dat"]["records"][1]["EndDay"], "1899-12-29");
  EXPECT_EQ(dumped["C:\\k\\Yosan02.dat"]["owner"], "other");
  EXPECT_FALSE(dumped["C:\\k\\suitou02.dat"].contains("owner"));
  EXPECT_EQ(dumped["C:\\k\\short.dat"]["recordLength"], 40);
  EXPECT_FALSE(dumped["C:\\k\\short.dat"].contains("layout"));
  EXPECT_EQ(dumped["C:\\k\\empty.dat"], json({{"layout", "budget"}, {"records", json::array()}}));
}

TEST(DumpTest, TextDumpShowsKeysBytesAndFields) {
  ScratchDir dir;
  std::string error;
  ASSERT_TRUE(BuildBook(json::parse(kEveryLayout), dir.path(), &error)) << error;
  std::ostringstream out;
  ASSERT_TRUE(DumpDataFile(DataPath(dir.path(), "suitou02.dat"), out, &error)) << error;
  std::string text = out.str();
  for (const char* expected :
       {"record   79 bytes\n", "owner    \"tefu\"\n", "key 0    7+4 signed; duplicates allowed\n",
        "layout   cashbook\n", "records  2\n", "\nrecord 1 of 2\n",
        "  0000  01 00 00 00 00 00 00 e5  91 00 00 00 00 00 00 00\n",
        "  0040  00 00 00 00 00 00 00 00  00 00 00 00 00 00 00\n",
        "  entryDate        2002-04-03 (37349)\n", "  amount           -2147483648\n",
        "  fromPayStatement 1\n"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  }

  std::ostringstream himoku;
  ASSERT_TRUE(DumpDataFile(DataPath(dir.path(), "Himoku.dat"), himoku, &error)) << error;
  EXPECT_NE(
      himoku.str().find("key 4    0+1 unsigned, 1+1 unsigned, 2+2 signed, 4+2 signed, 6+2 signed"),
      std::string::npos);
  EXPECT_NE(himoku.str().find("  name       \"給与\"\n"), std::string::npos) << himoku.str();

  std::ostringstream odd;
  ASSERT_TRUE(DumpDataFile(DataPath(dir.path(), "short.dat"), odd, &error)) << error;
  EXPECT_NE(odd.str().find("layout   unknown"), std::string::npos);
  EXPECT_EQ(odd.str().find("entryKind"), std::string::npos);

  std::ostringstream as_json;
  ASSERT_TRUE(DumpDataFileJson(DataPath(dir.path(), "Kyuyo02.dat"), as_json, &error)) << error;
  EXPECT_EQ(json::parse(as_json.str())["records"][0]["statementDate"], "2002-04-25");
}

TEST(DumpTest, FilesThatAreNoDataFilesGiveAnError) {
  ScratchDir dir;
  WriteBytes(dir.path() / "junk.dat", "this is not a data file");
  for (const fs::path& file : {dir.path() / "junk.dat", dir.path() / "missing.dat"}) {
    std::ostringstream out;
    std::string error;
    EXPECT_FALSE(DumpDataFile(file, out, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(DataFileToBookEntry(file, &error));
  }
}

}  // namespace
}  // namespace h5
