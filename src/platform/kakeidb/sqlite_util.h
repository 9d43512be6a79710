// Small owners for SQLite handles and the mapping of SQLite results to
// record-manager statuses.
#ifndef H5KAKEI_PLATFORM_KAKEIDB_SQLITE_UTIL_H_
#define H5KAKEI_PLATFORM_KAKEIDB_SQLITE_UTIL_H_

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace h5 {

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using SqliteDb = std::unique_ptr<sqlite3, SqliteCloser>;

struct SqliteFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteFinalizer>;

// How long a read waits for another program's write to finish.
constexpr int kBusyTimeoutMs = 1000;

// Opens path read-only, never as a URI, for reading a file of unknown
// origin: a busy timeout, bounded value sizes and no trust in the file's
// schema. Returns the SQLite result; *db is set even on failure (for the
// message) and may be null when out of memory.
int OpenReadOnly(const std::filesystem::path& path, SqliteDb* db);

// The name SQLite opens path by: UTF-8 (the bytes as they are on Linux).
std::string SqliteFileName(const std::filesystem::path& path);

// A statement kept for many runs. Null with *rc set on failure.
SqliteStatement Prepare(sqlite3* db, std::string_view sql, int* rc);

// The record-manager status for a failed SQLite result: 85 while another
// program holds a lock, 46 when the file cannot be read, 2 otherwise.
int16_t StatusFromSqlite(int rc);

// The connection's last error message, or the generic text of rc.
std::string SqliteMessage(sqlite3* db, int rc);

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_KAKEIDB_SQLITE_UTIL_H_
