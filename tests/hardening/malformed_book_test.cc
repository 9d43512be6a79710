// Malformed book descriptions (corpus/books/): each is refused whole with
// one message that names the place, and nothing is written, neither into
// an existing root nor as a new one.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "rig.h"
#include "tools/book_builder.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;

fs::path Book(const std::string& name) { return fs::path(H5_HARDENING_CORPUS) / "books" / name; }

// Every entry below folder, folders included: relative path -> bytes, or
// "(folder)".
Tree Snapshot(const fs::path& folder) {
  Tree tree = ReadTree(folder);
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_directory()) tree[entry.path().lexically_relative(folder).string()] = "(folder)";
  }
  return tree;
}

struct MalformedBook {
  const char* file;
  const char* error;  // a part of the message that names the fault's place
};

const MalformedBook kBooks[] = {
    {"cut_short.json", "not valid JSON"},
    {"invalid_utf8.json", "not valid JSON"},
    {"two_byte_order_marks.json", "not valid JSON"},
    {"number_beyond_64_bits.json", "records[0].amount: expected an integer within 32 bits"},
    {"number_below_64_bits.json", "records[0].amount: expected an integer within 32 bits"},
    {"fraction.json", "records[0].amount: expected an integer within 32 bits"},
    {"null_record.json", "records[0]: expected an object"},
    {"layout_number.json", ".layout"},
    {"february_30.json", "records[0].entryDate: no such date"},
    {"short_year.json", "records[0].entryDate"},
    {"date_with_time.json", "records[0].entryDate"},
    {"file_inside_file.json", "C:\\\\a"},
    {"same_file_twice.json", "C:\\\\x.dat"},
    {"same_file_in_two_cases.json", "a.txt"},
    {"drive_digit.json", "not a Windows path"},
    {"odd_hex.json", ".hex: expected pairs of hex digits"},
    {"key_number_beyond_16_bits.json", "keys[0].number"},
    {"record_length_huge.json", "recordLength"},
    {"registry_key_injection.json", "registry["},
    {"ini_value_injection.json", "[\"k\"]: an ini file cannot hold a line break"},
    {"duplicate_section.json", "registry: expected an object, got an array"},
};

// Books accepted today that should be refused (see the disabled tests).
const MalformedBook kRefusedOnceFixed[] = {
    {"nul_in_path.json", "files["},
    {"nul_in_registry_value.json", "[\"Path\"]"},
    {"nul_in_ini_key.json", "[\"s\"]"},
    {"nul_in_ini_value.json", "[\"k\"]"},
};

void ExpectRefused(const fs::path& book, const char* error_part, ScratchDir& scratch) {
  SCOPED_TRACE(book.filename().string());
  const fs::path root = scratch.path() / "root";
  WriteBytes(root / "drive_c" / "keep.txt", "keep");
  const Tree before = Snapshot(scratch.path());
  std::string error;
  EXPECT_FALSE(BuildBookFile(book, root, &error));
  EXPECT_NE(error.find(error_part), std::string::npos) << error;
  EXPECT_EQ(error.find('\n'), std::string::npos) << "one line: " << error;
  EXPECT_TRUE(Snapshot(scratch.path()) == before);

  const fs::path fresh = scratch.path() / "fresh" / "root";
  EXPECT_FALSE(BuildBookFile(book, fresh, &error));
  EXPECT_FALSE(fs::exists(scratch.path() / "fresh"));
}

TEST(MalformedBookTest, RefusedWholeWithThePlaceNamed) {
  std::set<std::string> listed;
  for (const MalformedBook& book : kBooks) {
    ScratchDir scratch;
    ExpectRefused(Book(book.file), book.error, scratch);
    listed.insert(book.file);
  }
  // Every book of the corpus is in one of the tables.
  for (const MalformedBook& book : kRefusedOnceFixed) listed.insert(book.file);
  listed.insert("number_beyond_double.json");
  for (const fs::directory_entry& entry : fs::directory_iterator(Book(""))) {
    const std::string name = entry.path().filename().string();
    if (name.ends_with(".json")) {
      EXPECT_TRUE(listed.count(name)) << name << " is in no table";
    }
  }
}

// A number beyond the range of a double makes the parser throw out_of_range,
// not parse_error: it must still end in one line, not std::terminate.
TEST(MalformedBookTest, NumberBeyondDoubleIsRefused) {
  ScratchDir scratch;
  ExpectRefused(Book("number_beyond_double.json"), "not valid JSON", scratch);
}

// A NUL character would end names and texts early for every reader
// ("C:\\a\u0000b.txt" would write C:\\a): refused wherever it stands.
TEST(MalformedBookTest, NulCharactersAreRefused) {
  for (const MalformedBook& book : kRefusedOnceFixed) {
    ScratchDir scratch;
    ExpectRefused(Book(book.file), book.error, scratch);
  }
}

// A nested value where a number belongs is refused by place.
void ExpectNestingRefused(int depth) {
  ScratchDir scratch;
  std::string text = R"({"data": {"C:\\s.dat": {"layout": "budget", "records": [{"amount": )";
  text += std::string(depth, '[') + std::string(depth, ']') + "}]}}}";
  const fs::path book = scratch.path() / "deep.json";
  WriteBytes(book, text);
  std::string error;
  EXPECT_FALSE(BuildBookFile(book, scratch.path() / "root", &error));
  EXPECT_NE(error.find("records[0].amount"), std::string::npos) << error.substr(0, 300);
  EXPECT_LT(error.size(), 1000u);
  EXPECT_FALSE(fs::exists(scratch.path() / "root"));
}

TEST(MalformedBookTest, NestingIsRefused) { ExpectNestingRefused(1000); }

// Copying or printing a JSON value recurses once per level of nesting: a
// book nested a million levels deep is refused before anything copies it.
TEST(MalformedBookTest, DeepNestingIsRefusedWithoutRunningOutOfStack) {
  ExpectNestingRefused(1000000);
}

// Paths that climb above their drive stay inside it: nothing is ever
// written outside the root.
TEST(MalformedBookTest, ClimbingPathsStayInsideTheRoot) {
  ScratchDir scratch;
  const fs::path root = scratch.path() / "root";
  nlohmann::json book = {{"files",
                          {{"C:\\..\\..\\..\\climbed.txt", {{"text", "x"}}},
                           {"C:\\a\\..\\..\\..\\b\\climbed2.txt", {{"text", "y"}}}}}};
  std::string error;
  const bool built = BuildBook(book, root, &error);
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(scratch.path())) {
    const fs::path inside = entry.path().lexically_relative(root);
    EXPECT_FALSE(inside.empty() || *inside.begin() == "..") << entry.path();
  }
  if (built) {
    EXPECT_TRUE(fs::exists(root / "drive_c" / "climbed.txt"));
    EXPECT_TRUE(fs::exists(root / "drive_c" / "b" / "climbed2.txt"));
  } else {
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace h5
