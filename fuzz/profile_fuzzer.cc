// The private-profile reader and the WIN.INI edit over arbitrary file bytes.
//
// Input: a size byte, then chunks (length byte, bytes) for the section, the
// key, the default and a new value, then the file's bytes. Checks what the
// profile functions promise: results within size - 1 bytes and never ending
// in half a double-byte character, and an edited file that reads back the
// value written and answers every other lookup as before.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/root/ansi_scan.h"
#include "platform/root/profile.h"
#include "text/ansi.h"

namespace h5 {
namespace {

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// True when a character of ansi starts at pos (or pos is its end).
bool AtCharBoundary(std::string_view ansi, size_t pos) {
  size_t at = 0;
  while (at < pos) at += AnsiCharLength(ansi, at);
  return at == pos;
}

// The value cut to size - 1 bytes: a prefix of the whole value that ends
// where a character ends, at most one byte short of size - 1.
void CheckString(const std::optional<ProfileText>& file, std::string_view section,
                 std::string_view key, std::string_view default_value, uint32_t size) {
  std::string whole = ProfileString(file, section, key, default_value, 1u << 20);
  std::string value = ProfileString(file, section, key, default_value, size);
  if (size == 0) {
    fuzz::Check(value.empty(), "a value for size 0");
    return;
  }
  fuzz::Check(value.size() <= size - 1, "value longer than size - 1");
  fuzz::Check(whole.compare(0, value.size(), value) == 0, "a cut value is no prefix of the value");
  fuzz::Check(value.size() + 1 >= std::min<size_t>(whole.size(), size - 1),
              "a cut value lost more than half a character");
  fuzz::Check(AtCharBoundary(whole, value.size()), "value ends in half a character");
}

}  // namespace
}  // namespace h5

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace h5;
  fuzz::InputReader input(data, size);
  const uint32_t buffer_size = input.Byte();
  const std::string section = input.Chunk();
  const std::string key = input.Chunk();
  const std::string default_value = input.Chunk();
  const std::string new_value = input.Chunk();
  const std::optional<ProfileText> file = ProfileTextOf(input.Rest());

  CheckString(file, section, key, default_value, buffer_size);
  CheckString(file, section, key, default_value, 256);
  CheckString(std::nullopt, section, key, default_value, buffer_size);
  ProfileInt(file, section, key, -1);
  ProfileInt(file, key, section, 7);

  std::optional<std::string> edited =
      SetProfileValue(file->bytes, file->encoding, section, key, new_value);
  if (!edited) return 0;
  const std::string_view trimmed_section = TrimBlanks(section);
  const std::string_view trimmed_key = TrimBlanks(key);
  std::optional<std::string> read_back =
      FindProfileValue(*edited, file->encoding, trimmed_section, trimmed_key);
  fuzz::Check(read_back.has_value(), "the entry written is not found");
  fuzz::Check(*read_back == Unquoted(TrimBlanks(new_value)),
              "the value written reads back changed");
  // Other sections, and other keys of this one, answer as before.
  auto same_name = [&](std::string_view a, std::string_view b) {
    return file->encoding == ProfileEncoding::kAnsi ? EqualsIgnoringAsciiCaseAnsi(a, b)
                                                    : EqualsIgnoringAsciiCaseUtf8(a, b);
  };
  const std::string_view other = TrimBlanks(default_value);
  if (!same_name(other, trimmed_section)) {
    fuzz::Check(FindProfileValue(*edited, file->encoding, other, trimmed_key) ==
                    FindProfileValue(file->bytes, file->encoding, other, trimmed_key),
                "another section changed");
  }
  if (!same_name(other, trimmed_key)) {
    fuzz::Check(FindProfileValue(*edited, file->encoding, trimmed_section, other) ==
                    FindProfileValue(file->bytes, file->encoding, trimmed_section, other),
                "another key of the section changed");
  }
  // Writing the same value again changes nothing (blanks around a value
  // are not part of it and may pile up).
  if (TrimBlanks(new_value) == new_value) {
    std::optional<std::string> again =
        SetProfileValue(*edited, file->encoding, section, key, new_value);
    fuzz::Check(again == edited, "a second identical write changed the file");
  }
  return 0;
}
