// The Windows machine as the logic sees it: registry, profile files, WIN.INI,
// the file system's listings and names, the clock and where the library lives.
//
// Every text that crosses this interface is in the ANSI code page of a Japanese
// system (CP932 bytes), as the "A" functions of Windows take and return it.
// Paths are Windows paths ("C:\HdmData5\kakeibo\").
#ifndef H5KAKEI_PLATFORM_ENVIRONMENT_H_
#define H5KAKEI_PLATFORM_ENVIRONMENT_H_

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace h5 {

class Environment {
 public:
  virtual ~Environment() = default;

  // A string value under HKEY_LOCAL_MACHINE\subkey. nullopt when the key or the
  // value does not exist (the key itself is never created by a read). The value
  // carries no terminating zero.
  virtual std::optional<std::string> RegistryString(std::string_view subkey,
                                                    std::string_view name) = 0;

  // GetPrivateProfileStringA: the value of key in section of file, or
  // default_value when the file, section or key is missing. The result is cut
  // to at most size - 1 bytes without splitting a double-byte character (the
  // byte count is the result's length). size 0 gives an empty result.
  virtual std::string PrivateProfileString(std::string_view section, std::string_view key,
                                           std::string_view default_value, uint32_t size,
                                           std::string_view file) = 0;

  // GetPrivateProfileIntA: the leading decimal number of the value (blanks
  // skipped, an optional sign), 0 when it has no digits, default_value when
  // the file, section or key is missing or the value is empty.
  virtual uint32_t PrivateProfileInt(std::string_view section, std::string_view key,
                                     int32_t default_value, std::string_view file) = 0;

  // GetProfileStringA: as PrivateProfileString, on WIN.INI.
  virtual std::string WinIniString(std::string_view section, std::string_view key,
                                   std::string_view default_value, uint32_t size) = 0;

  // WriteProfileStringA: sets key in section of WIN.INI to value, adding the
  // section or key when missing and keeping every other byte of the file. The
  // change is atomic: on failure the file is as before and false is returned.
  virtual bool WriteWinIniString(std::string_view section, std::string_view key,
                                 std::string_view value) = 0;

  // The names of the ordinary files directly in directory (no directories, no
  // hidden or system files), in the order the file system lists them. nullopt
  // when the directory does not exist or cannot be listed.
  virtual std::optional<std::vector<std::string>> ListFiles(std::string_view directory) = 0;

  // The name under which the file system lists the last component of path (a
  // file or a directory), in its stored letter case; empty when not found.
  virtual std::string StoredName(std::string_view path) = 0;

  // GetShortPathNameA: the short form of an existing path (there are no 8.3
  // names, so the path itself); empty when the path does not exist.
  virtual std::string ShortPath(std::string_view path) = 0;

  // Today's date in the local time zone.
  virtual std::chrono::year_month_day Today() = 0;

  // The directory from which the control library was loaded, without a
  // trailing backslash.
  virtual std::string LibraryDirectory() = 0;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_ENVIRONMENT_H_
