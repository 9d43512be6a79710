#include "platform/root/root_environment.h"

#include <iterator>
#include <system_error>

#include "platform/os/file_io.h"
#include "platform/root/ansi_scan.h"
#include "platform/root/local_date.h"
#include "platform/root/ntfs_names.h"
#include "platform/root/path_map.h"
#include "platform/root/profile.h"
#include "platform/root/registry.h"
#include "text/ansi.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;

bool NamesADirectory(std::string_view file) {
  for (size_t pos = 0; pos < file.size(); pos += AnsiCharLength(file, pos)) {
    char c = file[pos];
    if (c == '\\' || c == '/' || c == ':') return true;
  }
  return false;
}

}  // namespace

RootEnvironment::RootEnvironment(const fs::path& root) : root_(NormalizeRoot(root)) {}

std::optional<std::string> RootEnvironment::RegistryString(std::string_view subkey,
                                                           std::string_view name) {
  RegistryFile registry = RegistryFile::Read(root_ / "registry.reg");
  std::optional<std::string> value =
      registry.Find("HKEY_LOCAL_MACHINE\\" + FromAnsi(UpToNul(subkey)), FromAnsi(UpToNul(name)));
  if (!value) return std::nullopt;
  return ToAnsi(*value);
}

std::optional<fs::path> RootEnvironment::ProfilePath(std::string_view file) const {
  file = UpToNul(file);
  if (file.empty()) return std::nullopt;
  if (!NamesADirectory(file)) return MapWindowsPath(root_, "C:\\windows\\" + std::string(file));
  return MapWindowsPath(root_, file);
}

std::optional<fs::path> RootEnvironment::WinIniPath() const {
  return MapWindowsPath(root_, "C:\\windows\\win.ini");
}

std::string RootEnvironment::PrivateProfileString(std::string_view section, std::string_view key,
                                                  std::string_view default_value, uint32_t size,
                                                  std::string_view file) {
  std::optional<fs::path> path = ProfilePath(file);
  std::optional<ProfileText> text = path ? ReadProfileFile(*path) : std::nullopt;
  return ProfileString(text, section, key, default_value, size);
}

uint32_t RootEnvironment::PrivateProfileInt(std::string_view section, std::string_view key,
                                            int32_t default_value, std::string_view file) {
  std::optional<fs::path> path = ProfilePath(file);
  std::optional<ProfileText> text = path ? ReadProfileFile(*path) : std::nullopt;
  return ProfileInt(text, section, key, default_value);
}

std::string RootEnvironment::WinIniString(std::string_view section, std::string_view key,
                                          std::string_view default_value, uint32_t size) {
  std::optional<fs::path> path = WinIniPath();
  std::optional<ProfileText> text = path ? ReadProfileFile(*path) : std::nullopt;
  return ProfileString(text, section, key, default_value, size);
}

bool RootEnvironment::WriteWinIniString(std::string_view section, std::string_view key,
                                        std::string_view value) {
  std::optional<fs::path> path = WinIniPath();
  if (!path) return false;
  std::error_code ec;
  fs::path windows_dir = path->parent_path();
  if (!fs::is_directory(windows_dir, ec)) {
    if (!fs::is_directory(windows_dir.parent_path(), ec)) return false;  // no drive C:
    if (!fs::create_directory(windows_dir, ec) || ec) return false;
  }

  std::string bytes;
  ReadStatus status = ReadFileBytes(*path, &bytes);
  if (status == ReadStatus::kFailed) return false;
  ProfileText text = ProfileTextOf(std::move(bytes));

  section = UpToNul(section);
  key = UpToNul(key);
  value = UpToNul(value);
  std::optional<std::string> edited;
  if (text.encoding == ProfileEncoding::kAnsi) {
    edited = SetProfileValue(text.bytes, text.encoding, section, key, value);
  } else {
    edited = SetProfileValue(text.bytes, text.encoding, FromAnsi(section), FromAnsi(key),
                             FromAnsi(value));
  }
  if (!edited) return false;
  return WriteFileAtomically(*path, text.bom + *edited);
}

std::optional<std::vector<std::string>> RootEnvironment::ListFiles(std::string_view directory) {
  std::optional<fs::path> path = MapWindowsPath(root_, directory);
  if (!path) return std::nullopt;
  std::error_code ec;
  fs::directory_iterator it(*path, ec);
  if (ec) return std::nullopt;
  std::vector<std::string> names;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    // The entry's own type from the listing; only a symlink needs a stat.
    std::error_code status_ec;
    if (!it->is_regular_file(status_ec)) continue;
    names.push_back(name);
  }
  if (ec) return std::nullopt;
  // In the order NTFS keeps, whatever order the host's file system gives.
  SortNtfs(names);
  for (std::string& name : names) name = ToAnsi(name);
  return names;
}

std::string RootEnvironment::StoredName(std::string_view path) {
  std::optional<fs::path> mapped = MapWindowsPath(root_, path);
  if (!mapped) return std::string();
  fs::path inside = mapped->lexically_relative(root_);
  if (std::distance(inside.begin(), inside.end()) < 2) return std::string();  // a drive
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(*mapped, ec))) return std::string();
  return ToAnsi(mapped->filename().string());
}

std::string RootEnvironment::ShortPath(std::string_view path) {
  return ShortWindowsPath(root_, path).value_or(std::string());
}

std::chrono::year_month_day RootEnvironment::Today() { return today_ ? *today_ : LocalDate(); }

}  // namespace h5
