// The writing side and the whole-file reader.
#include "platform/kakeidb/data_file_writer.h"

#include "kakeidb_test.h"

namespace h5::testing {
namespace {

using namespace std::string_literals;

std::vector<std::string> Names(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  for (const auto& [name, kind] : TakeSnapshot(directory)) names.push_back(name);
  return names;
}

// The header and entries the format describes (each entry the sortable key,
// big-endian with the sign bit flipped, then the id), and ReadDataFile gives
// back what was written.
TEST(DataFileWriterTest, StoresTheDescribedFileAndReadsItBack) {
  ScratchDir dir;
  const auto path = dir.path() / "a.dat";
  const std::vector<Record> records = {CashRecord(37000, 1), CashRecord(-1, 2),
                                       CashRecord(35872, 3)};
  WriteFile(path, CashBookDefinition(), records);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  std::string dump;
  auto append = [](void* out, int columns, char** values, char**) {
    for (int i = 0; i < columns; ++i) *static_cast<std::string*>(out) += values[i] + "|"s;
    return 0;
  };
  ASSERT_EQ(sqlite3_exec(db,
                         "SELECT * FROM pragma_application_id, pragma_user_version,"
                         " pragma_journal_mode; SELECT format, version, record_length,"
                         " hex(owner_name) FROM kakeidb_file; SELECT * FROM kakeidb_segments;"
                         " SELECT hex(entry), id FROM kakeidb_key_0 ORDER BY entry",
                         append, &dump, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  EXPECT_EQ(dump,
            "1263223874|1|delete|kakeidb|1|79|41424344|0|0|7|4|signed|"
            "7FFFFFFF8000000000000002|2|80008C208000000000000003|3|800090888000000000000001|1|");

  std::string error;
  const std::optional<DataFileContents> contents = ReadDataFile(path, &error);
  ASSERT_TRUE(contents) << error;
  EXPECT_EQ(contents->definition, CashBookDefinition());
  EXPECT_EQ(contents->records, records);
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"a.dat"});
}

TEST(DataFileWriterTest, CommitsWholeRecordsOnlyAndReplacesAtCommit) {
  ScratchDir dir;
  const auto path = dir.path() / "a.dat";
  std::string error;
  {
    auto writer = DataFileWriter::Create(path, CashBookDefinition(), &error);
    ASSERT_TRUE(writer) << error;
    ASSERT_TRUE(writer->Append(CashRecord(1, 1), &error)) << error;
    EXPECT_FALSE(std::filesystem::exists(path));
  }
  EXPECT_TRUE(Names(dir.path()).empty());  // destroyed without Commit
  WriteFile(path, CashBookDefinition(), {CashRecord(1, 1)});
  const std::string old_bytes = ReadBytes(path);
  FileDefinition definition = CashBookDefinition();
  definition.keys.push_back(Key(1, {{33, 4, SegmentType::kSigned}}, /*duplicates=*/false));
  auto writer = DataFileWriter::Create(path, definition, &error);
  ASSERT_TRUE(writer) << error;
  EXPECT_FALSE(writer->Append(Record(78, 0), &error));
  EXPECT_NE(error.find("78"), std::string::npos) << error;
  EXPECT_FALSE(writer->Append(Record(80, 0), &error));
  ASSERT_TRUE(writer->Append(CashRecord(1, 500), &error)) << error;
  EXPECT_FALSE(writer->Append(CashRecord(2, 500), &error));
  EXPECT_NE(error.find("key 1"), std::string::npos) << error;
  ASSERT_TRUE(writer->Append(CashRecord(1, 501), &error)) << error;  // key 0 allows duplicates
  EXPECT_EQ(ReadBytes(path), old_bytes);
  ASSERT_TRUE(writer->Commit(&error)) << error;
  auto contents = ReadDataFile(path, &error);
  ASSERT_TRUE(contents) << error;
  EXPECT_EQ(contents->records, (std::vector<Record>{CashRecord(1, 500), CashRecord(1, 501)}));
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"a.dat"});
  // A finished writer takes nothing more.
  EXPECT_FALSE(writer->Append(CashRecord(4, 4), &error));
  EXPECT_FALSE(writer->Commit(&error));
  error.clear();
  EXPECT_FALSE(ReadDataFile(dir.path() / "none.dat", &error));
  EXPECT_FALSE(error.empty());
}

TEST(DataFileWriterTest, RefusesInvalidDefinitionsAndMissingFolders) {
  const KeySegment date{7, 4, SegmentType::kSigned};
  const std::pair<const char*, FileDefinition> cases[] = {
      {"a.dat", {0, "", {}}},
      {"a.dat", {kMaxRecordLength + 1, "", {}}},
      {"a.dat", {79, "ABCDEFGHI", {}}},
      {"a.dat", {79, std::string("AB\0D", 4), {}}},
      {"a.dat", {79, "", {Key(0, {})}}},
      {"a.dat", {79, "", {Key(0, {{76, 4, SegmentType::kSigned}})}}},
      {"a.dat", {79, "", {Key(0, {{-1, 4, SegmentType::kString}})}}},
      {"a.dat", {79, "", {Key(0, {{0, 0, SegmentType::kString}})}}},
      {"a.dat", {79, "", {Key(0, {{0, 3, SegmentType::kUnsigned}})}}},
      {"a.dat", {300, "", {Key(0, {{0, 255, SegmentType::kString}})}}},
      {"a.dat", {79, "", {Key(1, {date}), Key(1, {date})}}},
      {"a.dat", {79, "", {Key(119, {date})}}},
      {"a.dat", {79, "", {Key(-1, {date})}}},
      {"a.dat", {79, "", {Key(0, {{0, 4, static_cast<SegmentType>(7)}})}}},
      {"none/a.dat", CashBookDefinition()}};
  ScratchDir dir;
  std::string error;
  for (const auto& [name, definition] : cases) {
    error.clear();
    EXPECT_FALSE(DataFileWriter::Create(dir.path() / name, definition, &error)) << error;
    EXPECT_FALSE(error.empty());
  }
  EXPECT_TRUE(Names(dir.path()).empty());
  // The limits themselves are fine.
  EXPECT_TRUE(DataFileWriter::Create(
      dir.path() / "b.dat",
      {kMaxRecordLength,
       "ABCDEFGH",
       {Key(118, {{0, 254, SegmentType::kString}}), Key(0, {{0, 8, SegmentType::kSigned}})}},
      &error))
      << error;
}

}  // namespace
}  // namespace h5::testing
