#include "text/fields.h"

namespace h5 {

namespace {

bool Fits(size_t buffer_size, size_t offset, size_t width) {
  return offset <= buffer_size && width <= buffer_size - offset;
}

void PutLittleEndian(std::span<uint8_t> buffer, size_t offset, size_t width, uint32_t value) {
  if (!Fits(buffer.size(), offset, width)) return;
  for (size_t i = 0; i < width; ++i) buffer[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

void PutInt16At(std::span<uint8_t> buffer, size_t offset, int16_t value) {
  PutLittleEndian(buffer, offset, 2, static_cast<uint16_t>(value));
}

void PutInt32At(std::span<uint8_t> buffer, size_t offset, int32_t value) {
  PutLittleEndian(buffer, offset, 4, static_cast<uint32_t>(value));
}

void PutByteAt(std::span<uint8_t> buffer, size_t offset, uint8_t value) {
  PutLittleEndian(buffer, offset, 1, value);
}

}  // namespace h5
