// The physical format of a data file: one SQLite database with a fixed set of
// tables, described in docs/kakeidb.md. Shared by the engine, the writer and
// the dump reader.
#ifndef H5KAKEI_PLATFORM_KAKEIDB_FORMAT_H_
#define H5KAKEI_PLATFORM_KAKEIDB_FORMAT_H_

#include <sqlite3.h>

#include <cstdint>
#include <string>

#include "platform/kakeidb/file_definition.h"

namespace h5 {

// PRAGMA application_id of every data file: "KKDB".
constexpr int32_t kApplicationId = 0x4B4B4442;
constexpr char kFormatName[] = "kakeidb";
constexpr int64_t kFormatVersion = 1;

// Makes db, an empty database, a data file declaring definition (which must be
// valid). Returns the SQLite result; *error says what failed.
int CreateDataFileSchema(sqlite3* db, const FileDefinition& definition, std::string* error);

// Checks that db is a data file of this format and reads what it declares.
// Status 0; 2 when it is not a data file of this format or declares nonsense;
// otherwise the status of the SQLite failure (StatusFromSqlite). *error says
// why.
int16_t LoadFileDefinition(sqlite3* db, FileDefinition* definition, std::string* error);

// The table of one key: an entry (the sortable key value followed by the
// record id, see EncodeEntryId) for every record.
std::string KeyTableName(int16_t key_number);

// Where a scan of a key starts.
enum class ScanStart {
  kFirst,      // at the first entry
  kAtOrAfter,  // at the first entry >= ?1
  kAfter,      // at the first entry > ?1
};

// The records of one key in key order. Columns: id, data (NULL when the
// entry names a record that does not exist).
std::string ScanSql(int16_t key_number, ScanStart start);

// Writing: a record (?1 id, ?2 data); an entry of a key (?1 entry, ?2 id);
// the first entry of a key at or after ?1 (entry).
extern const char kInsertRecordSql[];
std::string InsertEntrySql(int16_t key_number);
std::string FirstEntrySql(int16_t key_number);

// Reading whole files: records in write order (id, data); the entries of
// one key (entry, id).
extern const char kAllRecordsSql[];
std::string AllEntriesSql(int16_t key_number);

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_KAKEIDB_FORMAT_H_
