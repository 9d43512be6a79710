// The dump: data files back to book entries that rebuild the same files, and
// as text.
#include "tools/book_tool.h"

#include <gtest/gtest.h>

#include <sstream>

#include "scratch.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

fs::path DataPath(const fs::path& root, const std::string& path) {
  return root / ("drive_" + std::string(1, path[0] | 0x20)) / "k" / path.substr(5);
}

// every_layout.json has one file of every layout, plus the odd ones: hex
// records with bytes no field covers, another owner or none, a file of no
// known layout. every_layout_dumped.json and .txt hold what the dump makes of
// each file, as a book entry and as text ({root} stands for the root).
TEST(DumpTest, BookEntriesRebuildTheSameFilesAndTextShowsKeysBytesAndFields) {
  ScratchDir dir;
  const fs::path first = dir.path() / "first";
  json book = json::parse(ReadBytes(H5_SOURCE_DIR "/tests/tools/every_layout.json")), again;
  std::string error, text;
  ASSERT_TRUE(BuildBook(book, first, &error)) << error;
  for (const auto& [path, entry] : book["data"].items()) {
    std::ostringstream as_json, out;
    ASSERT_TRUE(DumpDataFile(DataPath(first, path), true, as_json, &error)) << error;
    EXPECT_TRUE(DumpDataFile(DataPath(first, path), false, out, &error)) << error;
    again["data"][path] = json::parse(as_json.str());
    text += out.str() + "\n";
  }
  ASSERT_TRUE(BuildBook(again, dir.path() / "second", &error)) << error;
  EXPECT_TRUE(ReadTree(first) == ReadTree(dir.path() / "second"));
  EXPECT_EQ(again["data"],
            json::parse(ReadBytes(H5_SOURCE_DIR "/tests/tools/every_layout_dumped.json")));
  std::string expected = ReadBytes(H5_SOURCE_DIR "/tests/tools/every_layout_dumped.txt");
  for (size_t at = expected.find("{root}"); at != std::string::npos; at = expected.find("{root}")) {
    expected.replace(at, 6, first.string());
  }
  EXPECT_EQ(text, expected);
}

// Files that are no data files give an error and print nothing.
TEST(DumpTest, NonDataFilesPrintNothing) {
  ScratchDir dir;
  std::string error;
  for (const fs::path& file : {dir.Write("junk.dat", "not a data file"), dir.path() / "none"}) {
    std::ostringstream out;
    EXPECT_FALSE(DumpDataFile(file, false, out, &error));
    EXPECT_FALSE(DumpDataFile(file, true, out, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(out.str(), "");
  }
}

}  // namespace
}  // namespace h5
