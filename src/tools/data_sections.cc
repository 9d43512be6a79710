// The files and data sections of a book, and the check of Windows paths.
#include <string_view>

#include "platform/root/path_map.h"
#include "text/ansi.h"
#include "tools/book_plan.h"
#include "tools/book_values.h"
#include "tools/layouts.h"

namespace h5 {

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
  // A file lies at least one name below a drive folder: <root>/drive_c/name.
  const std::filesystem::path relative = mapped ? mapped->lexically_relative(root) : "";
  if (std::distance(relative.begin(), relative.end()) < 2 ||
      !relative.begin()->string().starts_with("drive_")) {
    *error = place + ": not a Windows path of a file (such as C:\\folder\\name)";
    return false;
  }
  return true;
}

bool PlanFile(const std::string& path, const nlohmann::json& entry, const std::string& place,
              const std::filesystem::path& root, PlannedFile* file, std::string* error) {
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
    bytes = ParseHex(value);
    if (!bytes) *error = form_place + ": expected pairs of hex digits";
  } else if (form == "text") {
    bytes = text;
  } else if (form == "ansi") {
    bytes = AnsiOf(text);
    if (!bytes) *error = form_place + ": has a character that CP932 cannot hold";
  } else {
    *error = form_place + ": unknown form (expected hex, text or ansi)";
  }
  if (bytes) file->bytes = std::move(*bytes);
  return bytes.has_value();
}

bool PlanDataFile(const std::string& path, const nlohmann::json& entry, const std::string& place,
                  const std::filesystem::path& root, PlannedFile* file, std::string* error) {
  return CheckWindowsFilePath(path, root, place, error) &&
         ParseDataEntry(entry, place, &file->data.emplace(), error);
}

}  // namespace h5
