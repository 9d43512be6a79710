// ReadDataFile: a whole data file, every record checked against its keys.
#include <system_error>

#include "platform/kakeidb/data_file_writer.h"
#include "platform/kakeidb/format.h"
#include "platform/kakeidb/key_codec.h"
#include "platform/kakeidb/sqlite_util.h"
#include "platform/record_manager.h"

namespace h5 {
namespace {

std::optional<DataFileContents> ReadAll(sqlite3* db, std::string* error) {
  DataFileContents contents;
  if (LoadFileDefinition(db, &contents.definition, error) != kBtrOk) return std::nullopt;
  const FileDefinition& definition = contents.definition;
  int rc;
  SqliteStatement statement = Prepare(db, AllRecordsSql(definition), &rc);
  sqlite3_stmt* s = statement.get();
  std::vector<uint8_t> sort;
  while (s != nullptr && (rc = sqlite3_step(s)) == SQLITE_ROW) {
    int64_t number = 0;
    const bool id_ok = IdInValue(sqlite3_column_value(s, 0), &number);
    const std::string id = std::to_string(number);
    const uint8_t* record = RecordInValue(sqlite3_column_value(s, 1), definition.record_length);
    if (!id_ok || record == nullptr) {
      *error = "record " + id + " is not a record of " + std::to_string(definition.record_length) +
               " bytes under a valid id";
      return std::nullopt;
    }
    for (size_t k = 0; k < definition.keys.size(); ++k) {
      sort.resize(static_cast<size_t>(KeyLength(definition.keys[k])));
      EncodeRecordSortKey(record, definition.keys[k], sort.data());
      if (!ValueHoldsKey(sqlite3_column_value(s, static_cast<int>(k) + 2), sort.data(),
                         sort.size())) {
        *error = "record " + id + " stands under a wrong value of key " +
                 std::to_string(definition.keys[k].number);
        return std::nullopt;
      }
    }
    contents.records.emplace_back(record, record + definition.record_length);
  }
  if (rc != SQLITE_DONE) {
    *error = SqliteMessage(db, rc);
    return std::nullopt;
  }
  return contents;
}

}  // namespace

std::optional<DataFileContents> ReadDataFile(const std::filesystem::path& path,
                                             std::string* error) {
  std::error_code ec;
  std::string why;
  if (!std::filesystem::is_regular_file(path, ec)) {
    why = "no data file";
  } else {
    SqliteDb db;
    int rc = OpenReadOnly(path, &db);
    if (rc == SQLITE_OK) {
      std::optional<DataFileContents> contents = ReadAll(db.get(), &why);
      if (contents) return contents;
    } else {
      why = SqliteMessage(db.get(), rc);
    }
  }
  if (error != nullptr) *error = path.string() + ": " + why;
  return std::nullopt;
}

}  // namespace h5
