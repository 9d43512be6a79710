#include "text/fields.h"

namespace h5 {

namespace {

bool Fits(size_t buffer_size, size_t offset, size_t width) {
  return offset <= buffer_size && width <= buffer_size - offset;
}

uint32_t GetLittleEndian(std::span<const uint8_t> buffer, size_t offset, size_t width) {
  if (!Fits(buffer.size(), offset, width)) return 0;
  uint32_t value = 0;
  for (size_t i = 0; i < width; ++i) value |= uint32_t{buffer[offset + i]} << (8 * i);
  return value;
}

void PutLittleEndian(std::span<uint8_t> buffer, size_t offset, size_t width, uint32_t value) {
  if (!Fits(buffer.size(), offset, width)) return;
  for (size_t i = 0; i < width; ++i) buffer[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

int16_t GetInt16At(std::span<const uint8_t> buffer, size_t offset) {
  return static_cast<int16_t>(GetLittleEndian(buffer, offset, 2));
}

int32_t GetInt32At(std::span<const uint8_t> buffer, size_t offset) {
  return static_cast<int32_t>(GetLittleEndian(buffer, offset, 4));
}

uint8_t GetByteAt(std::span<const uint8_t> buffer, size_t offset) {
  return static_cast<uint8_t>(GetLittleEndian(buffer, offset, 1));
}

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
