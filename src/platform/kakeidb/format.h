// The physical format of a data file: one SQLite database with a fixed set of
// tables, described in docs/kakeidb.md. Shared by the engine, the writer and
// the dump reader.
#ifndef H5KAKEI_PLATFORM_KAKEIDB_FORMAT_H_
#define H5KAKEI_PLATFORM_KAKEIDB_FORMAT_H_

#include <sqlite3.h>

#include <cstdint>
#include <string>

#include "platform/kakeidb/file_spec.h"

namespace h5 {

// PRAGMA application_id of every data file: "KKDB".
constexpr int32_t kApplicationId = 0x4B4B4442;
constexpr char kFormatName[] = "kakeidb";
constexpr int64_t kFormatVersion = 1;

// Makes db, an empty database, a data file declaring spec (which must be
// valid). Returns the SQLite result; *error says what failed.
int CreateDataFileSchema(sqlite3* db, const FileSpec& spec, std::string* error);

// Checks that db is a data file of this format and reads what it declares.
// Status 0; 2 when it is not a data file of this format or declares nonsense;
// otherwise the status of the SQLite failure (StatusFromSqlite). *error says
// why.
int16_t LoadFileSpec(sqlite3* db, FileSpec* spec, std::string* error);

// The records of one key in key order, from a position on: key number ?1,
// sortable key ?2, record id ?3. Columns: id, data (NULL when the index
// names a record that does not exist).
extern const char kScanFromSql[];   // rows at or after (?2, ?3)
extern const char kScanAfterSql[];  // rows after (?2, ?3)
// Every row of key ?1, also those whose stored sort value is not even a BLOB
// (they sort first and are found damaged); no ?2, ?3.
extern const char kScanAllSql[];

// Writing: a record (?1 id, ?2 data) and an index entry (?1 key number,
// ?2 sort, ?3 id); whether a key number (?1) already holds a sort value (?2).
extern const char kInsertRecordSql[];
extern const char kInsertIndexSql[];
extern const char kFindSortSql[];

// Reading whole files: records in write order (id, data) and the index
// entries of one key number ?1 (sort, id).
extern const char kAllRecordsSql[];
extern const char kKeyIndexSql[];

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_KAKEIDB_FORMAT_H_
