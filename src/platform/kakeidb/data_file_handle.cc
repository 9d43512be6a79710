#include "platform/kakeidb/data_file_handle.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

#include "platform/kakeidb/format.h"
#include "platform/kakeidb/key_codec.h"
#include "platform/record_manager.h"

namespace h5 {
namespace {

// Read-ahead sizes: a positioning read fetches a few rows (Get Equal is often
// followed by a handful of Get Next), each refill twice as many, up to a cap
// in rows and in bytes.
constexpr size_t kFirstBatch = 8;
constexpr size_t kMaxBatch = 4096;
constexpr size_t kMaxBatchBytes = 512 * 1024;

constexpr int64_t kLeastId = std::numeric_limits<int64_t>::min();

// The owner name given at Open: the data buffer up to its first zero byte,
// never more than the buffer or than an owner name can hold.
std::string_view OwnerNameGiven(std::string_view buffer) {
  buffer = buffer.substr(0, std::min(buffer.size(), kMaxOwnerNameLength));
  return buffer.substr(0, buffer.find('\0'));
}

}  // namespace

int16_t DataFileHandle::Open(const std::filesystem::path& path, std::string_view owner_name,
                             DeclarationCache* cache, std::unique_ptr<DataFileHandle>* handle) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found ||
      ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory) {
    return kBtrFileNotFound;
  }
  // A directory or a device is no data file; opening a FIFO would even block.
  if (ec || status.type() != std::filesystem::file_type::regular) return kBtrAccessDenied;

  std::unique_ptr<DataFileHandle> file(new DataFileHandle());
  int rc = OpenReadOnly(path, &file->db_);
  if (rc != SQLITE_OK) return StatusFromSqlite(rc);
  std::string error;
  int16_t loaded = LoadFileDefinition(file->db_.get(), &file->definition_, &error, cache);
  if (loaded != kBtrOk) return loaded;
  if (!file->definition_.owner_name.empty() &&
      OwnerNameGiven(owner_name) != file->definition_.owner_name) {
    return kBtrOwnerNameWrong;
  }
  // Reads walk a key in order and see each page once: a small page cache
  // keeps reusing buffers that are warm in the processor's caches. Set only
  // now, as the pragma needs the schema, which the declaration's read loaded
  // (earlier it would cost a read transaction of its own).
  sqlite3_exec(file->db_.get(), "PRAGMA cache_size = -256", nullptr, nullptr, nullptr);
  file->scans_.resize(file->definition_.keys.size());
  *handle = std::move(file);
  return kBtrOk;
}

int16_t DataFileHandle::Read(int16_t operation, int16_t key_number, uint8_t* data,
                             int32_t* data_length, uint8_t* key) {
  if (operation == kBtrGetNext) return Next(data, data_length, key);
  return Seek(operation, key_number, data, data_length, key);
}

int16_t DataFileHandle::Seek(int16_t operation, int16_t key_number, uint8_t* data,
                             int32_t* data_length, uint8_t* key) {
  const KeyDefinition* definition = FindKey(definition_, key_number);
  if (definition == nullptr) return kBtrInvalidKeyNumber;
  SortValue search{};
  if (operation != kBtrGetFirst) {
    if (key == nullptr) return kBtrInvalidOperation;
    EncodeSortKey(key, *definition, search.data());
  }
  batch_ = kFirstBatch;
  KeepCurrent();
  Fill(*definition, operation == kBtrGetFirst ? nullptr : search.data(), kLeastId, batch_);
  if (rows_.empty() && tail_status_ != kBtrEndOfFile) return tail_status_;  // position kept
  key_ = definition;
  bool found = !rows_.empty();
  if (found && operation == kBtrGetEqual) {
    SortValue first{};
    EncodeRecordSortKey(rows_.data(), *definition, first.data());
    found = std::memcmp(first.data(), search.data(), fill_key_length_) == 0;
  }
  if (found) return Deliver(data, data_length, key);
  rows_.clear();
  row_ids_.clear();
  tail_status_ = kBtrOk;
  place_ = operation == kBtrGetEqual ? Place::kNone : Place::kEnd;
  return operation == kBtrGetEqual ? kBtrKeyNotFound : kBtrEndOfFile;
}

int16_t DataFileHandle::Next(uint8_t* data, int32_t* data_length, uint8_t* key) {
  if (place_ == Place::kNone) return kBtrInvalidPositioning;
  if (place_ == Place::kEnd) return kBtrEndOfFile;
  if (next_row_ == row_ids_.size() && tail_status_ == kBtrOk) {
    batch_ = std::min(batch_ * 2, kMaxBatch);
    KeepCurrent();
    Fill(*key_, current_sort_.data(), current_id_ + 1, batch_);
  }
  if (next_row_ < row_ids_.size()) return Deliver(data, data_length, key);
  const int16_t status = tail_status_;
  tail_status_ = kBtrOk;  // a failure is met again by the next try, from the same place
  if (status == kBtrEndOfFile) place_ = Place::kEnd;
  return status;
}

void DataFileHandle::KeepCurrent() {
  if (next_row_ == 0) return;
  const uint8_t* record = rows_.data() + (next_row_ - 1) * definition_.record_length;
  EncodeRecordSortKey(record, *key_, current_sort_.data());
  current_id_ = row_ids_[next_row_ - 1];
}

void DataFileHandle::Fill(const KeyDefinition& key, const uint8_t* sort, int64_t id,
                          size_t max_rows) {
  rows_.clear();
  row_ids_.clear();
  next_row_ = 0;
  fill_key_ = &key;
  fill_key_length_ = static_cast<size_t>(KeyLength(key));
  has_floor_ = sort != nullptr;
  if (has_floor_) std::memcpy(sorts_[floor_at_].data(), sort, fill_key_length_);
  floor_id_ = id;
  max_rows = std::clamp<size_t>(kMaxBatchBytes / definition_.record_length, 1, max_rows);
  KeyScans& scans = scans_[static_cast<size_t>(&key - definition_.keys.data())];
  sqlite3_stmt* same_value = nullptr;
  sqlite3_stmt* greater_value = nullptr;
  tail_status_ = Bind(scans.same_value, SameValueScanSql, sort, id, &same_value);
  if (tail_status_ == kBtrOk) {
    tail_status_ = Bind(scans.greater_value, GreaterValueScanSql, sort, id, &greater_value);
  }
  if (tail_status_ == kBtrOk) {
    // Starting the greater-value scan while the equal-value one stands on a
    // row keeps the read transaction open past the latter's end: both scans
    // read one state of the file.
    const int same_first = sqlite3_step(same_value);
    const bool both = same_first == SQLITE_ROW;
    const int greater_first = both ? sqlite3_step(greater_value) : SQLITE_OK;
    tail_status_ = Collect(same_value, same_first, max_rows);
    if (tail_status_ == kBtrEndOfFile) {
      tail_status_ =
          Collect(greater_value, both ? greater_first : sqlite3_step(greater_value), max_rows);
    }
  }
  // Ends the read transaction: no lock outlives the call.
  if (same_value != nullptr) sqlite3_reset(same_value);
  if (greater_value != nullptr) sqlite3_reset(greater_value);
}

int16_t DataFileHandle::Bind(SqliteStatement& scan, ScanSqlOf sql, const uint8_t* sort, int64_t id,
                             sqlite3_stmt** statement) {
  int rc = SQLITE_OK;
  if (!scan) scan = Prepare(db_.get(), sql(fill_key_->number), &rc);
  if (!scan) return StatusFromSqlite(rc);
  *statement = scan.get();
  if (sort != nullptr) {
    sqlite3_bind_blob(*statement, 1, sort, static_cast<int>(fill_key_length_), SQLITE_TRANSIENT);
  } else {
    // Below every value: a value that is no BLOB still comes, and is refused.
    sqlite3_bind_double(*statement, 1, -HUGE_VAL);
  }
  if (sqlite3_bind_parameter_count(*statement) == 2) sqlite3_bind_int64(*statement, 2, id);
  return kBtrOk;
}

int16_t DataFileHandle::Collect(sqlite3_stmt* scan, int rc, size_t max_rows) {
  for (;;) {
    if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? int16_t{kBtrEndOfFile} : StatusFromSqlite(rc);
    if (!AcceptRow(scan)) return kBtrIoError;
    if (row_ids_.size() >= max_rows) return kBtrOk;
    rc = sqlite3_step(scan);
  }
}

bool DataFileHandle::AcceptRow(sqlite3_stmt* scan) {
  int64_t id = 0;
  const uint8_t* record = RecordInValue(sqlite3_column_value(scan, 1), definition_.record_length);
  if (record == nullptr || !IdInValue(sqlite3_column_value(scan, 0), &id)) return false;
  // The row's sortable value goes beside the floor's; the two swap roles
  // when the row is taken.
  uint8_t* sort = sorts_[1 - floor_at_].data();
  const uint8_t* floor = sorts_[floor_at_].data();
  EncodeRecordSortKey(record, *fill_key_, sort);
  if (!ValueHoldsKey(sqlite3_column_value(scan, 2), sort, fill_key_length_)) return false;
  if (has_floor_) {
    const int order = std::memcmp(sort, floor, fill_key_length_);
    if (order < 0 || (order == 0 && id < floor_id_)) return false;
  }
  has_floor_ = true;
  floor_at_ = 1 - floor_at_;
  floor_id_ = id + 1;
  rows_.insert(rows_.end(), record, record + definition_.record_length);
  row_ids_.push_back(id);
  return true;
}

int16_t DataFileHandle::Deliver(uint8_t* data, int32_t* data_length, uint8_t* key) {
  const uint8_t* record = rows_.data() + next_row_ * definition_.record_length;
  int32_t room = data != nullptr && data_length != nullptr ? std::max(*data_length, 0) : 0;
  int32_t copied = std::min(room, definition_.record_length);
  if (copied > 0) std::memcpy(data, record, static_cast<size_t>(copied));
  if (data_length != nullptr) *data_length = copied;
  if (key != nullptr) ExtractKeyValue(record, *key_, key);
  place_ = Place::kAt;
  ++next_row_;
  return copied < definition_.record_length ? kBtrDataBufferTooShort : kBtrOk;
}

}  // namespace h5
