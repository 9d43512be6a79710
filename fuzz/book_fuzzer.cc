// The book builder over arbitrary JSON.
//
// Input: JSON text. A book that builds must read back through the adapters
// that the library uses (registry values, profile values, cookies, raw files,
// data files with their record count); a book that is refused must leave no
// root behind and name the place, not an escaped exception. Nothing may be
// written beside the root.
#include <cctype>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "fuzz_support.h"
#include "platform/kakeidb/data_file_writer.h"
#include "platform/os/file_io.h"
#include "platform/root/ansi_scan.h"
#include "platform/root/path_map.h"
#include "platform/root/registry.h"
#include "platform/root/root_cookie_store.h"
#include "platform/root/root_environment.h"
#include "text/ansi.h"
#include "tools/book_plan.h"
#include "tools/book_tool.h"

namespace h5 {
namespace {

using json = nlohmann::json;

std::string FoldAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// How the registry tells values apart: key path without empty components,
// and both names without ASCII case.
std::string RegistrySlot(std::string_view key, std::string_view name) {
  std::string slot;
  size_t start = 0;
  while (start <= key.size()) {
    size_t end = std::min(key.find('\\', start), key.size());
    if (end > start) slot += FoldAscii(key.substr(start, end - start)) + '\\';
    start = end + 1;
  }
  return slot + '\n' + FoldAscii(name);
}

// How a profile tells sections and keys apart.
std::string ProfileName(std::string_view ansi) { return FoldAscii(TrimBlanks(ansi)); }

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool HasNul(std::string_view text) { return text.find('\0') != std::string_view::npos; }

const json* Section(const json& book, const char* name) {
  if (!book.is_object() || !book.contains(name) || !book[name].is_object()) return nullptr;
  return &book[name];
}

std::optional<std::filesystem::path> RealPath(const std::filesystem::path& root,
                                              const std::string& windows_path) {
  std::optional<std::string> ansi = AnsiOf(windows_path);
  if (!ansi) return std::nullopt;
  return MapWindowsPath(root, *ansi);
}

void CheckRegistry(const json& book, const std::filesystem::path& root) {
  const json* section = Section(book, "registry");
  if (section == nullptr) return;
  std::map<std::string, int> uses;
  for (const auto& [key, values] : section->items()) {
    for (const auto& [name, value] : values.items()) {
      if (value.is_string()) ++uses[RegistrySlot(key, name)];
    }
  }
  const RegistryFile registry = RegistryFile::Read(root / "registry.reg");
  for (const auto& [key, values] : section->items()) {
    for (const auto& [name, value] : values.items()) {
      if (!value.is_string() || uses[RegistrySlot(key, name)] != 1) continue;
      fuzz::Check(registry.Find(key, name) == value.get<std::string>(),
                  "a registry value of the book does not read back");
    }
  }
}

void CheckIni(const json& book, const std::filesystem::path& root) {
  const json* section = Section(book, "ini");
  if (section == nullptr) return;
  RootEnvironment environment(root);
  for (const auto& [path, sections] : section->items()) {
    std::map<std::string, int> section_uses;
    for (const auto& [name, keys] : sections.items()) ++section_uses[ProfileName(*AnsiOf(name))];
    for (const auto& [name, keys] : sections.items()) {
      const std::string section_ansi = *AnsiOf(name);
      if (section_uses[ProfileName(section_ansi)] != 1 || HasNul(section_ansi)) continue;
      std::map<std::string, int> key_uses;
      for (const auto& [key, value] : keys.items()) ++key_uses[ProfileName(*AnsiOf(key))];
      for (const auto& [key, value] : keys.items()) {
        const std::string key_ansi = *AnsiOf(key);
        if (value.is_null() || key_uses[ProfileName(key_ansi)] != 1 || HasNul(key_ansi)) continue;
        std::string written = value.is_string() ? *AnsiOf(value.get<std::string>())
                                                : std::to_string(value.get<int64_t>());
        if (HasNul(written)) continue;
        std::string expected(Unquoted(TrimBlanks(written)));
        std::string got = environment.PrivateProfileString(section_ansi, key_ansi, "\x7f<none>",
                                                           65535, *AnsiOf(path));
        fuzz::Check(got == expected, "a profile value of the book does not read back");
      }
    }
  }
}

void CheckCookies(const json& book, const std::filesystem::path& root) {
  const json* section = Section(book, "cookies");
  if (section == nullptr) return;
  RootCookieStore cookies(root);
  for (const auto& [address, value] : section->items()) {
    std::optional<std::string> ansi = AnsiOf(address);
    if (!value.is_string() || !ansi || HasNul(*ansi) || FromAnsi(*ansi) != address) continue;
    fuzz::Check(cookies.Cookie(*ansi, "winflag", 1u << 30) == ToAnsi(value.get<std::string>()),
                "a cookie of the book does not read back");
  }
}

void CheckFiles(const json& book, const std::filesystem::path& root) {
  const json* section = Section(book, "files");
  if (section == nullptr) return;
  for (const auto& [path, entry] : section->items()) {
    std::string expected;
    if (entry.contains("hex")) {
      expected = *ParseHex(entry["hex"]);
    } else if (entry.contains("text")) {
      expected = entry["text"].get<std::string>();
    } else if (entry.contains("ansi")) {
      expected = *AnsiOf(entry["ansi"].get<std::string>());
    } else {
      continue;
    }
    std::string got;
    fuzz::Check(ReadFileBytes(*RealPath(root, path), &got) == ReadStatus::kOk && got == expected,
                "a raw file of the book does not read back");
  }
}

void CheckData(const json& book, const std::filesystem::path& root) {
  const json* section = Section(book, "data");
  if (section == nullptr) return;
  for (const auto& [path, entry] : section->items()) {
    std::string error;
    std::optional<DataFileContents> contents = ReadDataFile(*RealPath(root, path), &error);
    fuzz::Check(contents.has_value(), "a data file of the book cannot be read");
    size_t records = entry.contains("records") ? entry["records"].size() : 0;
    fuzz::Check(contents->records.size() == records, "a data file lost or gained records");
  }
}

// Every Windows path of the book names the file written: a path that holds
// a NUL would be cut there by the mapping and land on another file.
void CheckPaths(const json& book) {
  for (const char* name : {"ini", "programs", "files", "data"}) {
    const json* section = Section(book, name);
    if (section == nullptr) continue;
    for (const auto& [path, entry] : section->items()) {
      fuzz::Check(!HasNul(path), "a path holding a NUL was taken");
    }
  }
}

size_t Entries(const std::filesystem::path& folder) {
  std::error_code ec;
  size_t n = 0;
  for (auto it = std::filesystem::directory_iterator(folder, ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    ++n;
  }
  return n;
}

}  // namespace
}  // namespace h5

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace h5;
  const nlohmann::json book = nlohmann::json::parse(data, data + size, nullptr, false);
  if (book.is_discarded()) return 0;

  static const std::filesystem::path parent = fuzz::ScratchDir() / "book";
  const std::filesystem::path root = parent / "root";
  std::error_code ec;
  std::filesystem::create_directories(parent, ec);
  std::string error;
  if (BuildBook(book, root, &error)) {
    fuzz::Check(Entries(parent) == 1, "the build wrote beside the root");
    CheckPaths(book);
    CheckRegistry(book, root);
    CheckIni(book, root);
    CheckCookies(book, root);
    CheckFiles(book, root);
    CheckData(book, root);
  } else {
    fuzz::Check(!error.empty(), "a refused book without a message");
    fuzz::Check(error.rfind("cannot build the book: ", 0) != 0,
                "an exception escaped the checks of the book");
    fuzz::Check(!std::filesystem::exists(root, ec), "a refused book left its root behind");
    fuzz::Check(Entries(parent) == 0, "a refused book wrote beside the root");
  }
  fuzz::RemoveTree(root);
  return 0;
}
