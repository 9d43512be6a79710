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
constexpr size_t kMaxBatch = 1024;
constexpr size_t kMaxBatchBytes = 128 * 1024;

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
  std::vector<uint8_t> search(static_cast<size_t>(KeyLength(*definition)));
  if (operation != kBtrGetFirst) {
    if (key == nullptr) return kBtrInvalidOperation;
    EncodeSortKey(key, *definition, search.data());
  }
  batch_ = kFirstBatch;
  KeepCurrent();
  Fill(*definition, operation == kBtrGetFirst ? nullptr : &search, kLeastId, batch_);
  if (rows_.empty() && tail_status_ != kBtrEndOfFile) return tail_status_;  // position kept
  key_ = definition;
  bool found = !rows_.empty();
  if (found && operation == kBtrGetEqual) {
    sort_.resize(search.size());
    EncodeRecordSortKey(rows_.data(), *definition, sort_.data());
    found = sort_ == search;
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
    Fill(*key_, &current_sort_, current_id_ + 1, batch_);
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
  current_sort_.resize(static_cast<size_t>(KeyLength(*key_)));
  EncodeRecordSortKey(record, *key_, current_sort_.data());
  current_id_ = row_ids_[next_row_ - 1];
}

void DataFileHandle::Fill(const KeyDefinition& key, const std::vector<uint8_t>* sort, int64_t id,
                          size_t max_rows) {
  rows_.clear();
  row_ids_.clear();
  next_row_ = 0;
  fill_key_ = &key;
  has_floor_ = sort != nullptr;
  if (has_floor_) floor_sort_ = *sort;
  floor_id_ = id;

  SqliteStatement& scan = scans_[static_cast<size_t>(&key - definition_.keys.data())];
  int rc = SQLITE_OK;
  if (!scan) scan = Prepare(db_.get(), ScanSql(key.number), &rc);
  if (!scan) {
    tail_status_ = StatusFromSqlite(rc);
    return;
  }
  sqlite3_stmt* statement = scan.get();
  if (has_floor_) {
    sqlite3_bind_blob(statement, 1, sort->data(), static_cast<int>(sort->size()), SQLITE_TRANSIENT);
  } else {
    // Below every value: a value that is no BLOB still comes, and is refused.
    sqlite3_bind_double(statement, 1, -HUGE_VAL);
  }
  sqlite3_bind_int64(statement, 2, id);
  max_rows = std::clamp<size_t>(kMaxBatchBytes / definition_.record_length, 1, max_rows);
  tail_status_ = kBtrOk;
  while (row_ids_.size() < max_rows) {
    rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW) {
      tail_status_ = rc == SQLITE_DONE ? int16_t{kBtrEndOfFile} : StatusFromSqlite(rc);
      break;
    }
    if (!AcceptRow(statement)) {
      tail_status_ = kBtrIoError;
      break;
    }
  }
  sqlite3_reset(statement);  // ends the read transaction: no lock outlives the call
}

bool DataFileHandle::AcceptRow(sqlite3_stmt* scan) {
  int64_t id = 0;
  const uint8_t* record = RecordInColumn(scan, 1, definition_.record_length);
  if (!IdInColumn(scan, 0, &id) || record == nullptr ||
      !KeyInColumnMatches(scan, 2, record, *fill_key_, &sort_)) {
    return false;
  }
  if (has_floor_) {
    const int order = std::memcmp(sort_.data(), floor_sort_.data(), sort_.size());
    if (order < 0 || (order == 0 && id < floor_id_)) return false;
  }
  has_floor_ = true;
  floor_sort_.swap(sort_);
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
