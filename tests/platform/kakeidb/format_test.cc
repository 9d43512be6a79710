// The physical format as docs/kakeidb.md gives it: a file written by another
// program from that description alone reads back, and our writer writes
// exactly that.
#include <sqlite3.h>

#include "engine_fixture.h"

namespace h5::testing {
namespace {

class FormatTest : public EngineTest {};

TEST_F(FormatTest, FileWrittenFromTheDescriptionReads) {
  const auto path = DiskPath("Credit.dat");
  std::filesystem::create_directories(path.parent_path());
  // Credit.dat: 60-byte records, key 0 = the signed 16-bit card code at 0,
  // no duplicates. Records: code 3, code -2, code 300, in that order.
  RunSql(path,
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
         "INSERT INTO kakeidb_records VALUES"
         " (1, X'0300' || zeroblob(58)), (2, X'FEFF' || zeroblob(58)),"
         " (3, X'2C01' || zeroblob(58));"
         "UPDATE kakeidb_records SET data = CAST(data AS BLOB);"
         "INSERT INTO kakeidb_key_0 VALUES"
         " (X'80038000000000000001', 1), (X'7FFE8000000000000002', 2),"
         " (X'812C8000000000000003', 3);");
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
  block.SetKey({0x2C, 0x01});
  EXPECT_EQ(Read(*engine_, block, kBtrGetEqual, 0, 60), kBtrOk);

  std::string error;
  auto contents = ReadDataFile(path, &error);
  ASSERT_TRUE(contents) << error;
  EXPECT_EQ(contents->definition,
            (FileDefinition{60, "ABCD", {Key(0, {{0, 2, SegmentType::kSigned}}, false)}}));
}

TEST_F(FormatTest, WriterStoresTheDescribedEntries) {
  Write("suitou02.dat", CashBookDefinition(),
        {CashRecord(37000, 1), CashRecord(-1, 2), CashRecord(35872, 3)});
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(DiskPath("suitou02.dat").c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
            SQLITE_OK);
  sqlite3_stmt* statement = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT hex(entry), id FROM kakeidb_key_0 ORDER BY entry", -1,
                               &statement, nullptr),
            SQLITE_OK);
  std::vector<std::string> entries;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    entries.push_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
  }
  sqlite3_finalize(statement);
  EXPECT_EQ(entries,
            (std::vector<std::string>{"7FFFFFFF8000000000000002", "80008C208000000000000003",
                                      "800090888000000000000001"}));
  ASSERT_EQ(sqlite3_prepare_v2(db,
                               "SELECT (SELECT application_id FROM pragma_application_id),"
                               " (SELECT user_version FROM pragma_user_version),"
                               " (SELECT journal_mode FROM pragma_journal_mode)",
                               -1, &statement, nullptr),
            SQLITE_OK);
  ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int64(statement, 0), 0x4B4B4442);
  EXPECT_EQ(sqlite3_column_int64(statement, 1), 1);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(statement, 2)), "delete");
  sqlite3_finalize(statement);
  sqlite3_close(db);
}

}  // namespace
}  // namespace h5::testing
