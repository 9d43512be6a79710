// The Environment of a Windows machine kept in a directory (the root):
//
//   <root>/registry.reg          the registry (see registry.h)
//   <root>/drive_c/, drive_d/…   the drives (see path_map.h)
//   <root>/drive_c/windows/win.ini   WIN.INI
//
// Windows paths given to it are mapped through MapWindowsPath, so nothing it
// reads or writes lies outside the root's drive folders and registry file.
#ifndef H5KAKEI_PLATFORM_ROOT_ROOT_ENVIRONMENT_H_
#define H5KAKEI_PLATFORM_ROOT_ROOT_ENVIRONMENT_H_

#include <filesystem>
#include <optional>

#include "platform/environment.h"

namespace h5 {

class RootEnvironment : public Environment {
 public:
  // root is made absolute; it need not exist (then everything reads as
  // missing and writes fail).
  explicit RootEnvironment(const std::filesystem::path& root);

  const std::filesystem::path& root() const { return root_; }

  // Makes Today() answer today instead of the clock; nullopt returns to the
  // clock.
  void SetToday(std::optional<std::chrono::year_month_day> today) { today_ = today; }

  // The Windows directory LibraryDirectory() answers, ANSI, without a
  // trailing backslash. "C:\Windows\System32" until set.
  void SetLibraryDirectory(std::string directory) { library_directory_ = std::move(directory); }

  // The registry is read afresh on every call from <root>/registry.reg.
  std::optional<std::string> RegistryString(std::string_view subkey,
                                            std::string_view name) override;
  // file is a Windows path; a bare file name (no drive, no backslash) is
  // looked for in C:\windows, as Windows does. An empty name reads as a
  // missing file.
  std::string PrivateProfileString(std::string_view section, std::string_view key,
                                   std::string_view default_value, uint32_t size,
                                   std::string_view file) override;
  uint32_t PrivateProfileInt(std::string_view section, std::string_view key, int32_t default_value,
                             std::string_view file) override;
  std::string WinIniString(std::string_view section, std::string_view key,
                           std::string_view default_value, uint32_t size) override;
  // Writes only on an existing drive C:; its windows folder is made when
  // missing. A WIN.INI that exists but cannot be read is never replaced. A
  // file that starts with a UTF-8 byte-order mark is written in UTF-8.
  bool WriteWinIniString(std::string_view section, std::string_view key,
                         std::string_view value) override;
  // Regular files and symlinks to them; names starting with '.' count as
  // hidden. The order is NTFS's (see ntfs_names.h), never that of the host's
  // file system. A name the ANSI code
  // page cannot hold comes back with '?' in place of those characters, as
  // FindFirstFileA gives it.
  std::optional<std::vector<std::string>> ListFiles(std::string_view directory) override;
  // Empty for a drive's root folder, which has no name of its own.
  std::string StoredName(std::string_view path) override;
  // The path (up to a NUL) with short aliases for the components that are not
  // valid 8.3 names, as a volume with short names gives it; empty when the
  // path does not exist.
  std::string ShortPath(std::string_view path) override;
  std::chrono::year_month_day Today() override;
  std::string LibraryDirectory() override { return library_directory_; }

 private:
  std::optional<std::filesystem::path> ProfilePath(std::string_view file) const;
  std::optional<std::filesystem::path> WinIniPath() const;

  std::filesystem::path root_;
  std::optional<std::chrono::year_month_day> today_;
  std::string library_directory_ = "C:\\Windows\\System32";
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_ROOT_ROOT_ENVIRONMENT_H_
