#include "platform/root/profile.h"

#include <vector>

#include "platform/os/file_io.h"
#include "platform/root/ansi_scan.h"
#include "text/ansi.h"
#include "text/vbstring.h"

namespace h5 {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

enum class LineKind { kOther, kSection, kEntry, kComment, kBlank };

struct Line {
  size_t begin = 0;  // first byte
  size_t end = 0;    // one past the content; a CR before the LF belongs to it
  size_t next = 0;   // first byte of the next line; == end on a last line without LF
  LineKind kind = LineKind::kOther;
  std::string_view name;                  // section or key, trimmed
  size_t value_begin = 0, value_end = 0;  // entry value, trimmed
};

// Bytes of the character at text[pos] in encoding. In UTF-8 every byte of a
// multi-byte character is >= 0x80, so stepping by bytes never misreads one.
size_t CharLength(std::string_view text, size_t pos, ProfileEncoding encoding) {
  return encoding == ProfileEncoding::kAnsi ? AnsiCharLength(text, pos) : 1;
}

bool SameName(std::string_view a, std::string_view b, ProfileEncoding encoding) {
  return encoding == ProfileEncoding::kAnsi ? EqualsIgnoringAsciiCaseAnsi(a, b)
                                            : EqualsIgnoringAsciiCaseUtf8(a, b);
}

size_t OffsetIn(std::string_view whole, std::string_view part) {
  return static_cast<size_t>(part.data() - whole.data());
}

void Classify(std::string_view text, ProfileEncoding encoding, Line& line) {
  std::string_view content = TrimBlanks(text.substr(line.begin, line.end - line.begin));
  if (content.empty()) {
    line.kind = LineKind::kBlank;
  } else if (content[0] == ';') {
    line.kind = LineKind::kComment;
  } else if (content[0] == '[') {
    // The name runs to the last ']'; a ']' that is a trail byte does not
    // count. Without one the rest of the line is the name.
    size_t close = std::string_view::npos;
    for (size_t pos = 1; pos < content.size(); pos += CharLength(content, pos, encoding)) {
      if (content[pos] == ']') close = pos;
    }
    line.kind = LineKind::kSection;
    line.name = TrimBlanks(content.substr(1, close == std::string_view::npos ? close : close - 1));
  } else {
    // '=' is never a trail byte.
    size_t equals = content.find('=');
    if (equals == std::string_view::npos) return;
    line.name = TrimBlanks(content.substr(0, equals));
    if (line.name.empty()) return;
    line.kind = LineKind::kEntry;
    std::string_view value = TrimBlanks(content.substr(equals + 1));
    line.value_begin = value.empty() ? OffsetIn(text, content) + equals + 1 : OffsetIn(text, value);
    line.value_end = line.value_begin + value.size();
  }
}

std::vector<Line> SplitLines(std::string_view text, ProfileEncoding encoding) {
  std::vector<Line> lines;
  size_t begin = 0;
  while (begin < text.size()) {
    Line line;
    line.begin = begin;
    size_t lf = text.find('\n', begin);  // LF is never a trail byte
    line.end = lf == std::string_view::npos ? text.size() : lf;
    line.next = lf == std::string_view::npos ? text.size() : lf + 1;
    Classify(text, encoding, line);
    lines.push_back(line);
    begin = line.next;
  }
  return lines;
}

// Index of the first section line named section, or lines.size().
size_t FindSection(const std::vector<Line>& lines, std::string_view section,
                   ProfileEncoding encoding) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == LineKind::kSection && SameName(lines[i].name, section, encoding)) return i;
  }
  return lines.size();
}

// Index of the first entry named key in the section that starts at line
// header, or lines.size().
size_t FindEntry(const std::vector<Line>& lines, size_t header, std::string_view key,
                 ProfileEncoding encoding) {
  for (size_t i = header + 1; i < lines.size() && lines[i].kind != LineKind::kSection; ++i) {
    if (lines[i].kind == LineKind::kEntry && SameName(lines[i].name, key, encoding)) return i;
  }
  return lines.size();
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The stored value in ANSI, or nullopt when the entry is missing.
std::optional<std::string> AnsiValue(const std::optional<ProfileText>& file,
                                     std::string_view section, std::string_view key) {
  if (!file) return std::nullopt;
  section = TrimBlanks(UpToNul(section));
  key = TrimBlanks(UpToNul(key));
  if (file->encoding == ProfileEncoding::kAnsi) {
    return FindProfileValue(file->bytes, file->encoding, section, key);
  }
  std::optional<std::string> value =
      FindProfileValue(file->bytes, file->encoding, FromAnsi(section), FromAnsi(key));
  if (!value) return std::nullopt;
  return ToAnsi(*value);
}

std::string_view LineEndingOf(std::string_view text) {
  size_t lf = text.find('\n');
  if (lf == std::string_view::npos || (lf > 0 && text[lf - 1] == '\r')) return "\r\n";
  return "\n";
}

bool HasLineBreak(std::string_view text) {
  return text.find('\n') != std::string_view::npos || text.find('\r') != std::string_view::npos;
}

}  // namespace

ProfileText ProfileTextOf(std::string bytes) {
  ProfileText text;
  if (std::string_view(bytes).substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    text.bom = std::string(kUtf8Bom);
    text.encoding = ProfileEncoding::kUtf8;
    bytes.erase(0, kUtf8Bom.size());
  }
  text.bytes = std::move(bytes);
  return text;
}

std::optional<ProfileText> ReadProfileFile(const std::filesystem::path& path) {
  std::string bytes;
  if (ReadFileBytes(path, &bytes) != ReadStatus::kOk) return std::nullopt;
  return ProfileTextOf(std::move(bytes));
}

std::optional<std::string> FindProfileValue(std::string_view text, ProfileEncoding encoding,
                                            std::string_view section, std::string_view key) {
  std::vector<Line> lines = SplitLines(text, encoding);
  size_t header = FindSection(lines, section, encoding);
  if (header == lines.size()) return std::nullopt;
  size_t entry = FindEntry(lines, header, key, encoding);
  if (entry == lines.size()) return std::nullopt;
  const Line& line = lines[entry];
  return std::string(Unquote(text.substr(line.value_begin, line.value_end - line.value_begin)));
}

std::string ProfileString(const std::optional<ProfileText>& file, std::string_view section,
                          std::string_view key, std::string_view default_value, uint32_t size) {
  if (size == 0) return std::string();
  std::optional<std::string> value = AnsiValue(file, section, key);
  std::string_view chosen = UpToNul(default_value);
  if (value) {
    chosen = *value;
  } else {
    while (!chosen.empty() && (chosen.back() == ' ' || chosen.back() == '\t')) {
      chosen.remove_suffix(1);
    }
  }
  return std::string(CutAnsiBytes(chosen, size - 1));
}

uint32_t ProfileInt(const std::optional<ProfileText>& file, std::string_view section,
                    std::string_view key, int32_t default_value) {
  std::optional<std::string> value = AnsiValue(file, section, key);
  if (!value || value->empty()) return static_cast<uint32_t>(default_value);
  return ProfileIntOfValue(*value);
}

namespace {

// True when text ends in a lead byte with no trail byte: written before "]"
// or a line break, the reader would pair the two into one character.
bool EndsInLoneLeadByte(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    if (IsAnsiLeadByte(static_cast<uint8_t>(text[i]))) {
      if (i + 1 == text.size()) return true;
      i += 2;
    } else {
      ++i;
    }
  }
  return false;
}

}  // namespace

std::optional<std::string> SetProfileValue(std::string_view text, ProfileEncoding encoding,
                                           std::string_view section, std::string_view key,
                                           std::string_view value) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return std::nullopt;
  if (encoding != ProfileEncoding::kUtf8 &&
      (EndsInLoneLeadByte(section) || EndsInLoneLeadByte(key) || EndsInLoneLeadByte(value))) {
    return std::nullopt;
  }
  if (key.empty() || key.find('=') != std::string_view::npos || key[0] == '[' || key[0] == ';') {
    return std::nullopt;
  }
  std::string_view eol = LineEndingOf(text);
  std::vector<Line> lines = SplitLines(text, encoding);
  size_t header = FindSection(lines, section, encoding);
  std::string out;
  out.reserve(text.size() + section.size() + key.size() + value.size() + 8);

  if (header == lines.size()) {
    out.append(text);
    if (!out.empty() && out.back() != '\n') out.append(eol);
    out.append("[").append(section).append("]").append(eol);
    out.append(key).append("=").append(value).append(eol);
    return out;
  }

  size_t entry = FindEntry(lines, header, key, encoding);
  if (entry != lines.size()) {
    out.append(text.substr(0, lines[entry].value_begin));
    out.append(value);
    out.append(text.substr(lines[entry].value_end));
    return out;
  }

  size_t last = header;
  for (size_t i = header + 1; i < lines.size() && lines[i].kind != LineKind::kSection; ++i) {
    if (lines[i].kind != LineKind::kBlank) last = i;
  }
  const Line& after = lines[last];
  if (after.next > after.end) {
    out.append(text.substr(0, after.next));
    out.append(key).append("=").append(value).append(eol);
  } else {
    out.append(text.substr(0, after.end));
    out.append(eol).append(key).append("=").append(value);
  }
  out.append(text.substr(after.next));
  return out;
}

}  // namespace h5
