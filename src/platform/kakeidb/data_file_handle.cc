#include "platform/kakeidb/data_file_handle.h"

#include <algorithm>
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

// The owner name given at Open: the data buffer up to its first zero byte,
// never more than the buffer or than an owner name can hold.
std::string_view OwnerNameGiven(std::string_view buffer) {
  buffer = buffer.substr(0, std::min(buffer.size(), kMaxOwnerNameLength));
  return buffer.substr(0, buffer.find('\0'));
}

}  // namespace

int16_t DataFileHandle::Open(const std::filesystem::path& path, std::string_view owner_name,
                             std::unique_ptr<DataFileHandle>* handle) {
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
  int16_t loaded = LoadFileDefinition(file->db_.get(), &file->definition_, &error);
  if (loaded != kBtrOk) return loaded;
  if (!file->definition_.owner_name.empty() &&
      OwnerNameGiven(owner_name) != file->definition_.owner_name) {
    return kBtrOwnerNameWrong;
  }
  // Preparing the scans also proves that the tables have their columns.
  file->scans_.resize(file->definition_.keys.size());
  for (size_t k = 0; k < file->definition_.keys.size(); ++k) {
    const int16_t number = file->definition_.keys[k].number;
    KeyScans& scans = file->scans_[k];
    scans.first = Prepare(file->db_.get(), ScanSql(number, ScanStart::kFirst), &rc);
    if (rc == SQLITE_OK) {
      scans.at_or_after = Prepare(file->db_.get(), ScanSql(number, ScanStart::kAtOrAfter), &rc);
    }
    if (rc == SQLITE_OK) {
      scans.after = Prepare(file->db_.get(), ScanSql(number, ScanStart::kAfter), &rc);
    }
    if (rc != SQLITE_OK) return StatusFromSqlite(rc);
  }
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
  const auto key_length = static_cast<size_t>(KeyLength(*definition));
  search_sort_.resize(key_length);
  if (operation != kBtrGetFirst) {
    if (key == nullptr) return kBtrInvalidOperation;
    EncodeSortKey(key, *definition, search_sort_.data());
  }

  batch_ = kFirstBatch;
  Fill(ScansOf(*definition), *definition,
       operation == kBtrGetFirst ? Bound::kFirst : Bound::kAtOrAfter, search_sort_,
       std::numeric_limits<int64_t>::min(), batch_);
  if (rows_.empty()) {
    const int16_t status = tail_status_;
    ClearReadAhead();
    if (status != kBtrEndOfFile) return status;  // the position stays as it was
    key_ = definition;
    if (operation == kBtrGetEqual) {
      place_ = Place::kNone;
      return kBtrKeyNotFound;
    }
    place_ = Place::kEnd;
    return kBtrEndOfFile;
  }
  if (operation == kBtrGetEqual &&
      std::memcmp(rows_.data() + definition_.record_length, search_sort_.data(), key_length) != 0) {
    ClearReadAhead();
    key_ = definition;
    place_ = Place::kNone;
    return kBtrKeyNotFound;
  }
  key_ = definition;
  return Deliver(data, data_length, key);
}

int16_t DataFileHandle::Next(uint8_t* data, int32_t* data_length, uint8_t* key) {
  if (place_ == Place::kNone) return kBtrInvalidPositioning;
  if (place_ == Place::kEnd) return kBtrEndOfFile;
  if (next_row_ == row_ids_.size() && tail_status_ == kBtrOk) {
    batch_ = std::min(batch_ * 2, kMaxBatch);
    ClearReadAhead();  // brings the current place out of the read-ahead
    Fill(ScansOf(*key_), *key_, Bound::kAfter, current_sort_, current_id_, batch_);
  }
  if (next_row_ < row_ids_.size()) return Deliver(data, data_length, key);
  const int16_t status = tail_status_;
  ClearReadAhead();  // a failure is met again by the next try, from the same place
  if (status == kBtrEndOfFile) place_ = Place::kEnd;
  return status;
}

void DataFileHandle::Fill(KeyScans& scans, const KeyDefinition& key, Bound bound,
                          const std::vector<uint8_t>& sort, int64_t id, size_t max_rows) {
  ClearReadAhead();
  fill_key_ = &key;
  fill_key_length_ = KeyLength(key);
  max_rows = std::max<size_t>(1, std::min(max_rows, kMaxBatchBytes / RowStride()));

  sqlite3_stmt* statement = scans.first.get();
  if (bound == Bound::kAtOrAfter) {
    statement = scans.at_or_after.get();
    sqlite3_bind_blob(statement, 1, sort.data(), static_cast<int>(sort.size()), SQLITE_STATIC);
  } else if (bound == Bound::kAfter) {
    statement = scans.after.get();
    bound_entry_.assign(sort.begin(), sort.end());
    bound_entry_.resize(sort.size() + kEntryIdLength);
    EncodeEntryId(id, bound_entry_.data() + sort.size());
    sqlite3_bind_blob(statement, 1, bound_entry_.data(), static_cast<int>(bound_entry_.size()),
                      SQLITE_STATIC);
  }
  tail_status_ = kBtrOk;
  for (size_t n = 0; n < max_rows; ++n) {
    int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE) {
      tail_status_ = kBtrEndOfFile;
      break;
    }
    if (rc != SQLITE_ROW) {
      tail_status_ = StatusFromSqlite(rc);
      break;
    }
    if (!AcceptRow(statement, bound, sort, id)) {
      tail_status_ = kBtrIoError;
      break;
    }
  }
  // Ends the read transaction: no lock outlives the call.
  sqlite3_reset(statement);
}

bool DataFileHandle::AcceptRow(sqlite3_stmt* statement, Bound bound,
                               const std::vector<uint8_t>& sort, int64_t id) {
  const auto key_length = static_cast<size_t>(fill_key_length_);
  const auto record_length = static_cast<size_t>(definition_.record_length);
  if (sqlite3_column_type(statement, 0) != SQLITE_INTEGER ||
      sqlite3_column_type(statement, 1) != SQLITE_BLOB) {
    return false;  // a text id, a missing record
  }
  auto record = static_cast<const uint8_t*>(sqlite3_column_blob(statement, 1));
  if (record == nullptr ||
      static_cast<size_t>(sqlite3_column_bytes(statement, 1)) != record_length) {
    return false;
  }
  const int64_t row_id = sqlite3_column_int64(statement, 0);

  const size_t stride = RowStride();
  const size_t at = rows_.size();
  rows_.resize(at + stride);
  uint8_t* row = rows_.data() + at;
  std::memcpy(row, record, record_length);
  uint8_t* row_sort = row + record_length;
  EncodeRecordSortKey(row, *fill_key_, row_sort);

  // Compare with the row before, or with the bound for the first row.
  const uint8_t* floor_sort = nullptr;
  int64_t floor_id = id;
  bool strict = true;
  if (!row_ids_.empty()) {
    floor_sort = row - stride + record_length;
    floor_id = row_ids_.back();
  } else if (bound != Bound::kFirst) {
    floor_sort = sort.data();
    strict = bound == Bound::kAfter;
  }
  if (floor_sort != nullptr) {
    int order = std::memcmp(row_sort, floor_sort, key_length);
    if (order < 0 || (order == 0 && (strict ? row_id <= floor_id : row_id < floor_id))) {
      rows_.resize(at);
      return false;
    }
  }
  row_ids_.push_back(row_id);
  return true;
}

int16_t DataFileHandle::Deliver(uint8_t* data, int32_t* data_length, uint8_t* key) {
  const uint8_t* record = rows_.data() + next_row_ * RowStride();
  int32_t room = data != nullptr && data_length != nullptr ? std::max(*data_length, 0) : 0;
  int32_t copied = std::min(room, definition_.record_length);
  if (copied > 0) std::memcpy(data, record, static_cast<size_t>(copied));
  if (data_length != nullptr) *data_length = copied;
  if (key != nullptr) ExtractKeyValue(record, *fill_key_, key);

  place_ = Place::kAt;
  ++next_row_;
  return copied < definition_.record_length ? kBtrDataBufferTooShort : kBtrOk;
}

void DataFileHandle::ClearReadAhead() {
  // The current record's place is kept in the read-ahead while it lasts.
  if (next_row_ > 0) {
    const uint8_t* sort = rows_.data() + (next_row_ - 1) * RowStride() + definition_.record_length;
    current_sort_.assign(sort, sort + fill_key_length_);
    current_id_ = row_ids_[next_row_ - 1];
  }
  rows_.clear();
  row_ids_.clear();
  next_row_ = 0;
  tail_status_ = kBtrOk;
}

}  // namespace h5
