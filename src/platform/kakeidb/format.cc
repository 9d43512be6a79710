#include "platform/kakeidb/format.h"

#include <cstring>
#include <limits>
#include <optional>
#include <string_view>

#include "platform/kakeidb/sqlite_util.h"
#include "platform/record_manager.h"

namespace h5 {

namespace {

std::string KeyColumn(int16_t key_number) { return "key_" + std::to_string(key_number); }

// The key the records are clustered along: the one with the lowest number.
const KeyDefinition* ClusterKey(const FileDefinition& definition) {
  const KeyDefinition* first = nullptr;
  for (const KeyDefinition& key : definition.keys) {
    if (first == nullptr || key.number < first->number) first = &key;
  }
  return first;
}

std::string RecordColumns(const FileDefinition& definition) {
  std::string columns = "id, data";
  for (const KeyDefinition& key : definition.keys) columns += ", " + KeyColumn(key.number);
  return columns;
}

}  // namespace

std::string SameValueScanSql(int16_t key_number) {
  const std::string key = KeyColumn(key_number);
  return "SELECT id, data, " + key + " FROM kakeidb_records WHERE " + key +
         " = ?1 AND id >= ?2 ORDER BY id";
}

std::string GreaterValueScanSql(int16_t key_number) {
  const std::string key = KeyColumn(key_number);
  return "SELECT id, data, " + key + " FROM kakeidb_records WHERE " + key + " > ?1 ORDER BY " +
         key + ", id";
}

std::string InsertRecordSql(const FileDefinition& definition) {
  std::string values = "?1, ?2";
  for (size_t k = 0; k < definition.keys.size(); ++k) values += ", ?" + std::to_string(k + 3);
  return "INSERT INTO kakeidb_records (" + RecordColumns(definition) + ") VALUES (" + values + ")";
}

std::string FindValueSql(int16_t key_number) {
  return "SELECT 1 FROM kakeidb_records WHERE " + KeyColumn(key_number) + " = ?1 LIMIT 1";
}

std::string AllRecordsSql(const FileDefinition& definition) {
  return "SELECT " + RecordColumns(definition) + " FROM kakeidb_records ORDER BY id";
}

bool IdInValue(sqlite3_value* value, int64_t* id) {
  *id = sqlite3_value_int64(value);
  return sqlite3_value_type(value) == SQLITE_INTEGER && *id != std::numeric_limits<int64_t>::max();
}

const uint8_t* RecordInValue(sqlite3_value* value, int32_t record_length) {
  if (sqlite3_value_type(value) != SQLITE_BLOB) return nullptr;
  auto record = static_cast<const uint8_t*>(sqlite3_value_blob(value));
  return sqlite3_value_bytes(value) == record_length ? record : nullptr;
}

bool ValueHoldsKey(sqlite3_value* value, const uint8_t* sort, size_t length) {
  if (sqlite3_value_type(value) != SQLITE_BLOB) return false;
  auto stored = static_cast<const uint8_t*>(sqlite3_value_blob(value));
  return static_cast<size_t>(sqlite3_value_bytes(value)) == length && stored != nullptr &&
         std::memcmp(stored, sort, length) == 0;
}

namespace {

constexpr char kSchemaSql[] =
    "CREATE TABLE kakeidb_file ("
    " format TEXT NOT NULL, version INTEGER NOT NULL,"
    " record_length INTEGER NOT NULL, owner_name BLOB NOT NULL);"
    "CREATE TABLE kakeidb_keys ("
    " key_number INTEGER PRIMARY KEY, duplicates INTEGER NOT NULL);"
    "CREATE TABLE kakeidb_segments ("
    " key_number INTEGER NOT NULL, position INTEGER NOT NULL,"
    " byte_offset INTEGER NOT NULL, byte_length INTEGER NOT NULL, type TEXT NOT NULL,"
    " PRIMARY KEY (key_number, position)) WITHOUT ROWID;";

// Records stand in the order of their first key and, within equal values, of
// their ids, so that reading along that key walks the table in order; every
// further key is an index leading to the same (value, id) order.
std::string RecordsSql(const FileDefinition& definition) {
  std::string sql = "CREATE TABLE kakeidb_records (id INTEGER NOT NULL, data BLOB NOT NULL";
  for (const KeyDefinition& key : definition.keys)
    sql += ", " + KeyColumn(key.number) + " BLOB NOT NULL";
  const KeyDefinition* cluster = ClusterKey(definition);
  sql += cluster ? ", PRIMARY KEY (" + KeyColumn(cluster->number) + ", id)" : ", PRIMARY KEY (id)";
  sql += ") WITHOUT ROWID;";
  for (const KeyDefinition& key : definition.keys) {
    if (&key == cluster) continue;
    const std::string column = KeyColumn(key.number);
    sql += "CREATE INDEX kakeidb_index_" + std::to_string(key.number) + " ON kakeidb_records (" +
           column + ", id);";
  }
  return sql;
}

// Runs statement to the end; SQLITE_OK or the failure.
int RunToEnd(sqlite3_stmt* statement) {
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
  }
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int Exec(sqlite3* db, const char* sql, std::string* error) {
  char* message = nullptr;
  int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
  if (rc != SQLITE_OK && error != nullptr) *error = message ? message : sqlite3_errstr(rc);
  sqlite3_free(message);
  return rc;
}

// Reads a checked declaration: every failure says what, gives a status.
class DefinitionLoader {
 public:
  DefinitionLoader(sqlite3* db, std::string* error, DeclarationCache* cache)
      : db_(db), error_(error), cache_(cache) {}

  int16_t Load(FileDefinition* definition) {
    // One read transaction: the declaration and the size are seen as one.
    int rc = sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return Failed(rc);
    int16_t status = CheckHeader();
    std::optional<FileState> state;
    if (status == kBtrOk && cache_ != nullptr) state = CurrentState();
    const std::string path = state ? sqlite3_db_filename(db_, "main") : "";
    const FileDefinition* known = state ? cache_->Find(path, *state) : nullptr;
    if (known != nullptr) {
      *definition = *known;
    } else {
      if (status == kBtrOk) status = CheckTables();
      if (status == kBtrOk) status = LoadFileRow(definition);
      if (status == kBtrOk) status = LoadKeys(definition);
      if (status == kBtrOk) status = LoadSegments(definition);
      if (status == kBtrOk && !ValidateFileDefinition(*definition, error_)) status = kBtrIoError;
      if (status == kBtrOk && state) cache_->Store(path, *state, *definition);
    }
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    return status;
  }

 private:
  int16_t Damaged(const std::string& why) {
    if (error_ != nullptr) *error_ = why;
    return kBtrIoError;
  }
  int16_t Failed(int rc) {
    if (error_ != nullptr) *error_ = SqliteMessage(db_, rc);
    return StatusFromSqlite(rc);
  }
  SqliteStatement PrepareOrFail(const char* sql, int16_t* status) {
    int rc;
    SqliteStatement statement = Prepare(db_, sql, &rc);
    if (!statement) *status = Failed(rc);
    return statement;
  }

  sqlite3_file* File() {
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
        file == nullptr || file->pMethods == nullptr) {
      return nullptr;
    }
    return file;
  }

  // The application id, and the size: SQLite reads the missing end of a cut
  // file as zeros, so the pages the header counts must all be there. (No
  // writer can change the size while our read transaction holds its lock.)
  // The header is read as SQLite reads it; a PRAGMA asking for the page count
  // would parse the whole schema first.
  int16_t CheckHeader() {
    int16_t status = kBtrOk;
    // Also starts the read transaction.
    SqliteStatement statement = PrepareOrFail("PRAGMA application_id", &status);
    if (!statement) return status;
    int rc = sqlite3_step(statement.get());
    if (rc != SQLITE_ROW) return Failed(rc);
    if (sqlite3_column_int64(statement.get(), 0) != kApplicationId) {
      return Damaged("not a kakeidb data file (application id)");
    }
    sqlite3_file* file = File();
    if (file == nullptr) return Damaged("cannot reach the file");
    sqlite3_int64 size = 0;
    rc = file->pMethods->xRead(file, header_.data(), static_cast<int>(header_.size()), 0);
    if (rc == SQLITE_OK) rc = file->pMethods->xFileSize(file, &size);
    if (rc != SQLITE_OK) return Failed(rc);
    const int64_t size_field = BigEndian(16, 2);
    const int64_t page_size = size_field == 1 ? 65536 : size_field;
    // The page count holds when the change counter matches the one it was
    // written with; otherwise SQLite goes by the file's size.
    const bool count_valid = std::memcmp(&header_[24], &header_[92], 4) == 0;
    const int64_t page_count = count_valid ? BigEndian(28, 4) : 0;
    if (size < page_count * page_size) {
      return Damaged("file of " + std::to_string(size) + " bytes, its header counts " +
                     std::to_string(page_count) + " pages of " + std::to_string(page_size));
    }
    return kBtrOk;
  }

  int64_t BigEndian(size_t offset, size_t bytes) const {
    int64_t value = 0;
    for (size_t i = 0; i < bytes; ++i) value = value << 8 | header_[offset + i];
    return value;
  }

  // The file's state, as CheckHeader found it. Only in rollback-journal mode:
  // in WAL mode writes land beside the file.
  std::optional<FileState> CurrentState() {
    if (header_[18] != 1 || header_[19] != 1) return std::nullopt;
    const char* name = sqlite3_db_filename(db_, "main");
    std::optional<FileStamp> stamp =
        name != nullptr && *name != '\0' ? SettledStamp(name) : std::nullopt;
    if (!stamp) return std::nullopt;
    return FileState{*stamp, header_};
  }

  // A virtual table would run code of its module on every read.
  int16_t CheckTables() {
    int16_t status = kBtrOk;
    SqliteStatement statement = PrepareOrFail(
        "SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND substr(sql, 1, 12) ="
        " 'CREATE TABLE' AND name IN ('kakeidb_file', 'kakeidb_keys', 'kakeidb_segments',"
        " 'kakeidb_records')",
        &status);
    if (!statement) return status;
    int rc = sqlite3_step(statement.get());
    if (rc != SQLITE_ROW) return Failed(rc);
    if (sqlite3_column_int64(statement.get(), 0) != 4) {
      return Damaged("a table of the format is missing or not a plain table");
    }
    return kBtrOk;
  }

  int16_t LoadFileRow(FileDefinition* definition) {
    int16_t status = kBtrOk;
    SqliteStatement statement = PrepareOrFail(
        "SELECT format, version, record_length, owner_name FROM kakeidb_file LIMIT 2", &status);
    if (!statement) return status;
    sqlite3_stmt* s = statement.get();
    int rc = sqlite3_step(s);
    if (rc == SQLITE_DONE) return Damaged("kakeidb_file holds no row");
    if (rc != SQLITE_ROW) return Failed(rc);
    if (sqlite3_column_type(s, 0) != SQLITE_TEXT ||
        std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)),
                         static_cast<size_t>(sqlite3_column_bytes(s, 0))) != kFormatName) {
      return Damaged("format marker is not \"kakeidb\"");
    }
    if (sqlite3_column_type(s, 1) == SQLITE_INTEGER && sqlite3_column_int64(s, 1) == 1) {
      return Damaged(
          "a data file of format version 1, which is no longer read:"
          " rewrite the book with `h5kakei book build`");
    }
    if (sqlite3_column_type(s, 1) != SQLITE_INTEGER ||
        sqlite3_column_int64(s, 1) != kFormatVersion) {
      return Damaged("unknown format version");
    }
    if (sqlite3_column_type(s, 2) != SQLITE_INTEGER) return Damaged("record length not a number");
    int64_t record_length = sqlite3_column_int64(s, 2);
    if (record_length < 1 || record_length > kMaxRecordLength) {
      return Damaged("record length " + std::to_string(record_length) + " out of range");
    }
    definition->record_length = static_cast<int32_t>(record_length);
    if (sqlite3_column_type(s, 3) != SQLITE_BLOB) return Damaged("owner name not a blob");
    auto owner = static_cast<const char*>(sqlite3_column_blob(s, 3));
    int owner_bytes = sqlite3_column_bytes(s, 3);
    definition->owner_name.assign(owner ? owner : "", owner ? static_cast<size_t>(owner_bytes) : 0);
    rc = sqlite3_step(s);
    if (rc == SQLITE_ROW) return Damaged("kakeidb_file holds more than one row");
    if (rc != SQLITE_DONE) return Failed(rc);
    return kBtrOk;
  }

  int16_t LoadKeys(FileDefinition* definition) {
    int16_t status = kBtrOk;
    SqliteStatement statement = PrepareOrFail(
        "SELECT key_number, duplicates FROM kakeidb_keys ORDER BY key_number", &status);
    if (!statement) return status;
    sqlite3_stmt* s = statement.get();
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
      if (sqlite3_column_type(s, 0) != SQLITE_INTEGER ||
          sqlite3_column_type(s, 1) != SQLITE_INTEGER) {
        return Damaged("key row not numeric");
      }
      int64_t number = sqlite3_column_int64(s, 0);
      if (number < 0 || number > kMaxKeyNumber) {
        return Damaged("key number " + std::to_string(number) + " out of range");
      }
      KeyDefinition key;
      key.number = static_cast<int16_t>(number);
      key.duplicates = sqlite3_column_int64(s, 1) != 0;
      definition->keys.push_back(std::move(key));
    }
    if (rc != SQLITE_DONE) return Failed(rc);
    return kBtrOk;
  }

  int16_t LoadSegments(FileDefinition* definition) {
    int16_t status = kBtrOk;
    SqliteStatement statement = PrepareOrFail(
        "SELECT key_number, position, byte_offset, byte_length, type FROM kakeidb_segments"
        " ORDER BY key_number, position",
        &status);
    if (!statement) return status;
    sqlite3_stmt* s = statement.get();
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
      for (int column = 0; column < 4; ++column) {
        if (sqlite3_column_type(s, column) != SQLITE_INTEGER) {
          return Damaged("segment row not numeric");
        }
      }
      int64_t number = sqlite3_column_int64(s, 0);
      KeyDefinition* key = nullptr;
      for (KeyDefinition& candidate : definition->keys) {
        if (candidate.number == number) key = &candidate;
      }
      if (key == nullptr) return Damaged("segment of undeclared key " + std::to_string(number));
      // Positions run 0, 1, 2...; this also bounds the rows read per key.
      if (sqlite3_column_int64(s, 1) != static_cast<int64_t>(key->segments.size()) ||
          key->segments.size() >= static_cast<size_t>(kMaxKeyLength)) {
        return Damaged("segments of key " + std::to_string(number) + " out of sequence");
      }
      int64_t offset = sqlite3_column_int64(s, 2);
      int64_t length = sqlite3_column_int64(s, 3);
      if (offset < 0 || offset > kMaxRecordLength || length < 0 || length > kMaxRecordLength) {
        return Damaged("segment of key " + std::to_string(number) + " out of range");
      }
      KeySegment segment;
      segment.offset = static_cast<int32_t>(offset);
      segment.length = static_cast<int32_t>(length);
      const unsigned char* type = sqlite3_column_text(s, 4);
      if (sqlite3_column_type(s, 4) != SQLITE_TEXT || type == nullptr ||
          !SegmentTypeFromName(reinterpret_cast<const char*>(type), &segment.type)) {
        return Damaged("segment of key " + std::to_string(number) + " of unknown type");
      }
      key->segments.push_back(segment);
    }
    if (rc != SQLITE_DONE) return Failed(rc);
    return kBtrOk;
  }

  sqlite3* db_;
  std::string* error_;
  DeclarationCache* cache_;
  SqliteHeader header_{};  // as CheckHeader read it
};

}  // namespace

int CreateDataFileSchema(sqlite3* db, const FileDefinition& definition, std::string* error) {
  const std::string header = "PRAGMA application_id = " + std::to_string(kApplicationId) +
                             "; PRAGMA user_version = " + std::to_string(kFormatVersion) + ";";
  int rc = Exec(db, header.c_str(), error);
  if (rc == SQLITE_OK) rc = Exec(db, kSchemaSql, error);
  if (rc == SQLITE_OK) rc = Exec(db, RecordsSql(definition).c_str(), error);
  if (rc != SQLITE_OK) return rc;

  SqliteStatement file = Prepare(db, "INSERT INTO kakeidb_file VALUES (?1, ?2, ?3, ?4)", &rc);
  if (!file) {
    *error = SqliteMessage(db, rc);
    return rc;
  }
  sqlite3_bind_text(file.get(), 1, kFormatName, -1, SQLITE_STATIC);
  sqlite3_bind_int64(file.get(), 2, kFormatVersion);
  sqlite3_bind_int64(file.get(), 3, definition.record_length);
  sqlite3_bind_blob(file.get(), 4, definition.owner_name.data(),
                    static_cast<int>(definition.owner_name.size()), SQLITE_STATIC);
  rc = RunToEnd(file.get());
  SqliteStatement key_row, segment_row;
  if (rc == SQLITE_OK) key_row = Prepare(db, "INSERT INTO kakeidb_keys VALUES (?1, ?2)", &rc);
  if (rc == SQLITE_OK) {
    segment_row = Prepare(db, "INSERT INTO kakeidb_segments VALUES (?1, ?2, ?3, ?4, ?5)", &rc);
  }
  for (size_t k = 0; rc == SQLITE_OK && k < definition.keys.size(); ++k) {
    const KeyDefinition& key = definition.keys[k];
    sqlite3_reset(key_row.get());
    sqlite3_bind_int64(key_row.get(), 1, key.number);
    sqlite3_bind_int64(key_row.get(), 2, key.duplicates ? 1 : 0);
    rc = RunToEnd(key_row.get());
    for (size_t p = 0; rc == SQLITE_OK && p < key.segments.size(); ++p) {
      const KeySegment& segment = key.segments[p];
      sqlite3_reset(segment_row.get());
      sqlite3_bind_int64(segment_row.get(), 1, key.number);
      sqlite3_bind_int64(segment_row.get(), 2, static_cast<int64_t>(p));
      sqlite3_bind_int64(segment_row.get(), 3, segment.offset);
      sqlite3_bind_int64(segment_row.get(), 4, segment.length);
      sqlite3_bind_text(segment_row.get(), 5, SegmentTypeName(segment.type), -1, SQLITE_STATIC);
      rc = RunToEnd(segment_row.get());
    }
  }
  if (rc != SQLITE_OK) *error = SqliteMessage(db, rc);
  return rc;
}

int16_t LoadFileDefinition(sqlite3* db, FileDefinition* definition, std::string* error,
                           DeclarationCache* cache) {
  *definition = FileDefinition();
  return DefinitionLoader(db, error, cache).Load(definition);
}

}  // namespace h5
