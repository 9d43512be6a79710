#include "platform/root/ntfs_names.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/root/ansi_scan.h"
#include "platform/root/folder_listing.h"
#include "text/ansi.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;

// Undecodable bytes map here (above every code unit a valid name yields
// except the surrogates of astral characters, which NTFS also sorts high).
constexpr uint32_t kRawByteBase = 0xDC00;

uint32_t UpperCase(uint32_t c) {
  if (c >= 'a' && c <= 'z') return c - 0x20;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;     // Latin-1
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;  // Greek
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;                // Cyrillic
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;                // Cyrillic Ѐ..Џ
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;              // full-width
  return c;
}

// The upper-cased UTF-16 code units of a UTF-8 name.
std::u16string UpperUtf16(std::string_view utf8) {
  std::u16string units;
  for (size_t i = 0; i < utf8.size();) {
    auto byte = static_cast<uint8_t>(utf8[i]);
    size_t length = byte < 0x80         ? 1
                    : (byte >> 5) == 6  ? 2
                    : (byte >> 4) == 14 ? 3
                    : (byte >> 3) == 30 ? 4
                                        : 0;
    bool valid = length != 0 && i + length <= utf8.size();
    uint32_t c = length <= 1 ? byte : byte & (0x3F >> (length - 1));
    for (size_t k = 1; valid && k < length; ++k) {
      auto next = static_cast<uint8_t>(utf8[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    if (!valid) {
      units.push_back(static_cast<char16_t>(kRawByteBase + byte));
      ++i;
      continue;
    }
    i += length;
    if (c >= 0x10000) {
      c -= 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(UpperCase(c)));
    }
  }
  return units;
}

bool IsAsciiLower(char c) { return c >= 'a' && c <= 'z'; }

// Characters a short name may not hold beyond those no name may hold.
bool IsLongOnly(char c) {
  return c == ' ' || c == '+' || c == ',' || c == ';' || c == '=' || c == '[' || c == ']';
}

// The leading whole characters of ansi that fit in max_bytes, upper-cased,
// with blanks and dots dropped and long-only characters as '_'.
std::string ShortPart(std::string_view ansi, size_t max_bytes) {
  std::string part;
  for (size_t pos = 0; pos < ansi.size();) {
    size_t length = AnsiCharLength(ansi, pos);
    char c = ansi[pos];
    if (length == 1 && (c == ' ' || c == '.')) {
      ++pos;
      continue;
    }
    if (part.size() + length > max_bytes) break;
    if (length == 1) {
      part += IsLongOnly(c) ? '_' : IsAsciiLower(c) ? static_cast<char>(c - 0x20) : c;
    } else {
      part.append(ansi.substr(pos, length));
    }
    pos += length;
  }
  return part;
}

// The byte where the extension's dot stands: the last dot outside a
// double-byte character, or npos.
size_t ExtensionDot(std::string_view ansi) {
  size_t dot = std::string_view::npos;
  for (size_t pos = 0; pos < ansi.size(); pos += AnsiCharLength(ansi, pos)) {
    if (ansi[pos] == '.') dot = pos;
  }
  return dot;
}

std::string UpperAscii(std::string_view ansi) {
  std::string upper(ansi);
  for (size_t pos = 0; pos < upper.size(); pos += AnsiCharLength(upper, pos)) {
    if (IsAsciiLower(upper[pos])) upper[pos] = static_cast<char>(upper[pos] - 0x20);
  }
  return upper;
}

}  // namespace

bool NtfsNameLess(std::string_view a, std::string_view b) { return UpperUtf16(a) < UpperUtf16(b); }

void SortNtfs(std::vector<std::string>& names) {
  // Each name's key worked out once, not at every comparison.
  std::vector<std::pair<std::u16string, std::string>> keyed;
  keyed.reserve(names.size());
  for (std::string& name : names) keyed.emplace_back(UpperUtf16(name), std::move(name));
  std::sort(keyed.begin(), keyed.end());
  for (size_t i = 0; i < names.size(); ++i) names[i] = std::move(keyed[i].second);
}

bool IsShortName(std::string_view ansi) {
  if (ansi.empty() || ansi == "." || ansi == "..") return false;
  size_t dots = 0;
  for (size_t pos = 0; pos < ansi.size(); pos += AnsiCharLength(ansi, pos)) {
    if (AnsiCharLength(ansi, pos) == 1 &&
        (IsLongOnly(ansi[pos]) || static_cast<uint8_t>(ansi[pos]) < 0x20)) {
      return false;
    }
    if (ansi[pos] == '.') ++dots;
  }
  size_t dot = ExtensionDot(ansi);
  if (dots == 0) return ansi.size() <= 8;
  if (dots > 1 || dot == 0 || dot == ansi.size() - 1) return false;
  return dot <= 8 && ansi.size() - dot - 1 <= 3;
}

std::map<std::string, std::string> FolderAliases(const fs::path& dir) {
  std::optional<std::vector<std::string>> listed = FolderEntryNames(dir);
  if (!listed) return {};
  std::vector<std::string>& names = *listed;
  SortNtfs(names);

  // Aliases already taken by stored short names, upper-cased.
  std::set<std::string> taken;
  for (const std::string& name : names) {
    std::string ansi = ToAnsi(name);
    if (IsShortName(ansi)) taken.insert(UpperAscii(ansi));
  }
  std::map<std::string, std::string> aliases;
  std::map<std::string, int> counters;  // six characters + extension -> last N
  for (const std::string& name : names) {
    std::string ansi = ToAnsi(name);
    if (IsShortName(ansi)) continue;
    size_t dot = ExtensionDot(ansi);
    std::string base = ShortPart(ansi.substr(0, dot), 6);
    std::string extension =
        dot == std::string_view::npos ? std::string() : ShortPart(ansi.substr(dot + 1), 3);
    if (base.empty()) base.assign(1, '_');
    std::string suffix = extension.empty() ? "" : "." + extension;
    int& n = counters[base + suffix];
    std::string alias;
    do {
      std::string number = "~" + std::to_string(++n);
      // Longer numbers take their room from the six characters.
      alias = ShortPart(base, 8 - number.size());
      alias += number;
      alias += suffix;
    } while (taken.count(alias) != 0);
    taken.insert(alias);
    aliases[name] = alias;
  }
  return aliases;
}

}  // namespace h5
