#include "platform/win32/win32_environment.h"

#include <windows.h>

#include "text/ansi.h"

namespace h5 {
namespace {

// Large enough for any profile value; the port's size is applied after, so
// that a cut never splits a double-byte character.
constexpr DWORD kProfileBuffer = 32768;

std::string CutProfileValue(const std::vector<char>& buffer, DWORD length, uint32_t size) {
  if (size == 0) return std::string();
  return std::string(CutAnsiBytes(std::string_view(buffer.data(), length), size - 1));
}

// The folder part of path, without its trailing backslash, for a file name.
std::string ParentOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::optional<std::string> Win32Environment::RegistryString(std::string_view subkey,
                                                            std::string_view name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, std::string(subkey).c_str(), 0,
                    KEY_QUERY_VALUE | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const std::string value_name(name);
  std::optional<std::string> result;
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExA(key, value_name.c_str(), nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    std::string value(bytes, '\0');
    if (RegQueryValueExA(key, value_name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(value.data()), &bytes) == ERROR_SUCCESS) {
      value.resize(std::min<size_t>(bytes, value.size()));
      // The stored terminator (or several) is not part of the value.
      while (!value.empty() && value.back() == '\0') value.pop_back();
      result = std::move(value);
    }
  }
  RegCloseKey(key);
  return result;
}

std::string Win32Environment::PrivateProfileString(std::string_view section, std::string_view key,
                                                   std::string_view default_value, uint32_t size,
                                                   std::string_view file) {
  const std::string file_name(file.substr(0, file.find('\0')));
  if (file_name.empty()) {
    std::vector<char> fallback(default_value.begin(), default_value.end());
    return CutProfileValue(fallback, static_cast<DWORD>(fallback.size()), size);
  }
  std::vector<char> buffer(kProfileBuffer);
  DWORD length = GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                          std::string(default_value).c_str(), buffer.data(),
                                          kProfileBuffer, file_name.c_str());
  return CutProfileValue(buffer, length, size);
}

uint32_t Win32Environment::PrivateProfileInt(std::string_view section, std::string_view key,
                                             int32_t default_value, std::string_view file) {
  const std::string file_name(file.substr(0, file.find('\0')));
  if (file_name.empty()) return static_cast<uint32_t>(default_value);
  return GetPrivateProfileIntA(std::string(section).c_str(), std::string(key).c_str(),
                               default_value, file_name.c_str());
}

std::string Win32Environment::WinIniString(std::string_view section, std::string_view key,
                                           std::string_view default_value, uint32_t size) {
  std::vector<char> buffer(kProfileBuffer);
  DWORD length =
      GetProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                        std::string(default_value).c_str(), buffer.data(), kProfileBuffer);
  return CutProfileValue(buffer, length, size);
}

bool Win32Environment::WriteWinIniString(std::string_view section, std::string_view key,
                                         std::string_view value) {
  return WriteProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                             std::string(value).c_str()) != 0;
}

std::optional<std::vector<std::string>> Win32Environment::ListFiles(std::string_view directory) {
  std::string folder(directory.substr(0, directory.find('\0')));
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (folder.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
      !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  std::vector<std::string> names;
  if (search == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return names;
    return std::nullopt;
  }
  constexpr DWORD kNotOrdinary =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    if (!(found.dwFileAttributes & kNotOrdinary)) names.emplace_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(search);
  if (!complete) return std::nullopt;
  return names;
}

std::string Win32Environment::StoredName(std::string_view path) {
  std::string name(path.substr(0, path.find('\0')));
  while (!name.empty() && (name.back() == '\\' || name.back() == '/')) name.pop_back();
  // Wildcards would name another file; a drive has no name of its own.
  if (name.empty() || name.find_first_of("*?") != std::string::npos) return std::string();
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(name.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return std::string();
  FindClose(search);
  return found.cFileName;
}

std::string Win32Environment::ShortPath(std::string_view path) {
  const std::string long_path(path.substr(0, path.find('\0')));
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD length =
        GetShortPathNameA(long_path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length);
  }
}

std::chrono::year_month_day Win32Environment::Today() {
  if (today_) return *today_;
  SYSTEMTIME now;
  GetLocalTime(&now);
  return std::chrono::year_month_day{std::chrono::year{now.wYear}, std::chrono::month{now.wMonth},
                                     std::chrono::day{now.wDay}};
}

std::string Win32Environment::LibraryDirectory() {
  HMODULE module = nullptr;
  static const int kAnchor = 0;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&kAnchor), &module);
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameA(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) return ParentOf(std::string(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

std::optional<std::filesystem::path> NativeWindowsPath(std::string_view windows_path) {
  const std::string utf8 = FromAnsi(windows_path);
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace h5
