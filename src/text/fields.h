// Little-endian integer fields at byte offsets of packed records. Offsets are
// 0-based. A field that would reach past the buffer reads as 0 and is not
// written, so a short record can never be read out of bounds.
#ifndef H5KAKEI_TEXT_FIELDS_H_
#define H5KAKEI_TEXT_FIELDS_H_

#include <cstddef>
#include <cstdint>
#include <span>

namespace h5 {

int16_t GetInt16At(std::span<const uint8_t> buffer, size_t offset);
int32_t GetInt32At(std::span<const uint8_t> buffer, size_t offset);
uint8_t GetByteAt(std::span<const uint8_t> buffer, size_t offset);
void PutInt16At(std::span<uint8_t> buffer, size_t offset, int16_t value);
void PutInt32At(std::span<uint8_t> buffer, size_t offset, int32_t value);
void PutByteAt(std::span<uint8_t> buffer, size_t offset, uint8_t value);

}  // namespace h5

#endif  // H5KAKEI_TEXT_FIELDS_H_
