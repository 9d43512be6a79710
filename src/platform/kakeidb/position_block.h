// What the engine keeps in a caller's 128-byte position block: a marker, the
// slot of the open file in the engine's table and the generation of that
// opening. Never a pointer: a block that is zeroed, stale (its file closed,
// the slot reused) or garbage is recognised as not open.
#ifndef H5KAKEI_PLATFORM_KAKEIDB_POSITION_BLOCK_H_
#define H5KAKEI_PLATFORM_KAKEIDB_POSITION_BLOCK_H_

#include <cstdint>
#include <optional>

namespace h5 {

struct PositionBlockHandle {
  uint32_t slot = 0;
  uint64_t generation = 0;  // never 0 for an open file
};

// Fills all 128 bytes of block.
void WritePositionBlock(void* block, const PositionBlockHandle& handle);
// Zeroes all 128 bytes of block.
void ClearPositionBlock(void* block);
// The handle a block holds, when it carries the marker and a generation.
std::optional<PositionBlockHandle> ReadPositionBlock(const void* block);

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_KAKEIDB_POSITION_BLOCK_H_
