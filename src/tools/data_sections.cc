// The files and data sections of a book, and the check of Windows paths.
#include <string_view>

#include "platform/root/path_map.h"
#include "text/ansi.h"
#include "tools/book_plan.h"
#include "tools/book_values.h"
#include "tools/layouts.h"

namespace h5 {

namespace {

// The record length, keys and owner of a data file; *layout when it names one.
bool ParseDefinition(const nlohmann::json& entry, const std::string& place,
                     FileDefinition* definition, const Layout** layout, std::string* error) {
  definition->owner_name = kBookOwnerName;
  if (entry.contains("layout")) {
    const nlohmann::json& name = entry["layout"];
    if (name.is_string()) *layout = FindLayout(name.get_ref<const std::string&>());
    if (*layout == nullptr) {
      *error = Field(place, "layout") + ": unknown layout " +
               name.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) +
               " (expected one of " + LayoutNames() + ")";
      return false;
    }
    definition->record_length = (*layout)->record_length;
    definition->keys = (*layout)->keys;
  } else if (!entry.contains("recordLength") || !entry.contains("keys")) {
    *error = place + ": expected a layout (or both recordLength and keys)";
    return false;
  }
  if (entry.contains("recordLength")) {
    std::optional<int64_t> length =
        ParseBookInteger(entry["recordLength"], 1, kMaxRecordLength, error);
    if (!length) {
      *error = Field(place, "recordLength") + ": " + *error;
      return false;
    }
    definition->record_length = static_cast<int32_t>(*length);
  }
  if (entry.contains("keys") &&
      !ParseKeys(entry["keys"], Field(place, "keys"), &definition->keys, error)) {
    return false;
  }
  if (entry.contains("owner")) {
    std::optional<std::string> ansi;
    if (entry["owner"].is_string()) ansi = AnsiOf(entry["owner"].get_ref<const std::string&>());
    if (!ansi) {
      *error = Field(place, "owner") + ": expected an owner name in CP932 text";
      return false;
    }
    definition->owner_name = *ansi;
  }
  // The rules of the format itself, so that no book fails only while written.
  std::string message;
  if (ValidateFileDefinition(*definition, &message)) return true;
  *error = place + ": " + message;
  return false;
}

}  // namespace

bool CheckWindowsFilePath(const std::string& path, const std::filesystem::path& root,
                          const std::string& place, std::string* error) {
  if (path.find('\0') != std::string::npos) {
    *error = place + ": a path cannot hold NUL";
    return false;
  }
  std::optional<std::string> ansi = AnsiOf(path);
  if (!ansi) {
    *error = place + ": the path has a character that CP932 cannot hold";
    return false;
  }
  std::optional<std::filesystem::path> mapped = MapWindowsPath(root, *ansi);
  bool below_drive = false;
  if (mapped) {
    std::filesystem::path relative = mapped->lexically_relative(root);
    auto part = relative.begin();
    below_drive = part != relative.end() && part->string().rfind("drive_", 0) == 0 &&
                  std::distance(relative.begin(), relative.end()) >= 2;
  }
  if (!below_drive) {
    *error = place + ": not a Windows path of a file (such as C:\\folder\\name)";
    return false;
  }
  return true;
}

bool PlanFiles(const nlohmann::json& section, const std::filesystem::path& root,
               std::vector<PlannedFile>* files, std::string* error) {
  for (const auto& [path, entry] : section.items()) {
    std::string place = Member("files", path);
    if (!CheckWindowsFilePath(path, root, place, error)) return false;
    if (!entry.is_object() || entry.size() != 1) {
      *error = place + ": expected {\"hex\": ...}, {\"text\": ...} or {\"ansi\": ...}";
      return false;
    }
    const std::string form = entry.begin().key();
    const nlohmann::json& value = entry.begin().value();
    const std::string form_place = Field(place, form);
    if (!value.is_string()) {
      *error = form_place + ": expected a string, got " + TypeName(value);
      return false;
    }
    const std::string& text = value.get_ref<const std::string&>();
    std::optional<std::string> bytes;
    if (form == "hex") {
      std::optional<std::vector<uint8_t>> hex = ParseHex(text);
      if (hex) bytes.emplace(hex->begin(), hex->end());
      if (!hex) *error = form_place + ": expected pairs of hex digits";
    } else if (form == "text") {
      bytes = text;
    } else if (form == "ansi") {
      bytes = AnsiOf(text);
      if (!bytes) *error = form_place + ": has a character that CP932 cannot hold";
    } else {
      *error = form_place + ": unknown form (expected hex, text or ansi)";
    }
    if (!bytes) return false;
    files->emplace_back(place, path, std::move(*bytes));
  }
  return true;
}

bool PlanData(const nlohmann::json& section, const std::filesystem::path& root,
              std::vector<PlannedFile>* files, std::string* error) {
  for (const auto& [path, entry] : section.items()) {
    const std::string place = Member("data", path);
    PlannedFile file(place, path);
    DataFileContents& contents = file.data.emplace();
    const Layout* layout = nullptr;
    if (!CheckWindowsFilePath(path, root, place, error) ||
        !CheckMembers(entry, {"layout", "records", "owner", "recordLength", "keys"}, place,
                      error) ||
        !ParseDefinition(entry, place, &contents.definition, &layout, error)) {
      return false;
    }
    const nlohmann::json records = entry.value("records", nlohmann::json::array());
    if (!records.is_array()) {
      *error = Field(place, "records") + ": expected an array of records, got " + TypeName(records);
      return false;
    }
    contents.records.resize(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
      if (!PackRecord(layout, contents.definition.record_length, records[i],
                      Index(Field(place, "records"), i), &contents.records[i], error)) {
        return false;
      }
    }
    files->push_back(std::move(file));
  }
  return true;
}

}  // namespace h5
