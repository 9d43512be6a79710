// Little-endian integer fields at byte offsets of packed records. Offsets are
// 0-based. A field that would reach past the buffer reads as 0 and is not
// written, so a short record can never be read out of bounds.
#ifndef H5KAKEI_TEXT_FIELDS_H_
#define H5KAKEI_TEXT_FIELDS_H_

#include <cstddef>
#include <cstdint>
#include <span>

namespace h5 {

namespace fields_internal {

inline uint32_t GetLittleEndian(std::span<const uint8_t> buffer, size_t offset, size_t width) {
  if (offset > buffer.size() || width > buffer.size() - offset) return 0;
  uint32_t value = 0;
  for (size_t i = 0; i < width; ++i) value |= uint32_t{buffer[offset + i]} << (8 * i);
  return value;
}

}  // namespace fields_internal

// Inline: the diagnosis unpacks every cash-book entry field by field.
inline int16_t GetInt16At(std::span<const uint8_t> buffer, size_t offset) {
  return static_cast<int16_t>(fields_internal::GetLittleEndian(buffer, offset, 2));
}
inline int32_t GetInt32At(std::span<const uint8_t> buffer, size_t offset) {
  return static_cast<int32_t>(fields_internal::GetLittleEndian(buffer, offset, 4));
}
inline uint8_t GetByteAt(std::span<const uint8_t> buffer, size_t offset) {
  return static_cast<uint8_t>(fields_internal::GetLittleEndian(buffer, offset, 1));
}
void PutInt16At(std::span<uint8_t> buffer, size_t offset, int16_t value);
void PutInt32At(std::span<uint8_t> buffer, size_t offset, int32_t value);
void PutByteAt(std::span<uint8_t> buffer, size_t offset, uint8_t value);

}  // namespace h5

#endif  // H5KAKEI_TEXT_FIELDS_H_
