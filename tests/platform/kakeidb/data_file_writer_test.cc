// The writing side, the whole-file reader, and the physical format as
// docs/kakeidb.md gives it.
#include "platform/kakeidb/data_file_writer.h"

#include "kakeidb_test.h"

namespace h5::testing {
namespace {

std::vector<std::string> Names(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  for (const auto& [name, kind] : TakeSnapshot(directory)) names.push_back(name);
  return names;
}

// Everything a file holds, as values: header fields, tables, entries.
std::string Dump(const std::filesystem::path& path) {
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  std::string dump;
  for (const char* sql :
       {"SELECT * FROM pragma_application_id, pragma_user_version, pragma_journal_mode",
        "SELECT format, version, record_length, hex(owner_name) FROM kakeidb_file",
        "SELECT * FROM kakeidb_keys ORDER BY 1", "SELECT * FROM kakeidb_segments ORDER BY 1, 2",
        "SELECT id, hex(data), typeof(data) FROM kakeidb_records ORDER BY id",
        "SELECT hex(entry), id FROM kakeidb_key_0 ORDER BY entry"}) {
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), SQLITE_OK) << sql;
    while (sqlite3_step(statement) == SQLITE_ROW) {
      for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        const unsigned char* text = sqlite3_column_text(statement, i);
        dump += text ? reinterpret_cast<const char*>(text) : "NULL";
        dump += i + 1 < sqlite3_column_count(statement) ? "|" : "\n";
      }
    }
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return dump;
}

// A file written by another program from the description alone reads back,
// and our writer writes exactly that file.
TEST_F(EngineTest, FileWrittenFromTheDescriptionReadsAndMatchesTheWriter) {
  // 60-byte records, key 0 = the signed 16-bit code at 0, no duplicates;
  // codes 3, -2, 300 in that order.
  std::filesystem::create_directories(DiskPath(""));
  RunSql(DiskPath("Credit.dat"),
         "PRAGMA application_id = 1263223874; PRAGMA user_version = 1;"
         "CREATE TABLE kakeidb_file (format TEXT NOT NULL, version INTEGER NOT NULL,"
         " record_length INTEGER NOT NULL, owner_name BLOB NOT NULL);"
         "CREATE TABLE kakeidb_keys (key_number INTEGER PRIMARY KEY,"
         " duplicates INTEGER NOT NULL);"
         "CREATE TABLE kakeidb_segments (key_number INTEGER NOT NULL,"
         " position INTEGER NOT NULL, byte_offset INTEGER NOT NULL,"
         " byte_length INTEGER NOT NULL, type TEXT NOT NULL,"
         " PRIMARY KEY (key_number, position)) WITHOUT ROWID;"
         "CREATE TABLE kakeidb_records (id INTEGER PRIMARY KEY, data BLOB NOT NULL);"
         "CREATE TABLE kakeidb_key_0 (entry BLOB PRIMARY KEY, id INTEGER NOT NULL)"
         " WITHOUT ROWID;"
         "INSERT INTO kakeidb_file VALUES ('kakeidb', 1, 60, X'41424344');"
         "INSERT INTO kakeidb_keys VALUES (0, 0);"
         "INSERT INTO kakeidb_segments VALUES (0, 0, 0, 2, 'signed');"
         "INSERT INTO kakeidb_records VALUES (1, CAST(X'0300' || zeroblob(58) AS BLOB)),"
         " (2, CAST(X'FEFF' || zeroblob(58) AS BLOB)), (3, CAST(X'2C01' || zeroblob(58) AS BLOB));"
         "INSERT INTO kakeidb_key_0 VALUES (X'80038000000000000001', 1),"
         " (X'7FFE8000000000000002', 2), (X'812C8000000000000003', 3);");
  Watch("Credit.dat");
  Block block;
  ASSERT_EQ(OpenFile(block, "Credit.dat"), kBtrOk);
  std::vector<int> codes;
  for (int16_t status = Read(*engine_, block, kBtrGetFirst, 0, 60); status == kBtrOk;
       status = Read(*engine_, block, kBtrGetNext, 0, 60)) {
    EXPECT_EQ(block.length, 60);
    codes.push_back(static_cast<int16_t>(block.data[0] | block.data[1] << 8));
  }
  EXPECT_EQ(codes, (std::vector<int>{-2, 3, 300}));

  std::vector<Record> records(3, Record(60, 0));
  PutLe(records[0], 0, 3, 2);
  PutLe(records[1], 0, -2, 2);
  PutLe(records[2], 0, 300, 2);
  WriteFile(root_.path() / "ours.dat",
            FileDefinition{60, "ABCD", {Key(0, {{0, 2, SegmentType::kSigned}}, false)}}, records);
  EXPECT_EQ(Dump(root_.path() / "ours.dat"), Dump(DiskPath("Credit.dat")));
  EXPECT_NE(Dump(DiskPath("Credit.dat")).find("1263223874|1|delete\n"), std::string::npos);
}

TEST(DataFileWriterTest, WritesWhatReadDataFileReads) {
  ScratchDir dir;
  FileDefinition definition{12,
                            "ABCDEFGH",
                            {Key(0, {{0, 1, SegmentType::kUnsigned},
                                     {1, 1, SegmentType::kSigned},
                                     {2, 2, SegmentType::kSigned},
                                     {4, 4, SegmentType::kUnsigned},
                                     {4, 8, SegmentType::kSigned}}),
                             Key(118, {{8, 4, SegmentType::kString}}, false)}};
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
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"Yosan02.dat"});
}

TEST(DataFileWriterTest, ReplacesAnOldFileOnlyOnCommit) {
  ScratchDir dir;
  const auto path = dir.path() / "suitou02.dat";
  std::string error;
  {
    auto writer = DataFileWriter::Create(dir.path() / "a.dat", CashBookDefinition(), &error);
    ASSERT_TRUE(writer) << error;
    ASSERT_TRUE(writer->Append(CashRecord(1, 1), &error)) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "a.dat"));
  }
  EXPECT_TRUE(Names(dir.path()).empty());  // destroyed without Commit
  WriteFile(path, CashBookDefinition(), {CashRecord(1, 1)});
  const std::string old_bytes = ReadBytes(path);
  auto writer = DataFileWriter::Create(path, CashBookDefinition(), &error);
  ASSERT_TRUE(writer) << error;
  ASSERT_TRUE(writer->Append(CashRecord(2, 2), &error));
  ASSERT_TRUE(writer->Append(CashRecord(3, 3), &error));
  EXPECT_EQ(ReadBytes(path), old_bytes);
  ASSERT_TRUE(writer->Commit(&error)) << error;
  auto contents = ReadDataFile(path, &error);
  ASSERT_TRUE(contents) << error;
  EXPECT_EQ(contents->records, (std::vector<Record>{CashRecord(2, 2), CashRecord(3, 3)}));
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"suitou02.dat"});
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
      {"none/a.dat", CashBookDefinition()},
  };
  ScratchDir dir;
  for (const auto& [name, definition] : cases) {
    std::string error;
    EXPECT_FALSE(DataFileWriter::Create(dir.path() / name, definition, &error)) << error;
    EXPECT_FALSE(error.empty());
  }
  EXPECT_TRUE(Names(dir.path()).empty());
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

TEST(ReadDataFileTest, FindsAnIndexThatDisagreesWithTheRecords) {
  const char* const cases[] = {
      "DELETE FROM kakeidb_key_0 WHERE id = 2",
      "INSERT INTO kakeidb_key_0 VALUES (X'800000058000000000000002', 2)",
      "DELETE FROM kakeidb_records WHERE id = 2",
      "UPDATE kakeidb_key_0 SET entry = X'000000008000000000000002' WHERE id = 2",
      "UPDATE kakeidb_key_0 SET entry = X'80000002' WHERE id = 2",
      "UPDATE kakeidb_records SET data = X'00' WHERE id = 2",
      "PRAGMA application_id = 1",
  };
  for (const char* sql : cases) {
    SCOPED_TRACE(sql);
    ScratchDir dir;
    WriteFile(dir.path() / "a.dat", CashBookDefinition(), {CashRecord(1, 1), CashRecord(2, 2)});
    RunSql(dir.path() / "a.dat", sql);
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
