#include "platform/root/registry.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/root/ansi_scan.h"
#include "text/vbstring.h"

namespace h5 {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

void AppendUtf8(uint32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// UTF-16LE to UTF-8; an unpaired surrogate or an odd last byte becomes U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  auto unit = [&bytes](size_t i) {
    return static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])) |
           (static_cast<uint32_t>(static_cast<uint8_t>(bytes[i + 1])) << 8);
  };
  size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    uint32_t code = unit(i);
    if (code >= 0xD800 && code <= 0xDBFF && i + 3 < bytes.size()) {
      uint32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00), out);
        i += 2;
        continue;
      }
    }
    AppendUtf8(code >= 0xD800 && code <= 0xDFFF ? 0xFFFD : code, out);
  }
  if (i < bytes.size()) AppendUtf8(0xFFFD, out);
  return out;
}

// Folded key path with empty components dropped: "a\\b\" and "\A\b" agree.
std::string NormalizeKey(std::string_view key) {
  std::string out;
  size_t start = 0;
  while (start <= key.size()) {
    size_t end = key.find('\\', start);
    if (end == std::string_view::npos) end = key.size();
    if (end > start) {
      if (!out.empty()) out += '\\';
      out += LowerAscii(key.substr(start, end - start));
    }
    start = end + 1;
  }
  return out;
}

// Reads a quoted string at text[pos] (which is '"') with the escapes \\ and
// \"; any other backslash stands for itself. Advances pos past the closing
// quote; false when the string is not closed.
bool ReadQuoted(std::string_view text, size_t& pos, std::string& out) {
  ++pos;
  while (pos < text.size()) {
    char c = text[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"')) {
      out += text[pos + 1];
      pos += 2;
      continue;
    }
    out += c;
    ++pos;
  }
  return false;
}

size_t SkipBlanks(std::string_view text, size_t pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  return pos;
}

// A "Name"="value" or @="value" line; false for anything else.
bool ParseStringValue(std::string_view line, std::string& name, std::string& value) {
  size_t pos = 0;
  if (line.empty()) return false;
  if (line[0] == '@') {
    pos = 1;
  } else if (line[0] != '"' || !ReadQuoted(line, pos, name)) {
    return false;
  }
  pos = SkipBlanks(line, pos);
  if (pos >= line.size() || line[pos] != '=') return false;
  pos = SkipBlanks(line, pos + 1);
  if (pos >= line.size() || line[pos] != '"' || !ReadQuoted(line, pos, value)) return false;
  return SkipBlanks(line, pos) == line.size();
}

}  // namespace

std::string RegistryFile::Slot(std::string_view key, std::string_view name) {
  return NormalizeKey(key) + '\n' + LowerAscii(name);
}

RegistryFile RegistryFile::Parse(std::string_view bytes) {
  std::string utf16_text;
  if (bytes.substr(0, kUtf16LeBom.size()) == kUtf16LeBom) {
    utf16_text = Utf16LeToUtf8(bytes.substr(kUtf16LeBom.size()));
    bytes = utf16_text;
  } else if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    bytes.remove_prefix(kUtf8Bom.size());
  }

  RegistryFile registry;
  bool header_seen = false;
  bool in_key = false;
  std::string key;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = TrimBlanks(bytes.substr(start, end - start));
    start = end + 1;
    if (line.empty()) continue;
    if (!header_seen) {
      if (line != "Windows Registry Editor Version 5.00" && line != "REGEDIT4") return {};
      header_seen = true;
      continue;
    }
    if (line[0] == ';') continue;
    if (line[0] == '[') {
      // "[-key]" deletes a key: the values that follow belong to no key.
      in_key = line.back() == ']' && line.size() > 2 && line[1] != '-';
      if (in_key) key = line.substr(1, line.size() - 2);
      continue;
    }
    std::string name, value;
    if (in_key && ParseStringValue(line, name, value)) {
      registry.values_[Slot(key, name)] = std::move(value);
    }
  }
  return registry;
}

RegistryFile RegistryFile::Read(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return {};
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return {};
  return Parse(bytes);
}

std::optional<std::string> RegistryFile::Find(std::string_view key, std::string_view name) const {
  auto it = values_.find(Slot(key, name));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

}  // namespace h5
