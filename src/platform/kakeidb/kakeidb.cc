#include "platform/kakeidb/kakeidb.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/kakeidb/btrieve_options.h"
#include "platform/kakeidb/data_file_handle.h"
#include "platform/kakeidb/position_block.h"

namespace h5 {
namespace {

// Generations are unique in the process, so a block from one engine never
// names a file of another.
std::atomic<uint64_t> next_generation{1};

// The path an Open names: the key buffer up to its first blank or zero byte.
std::string_view PathInKeyBuffer(const void* key_buffer) {
  auto bytes = static_cast<const char*>(key_buffer);
  size_t length = 0;
  while (length < static_cast<size_t>(kKeyBufferSize) && bytes[length] != ' ' &&
         bytes[length] != '\0') {
    ++length;
  }
  return std::string_view(bytes, length);
}

bool IsReadOnlyOpenMode(int16_t mode) { return mode <= 0 && mode >= -3; }

}  // namespace

KakeiDb::KakeiDb(PathResolver resolve, int open_file_limit)
    : resolve_(std::move(resolve)), open_file_limit_(open_file_limit) {}

KakeiDb::~KakeiDb() = default;

int KakeiDb::open_files() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_files_;
}

int16_t KakeiDb::BTRV(int16_t operation, void* position_block, void* data_buffer,
                      int32_t* data_length, void* key_buffer, int16_t /*key_length*/,
                      int16_t key_number) {
  std::lock_guard<std::mutex> lock(mutex_);
  switch (operation) {
    case kBtrOpen:
      return Open(position_block, data_buffer, data_length, key_buffer, key_number);
    case kBtrClose:
      return Close(position_block);
    case kBtrGetEqual:
    case kBtrGetNext:
    case kBtrGetGreaterOrEqual:
    case kBtrGetFirst: {
      DataFileHandle* file = Find(position_block);
      if (file == nullptr) return kBtrFileNotOpen;
      return file->Read(operation, key_number, static_cast<uint8_t*>(data_buffer), data_length,
                        static_cast<uint8_t*>(key_buffer));
    }
    default:
      return kBtrInvalidOperation;
  }
}

int16_t KakeiDb::Open(void* position_block, const void* data_buffer, const int32_t* data_length,
                      const void* key_buffer, int16_t mode) {
  if (position_block == nullptr) return kBtrFileNotOpen;
  // The block is about to name another file; the one it names now would
  // otherwise stay open with no way to reach it.
  if (Find(position_block) != nullptr) Close(position_block);
  ClearPositionBlock(position_block);

  if (!IsReadOnlyOpenMode(mode)) return kBtrInvalidOperation;
  if (key_buffer == nullptr) return kBtrInvalidFileName;
  std::string_view windows_path = PathInKeyBuffer(key_buffer);
  if (windows_path.empty()) return kBtrInvalidFileName;
  std::optional<std::filesystem::path> path =
      resolve_ ? resolve_(windows_path) : std::filesystem::path(windows_path);
  if (!path) return kBtrInvalidFileName;

  std::string_view owner;
  if (data_buffer != nullptr && data_length != nullptr && *data_length > 0) {
    owner =
        std::string_view(static_cast<const char*>(data_buffer), static_cast<size_t>(*data_length));
  }
  std::unique_ptr<DataFileHandle> file;
  int16_t status = DataFileHandle::Open(*path, owner, &declarations_, &file);
  if (status != kBtrOk) return status;
  if (open_files_ >= open_file_limit_) return kBtrTooManyFiles;

  size_t slot = 0;
  while (slot < slots_.size() && slots_[slot].file != nullptr) ++slot;
  if (slot == slots_.size()) slots_.emplace_back();
  slots_[slot].generation = next_generation.fetch_add(1);
  slots_[slot].file = std::move(file);
  ++open_files_;
  WritePositionBlock(position_block,
                     PositionBlockHandle{static_cast<uint32_t>(slot), slots_[slot].generation});
  return kBtrOk;
}

int16_t KakeiDb::Close(void* position_block) {
  if (Find(position_block) == nullptr) return kBtrFileNotOpen;
  Slot& slot = slots_[ReadPositionBlock(position_block)->slot];
  slot.file.reset();
  slot.generation = 0;
  --open_files_;
  ClearPositionBlock(position_block);
  return kBtrOk;
}

DataFileHandle* KakeiDb::Find(const void* position_block) {
  if (position_block == nullptr) return nullptr;
  std::optional<PositionBlockHandle> handle = ReadPositionBlock(position_block);
  if (!handle || handle->slot >= slots_.size()) return nullptr;
  const Slot& slot = slots_[handle->slot];
  if (slot.file == nullptr || slot.generation != handle->generation) return nullptr;
  return slot.file.get();
}

std::unique_ptr<KakeiDb> OpenKakeiDb(PathResolver resolve, Environment& environment) {
  std::string options = environment.WinIniString("Btrieve", "OPTIONS", "", 256);
  return std::make_unique<KakeiDb>(std::move(resolve), OpenFileLimitFromOptions(options));
}

}  // namespace h5
