#include "text/utf8.h"

#include <cstdint>

namespace h5 {

namespace {

bool IsContinuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

size_t Utf8SequenceLength(std::string_view text, size_t pos) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[pos + i]); };
  const size_t left = text.size() - pos;
  const uint8_t b0 = byte(0);
  if (b0 < 0x80) return 1;
  size_t length = 0;
  // Bounds of the second byte exclude overlong forms, surrogates and values
  // beyond U+10FFFF in one check.
  uint8_t low = 0x80;
  uint8_t high = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    if (b0 == 0xE0) low = 0xA0;
    if (b0 == 0xED) high = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    if (b0 == 0xF0) low = 0x90;
    if (b0 == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (left < length) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (!IsContinuation(byte(i))) return 0;
  }
  return length;
}

size_t Utf8StepLength(std::string_view text, size_t pos) {
  const size_t length = Utf8SequenceLength(text, pos);
  return length == 0 ? 1 : length;
}

}  // namespace h5
