// The sections of a book, each member checked and turned into a file.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "platform/root/path_map.h"
#include "tools/book_plan.h"
#include "tools/layouts.h"

namespace h5 {

namespace {

namespace fs = std::filesystem;

// Checks that path is a Windows path of a file that maps into root: CP932
// text naming something below a drive folder.
bool CheckWindowsFilePath(const std::string& path, const fs::path& root, const std::string& place,
                          std::string* error) {
  if (path.find('\0') != std::string::npos) return Fail(place, "a path cannot hold NUL", error);
  std::optional<std::string> ansi = AnsiOf(path);
  if (!ansi) return Fail(place, "the path has a character that CP932 cannot hold", error);
  std::optional<fs::path> mapped = MapWindowsPath(root, *ansi);
  // A file lies at least one name below a drive folder: <root>/drive_c/name.
  const fs::path relative = mapped ? mapped->lexically_relative(root) : "";
  return (std::distance(relative.begin(), relative.end()) >= 2 &&
          relative.begin()->string().starts_with("drive_")) ||
         Fail(place, "not a Windows path of a file (such as C:\\folder\\name)", error);
}

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
  if (HasLineBreak(text)) {
    return Fail(place, "an ini file cannot hold a line break or NUL here", error);
  }
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
std::string LaunchLogScript(const fs::path& root) {
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

bool PlanRegistryKey(const std::string& key, const nlohmann::json& values, const std::string& place,
                     const fs::path& /*root*/, PlannedFile* file, std::string* error) {
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
                 const fs::path& root, PlannedFile* file, std::string* error) {
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
                const fs::path& /*root*/, PlannedFile* file, std::string* error) {
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
                 const fs::path& root, PlannedFile* file, std::string* error) {
  if (!CheckWindowsFilePath(path, root, place, error)) return false;
  if (kind != "launch-log") return Fail(place, "expected the program kind \"launch-log\"", error);
  file->bytes = LaunchLogScript(root);
  file->executable = true;
  return true;
}

bool PlanFile(const std::string& path, const nlohmann::json& entry, const std::string& place,
              const fs::path& root, PlannedFile* file, std::string* error) {
  if (!CheckWindowsFilePath(path, root, place, error)) return false;
  if (!entry.is_object() || entry.size() != 1) {
    return Fail(place, "expected {\"hex\": ...}, {\"text\": ...} or {\"ansi\": ...}", error);
  }
  const std::string form = entry.begin().key();
  const nlohmann::json& value = entry.begin().value();
  const std::string form_place = Field(place, form);
  if (!value.is_string()) {
    return Fail(form_place, "expected a string, got " + TypeName(value), error);
  }
  const std::string& text = value.get_ref<const std::string&>();
  std::optional<std::string> bytes = form == "hex"    ? ParseHex(value)
                                     : form == "ansi" ? AnsiOf(text)
                                     : form == "text" ? std::optional(text)
                                                      : std::nullopt;
  if (bytes) file->bytes = std::move(*bytes);
  return bytes || Fail(form_place,
                       form == "hex"    ? "expected pairs of hex digits"
                       : form == "ansi" ? "has a character that CP932 cannot hold"
                                        : "unknown form (expected hex, text or ansi)",
                       error);
}

bool PlanDataFile(const std::string& path, const nlohmann::json& entry, const std::string& place,
                  const fs::path& root, PlannedFile* file, std::string* error) {
  return CheckWindowsFilePath(path, root, place, error) &&
         ParseDataEntry(entry, place, &file->data.emplace(), error);
}

// Checks one member of a section, key: value at place, and fills in file,
// its bytes or data; the sections of one root file add to the same file.
using MemberPlanner = bool(const std::string& key, const nlohmann::json& value,
                           const std::string& place, const fs::path& root, PlannedFile* file,
                           std::string* error);

// The sections in the order they are checked. Those with a root file make
// that one file from all their members, the others a file for each member.
struct Section {
  const char* name;
  const char* root_file;
  const char* header;  // what the root file starts with
  MemberPlanner* plan;
};
constexpr Section kSections[] = {
    {"registry", "registry.reg", "Windows Registry Editor Version 5.00\n", PlanRegistryKey},
    {"ini", nullptr, "", PlanIniFile},
    {"cookies", "cookies.txt", "", PlanCookie},
    {"programs", nullptr, "", PlanProgram},
    {"files", nullptr, "", PlanFile},
    {"data", nullptr, "", PlanDataFile},
};

}  // namespace

bool PlanBook(const nlohmann::json& book, const fs::path& root, std::vector<PlannedFile>* files,
              std::string* error) {
  if (!ExpectObject(book, "book", error)) return false;
  for (const auto& item : book.items()) {
    if (std::none_of(std::begin(kSections), std::end(kSections),
                     [&](const Section& known) { return item.key() == known.name; })) {
      return Fail(Member("book", item.key()),
                  "unknown section (expected registry, ini, cookies, programs, files, data)",
                  error);
    }
  }
  for (const Section& section : kSections) {
    if (!book.contains(section.name)) continue;
    const nlohmann::json& members = book[section.name];
    if (!ExpectObject(members, section.name, error)) return false;
    if (section.root_file) files->push_back({section.name, "", section.header, section.root_file});
    for (const auto& [key, value] : members.items()) {
      const std::string place = Member(section.name, key);
      if (!section.root_file) files->push_back({place, key});
      if (!section.plan(key, value, place, root, &files->back(), error)) return false;
    }
  }
  return true;
}

}  // namespace h5
