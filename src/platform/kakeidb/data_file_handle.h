// One open data file: its read-only connection, what it declares, and the
// position of the last read.
//
// No lock is held between calls: each SQLite read transaction lasts for one
// call only, so the household account book can write while a file is open
// here (even while a status dialog keeps it open). Get Next is served from a
// small read-ahead of the rows after the current one, fetched in one
// transaction with the key's prepared scans and refilled from the current
// record when used up; a change written meanwhile shows from the next refill
// on.
#ifndef H5KAKEI_PLATFORM_KAKEIDB_DATA_FILE_HANDLE_H_
#define H5KAKEI_PLATFORM_KAKEIDB_DATA_FILE_HANDLE_H_

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kakeidb/declaration_cache.h"
#include "platform/kakeidb/file_definition.h"
#include "platform/kakeidb/sqlite_util.h"

namespace h5 {

class DataFileHandle {
 public:
  // Opens the data file at path and checks it and the owner name given at
  // Open (the file's owner name must match unless the file has none).
  // Status 0 with *handle set, or 12 (missing), 46 (not a readable file),
  // 2 (not a data file, damaged), 51 (owner name wrong), 85 (locked). The
  // declaration comes from cache (when given) while the file is unchanged.
  static int16_t Open(const std::filesystem::path& path, std::string_view owner_name,
                      DeclarationCache* cache, std::unique_ptr<DataFileHandle>* handle);

  DataFileHandle(const DataFileHandle&) = delete;
  DataFileHandle& operator=(const DataFileHandle&) = delete;

  // Get Equal, Get Next, Get Greater or Equal or Get First. data holds
  // *data_length bytes (either may be null: no room), key 254 bytes (null
  // only when the operation needs no key value). On 0 and 22 the record, or
  // as much of it as fits, is in data, *data_length says how much, and the
  // record's key value is at the start of key.
  int16_t Read(int16_t operation, int16_t key_number, uint8_t* data, int32_t* data_length,
               uint8_t* key);

 private:
  enum class Place { kNone, kAt, kEnd };
  using SortValue = std::array<uint8_t, kMaxKeyLength>;
  // A key's two scans (SameValueScanSql, GreaterValueScanSql), prepared when
  // first used.
  struct KeyScans {
    SqliteStatement same_value;
    SqliteStatement greater_value;
  };

  DataFileHandle() = default;

  int16_t Seek(int16_t operation, int16_t key_number, uint8_t* data, int32_t* data_length,
               uint8_t* key);
  int16_t Next(uint8_t* data, int32_t* data_length, uint8_t* key);
  // Copies the current record's place out of the read-ahead.
  void KeepCurrent();
  // Replaces the read-ahead with up to max_rows rows of key from (sort, id)
  // on (from the first row when sort is null) and sets tail_status_.
  void Fill(const KeyDefinition& key, const uint8_t* sort, int64_t id, size_t max_rows);
  using ScanSqlOf = std::string (*)(int16_t key_number);
  // Prepares one of fill_key_'s scans when it is not yet and binds (sort, id)
  // (the greater-value scan takes no id): 0 with *statement set, or the
  // failure.
  int16_t Bind(SqliteStatement& scan, ScanSqlOf sql, const uint8_t* sort, int64_t id,
               sqlite3_stmt** statement);
  // Takes rows of scan into the read-ahead, rc being the result of its step
  // so far, until it holds max_rows: the status after them, 0 when the scan
  // may hold more.
  int16_t Collect(sqlite3_stmt* scan, int rc, size_t max_rows);
  // Checks the row the scan stands on and appends it to the read-ahead. Rows
  // must rise strictly in (sortable value, id) from the fill's start on:
  // whatever the file holds, records come in key order and a scan cannot run
  // in circles.
  bool AcceptRow(sqlite3_stmt* scan);
  int16_t Deliver(uint8_t* data, int32_t* data_length, uint8_t* key);

  SqliteDb db_;
  FileDefinition definition_;
  std::vector<KeyScans> scans_;  // by position in definition_.keys

  // The last read: its key and, at kAt, its record: the row before next_row_
  // while that is in the read-ahead, else current_sort_ and current_id_.
  Place place_ = Place::kNone;
  const KeyDefinition* key_ = nullptr;
  SortValue current_sort_{};
  int64_t current_id_ = 0;

  // Read-ahead: records of key_ following the current one, and their ids;
  // after them comes tail_status_ (0: not fetched yet, 9: end of file, other:
  // the failure to report there).
  std::vector<uint8_t> rows_;
  std::vector<int64_t> row_ids_;
  size_t next_row_ = 0;
  int16_t tail_status_ = 0;
  size_t batch_ = 0;

  // While filling: the key read, its length, and the least (sortable value,
  // id) the next row may have: sorts_[floor_at_] and floor_id_ (the other
  // sortable value is the row being checked).
  const KeyDefinition* fill_key_ = nullptr;
  size_t fill_key_length_ = 0;
  bool has_floor_ = false;
  std::array<SortValue, 2> sorts_{};
  int floor_at_ = 0;
  int64_t floor_id_ = 0;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_KAKEIDB_DATA_FILE_HANDLE_H_
