#include "text/ansi.h"

#include <algorithm>

#include "text/ansi_char.h"

namespace h5 {

namespace {

bool IsAnsiTrailByte(uint8_t byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

}  // namespace

size_t AnsiCharLength(std::string_view ansi, size_t pos) {
  if (IsAnsiLeadByte(static_cast<uint8_t>(ansi[pos])) && pos + 1 < ansi.size() &&
      IsAnsiTrailByte(static_cast<uint8_t>(ansi[pos + 1]))) {
    return 2;
  }
  return 1;
}

bool IsAnsiLeadByte(uint8_t byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::string LowerAsciiAnsi(std::string_view ansi) {
  std::string out(ansi);
  for (size_t pos = 0; pos < out.size(); pos += AnsiCharLength(out, pos)) {
    char& c = out[pos];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string_view CutAnsiBytes(std::string_view ansi, size_t n) {
  size_t end = 0;
  while (end < ansi.size()) {
    const size_t length = AnsiCharLength(ansi, end);
    if (length > n - end) break;
    end += length;
  }
  return ansi.substr(0, end);
}

std::string LeftAnsiBytes(std::string_view text, int32_t n) {
  if (n <= 0) return std::string();
  const std::string ansi = ToAnsi(text);
  return FromAnsi(CutAnsiBytes(ansi, static_cast<size_t>(n)));
}

int16_t AnsiByteLength(std::string_view text) {
  const size_t length = ToAnsi(text).size();
  return static_cast<int16_t>(std::min<size_t>(length, 32767));
}

void StrToFixedBytes(std::span<uint8_t> buffer, std::string_view text, int32_t size) {
  std::fill(buffer.begin(), buffer.end(), uint8_t{0});
  const size_t limit = size <= 0 ? 0 : std::min(static_cast<size_t>(size), buffer.size());
  const std::string ansi = ToAnsi(text);
  const size_t copied = std::min(ansi.size(), limit);
  std::copy_n(ansi.begin(), copied, buffer.begin());
  std::fill(buffer.begin() + copied, buffer.begin() + limit, uint8_t{' '});
}

}  // namespace h5
