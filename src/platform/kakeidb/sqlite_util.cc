#include "platform/kakeidb/sqlite_util.h"

#include "platform/kakeidb/file_definition.h"
#include "platform/record_manager.h"

namespace h5 {

int OpenReadOnly(const std::filesystem::path& path, SqliteDb* db) {
  sqlite3* raw = nullptr;
  // No SQLITE_OPEN_URI and an absolute path: the name is never read as a URI.
  const std::string name = SqliteFileName(std::filesystem::absolute(path));
  int rc = sqlite3_open_v2(name.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  db->reset(raw);
  if (rc != SQLITE_OK) return rc;
  sqlite3_extended_result_codes(raw, 1);
  sqlite3_busy_timeout(raw, kBusyTimeoutMs);
  // A file may come from anywhere: functions in its schema are not trusted,
  // and no value can make us load more than a record's worth of bytes.
  sqlite3_db_config(raw, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
  sqlite3_db_config(raw, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
  sqlite3_limit(raw, SQLITE_LIMIT_LENGTH, kMaxRecordLength + 1024);
  return sqlite3_exec(raw, "PRAGMA cell_size_check = ON", nullptr, nullptr, nullptr);
}

std::string SqliteFileName(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

SqliteStatement Prepare(sqlite3* db, std::string_view sql, int* rc) {
  sqlite3_stmt* statement = nullptr;
  *rc = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                           &statement, nullptr);
  if (*rc != SQLITE_OK) {
    sqlite3_finalize(statement);
    return nullptr;
  }
  return SqliteStatement(statement);
}

int16_t StatusFromSqlite(int rc) {
  switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return kBtrFileLocked;
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
      return kBtrAccessDenied;
    default:
      return kBtrIoError;
  }
}

std::string SqliteMessage(sqlite3* db, int rc) {
  if (db != nullptr && sqlite3_errcode(db) != SQLITE_OK) return sqlite3_errmsg(db);
  return sqlite3_errstr(rc);
}

}  // namespace h5
