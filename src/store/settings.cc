#include "store/settings.h"

#include "store/module.h"
#include "text/ansi.h"
#include "text/vbstring.h"

namespace h5 {

std::string RegReadString(std::string_view subkey, std::string_view name) {
  Environment* env = Module().ports.environment;
  if (!env) return {};
  std::optional<std::string> value = env->RegistryString(ToAnsi(subkey), ToAnsi(name));
  if (!value || value->empty()) return {};
  return FromAnsi(*value);
}

std::string IniGetString(std::string_view section, std::string_view key,
                         std::string_view default_value, uint32_t size, std::string_view file) {
  Environment* env = Module().ports.environment;
  if (!env) return std::string(default_value);
  std::string bytes = env->PrivateProfileString(ToAnsi(section), ToAnsi(key), ToAnsi(default_value),
                                                size, ToAnsi(file));
  if (bytes.empty()) return {};
  return FromAnsi(bytes);
}

int32_t IniGetInt(std::string_view section, std::string_view key, int32_t default_value,
                  std::string_view file) {
  Environment* env = Module().ports.environment;
  if (!env) return default_value;
  uint32_t raw = env->PrivateProfileInt(ToAnsi(section), ToAnsi(key), default_value, ToAnsi(file));
  return static_cast<int32_t>(raw);
}

std::string ReadWinIniString(std::string_view section, std::string_view key,
                             std::string_view default_value, int32_t size) {
  Environment* environment = Module().ports.environment;
  if (environment == nullptr || size <= 0) return {};
  std::string ansi = environment->WinIniString(ToAnsi(section), ToAnsi(key), ToAnsi(default_value),
                                               static_cast<uint32_t>(size));
  // The port reports the bytes it wrote; never trust it beyond the buffer.
  ansi = std::string(CutAnsiBytes(ansi, static_cast<size_t>(size)));
  if (ansi.empty()) return {};
  return FromAnsi(ansi);
}

bool WriteWinIniString(std::string_view section, std::string_view key, std::string_view value) {
  Environment* environment = Module().ports.environment;
  if (environment == nullptr) return false;
  return environment->WriteWinIniString(ToAnsi(section), ToAnsi(key), ToAnsi(value));
}

}  // namespace h5
