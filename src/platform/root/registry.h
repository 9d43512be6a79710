// The registry of an environment root: the file registry.reg, a regedit
// export ("Windows Registry Editor Version 5.00" or "REGEDIT4") that holds
// [HKEY_LOCAL_MACHINE\...] sections and "Name"="value" string values.
#ifndef H5KAKEI_PLATFORM_ROOT_REGISTRY_H_
#define H5KAKEI_PLATFORM_ROOT_REGISTRY_H_

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace h5 {

class RegistryFile {
 public:
  // Reads the text of a registry file: UTF-8 with or without a byte-order
  // mark, or UTF-16LE with one (as regedit itself exports). Only string values
  // are kept; "@" names the default value. Values of other types, deletions
  // and damaged lines are skipped. A text without one of the two headers
  // holds nothing. When a value is given twice the later one counts, as an
  // import of the file would leave it.
  static RegistryFile Parse(std::string_view bytes);

  // Parses the file at path; a missing or unreadable file holds nothing.
  static RegistryFile Read(const std::filesystem::path& path);

  // The string value name of key, a full key path such as
  // "HKEY_LOCAL_MACHINE\SOFTWARE\X". All texts are UTF-8; key and name match
  // without ASCII case, and a key path's doubled or outer backslashes do not
  // matter. nullopt when the key or value is missing.
  std::optional<std::string> Find(std::string_view key, std::string_view name) const;

  size_t value_count() const { return values_.size(); }

 private:
  static std::string Slot(std::string_view key, std::string_view name);

  std::map<std::string, std::string> values_;  // Slot(key, name) -> value
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_ROOT_REGISTRY_H_
