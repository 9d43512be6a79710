#include "platform/kakeidb/data_file_writer.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/kakeidb/format.h"
#include "platform/kakeidb/key_codec.h"
#include "platform/kakeidb/sqlite_util.h"
#include "platform/os/file_io.h"

namespace h5 {
namespace {

bool Fail(std::string* error, std::string message) {
  if (error != nullptr) *error = std::move(message);
  return false;
}

std::string ErrnoText(const std::string& what, const std::filesystem::path& path) {
  return what + " " + path.string() + ": " + std::strerror(errno);
}

class SqliteDataFileWriter : public DataFileWriter {
 public:
  SqliteDataFileWriter(std::filesystem::path path, std::filesystem::path temp_path,
                       FileDefinition definition)
      : path_(std::move(path)),
        temp_path_(std::move(temp_path)),
        definition_(std::move(definition)) {}

  ~SqliteDataFileWriter() override {
    if (!committed_) Discard();
  }

  bool Start(std::string* error) {
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(SqliteFileName(temp_path_).c_str(), &raw,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    db_.reset(raw);
    if (rc != SQLITE_OK)
      return Fail(error, "cannot create " + temp_path_.string() + ": " + SqliteMessage(raw, rc));
    // The file only becomes visible by the rename, so the journal need not
    // survive a crash; it only has to undo a failed statement.
    rc = sqlite3_exec(raw, "PRAGMA journal_mode = MEMORY; PRAGMA synchronous = OFF; BEGIN", nullptr,
                      nullptr, nullptr);
    if (rc == SQLITE_OK) rc = CreateDataFileSchema(raw, definition_, error);
    if (rc == SQLITE_OK) insert_record_ = Prepare(raw, InsertRecordSql(definition_), &rc);
    keys_.resize(definition_.keys.size());
    for (size_t k = 0; rc == SQLITE_OK && k < definition_.keys.size(); ++k) {
      if (!definition_.keys[k].duplicates) {
        keys_[k].find = Prepare(raw, FindValueSql(definition_.keys[k].number), &rc);
      }
    }
    if (rc != SQLITE_OK) {
      broken_ = true;
      return Fail(error, "cannot create " + temp_path_.string() + ": " + SqliteMessage(raw, rc));
    }
    return true;
  }

  bool Append(std::span<const uint8_t> record, std::string* error) override {
    if (broken_ || committed_) return Fail(error, "the writer is finished");
    if (record.size() != static_cast<size_t>(definition_.record_length)) {
      return Fail(error, "record of " + std::to_string(record.size()) + " bytes, the file holds " +
                             std::to_string(definition_.record_length));
    }
    sqlite3_stmt* insert = insert_record_.get();
    sqlite3_reset(insert);
    for (size_t k = 0; k < definition_.keys.size(); ++k) {
      const KeyDefinition& key = definition_.keys[k];
      std::vector<uint8_t>& sort = keys_[k].sort;
      sort.resize(static_cast<size_t>(KeyLength(key)));
      EncodeRecordSortKey(record.data(), key, sort.data());
      if (sqlite3_stmt* find = keys_[k].find.get()) {
        sqlite3_reset(find);
        sqlite3_bind_blob(find, 1, sort.data(), static_cast<int>(sort.size()), SQLITE_STATIC);
        int rc = sqlite3_step(find);
        sqlite3_reset(find);
        if (rc == SQLITE_ROW) {
          return Fail(error, "duplicate value of key " + std::to_string(key.number) +
                                 ", which allows no duplicates");
        }
        if (rc != SQLITE_DONE) return Broken(rc, error);
      }
      sqlite3_bind_blob(insert, static_cast<int>(k) + 3, sort.data(), static_cast<int>(sort.size()),
                        SQLITE_STATIC);
    }
    sqlite3_bind_int64(insert, 1, next_id_);
    sqlite3_bind_blob(insert, 2, record.data(), static_cast<int>(record.size()), SQLITE_STATIC);
    int rc = sqlite3_step(insert);
    sqlite3_reset(insert);
    if (rc != SQLITE_DONE) return Broken(rc, error);
    ++next_id_;
    return true;
  }

  bool Commit(std::string* error) override {
    if (broken_ || committed_) return Fail(error, "the writer is finished");
    insert_record_.reset();
    keys_.clear();
    int rc = sqlite3_exec(db_.get(), "COMMIT", nullptr, nullptr, nullptr);
    // Records were inserted in write order; rebuilt, the pages of each key
    // follow one another in that key's order.
    if (rc == SQLITE_OK) rc = sqlite3_exec(db_.get(), "VACUUM", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return Broken(rc, error);
    rc = sqlite3_close(db_.release());
    if (rc != SQLITE_OK) {
      broken_ = true;
      return Fail(error, "cannot close " + temp_path_.string() + ": " + sqlite3_errstr(rc));
    }
    if (!FlushToDisk(temp_path_)) {
      broken_ = true;
      return Fail(error, ErrnoText("cannot flush", temp_path_));
    }
    std::error_code ec;
    std::filesystem::rename(temp_path_, path_, ec);
    if (ec) {
      broken_ = true;
      return Fail(error, "cannot replace " + path_.string() + ": " + ec.message());
    }
    committed_ = true;
    FlushToDisk(path_.parent_path().empty() ? "." : path_.parent_path());
    return true;
  }

 private:
  bool Broken(int rc, std::string* error) {
    broken_ = true;
    return Fail(error, "cannot write " + temp_path_.string() + ": " + SqliteMessage(db_.get(), rc));
  }

  void Discard() {
    insert_record_.reset();
    keys_.clear();
    db_.reset();
    std::error_code ec;
    std::filesystem::remove(temp_path_, ec);
  }

  const std::filesystem::path path_;
  const std::filesystem::path temp_path_;
  const FileDefinition definition_;
  SqliteDb db_;
  // Per key: the search for a taken value (keys without duplicates only) and
  // the sortable value of the record being appended.
  struct KeyWriter {
    SqliteStatement find;
    std::vector<uint8_t> sort;
  };

  SqliteStatement insert_record_;
  std::vector<KeyWriter> keys_;  // by position in definition_.keys
  int64_t next_id_ = 1;          // ids count the records in write order
  bool broken_ = false;
  bool committed_ = false;
};

}  // namespace

std::unique_ptr<DataFileWriter> DataFileWriter::Create(const std::filesystem::path& path,
                                                       const FileDefinition& definition,
                                                       std::string* error) {
  if (!ValidateFileDefinition(definition, error)) return nullptr;
  if (path.filename().empty()) {
    Fail(error, "no file name in " + path.string());
    return nullptr;
  }
  // The temporary file sits next to the target, so the rename stays on one
  // file system and replaces the target in one step.
  std::filesystem::path directory = path.parent_path().empty() ? "." : path.parent_path();
  std::optional<std::filesystem::path> temp =
      CreateUniqueFile(directory, "." + path.filename().string() + ".");
  if (!temp) {
    Fail(error, ErrnoText("cannot create a file in", directory));
    return nullptr;
  }
  auto writer = std::make_unique<SqliteDataFileWriter>(path, *temp, definition);
  if (!writer->Start(error)) return nullptr;
  return writer;
}

bool WriteDataFile(const std::filesystem::path& path, const DataFileContents& contents,
                   std::string* error) {
  std::unique_ptr<DataFileWriter> writer = DataFileWriter::Create(path, contents.definition, error);
  bool ok = writer != nullptr;
  for (size_t i = 0; ok && i < contents.records.size(); ++i) {
    ok = writer->Append(contents.records[i], error);
  }
  return ok && writer->Commit(error);
}

}  // namespace h5
