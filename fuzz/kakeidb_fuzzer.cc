// A data file's bytes read through every operation of the record manager.
//
// Input: a chunk (length byte, bytes) of key material, then the file. The
// file is opened with the book's owner name, read by Get First and Get Next
// on keys 0..8 (and two keys no file has), searched with Get Equal and Get
// Greater or Equal for the key material and for the key just read, and
// closed. Data and key buffers are exactly as long as the call says, so any
// write past them is caught.
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/record_manager.h"
#include "platform/root/path_map.h"
#include "platform/root/root_environment.h"

namespace h5 {
namespace {

constexpr int kMaxNextReads = 24;
constexpr int32_t kFullRecord = 65535;

const std::set<int16_t> kReadStatuses = {0, 2, 4, 6, 8, 9, 22, 85};
const std::set<int16_t> kOpenStatuses = {0, 2, 12, 46, 51, 85};

class Session {
 public:
  Session(KakeiDb& db, const std::string& material) : db_(db), material_(material) {}

  // Opens C:\d\f.dat; the status.
  int16_t Open() {
    std::vector<uint8_t> key(kKeyBufferSize, ' ');
    const char path[] = "C:\\d\\f.dat";
    std::memcpy(key.data(), path, sizeof(path) - 1);
    std::vector<uint8_t> owner = {'t', 'e', 'f', 'u', 0};
    int32_t length = static_cast<int32_t>(owner.size());
    return db_.BTRV(kBtrOpen, block_, owner.data(), &length, key.data(), 0, 0);
  }

  int16_t Close() {
    int32_t length = 0;
    std::vector<uint8_t> key(kKeyBufferSize, 0);
    return db_.BTRV(kBtrClose, block_, nullptr, &length, key.data(), 0, 0);
  }

  // One read into buffers of exactly capacity and 254 bytes; key_in starts
  // the key buffer. The key value read back is left in *key_out.
  int16_t Read(int16_t operation, int16_t key_number, int32_t capacity, const std::string& key_in,
               std::string* key_out) {
    std::vector<uint8_t> data(static_cast<size_t>(capacity));
    std::vector<uint8_t> key(kKeyBufferSize, 0);
    std::memcpy(key.data(), key_in.data(), std::min(key_in.size(), key.size()));
    int32_t length = capacity;
    int16_t status = db_.BTRV(operation, block_, data.data(), &length, key.data(), 0, key_number);
    fuzz::Check(kReadStatuses.count(status) == 1, "read gave an undocumented status");
    if (status == kBtrOk || status == kBtrDataBufferTooShort) {
      fuzz::Check(length >= 0 && length <= capacity, "data length beyond the buffer");
      if (status == kBtrDataBufferTooShort) fuzz::Check(length == capacity, "22 with room left");
      if (key_out != nullptr) key_out->assign(key.begin(), key.end());
    }
    if (status == kBtrOk) {
      fuzz::Check(record_length_ == kFullRecord || length == record_length_,
                  "records of one file differ in length");
      record_length_ = length;
    }
    return status;
  }

  // A data length for the next read: mostly the record length seen last
  // (the largest possible before any), sometimes a short one taken from the
  // key material.
  int32_t Capacity(int step) const {
    if (material_.empty() || step % 3 != 0) return record_length_;
    return static_cast<uint8_t>(material_[static_cast<size_t>(step) % material_.size()]);
  }

  void ReadKey(int16_t key_number) {
    int step = 0;
    std::string first_key;
    int16_t status = Read(kBtrGetFirst, key_number, Capacity(step++), "", &first_key);
    for (int i = 0; i < kMaxNextReads && (status == kBtrOk || status == kBtrDataBufferTooShort);
         ++i) {
      status = Read(kBtrGetNext, key_number, Capacity(step++), "", nullptr);
    }
    if (status == kBtrEndOfFile) {
      fuzz::Check(Read(kBtrGetNext, key_number, kFullRecord, "", nullptr) == kBtrEndOfFile,
                  "Get Next past the end did not stay at the end");
    }
    const std::string searches[] = {material_, first_key};
    for (const std::string& search : searches) {
      for (int16_t operation : {kBtrGetEqual, kBtrGetGreaterOrEqual}) {
        status = Read(operation, key_number, Capacity(step++), search, nullptr);
        for (int i = 0; i < 3 && status == kBtrOk; ++i) {
          status = Read(kBtrGetNext, key_number, Capacity(step++), "", nullptr);
        }
      }
    }
  }

 private:
  KakeiDb& db_;
  const std::string& material_;
  uint8_t block_[kPositionBlockSize] = {};
  int32_t record_length_ = kFullRecord;
};

}  // namespace
}  // namespace h5

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace h5;
  static const std::filesystem::path root = fuzz::ScratchDir() / "kakeidb";
  fuzz::InputReader input(data, size);
  const std::string material = input.Chunk();
  fuzz::WriteFile(root / "drive_c" / "d" / "f.dat", input.Rest());

  RootEnvironment environment(root);
  std::unique_ptr<KakeiDb> db = OpenKakeiDb(WindowsPathResolver(root), environment);
  Session session(*db, material);
  // Get Next before any read has no position.
  int16_t status = session.Open();
  fuzz::Check(kOpenStatuses.count(status) == 1, "open gave an undocumented status");
  if (status != kBtrOk) {
    fuzz::Check(db->open_files() == 0, "a failed open left a file open");
    fuzz::Check(session.Close() == kBtrFileNotOpen, "a failed open left the block open");
    return 0;
  }
  fuzz::Check(session.Read(kBtrGetNext, 0, kFullRecord, "", nullptr) == 8,
              "Get Next without a position");
  for (int16_t key_number : {0, 1, 2, 3, 4, 5, 6, 7, 8, -1, 119}) session.ReadKey(key_number);
  fuzz::Check(session.Close() == kBtrOk, "close of an open file failed");
  fuzz::Check(db->open_files() == 0, "a closed file still counts as open");
  return 0;
}
