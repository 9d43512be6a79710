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
  if (path.find('\0') != std::string::npos) return Fail(place, "a path cannot hold NUL", error);
  std::optional<std::string> ansi = AnsiOf(path);
  if (!ansi) return Fail(place, "the path has a character that CP932 cannot hold", error);
  std::optional<std::filesystem::path> mapped = MapWindowsPath(root, *ansi);
  // A file lies at least one name below a drive folder: <root>/drive_c/name.
  const std::filesystem::path relative = mapped ? mapped->lexically_relative(root) : "";
  return (std::distance(relative.begin(), relative.end()) >= 2 &&
          relative.begin()->string().starts_with("drive_")) ||
         Fail(place, "not a Windows path of a file (such as C:\\folder\\name)", error);
}

bool PlanFile(const std::string& path, const nlohmann::json& entry, const std::string& place,
              const std::filesystem::path& root, PlannedFile* file, std::string* error) {
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
                  const std::filesystem::path& root, PlannedFile* file, std::string* error) {
  return CheckWindowsFilePath(path, root, place, error) &&
         ParseDataEntry(entry, place, &file->data.emplace(), error);
}

}  // namespace h5
