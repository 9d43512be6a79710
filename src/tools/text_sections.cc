// The registry, ini, cookies and programs sections of a book.
#include <cstdint>
#include <limits>
#include <string_view>

#include "tools/book_sections.h"
#include "tools/book_values.h"

namespace h5 {

namespace {

// A line break, or a NUL that would end the text early for every reader.
bool HasLineBreak(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != text.npos;
}

void Append(std::vector<uint8_t>* bytes, std::string_view text) {
  bytes->insert(bytes->end(), text.begin(), text.end());
}

bool ExpectObject(const nlohmann::json& value, const std::string& place, std::string* error) {
  if (value.is_object()) return true;
  *error = place + ": expected an object, got " + TypeName(value);
  return false;
}

std::string RegistryQuoted(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') quoted.push_back('\\');
    quoted.push_back(c);
  }
  quoted.push_back('"');
  return quoted;
}

// Text that goes into an ini file: CP932, no line breaks, and none of the
// characters that would end the name early (stop).
bool IniText(const std::string& text, std::string_view stop, const std::string& place,
             std::string* ansi, std::string* error) {
  if (HasLineBreak(text)) {
    *error = place + ": an ini file cannot hold a line break or NUL here";
    return false;
  }
  if (text.find_first_of(stop) != std::string::npos) {
    *error = place + ": the name cannot hold \"" + std::string(stop) + "\"";
    return false;
  }
  std::optional<std::string> converted = AnsiOf(text);
  if (!converted) {
    *error = place + ": has a character that CP932 cannot hold";
    return false;
  }
  *ansi = *converted;
  return true;
}

bool IniValue(const nlohmann::json& value, const std::string& place, std::string* ansi,
              std::string* error) {
  if (value.is_number_integer()) {
    std::optional<int64_t> number = ParseBookInteger(value, std::numeric_limits<int64_t>::min(),
                                                     std::numeric_limits<int64_t>::max(), error);
    if (!number) {
      *error = place + ": " + *error;
      return false;
    }
    *ansi = std::to_string(*number);
    return true;
  }
  if (!value.is_string()) {
    *error = place + ": expected text, an integer or null, got " + TypeName(value);
    return false;
  }
  return IniText(value.get_ref<const std::string&>(), "", place, ansi, error);
}

}  // namespace

bool PlanRegistry(const nlohmann::json& section, std::vector<PlannedFile>* files,
                  std::string* error) {
  if (!ExpectObject(section, "registry", error)) return false;
  std::string text = "Windows Registry Editor Version 5.00\n";
  for (const auto& [key, values] : section.items()) {
    std::string place = Member("registry", key);
    if (key.rfind("HKEY_", 0) != 0 || HasLineBreak(key)) {
      *error = place + ": expected a key path that starts with HKEY_ and has no line break";
      return false;
    }
    if (!ExpectObject(values, place, error)) return false;
    text += "\n[" + key + "]\n";
    for (const auto& [name, value] : values.items()) {
      std::string value_place = Member(place, name);
      if (value.is_null()) continue;
      if (!value.is_string()) {
        *error = value_place + ": expected text or null, got " + TypeName(value);
        return false;
      }
      const std::string& data = value.get_ref<const std::string&>();
      if (HasLineBreak(name) || HasLineBreak(data)) {
        *error = value_place + ": a registry string value cannot hold a line break or NUL";
        return false;
      }
      text += (name.empty() ? std::string("@") : RegistryQuoted(name)) + "=" +
              RegistryQuoted(data) + "\n";
    }
  }
  PlannedFile file;
  file.place = "registry";
  file.root_file = "registry.reg";
  Append(&file.bytes, text);
  files->push_back(std::move(file));
  return true;
}

bool PlanIni(const nlohmann::json& section, const std::filesystem::path& root,
             std::vector<PlannedFile>* files, std::string* error) {
  if (!ExpectObject(section, "ini", error)) return false;
  for (const auto& [path, sections] : section.items()) {
    std::string place = Member("ini", path);
    // A bare file name is looked for in the Windows folder, never where the
    // book would put it.
    if (path.find_first_of("\\:") == std::string::npos) {
      *error = place + ": expected a full Windows path such as C:\\folder\\name.ini";
      return false;
    }
    if (!CheckWindowsFilePath(path, root, place, error)) return false;
    if (!ExpectObject(sections, place, error)) return false;
    PlannedFile file;
    file.place = place;
    file.windows_path = path;
    bool first = true;
    for (const auto& [name, keys] : sections.items()) {
      std::string section_place = Member(place, name);
      std::string section_ansi;
      if (!IniText(name, "]", section_place, &section_ansi, error)) return false;
      if (!ExpectObject(keys, section_place, error)) return false;
      if (!first) Append(&file.bytes, "\r\n");
      first = false;
      Append(&file.bytes, "[" + section_ansi + "]\r\n");
      for (const auto& [key, value] : keys.items()) {
        std::string key_place = Member(section_place, key);
        std::string key_ansi, value_ansi;
        if (!IniText(key, "=", key_place, &key_ansi, error)) return false;
        // The reader skips such lines or takes them for a comment or a section.
        std::string_view trimmed = key_ansi;
        while (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.front() == '\t')) {
          trimmed.remove_prefix(1);
        }
        if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') {
          *error = key_place + ": an ini key must not be empty or start with ';' or '['";
          return false;
        }
        if (value.is_null()) continue;
        if (!IniValue(value, key_place, &value_ansi, error)) return false;
        Append(&file.bytes, key_ansi);
        Append(&file.bytes, "=");
        Append(&file.bytes, value_ansi);
        Append(&file.bytes, "\r\n");
      }
    }
    files->push_back(std::move(file));
  }
  return true;
}

bool PlanCookies(const nlohmann::json& section, std::vector<PlannedFile>* files,
                 std::string* error) {
  if (!ExpectObject(section, "cookies", error)) return false;
  PlannedFile file;
  file.place = "cookies";
  file.root_file = "cookies.txt";
  for (const auto& [address, value] : section.items()) {
    std::string place = Member("cookies", address);
    if (address.empty() || address[0] == '#' || address.find('\t') != std::string::npos ||
        HasLineBreak(address)) {
      *error = place +
               ": a page address is not empty, does not start with #, has no tab and no "
               "line break";
      return false;
    }
    if (value.is_null()) continue;
    if (!value.is_string()) {
      *error = place + ": expected the cookie text or null, got " + TypeName(value);
      return false;
    }
    const std::string& text = value.get_ref<const std::string&>();
    if (HasLineBreak(text)) {
      *error = place + ": cookie text cannot hold a line break or NUL";
      return false;
    }
    Append(&file.bytes, address);
    Append(&file.bytes, "\t");
    Append(&file.bytes, text);
    Append(&file.bytes, "\n");
  }
  files->push_back(std::move(file));
  return true;
}

std::string LaunchLogScript(const std::filesystem::path& root) {
  std::string quoted = "'";
  for (char c : root.string()) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted.push_back(c);
    }
  }
  quoted += "'";
  return "#!/bin/sh\n"
         "# Stand-in program written by the book builder: records each launch,\n"
         "# its parameters and working directory, in launch.log of the root.\n"
         "root=\"$H5KAKEI_ROOT\"\n"
         "if [ -z \"$root\" ]; then root=" +
         quoted +
         "; fi\n"
         "printf '%s\\t%s\\n' \"${1-}\" \"$(pwd)\" >> \"$root/launch.log\"\n";
}

bool PlanPrograms(const nlohmann::json& section, const std::filesystem::path& root,
                  std::vector<PlannedFile>* files, std::string* error) {
  if (!ExpectObject(section, "programs", error)) return false;
  for (const auto& [path, kind] : section.items()) {
    std::string place = Member("programs", path);
    if (!CheckWindowsFilePath(path, root, place, error)) return false;
    if (kind != "launch-log") {
      *error = place + ": expected the program kind \"launch-log\"";
      return false;
    }
    PlannedFile file;
    file.place = place;
    file.windows_path = path;
    file.executable = true;
    Append(&file.bytes, LaunchLogScript(root));
    files->push_back(std::move(file));
  }
  return true;
}

}  // namespace h5
