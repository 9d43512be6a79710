#include "platform/root/path_map.h"

#include <string>
#include <system_error>
#include <vector>

#include "platform/root/ansi_scan.h"
#include "platform/root/folder_listing.h"
#include "platform/root/ntfs_names.h"
#include "text/ansi.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;

// The longest path any Windows API accepts, in characters; longer input is
// refused rather than walked.
constexpr size_t kMaxWindowsPath = 32767;
// The longest name a Linux file system stores, in bytes.
constexpr size_t kMaxNameBytes = 255;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A single byte that no Windows file name may hold, or that CP932 does not
// define as a character.
bool IsForbiddenByte(uint8_t byte) {
  if (byte < 0x20) return true;
  switch (byte) {
    case '<':
    case '>':
    case ':':
    case '"':
    case '|':
    case '?':
    case '*':
    case 0x80:
    case 0xA0:
    case 0xFD:
    case 0xFE:
    case 0xFF:
      return true;
    default:
      return IsAnsiLeadByte(byte);  // a lead byte standing alone
  }
}

// The UTF-8 name of one ANSI component, or nullopt when it names no valid
// file: a forbidden or undefined character, or too long for the disk.
std::optional<std::string> ComponentName(std::string_view component) {
  size_t katakana_middle_dots = 0;  // U+30FB written as itself
  for (size_t pos = 0; pos < component.size();) {
    size_t length = AnsiCharLength(component, pos);
    if (length == 1 && IsForbiddenByte(static_cast<uint8_t>(component[pos]))) return std::nullopt;
    if (length == 2 && component.substr(pos, 2) == "\x81\x45") ++katakana_middle_dots;
    pos += length;
  }
  std::string name = FromAnsi(component);
  // FromAnsi turns a code CP932 leaves undefined into U+30FB; any extra U+30FB
  // means such a code was there.
  size_t converted_dots = 0;
  for (size_t at = name.find("\xE3\x83\xBB"); at != std::string::npos;
       at = name.find("\xE3\x83\xBB", at + 3)) {
    ++converted_dots;
  }
  if (converted_dots != katakana_middle_dots) return std::nullopt;
  if (name.size() > kMaxNameBytes) return std::nullopt;
  return name;
}

// The stored name in dir that equals name without ASCII case: the exact name
// when it exists, else the smallest matching entry so the choice does not
// depend on listing order, else the entry whose short alias name is.
std::optional<std::string> FindStoredName(const fs::path& dir, const std::string& name) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(dir / name, ec))) return name;
  std::optional<std::vector<std::string>> entries = FolderEntryNames(dir);
  if (!entries) return std::nullopt;
  std::optional<std::string> found;
  for (const std::string& entry : *entries) {
    if (EqualsIgnoringAsciiCaseUtf8(entry, name) && (!found || entry < *found)) found = entry;
  }
  // A short alias stands for its long name.
  if (!found && name.find('~') != std::string::npos) {
    for (const auto& [stored, alias] : FolderAliases(dir)) {
      if (EqualsIgnoringAsciiCaseUtf8(FromAnsi(alias), name)) return stored;
    }
  }
  return found;
}

// A Windows path cut into its drive and components, with "." and ".."
// resolved inside the drive.
struct SplitPath {
  char drive = 'c';
  bool drive_given = false;
  std::vector<std::string_view> components;
};

std::optional<SplitPath> Split(std::string_view path) {
  if (path.empty() || path.size() > kMaxWindowsPath) return std::nullopt;
  SplitPath split;
  size_t pos = 0;
  if (path.size() >= 2 && path[1] == ':') {
    // ':' is never a trail byte, so path[0] is a character of its own.
    if (!IsAsciiLetter(path[0])) return std::nullopt;
    split.drive = static_cast<char>(path[0] | 0x20);
    split.drive_given = true;
    pos = 2;
  } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    return std::nullopt;  // UNC name or device path
  }

  // Split at separators, stepping over double-byte characters whose trail
  // byte is '\\'.
  std::vector<std::string_view>& components = split.components;
  auto take = [&components](std::string_view component) {
    if (component.empty() || component == ".") return;
    if (component == "..") {
      if (!components.empty()) components.pop_back();
      return;
    }
    components.push_back(component);
  };
  size_t start = pos;
  while (pos < path.size()) {
    size_t length = AnsiCharLength(path, pos);
    if (length == 1 && IsSeparator(path[pos])) {
      take(path.substr(start, pos - start));
      start = pos + 1;
    }
    pos += length;
  }
  take(path.substr(start));
  return split;
}

fs::path DriveFolder(const fs::path& root, char drive) {
  return root / (std::string("drive_") + drive);
}

}  // namespace

std::optional<fs::path> MapWindowsPath(const fs::path& root, std::string_view windows_path) {
  std::optional<SplitPath> split = Split(UpToNul(windows_path));
  if (!split) return std::nullopt;
  fs::path mapped = DriveFolder(root, split->drive);
  std::error_code ec;
  bool exists = fs::is_directory(mapped, ec);
  for (std::string_view component : split->components) {
    std::optional<std::string> name = ComponentName(component);
    if (!name) return std::nullopt;
    if (exists) {
      std::optional<std::string> stored = FindStoredName(mapped, *name);
      if (stored) {
        mapped /= *stored;
        continue;
      }
      exists = false;
    }
    mapped /= *name;
  }
  return mapped;
}

std::optional<std::string> ShortWindowsPath(const fs::path& root, std::string_view windows_path) {
  std::string_view path = UpToNul(windows_path);
  std::optional<SplitPath> split = Split(path);
  if (!split) return std::nullopt;
  fs::path mapped = DriveFolder(root, split->drive);
  std::error_code ec;
  if (!fs::is_directory(mapped, ec)) return std::nullopt;
  std::string shortened = split->drive_given ? std::string(path.substr(0, 2)) : std::string();
  for (std::string_view component : split->components) {
    std::optional<std::string> name = ComponentName(component);
    if (!name) return std::nullopt;
    std::optional<std::string> stored = FindStoredName(mapped, *name);
    if (!stored) return std::nullopt;
    shortened += '\\';
    if (IsShortName(ToAnsi(*stored))) {
      shortened += component;
    } else {
      shortened += FolderAliases(mapped)[*stored];
    }
    mapped /= *stored;
  }
  if (split->components.empty() || IsSeparator(path.back())) shortened += '\\';
  return shortened;
}

fs::path NormalizeRoot(const fs::path& root) {
  std::error_code ec;
  fs::path absolute = fs::absolute(root, ec);
  fs::path normal = (ec ? root : absolute).lexically_normal();
  if (!normal.has_filename() && normal.has_parent_path() && normal != normal.root_path()) {
    normal = normal.parent_path();
  }
  return normal;
}

std::function<std::optional<fs::path>(std::string_view)> WindowsPathResolver(const fs::path& root) {
  return [root = NormalizeRoot(root)](std::string_view windows_path) {
    return MapWindowsPath(root, windows_path);
  };
}

}  // namespace h5
