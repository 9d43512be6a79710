// Helpers for the kakeidb tests: a temporary environment root, data files
// written through DataFileWriter, raw SQL on a file, and a caller of BTRV
// holding the buffers a file block holds.
#ifndef H5KAKEI_TESTS_PLATFORM_KAKEIDB_TEST_UTIL_H_
#define H5KAKEI_TESTS_PLATFORM_KAKEIDB_TEST_UTIL_H_

#include <sqlite3.h>
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/kakeidb/data_file_writer.h"
#include "platform/kakeidb/file_definition.h"
#include "platform/record_manager.h"
#include "scratch.h"

namespace h5::testing {

using Record = std::vector<uint8_t>;

inline void PutLe(Record& record, size_t offset, int64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) record[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

inline int64_t GetLe32(const uint8_t* bytes) {
  return static_cast<int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                              static_cast<uint32_t>(bytes[3]) << 24);
}

inline KeyDefinition Key(int16_t number, std::vector<KeySegment> segments, bool duplicates = true) {
  return KeyDefinition{number, std::move(segments), duplicates};
}

// The cash book as the account book keeps it: 79-byte records, key 0 = the
// 4-byte signed entry date at offset 7.
inline FileDefinition CashBookDefinition(std::string owner = "ABCD") {
  return FileDefinition{79, std::move(owner), {Key(0, {{7, 4, SegmentType::kSigned}})}};
}

// A cash-book record: entry kind 1, the date, the amount; byte 78 marks it.
inline Record CashRecord(int32_t date, int32_t amount, uint8_t mark = 0) {
  Record record(79, 0);
  record[0] = 1;
  PutLe(record, 7, date, 4);
  PutLe(record, 33, amount, 4);
  record[78] = mark;
  return record;
}

inline void WriteFile(const std::filesystem::path& path, const FileDefinition& definition,
                      const std::vector<Record>& records) {
  std::filesystem::create_directories(path.parent_path());
  std::string error;
  auto writer = DataFileWriter::Create(path, definition, &error);
  ASSERT_TRUE(writer) << error;
  for (const Record& record : records) ASSERT_TRUE(writer->Append(record, &error)) << error;
  ASSERT_TRUE(writer->Commit(&error)) << error;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// FNV-1a over the file's bytes: enough to see any change.
inline uint64_t FileHash(const std::filesystem::path& path) {
  uint64_t hash = 1469598103934665603ull;
  for (char c : ReadBytes(path)) {
    hash = (hash ^ static_cast<uint8_t>(c)) * 1099511628211ull;
  }
  return hash;
}

// Runs SQL on a file with a writable connection of its own, as a foreign
// program would.
inline void RunSql(const std::filesystem::path& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* message = nullptr;
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
  EXPECT_EQ(rc, SQLITE_OK) << (message ? message : "") << " in " << sql;
  sqlite3_free(message);
  sqlite3_close(db);
}

// One file's buffers, laid out as the callers keep them.
struct Block {
  uint8_t position[kPositionBlockSize] = {};
  uint8_t key[kKeyBufferSize] = {};
  std::vector<uint8_t> data = std::vector<uint8_t>(1024, 0);
  int32_t length = 0;

  void SetKey(std::initializer_list<uint8_t> bytes) {
    std::memset(key, 0, sizeof(key));
    std::copy(bytes.begin(), bytes.end(), key);
  }
  void SetKey32(int32_t value) {
    std::memset(key, 0, sizeof(key));
    for (int i = 0; i < 4; ++i) key[i] = static_cast<uint8_t>(value >> (8 * i));
  }
  Record Delivered() const { return Record(data.begin(), data.begin() + std::max(length, 0)); }
};

// The entry date of the cash-book record a block holds.
inline int64_t CashDate(const Block& block) { return GetLe32(block.data.data() + 7); }

inline int16_t Open(RecordManager& manager, Block& block, const std::string& windows_path,
                    const std::string& owner = "ABCD", int16_t mode = 0) {
  uint8_t path[kKeyBufferSize];
  std::memset(path, ' ', sizeof(path));
  std::memcpy(path, windows_path.data(), std::min(windows_path.size(), sizeof(path)));
  // The owner name and its zero byte: "ABCD" gives data length 5.
  uint8_t owner_buffer[16] = {};
  const size_t owner_bytes = std::min<size_t>(owner.size(), sizeof(owner_buffer) - 1);
  std::memcpy(owner_buffer, owner.data(), owner_bytes);
  int32_t length = static_cast<int32_t>(owner_bytes + 1);
  return manager.BTRV(kBtrOpen, block.position, owner_buffer, &length, path, 0, mode);
}

inline int16_t Close(RecordManager& manager, Block& block) {
  uint8_t path[kKeyBufferSize];
  std::memset(path, ' ', sizeof(path));
  return manager.BTRV(kBtrClose, block.position, block.data.data(), &block.length, path, 0, 0);
}

// A read into the block's buffers with room for capacity bytes.
inline int16_t Read(RecordManager& manager, Block& block, int16_t operation, int16_t key_number,
                    int32_t capacity = 79) {
  block.length = capacity;
  return manager.BTRV(operation, block.position, block.data.data(), &block.length, block.key, 0,
                      key_number);
}

}  // namespace h5::testing

#endif  // H5KAKEI_TESTS_PLATFORM_KAKEIDB_TEST_UTIL_H_
