#include "platform/kakeidb/position_block.h"

#include <cstring>

#include "platform/record_manager.h"

namespace h5 {
namespace {

constexpr char kMarker[8] = {'k', 'a', 'k', 'e', 'i', 'd', 'b', '1'};
constexpr size_t kSlotAt = sizeof(kMarker);
constexpr size_t kGenerationAt = kSlotAt + sizeof(uint32_t);
static_assert(kGenerationAt + sizeof(uint64_t) <= kPositionBlockSize);

}  // namespace

void WritePositionBlock(void* block, const PositionBlockHandle& handle) {
  auto bytes = static_cast<uint8_t*>(block);
  std::memset(bytes, 0, kPositionBlockSize);
  std::memcpy(bytes, kMarker, sizeof(kMarker));
  std::memcpy(bytes + kSlotAt, &handle.slot, sizeof(handle.slot));
  std::memcpy(bytes + kGenerationAt, &handle.generation, sizeof(handle.generation));
}

void ClearPositionBlock(void* block) { std::memset(block, 0, kPositionBlockSize); }

std::optional<PositionBlockHandle> ReadPositionBlock(const void* block) {
  auto bytes = static_cast<const uint8_t*>(block);
  if (std::memcmp(bytes, kMarker, sizeof(kMarker)) != 0) return std::nullopt;
  PositionBlockHandle handle;
  std::memcpy(&handle.slot, bytes + kSlotAt, sizeof(handle.slot));
  std::memcpy(&handle.generation, bytes + kGenerationAt, sizeof(handle.generation));
  if (handle.generation == 0) return std::nullopt;
  return handle;
}

}  // namespace h5
