// Records, data files, raw SQL, a caller's buffers, an engine on a real root.
#ifndef H5KAKEI_TESTS_PLATFORM_KAKEIDB_KAKEIDB_TEST_H_
#define H5KAKEI_TESTS_PLATFORM_KAKEIDB_KAKEIDB_TEST_H_

#include <sqlite3.h>

#include <cstring>
#include <map>

#include <gtest/gtest.h>

#include "platform/fake/fake_environment.h"
#include "platform/kakeidb/data_file_writer.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/record_manager.h"
#include "platform/root/path_map.h"
#include "scratch.h"

namespace h5::testing {

using Record = std::vector<uint8_t>;

inline void PutLe(Record& record, size_t offset, int64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) record[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}
inline int64_t GetLe32(const uint8_t* b) {
  return static_cast<int32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24);
}
inline KeyDefinition Key(int16_t number, std::vector<KeySegment> segments, bool duplicates = true) {
  return KeyDefinition{number, std::move(segments), duplicates};
}

// The cash book: 79-byte records, key 0 = the signed 4-byte date at 7.
inline FileDefinition CashBookDefinition(std::string owner = "ABCD") {
  return FileDefinition{79, std::move(owner), {Key(0, {{7, 4, SegmentType::kSigned}})}};
}
inline Record CashRecord(int32_t date, int32_t amount, uint8_t mark = 0) {
  Record record(79, 0);
  PutLe(record, 7, date, 4);
  PutLe(record, 33, amount, 4);
  record[78] = mark;
  return record;
}

inline void WriteFile(const std::filesystem::path& path, const FileDefinition& definition,
                      const std::vector<Record>& records) {
  std::filesystem::create_directories(path.parent_path());
  std::string error;
  ASSERT_TRUE(WriteDataFile(path, {definition, records}, &error)) << error;
}

// SQL through a writable connection of its own, as a foreign program would.
inline void RunSql(const std::filesystem::path& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.string().c_str(), &db), SQLITE_OK);
  char* message = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK)
      << (message ? message : "") << " in " << sql;
  sqlite3_free(message);
  sqlite3_close(db);
}

// One file's buffers, as the callers keep them.
struct Block {
  uint8_t position[kPositionBlockSize] = {};
  uint8_t key[kKeyBufferSize] = {};
  std::vector<uint8_t> data = std::vector<uint8_t>(1024, 0);
  int32_t length = 0;

  void SetKey32(int32_t value) {
    for (size_t i = 0; i < sizeof(key); ++i) key[i] = i < 4 ? uint8_t(value >> (8 * i)) : 0;
  }
  Record Delivered() const { return Record(data.begin(), data.begin() + std::max(length, 0)); }
  int64_t Date() const { return GetLe32(data.data() + 7); }
};

inline int16_t Open(RecordManager& manager, Block& block, const std::string& windows_path,
                    const std::string& owner = "ABCD", int16_t mode = 0) {
  uint8_t path[kKeyBufferSize];
  std::memset(path, ' ', sizeof(path));
  std::memcpy(path, windows_path.data(), std::min(windows_path.size(), sizeof(path)));
  uint8_t owner_buffer[16] = {};  // the name and its zero byte
  const size_t owner_bytes = std::min<size_t>(owner.size(), sizeof(owner_buffer) - 1);
  std::memcpy(owner_buffer, owner.data(), owner_bytes);
  int32_t length = static_cast<int32_t>(owner_bytes + 1);
  return manager.BTRV(kBtrOpen, block.position, owner_buffer, &length, path, 0, mode);
}
inline int16_t Close(RecordManager& manager, Block& block) {
  uint8_t path[kKeyBufferSize] = {};
  return manager.BTRV(kBtrClose, block.position, block.data.data(), &block.length, path, 0, 0);
}
// A read into the block's buffers with room for capacity bytes.
inline int16_t Read(RecordManager& manager, Block& block, int16_t operation, int16_t key_number,
                    int32_t capacity = 79) {
  block.length = capacity;
  return manager.BTRV(operation, block.position, block.data.data(), &block.length, block.key, 0,
                      key_number);
}

// An engine on a temporary root. Every file it watches must leave the test
// unchanged, and no journal may be left behind.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override { StartEngine(); }
  void TearDown() override {
    engine_.reset();
    for (const auto& [path, bytes] : watched_) EXPECT_EQ(ReadBytes(path), bytes) << path;
    for (const auto& [name, kind] : TakeSnapshot(root_.path())) {
      EXPECT_FALSE(name.ends_with("-journal") || name.ends_with("-wal") || name.ends_with("-shm"));
    }
  }
  void StartEngine() { engine_ = OpenKakeiDb(WindowsPathResolver(root_.path()), env_); }

  std::filesystem::path DiskPath(const std::string& name) const {
    return root_.path() / "drive_c" / "HdmData5" / "kakeibo" / "kakeibo1" / name;
  }
  static std::string WindowsPath(const std::string& name) {
    return "C:\\HdmData5\\kakeibo\\kakeibo1\\" + name;
  }
  void Write(const std::string& name, const FileDefinition& definition,
             const std::vector<Record>& records) {
    WriteFile(DiskPath(name), definition, records);
    Watch(name);
  }
  void Watch(const std::string& name) { watched_[DiskPath(name)] = ReadBytes(DiskPath(name)); }
  int16_t OpenFile(Block& block, const std::string& name, const std::string& owner = "ABCD") {
    return Open(*engine_, block, WindowsPath(name), owner);
  }

  ScratchDir root_;
  FakeEnvironment env_;
  std::unique_ptr<KakeiDb> engine_;
  std::map<std::filesystem::path, std::string> watched_;
};

}  // namespace h5::testing

#endif  // H5KAKEI_TESTS_PLATFORM_KAKEIDB_KAKEIDB_TEST_H_
