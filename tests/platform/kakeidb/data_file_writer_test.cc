// The writing side and the whole-file reader.
#include "platform/kakeidb/data_file_writer.h"

#include "kakeidb_test.h"

namespace h5::testing {
namespace {

std::vector<std::string> Names(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  for (const auto& [name, kind] : TakeSnapshot(directory)) names.push_back(name);
  return names;
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
  EXPECT_EQ(contents->definition, definition);
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
      {"a.dat", {79, "ABCDEFGHI", {}}},
      {"a.dat", {79, std::string("AB\0D", 4), {}}},
      {"a.dat", {79, "", {Key(0, {})}}},
      {"a.dat", {79, "", {Key(0, {{76, 4, SegmentType::kSigned}})}}},
      {"a.dat", {79, "", {Key(0, {{0, 0, SegmentType::kString}})}}},
      {"a.dat", {79, "", {Key(0, {{0, 3, SegmentType::kUnsigned}})}}},
      {"a.dat", {300, "", {Key(0, {{0, 255, SegmentType::kString}})}}},
      {"a.dat", {79, "", {Key(1, {date}), Key(1, {date})}}},
      {"a.dat", {79, "", {Key(119, {date})}}},
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
