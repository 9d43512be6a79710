// The registry, ini, cookies and programs sections of a book.
#include <cstdint>
#include <string_view>

#include "tools/book_plan.h"
#include "tools/book_values.h"

namespace h5 {

namespace {

// A line break, or a NUL that would end the text early for every reader.
bool HasLineBreak(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != text.npos;
}

// A value that is text without a line break, or null for one left out;
// also is more text that must have no line break.
bool CheckLineOrNull(const nlohmann::json& value, std::string_view also, const std::string& place,
                     const std::string& expected, const std::string& broken, std::string* error) {
  if (!value.is_null() && !value.is_string()) {
    return Fail(place, "expected " + expected + " or null, got " + TypeName(value), error);
  }
  if (HasLineBreak(also) || HasLineBreak(value.is_null() ? "" : value.get<std::string>())) {
    return Fail(place, broken + " cannot hold a line break or NUL", error);
  }
  return true;
}

std::string RegistryQuoted(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') quoted.push_back('\\');
    quoted.push_back(c);
  }
  return quoted + "\"";
}

// Adds text to an ini file in CP932: no line breaks, and none of the
// characters that would end the name early (stop).
bool AddIniText(const std::string& text, std::string_view stop, const std::string& place,
                std::string* ini, std::string* error) {
  std::optional<std::string> ansi = AnsiOf(text);
  if (HasLineBreak(text))
    return Fail(place, "an ini file cannot hold a line break or NUL here", error);
  if (text.find_first_of(stop) != std::string::npos) {
    return Fail(place, "the name cannot hold \"" + std::string(stop) + "\"", error);
  }
  if (!ansi) return Fail(place, "has a character that CP932 cannot hold", error);
  *ini += *ansi;
  return true;
}

// Adds the line of a key to an ini file; a key left out (null) has none.
bool AddIniLine(const std::string& key, const nlohmann::json& value, const std::string& place,
                std::string* ini, std::string* error) {
  std::string line;
  if (!AddIniText(key, "=", place, &line, error)) return false;
  // The reader skips such lines or takes them for a comment or a section.
  size_t first = line.find_first_not_of(" \t");
  if (first == std::string::npos || line[first] == ';' || line[first] == '[') {
    return Fail(place, "an ini key must not be empty or start with ';' or '['", error);
  }
  if (value.is_null()) return true;
  if (!value.is_string() && !value.is_number_integer()) {
    return Fail(place, "expected text, an integer or null, got " + TypeName(value), error);
  }
  line += "=" + (value.is_string() ? "" : value.dump());
  if (value.is_string() && !AddIniText(value.get<std::string>(), "", place, &line, error)) {
    return false;
  }
  *ini += line + "\r\n";
  return true;
}

// The stand-in program of kind "launch-log" for root.
std::string LaunchLogScript(const std::filesystem::path& root) {
  std::string quoted = "'";
  for (char c : root.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return R"sh(#!/bin/sh
# Stand-in program written by the book builder: records each launch,
# its parameters and working directory, in launch.log of the root.
root="$H5KAKEI_ROOT"
if [ -z "$root" ]; then root=)sh" +
         quoted + R"sh('; fi
printf '%s\t%s\n' "${1-}" "$(pwd)" >> "$root/launch.log"
)sh";
}

}  // namespace

bool PlanRegistryKey(const std::string& key, const nlohmann::json& values, const std::string& place,
                     const std::filesystem::path& /*root*/, PlannedFile* file, std::string* error) {
  if (key.rfind("HKEY_", 0) != 0 || HasLineBreak(key)) {
    return Fail(place, "expected a key path that starts with HKEY_ and has no line break", error);
  }
  if (!ExpectObject(values, place, error)) return false;
  file->bytes += "\n[" + key + "]\n";
  for (const auto& [name, value] : values.items()) {
    if (value.is_null()) continue;
    if (!CheckLineOrNull(value, name, Member(place, name), "text", "a registry string value",
                         error)) {
      return false;
    }
    file->bytes += (name.empty() ? "@" : RegistryQuoted(name)) + "=" +
                   RegistryQuoted(value.get<std::string>()) + "\n";
  }
  return true;
}

bool PlanIniFile(const std::string& path, const nlohmann::json& sections, const std::string& place,
                 const std::filesystem::path& root, PlannedFile* file, std::string* error) {
  // A bare file name is looked for in the Windows folder, never where the
  // book would put it.
  if (path.find_first_of("\\:") == std::string::npos) {
    return Fail(place, "expected a full Windows path such as C:\\folder\\name.ini", error);
  }
  if (!CheckWindowsFilePath(path, root, place, error) || !ExpectObject(sections, place, error)) {
    return false;
  }
  std::string& text = file->bytes;
  for (const auto& [name, keys] : sections.items()) {
    const std::string section_place = Member(place, name);
    text += text.empty() ? "[" : "\r\n[";
    if (!AddIniText(name, "]", section_place, &text, error) ||
        !ExpectObject(keys, section_place, error)) {
      return false;
    }
    text += "]\r\n";
    for (const auto& [key, value] : keys.items()) {
      if (!AddIniLine(key, value, Member(section_place, key), &text, error)) return false;
    }
  }
  return true;
}

bool PlanCookie(const std::string& address, const nlohmann::json& value, const std::string& place,
                const std::filesystem::path& /*root*/, PlannedFile* file, std::string* error) {
  if (address.empty() || address[0] == '#' || address.find('\t') != std::string::npos ||
      HasLineBreak(address)) {
    return Fail(place,
                "a page address is not empty, does not start with #, has no tab and no line break",
                error);
  }
  if (!CheckLineOrNull(value, "", place, "the cookie text", "cookie text", error)) return false;
  if (!value.is_null()) file->bytes += address + "\t" + value.get<std::string>() + "\n";
  return true;
}

bool PlanProgram(const std::string& path, const nlohmann::json& kind, const std::string& place,
                 const std::filesystem::path& root, PlannedFile* file, std::string* error) {
  if (!CheckWindowsFilePath(path, root, place, error)) return false;
  if (kind != "launch-log") return Fail(place, "expected the program kind \"launch-log\"", error);
  file->bytes = LaunchLogScript(root);
  file->executable = true;
  return true;
}

}  // namespace h5
