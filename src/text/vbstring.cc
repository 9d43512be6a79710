#include "text/vbstring.h"

#include <algorithm>
#include <vector>

#include "text/utf8.h"

namespace h5 {

namespace {

// Byte offset at which each character of text starts, plus text.size() at the
// end. A byte of invalid UTF-8 counts as one character.
std::vector<size_t> CharStarts(std::string_view text) {
  std::vector<size_t> starts;
  for (size_t pos = 0; pos < text.size(); pos += Utf8StepLength(text, pos)) starts.push_back(pos);
  starts.push_back(text.size());
  return starts;
}

// Characters [first, first + count) of text, both in characters and already
// clamped to the text.
std::string Slice(std::string_view text, const std::vector<size_t>& starts, size_t first,
                  size_t count) {
  return std::string(text.substr(starts[first], starts[first + count] - starts[first]));
}

}  // namespace

size_t CharCount(std::string_view text) {
  size_t count = 0;
  for (size_t pos = 0; pos < text.size(); pos += Utf8StepLength(text, pos)) ++count;
  return count;
}

std::string LeftChars(std::string_view text, int64_t n) {
  if (n <= 0) return std::string();
  const std::vector<size_t> starts = CharStarts(text);
  const size_t length = starts.size() - 1;
  return Slice(text, starts, 0, std::min(static_cast<uint64_t>(n), uint64_t{length}));
}

std::string RightChars(std::string_view text, int64_t n) {
  if (n <= 0) return std::string();
  const std::vector<size_t> starts = CharStarts(text);
  const size_t length = starts.size() - 1;
  const size_t count = std::min(static_cast<uint64_t>(n), uint64_t{length});
  return Slice(text, starts, length - count, count);
}

std::string MidChars(std::string_view text, int64_t start, int64_t n) {
  const std::vector<size_t> starts = CharStarts(text);
  const size_t length = starts.size() - 1;
  if (start < 1) start = 1;
  if (static_cast<uint64_t>(start) > length) return std::string();
  const size_t first = static_cast<size_t>(start - 1);
  const size_t available = length - first;
  const size_t count = n < 0 ? available : std::min(static_cast<uint64_t>(n), uint64_t{available});
  return Slice(text, starts, first, count);
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string TrimSpaces(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::string();
  const size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

int64_t FindChars(std::string_view text, std::string_view what, int64_t start) {
  const std::vector<size_t> starts = CharStarts(text);
  const size_t length = starts.size() - 1;
  if (start < 1) start = 1;
  if (static_cast<uint64_t>(start) > uint64_t{length} + 1) return 0;
  // Matches only at character starts, so a match can never begin inside a
  // multi-byte character.
  for (size_t index = static_cast<size_t>(start - 1); index <= length; ++index) {
    if (text.substr(starts[index]).starts_with(what)) return static_cast<int64_t>(index) + 1;
  }
  return 0;
}

std::string DecimalText(int64_t value) { return std::to_string(value); }

uint32_t ProfileIntOfValue(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  uint32_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    number = number * 10u + static_cast<uint32_t>(c - '0');
  }
  return negative ? 0u - number : number;
}

}  // namespace h5
