#include "startup/settings.h"

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

std::string ReadSuiteRegValue(std::string_view name) {
  return RegReadString("SOFTWARE\\SORAHATO\\ひだまり家庭帳５", name);
}

std::string GetInstallDir() {
  std::string path = ReadSuiteRegValue("Path");
  if (RightChars(path, 1) != "\\") path += "\\";
  return path;
}

std::string IniGetString(std::string_view section, std::string_view key,
                         std::string_view default_value, uint32_t size, std::string_view file) {
  Environment* env = Module().ports.environment;
  if (!env) return std::string(default_value);
  std::string bytes = env->PrivateProfileString(ToAnsi(section), ToAnsi(key),
                                                ToAnsi(default_value), size, ToAnsi(file));
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

}  // namespace h5
