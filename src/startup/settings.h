// Reading the suite's settings: its registry value and profile (INI) files.
#ifndef H5KAKEI_STARTUP_SETTINGS_H_
#define H5KAKEI_STARTUP_SETTINGS_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace h5 {

// The string value name under HKEY_LOCAL_MACHINE\subkey, or "" when the key
// or value is missing or empty. The key is only read, never created.
std::string RegReadString(std::string_view subkey, std::string_view name);

// A value of the suite's key SOFTWARE\SORAHATO\ひだまり家庭帳５.
std::string ReadSuiteRegValue(std::string_view name);

// The suite's installation directory, always ending in '\' ("\" alone when
// the registry value is missing).
std::string GetInstallDir();

// A profile value cut to size - 1 bytes; the default for a missing file,
// section or key; "" for a key present with an empty value.
std::string IniGetString(std::string_view section, std::string_view key,
                         std::string_view default_value, uint32_t size, std::string_view file);

// A profile integer as the system reads it, as a signed 32-bit value. The
// callers narrow it themselves: a value beyond 16 bits is theirs to handle.
int32_t IniGetInt(std::string_view section, std::string_view key, int32_t default_value,
                  std::string_view file);

}  // namespace h5

#endif  // H5KAKEI_STARTUP_SETTINGS_H_
