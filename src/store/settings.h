// The suite's settings as the Environment port keeps them: registry values,
// profile (INI) files and WIN.INI, in UTF-8 on this side of the port and in
// the ANSI code page on the other.
#ifndef H5KAKEI_STORE_SETTINGS_H_
#define H5KAKEI_STORE_SETTINGS_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace h5 {

// The string value name under HKEY_LOCAL_MACHINE\subkey, or "" when the key
// or value is missing or empty. The key is only read, never created.
std::string RegReadString(std::string_view subkey, std::string_view name);

// A profile value cut to size - 1 bytes; the default for a missing file,
// section or key; "" for a key present with an empty value.
std::string IniGetString(std::string_view section, std::string_view key,
                         std::string_view default_value, uint32_t size, std::string_view file);

// A profile integer as the system reads it, as a signed 32-bit value. The
// callers narrow it themselves: a value beyond 16 bits is theirs to handle.
int32_t IniGetInt(std::string_view section, std::string_view key, int32_t default_value,
                  std::string_view file);

// The WIN.INI value of key in section, or default_value when the key is
// missing, cut to fewer than size ANSI bytes; empty when nothing was read or
// there is no environment.
std::string ReadWinIniString(std::string_view section, std::string_view key,
                             std::string_view default_value, int32_t size);

// Sets key in section of WIN.INI; true when the write succeeded.
bool WriteWinIniString(std::string_view section, std::string_view key, std::string_view value);

}  // namespace h5

#endif  // H5KAKEI_STORE_SETTINGS_H_
