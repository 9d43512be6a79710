// The writing side and the whole-file reader.
#include "platform/kakeidb/data_file_writer.h"

#include <unistd.h>

#include "test_util.h"

namespace h5::testing {
namespace {

std::vector<std::string> Entries(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(DataFileWriterTest, WritesWhatReadDataFileReads) {
  ScratchDir dir;
  FileDefinition definition{12,
                            "ABCD",
                            {Key(0, {{0, 1, SegmentType::kUnsigned},
                                     {1, 1, SegmentType::kUnsigned},
                                     {2, 2, SegmentType::kSigned},
                                     {4, 2, SegmentType::kSigned},
                                     {6, 2, SegmentType::kSigned}}),
                             Key(7, {{8, 4, SegmentType::kString}}, false)}};
  std::vector<Record> records;
  for (int i = 0; i < 30; ++i) {
    Record record(12, static_cast<uint8_t>(i));
    record[0] = static_cast<uint8_t>(1 + i % 12);
    PutLe(record, 8, i * 7919, 4);
    records.push_back(record);
  }
  WriteFile(dir.path() / "Yosan02.dat", definition, records);
  std::string error;
  std::optional<DataFileContents> contents = ReadDataFile(dir.path() / "Yosan02.dat", &error);
  ASSERT_TRUE(contents) << error;
  EXPECT_EQ(contents->definition, definition);
  EXPECT_EQ(contents->records, records);
  EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"Yosan02.dat"});
}

TEST(DataFileWriterTest, NothingAppearsWithoutCommit) {
  ScratchDir dir;
  {
    std::string error;
    auto writer = DataFileWriter::Create(dir.path() / "a.dat", CashBookDefinition(), &error);
    ASSERT_TRUE(writer) << error;
    ASSERT_TRUE(writer->Append(CashRecord(1, 1), &error)) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "a.dat"));
  }
  EXPECT_TRUE(Entries(dir.path()).empty());
}

TEST(DataFileWriterTest, ReplacesAnOldFileOnlyOnCommit) {
  ScratchDir dir;
  const auto path = dir.path() / "suitou02.dat";
  WriteFile(path, CashBookDefinition(), {CashRecord(1, 1)});
  const uint64_t old_hash = FileHash(path);
  std::string error;
  auto writer = DataFileWriter::Create(path, CashBookDefinition(), &error);
  ASSERT_TRUE(writer) << error;
  ASSERT_TRUE(writer->Append(CashRecord(2, 2), &error));
  ASSERT_TRUE(writer->Append(CashRecord(3, 3), &error));
  EXPECT_EQ(FileHash(path), old_hash);
  ASSERT_TRUE(writer->Commit(&error)) << error;
  auto contents = ReadDataFile(path, &error);
  ASSERT_TRUE(contents) << error;
  EXPECT_EQ(contents->records, (std::vector<Record>{CashRecord(2, 2), CashRecord(3, 3)}));
  EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"suitou02.dat"});
  // A finished writer takes nothing more.
  EXPECT_FALSE(writer->Append(CashRecord(4, 4), &error));
  EXPECT_FALSE(writer->Commit(&error));
}

TEST(DataFileWriterTest, RefusesRecordsOfAnotherLengthAndDuplicateUniqueKeys) {
  ScratchDir dir;
  FileDefinition definition = CashBookDefinition();
  definition.keys.push_back(Key(1, {{33, 4, SegmentType::kSigned}}, /*duplicates=*/false));
  std::string error;
  auto writer = DataFileWriter::Create(dir.path() / "a.dat", definition, &error);
  ASSERT_TRUE(writer) << error;
  EXPECT_FALSE(writer->Append(Record(78, 0), &error));
  EXPECT_NE(error.find("78"), std::string::npos) << error;
  EXPECT_FALSE(writer->Append(Record(80, 0), &error));
  ASSERT_TRUE(writer->Append(CashRecord(1, 500), &error)) << error;
  EXPECT_FALSE(writer->Append(CashRecord(2, 500), &error));
  EXPECT_NE(error.find("key 1"), std::string::npos) << error;
  ASSERT_TRUE(writer->Append(CashRecord(1, 501), &error)) << error;  // key 0 allows duplicates
  ASSERT_TRUE(writer->Commit(&error)) << error;
  auto contents = ReadDataFile(dir.path() / "a.dat", &error);
  ASSERT_TRUE(contents) << error;
  EXPECT_EQ(contents->records, (std::vector<Record>{CashRecord(1, 500), CashRecord(1, 501)}));
}

struct DefinitionCase {
  const char* name;
  FileDefinition definition;
};

TEST(DataFileWriterTest, RefusesInvalidDefinitions) {
  const KeySegment date{7, 4, SegmentType::kSigned};
  const DefinitionCase cases[] = {
      {"record length 0", FileDefinition{0, "", {}}},
      {"record length too big", FileDefinition{kMaxRecordLength + 1, "", {}}},
      {"owner too long", FileDefinition{79, "ABCDEFGHI", {}}},
      {"owner with a zero byte", FileDefinition{79, std::string("AB\0D", 4), {}}},
      {"key without segments", FileDefinition{79, "", {Key(0, {})}}},
      {"segment beyond the record",
       FileDefinition{79, "", {Key(0, {{76, 4, SegmentType::kSigned}})}}},
      {"negative offset", FileDefinition{79, "", {Key(0, {{-1, 4, SegmentType::kString}})}}},
      {"empty segment", FileDefinition{79, "", {Key(0, {{0, 0, SegmentType::kString}})}}},
      {"integer of 3 bytes", FileDefinition{79, "", {Key(0, {{0, 3, SegmentType::kUnsigned}})}}},
      {"key of 255 bytes", FileDefinition{300, "", {Key(0, {{0, 255, SegmentType::kString}})}}},
      {"key number twice", FileDefinition{79, "", {Key(1, {date}), Key(1, {date})}}},
      {"key number 119", FileDefinition{79, "", {Key(119, {date})}}},
      {"negative key number", FileDefinition{79, "", {Key(-1, {date})}}},
      {"unknown type", FileDefinition{79, "", {Key(0, {{0, 4, static_cast<SegmentType>(7)}})}}},
  };
  ScratchDir dir;
  for (const DefinitionCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(DataFileWriter::Create(dir.path() / "a.dat", c.definition, &error));
    EXPECT_FALSE(error.empty());
  }
  EXPECT_TRUE(Entries(dir.path()).empty());
  // The limits themselves are fine.
  std::string error;
  EXPECT_TRUE(DataFileWriter::Create(dir.path() / "b.dat",
                                     FileDefinition{kMaxRecordLength,
                                                    "ABCDEFGH",
                                                    {Key(118, {{0, 254, SegmentType::kString}}),
                                                     Key(0, {{0, 8, SegmentType::kSigned}})}},
                                     &error))
      << error;
}

TEST(DataFileWriterTest, CannotCreateInAMissingDirectory) {
  ScratchDir dir;
  std::string error;
  EXPECT_FALSE(DataFileWriter::Create(dir.path() / "none" / "a.dat", CashBookDefinition(), &error));
  EXPECT_FALSE(error.empty());
}

TEST(ReadDataFileTest, FindsAnIndexThatDisagreesWithTheRecords) {
  struct Case {
    const char* name;
    const char* sql;
  };
  const Case cases[] = {
      {"entry missing", "DELETE FROM kakeidb_key_0 WHERE id = 2"},
      {"entry twice", "INSERT INTO kakeidb_key_0 VALUES (X'800000058000000000000002', 2)"},
      {"entry names no record", "DELETE FROM kakeidb_records WHERE id = 2"},
      {"wrong key value",
       "UPDATE kakeidb_key_0 SET entry = X'000000008000000000000002' WHERE id = 2"},
      {"entry without its id", "UPDATE kakeidb_key_0 SET entry = X'80000002' WHERE id = 2"},
      {"record of wrong length", "UPDATE kakeidb_records SET data = X'00' WHERE id = 2"},
      {"foreign header", "PRAGMA application_id = 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    WriteFile(dir.path() / "a.dat", CashBookDefinition(), {CashRecord(1, 1), CashRecord(2, 2)});
    RunSql(dir.path() / "a.dat", c.sql);
    std::string error;
    EXPECT_FALSE(ReadDataFile(dir.path() / "a.dat", &error));
    EXPECT_FALSE(error.empty());
  }
  std::string error;
  EXPECT_FALSE(ReadDataFile("/nonexistent/a.dat", &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace h5::testing
