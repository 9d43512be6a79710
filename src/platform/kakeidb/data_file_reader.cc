// ReadDataFile: a whole data file, checked from end to end.
#include <algorithm>
#include <system_error>

#include "platform/kakeidb/data_file_writer.h"
#include "platform/kakeidb/format.h"
#include "platform/kakeidb/key_codec.h"
#include "platform/kakeidb/sqlite_util.h"
#include "platform/record_manager.h"

namespace h5 {
namespace {

class WholeFileReader {
 public:
  WholeFileReader(sqlite3* db, std::string* error) : db_(db), error_(error) {}

  std::optional<DataFileContents> Read() {
    DataFileContents contents;
    if (LoadFileDefinition(db_, &contents.definition, error_) != kBtrOk) return std::nullopt;
    if (!ReadRecords(&contents)) return std::nullopt;
    for (const KeyDefinition& key : contents.definition.keys) {
      if (!CheckIndex(key, contents)) return std::nullopt;
    }
    return contents;
  }

 private:
  bool Fail(std::string message) {
    if (error_ != nullptr) *error_ = std::move(message);
    return false;
  }

  bool ReadRecords(DataFileContents* contents) {
    int rc;
    SqliteStatement statement = Prepare(db_, kAllRecordsSql, &rc);
    if (!statement) return Fail(SqliteMessage(db_, rc));
    sqlite3_stmt* s = statement.get();
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
      const int64_t id = sqlite3_column_int64(s, 0);
      auto data = static_cast<const uint8_t*>(sqlite3_column_blob(s, 1));
      const int bytes = sqlite3_column_bytes(s, 1);
      if (sqlite3_column_type(s, 0) != SQLITE_INTEGER || sqlite3_column_type(s, 1) != SQLITE_BLOB ||
          bytes != contents->definition.record_length || data == nullptr) {
        return Fail("record " + std::to_string(id) + " is not a record of " +
                    std::to_string(contents->definition.record_length) + " bytes");
      }
      ids_.push_back(id);
      contents->records.emplace_back(data, data + bytes);
    }
    if (rc != SQLITE_DONE) return Fail(SqliteMessage(db_, rc));
    return true;
  }

  // Every record must appear once in every key, under its own entry.
  bool CheckIndex(const KeyDefinition& key, const DataFileContents& contents) {
    const std::string name = "key " + std::to_string(key.number);
    int rc;
    SqliteStatement statement = Prepare(db_, AllEntriesSql(key.number), &rc);
    if (!statement) return Fail(SqliteMessage(db_, rc));
    sqlite3_stmt* s = statement.get();
    std::vector<bool> seen(ids_.size(), false);
    size_t entries = 0;
    const auto key_length = static_cast<size_t>(KeyLength(key));
    std::vector<uint8_t> value(key_length);
    std::vector<uint8_t> entry(key_length + kEntryIdLength);
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
      const int64_t id = sqlite3_column_int64(s, 1);
      auto at = std::lower_bound(ids_.begin(), ids_.end(), id);
      if (sqlite3_column_type(s, 1) != SQLITE_INTEGER || at == ids_.end() || *at != id) {
        return Fail(name + " names record " + std::to_string(id) + ", which does not exist");
      }
      const auto index = static_cast<size_t>(at - ids_.begin());
      if (seen[index]) return Fail(name + " names record " + std::to_string(id) + " twice");
      seen[index] = true;
      ++entries;
      ExtractKeyValue(contents.records[index].data(), key, value.data());
      EncodeSortKey(value.data(), key, entry.data());
      EncodeEntryId(id, entry.data() + key_length);
      auto stored = static_cast<const uint8_t*>(sqlite3_column_blob(s, 0));
      if (sqlite3_column_type(s, 0) != SQLITE_BLOB ||
          static_cast<size_t>(sqlite3_column_bytes(s, 0)) != entry.size() || stored == nullptr ||
          !std::equal(entry.begin(), entry.end(), stored)) {
        return Fail(name + " holds a wrong entry for record " + std::to_string(id));
      }
    }
    if (rc != SQLITE_DONE) return Fail(SqliteMessage(db_, rc));
    if (entries != ids_.size()) return Fail(name + " misses records");
    return true;
  }

  sqlite3* db_;
  std::string* error_;
  std::vector<int64_t> ids_;
};

}  // namespace

std::optional<DataFileContents> ReadDataFile(const std::filesystem::path& path,
                                             std::string* error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    if (error != nullptr) *error = "no data file at " + path.string();
    return std::nullopt;
  }
  SqliteDb db;
  int rc = OpenReadOnly(path, &db);
  if (rc != SQLITE_OK) {
    if (error != nullptr) *error = SqliteMessage(db.get(), rc);
    return std::nullopt;
  }
  std::string why;
  std::optional<DataFileContents> contents = WholeFileReader(db.get(), &why).Read();
  if (!contents && error != nullptr) *error = path.string() + ": " + why;
  return contents;
}

}  // namespace h5
