// The Environment of the Windows machine the program runs on, through the
// "A" functions: registry (32-bit view of HKEY_LOCAL_MACHINE, where the
// suite's installer writes), profile files, WIN.INI, FindFirstFileA
// listings, GetShortPathNameA, the local clock and the module's folder.
// Texts pass as the system's ANSI bytes, which on a Japanese system are the
// CP932 bytes the port speaks.
#ifndef H5KAKEI_PLATFORM_WIN32_WIN32_ENVIRONMENT_H_
#define H5KAKEI_PLATFORM_WIN32_WIN32_ENVIRONMENT_H_

#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/environment.h"

namespace h5 {

// A Windows path in the ANSI code page as this machine's file: the path is
// built from UTF-8, so no narrow-string conversion guesses the code page.
std::optional<std::filesystem::path> NativeWindowsPath(std::string_view windows_path);

class Win32Environment : public Environment {
 public:
  // today: the date Today() answers instead of the clock, when set.
  explicit Win32Environment(std::optional<std::chrono::year_month_day> today = std::nullopt)
      : today_(today) {}

  // REG_SZ and REG_EXPAND_SZ values only (the latter unexpanded).
  std::optional<std::string> RegistryString(std::string_view subkey,
                                            std::string_view name) override;
  // An empty file name reads as a missing file.
  std::string PrivateProfileString(std::string_view section, std::string_view key,
                                   std::string_view default_value, uint32_t size,
                                   std::string_view file) override;
  uint32_t PrivateProfileInt(std::string_view section, std::string_view key, int32_t default_value,
                             std::string_view file) override;
  std::string WinIniString(std::string_view section, std::string_view key,
                           std::string_view default_value, uint32_t size) override;
  bool WriteWinIniString(std::string_view section, std::string_view key,
                         std::string_view value) override;
  std::optional<std::vector<std::string>> ListFiles(std::string_view directory) override;
  std::string StoredName(std::string_view path) override;
  std::string ShortPath(std::string_view path) override;
  std::chrono::year_month_day Today() override;
  // The folder of the module (EXE or DLL) this code is linked into.
  std::string LibraryDirectory() override;

 private:
  std::optional<std::chrono::year_month_day> today_;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_WIN32_WIN32_ENVIRONMENT_H_
