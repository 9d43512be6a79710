// The physical format of a data file: one SQLite database with a fixed set of
// tables, described in docs/kakeidb.md. Shared by the engine, the writer and
// the dump reader.
#ifndef H5KAKEI_PLATFORM_KAKEIDB_FORMAT_H_
#define H5KAKEI_PLATFORM_KAKEIDB_FORMAT_H_

#include <sqlite3.h>

#include <cstdint>
#include <string>

#include "platform/kakeidb/declaration_cache.h"
#include "platform/kakeidb/file_definition.h"

namespace h5 {

// PRAGMA application_id of every data file: "KKDB".
constexpr int32_t kApplicationId = 0x4B4B4442;
constexpr char kFormatName[] = "kakeidb";
constexpr int64_t kFormatVersion = 2;

// Makes db, an empty database, a data file declaring definition (which must be
// valid). Returns the SQLite result; *error says what failed.
int CreateDataFileSchema(sqlite3* db, const FileDefinition& definition, std::string* error);

// Checks that db is a data file of this format and reads what it declares.
// Status 0; 2 when it is not a data file of this format (a file of an older
// version says how to rewrite it) or declares nonsense; otherwise the status
// of the SQLite failure (StatusFromSqlite). *error says why. With a cache, a
// file unchanged since its declaration was read into it is not read again.
int16_t LoadFileDefinition(sqlite3* db, FileDefinition* definition, std::string* error,
                           DeclarationCache* cache = nullptr);

// The records of one key from (?1 sortable key value, ?2 id) on, in key
// order, come from two scans run one after the other: those under value ?1
// from id ?2 on, then those of every greater value. (A single scan on the row
// value (key, id) would test it again on every row.) Columns of both: id,
// data, the key's sortable value.
std::string SameValueScanSql(int16_t key_number);
std::string GreaterValueScanSql(int16_t key_number);

// A record with its sortable key values: ?1 id, ?2 data, then one per key in
// the definition's order.
std::string InsertRecordSql(const FileDefinition& definition);
// Whether a sortable value ?1 of a key is taken (a row when it is).
std::string FindValueSql(int16_t key_number);
// Every record in write order; columns as InsertRecordSql binds them.
std::string AllRecordsSql(const FileDefinition& definition);

// Checks of a row's values, taken with sqlite3_column_value: connections
// here have no mutex (SQLITE_OPEN_NOMUTEX), so a column's value can be read
// where it stands, with one call per column instead of one per question.
//
// The id, when it is an integer below the largest one (so that the next id
// can be named).
bool IdInValue(sqlite3_value* value, int64_t* id);
// The record, when the value is a BLOB of the record length.
const uint8_t* RecordInValue(sqlite3_value* value, int32_t record_length);
// True when the value is a BLOB holding exactly the length bytes at sort.
bool ValueHoldsKey(sqlite3_value* value, const uint8_t* sort, size_t length);

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_KAKEIDB_FORMAT_H_
