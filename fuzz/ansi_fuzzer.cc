// The CP932 helpers: conversion both ways, cutting by bytes, fixed buffers.
//
// Input: four bytes of a byte count n (little-endian, signed), then the
// text, used both as UTF-8 and as ANSI bytes.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "shell/launch.h"
#include "text/ansi.h"
#include "text/utf8.h"

namespace {

bool IsUtf8(std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    size_t length = h5::Utf8SequenceLength(text, pos);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace h5;
  fuzz::InputReader input(data, size);
  uint32_t raw = 0;
  for (int i = 0; i < 4; ++i) raw |= static_cast<uint32_t>(input.Byte()) << (8 * i);
  const auto n = static_cast<int32_t>(raw);
  const std::string text = input.Rest();

  const std::string ansi = ToAnsi(text);
  const std::string utf8 = FromAnsi(text);
  fuzz::Check(IsUtf8(utf8), "FromAnsi gave malformed UTF-8");
  fuzz::Check(IsUtf8(FromAnsi(ansi)), "FromAnsi gave malformed UTF-8");
  fuzz::Check(ToAnsi(FromAnsi(ansi)) == ansi, "ANSI text did not survive a round trip");
  fuzz::Check(AnsiByteLength(text) == static_cast<int16_t>(std::min<size_t>(ansi.size(), 32767)),
              "AnsiByteLength differs from the ANSI form's length");

  // Cutting: a prefix, at most n bytes, at most one byte short of n.
  const size_t limit = n < 0 ? 0 : static_cast<size_t>(n);
  for (const std::string* bytes : {&text, &ansi}) {
    std::string_view cut = CutAnsiBytes(*bytes, limit);
    fuzz::Check(cut.size() <= limit && bytes->compare(0, cut.size(), cut) == 0,
                "CutAnsiBytes is no prefix within n bytes");
    fuzz::Check(cut.size() + 1 >= std::min(limit, bytes->size()),
                "CutAnsiBytes dropped more than half a character");
  }

  const std::string left = LeftAnsiBytes(text, n);
  fuzz::Check(n > 0 || left.empty(), "LeftAnsiBytes of n <= 0 is not empty");
  fuzz::Check(static_cast<size_t>(AnsiByteLength(left)) <= limit,
              "LeftAnsiBytes longer than n bytes");
  if (limit >= ansi.size()) {
    fuzz::Check(left == FromAnsi(ansi), "LeftAnsiBytes of everything lost text");
  }

  // A fixed buffer: zeroed, the ANSI bytes, blanks up to size, zeros after.
  std::vector<uint8_t> buffer(254, 0xA5);
  StrToFixedBytes(buffer, text, n);
  const size_t filled = std::min(limit, buffer.size());
  for (size_t i = 0; i < buffer.size(); ++i) {
    uint8_t expected = i >= filled ? 0 : i < ansi.size() ? static_cast<uint8_t>(ansi[i]) : ' ';
    fuzz::Check(buffer[i] == expected, "StrToFixedBytes wrote other bytes");
  }
  std::vector<uint8_t> small(static_cast<size_t>(text.size() % 7));
  StrToFixedBytes(small, text, n);

  std::string copy = text;
  const std::string before_nul = CutAtNull(copy);
  fuzz::Check(before_nul.find('\0') == std::string::npos, "CutAtNull left a NUL");
  return 0;
}
