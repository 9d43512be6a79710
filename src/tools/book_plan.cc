#include "tools/book_plan.h"

#include "tools/book_sections.h"
#include "tools/book_values.h"

namespace h5 {

bool PlanBook(const nlohmann::json& book, const std::filesystem::path& root,
              std::vector<PlannedFile>* files, std::string* error) {
  if (!book.is_object()) {
    *error = "book: expected an object, got " + TypeName(book);
    return false;
  }
  for (const auto& [name, section] : book.items()) {
    if (name != "registry" && name != "ini" && name != "cookies" && name != "programs" &&
        name != "files" && name != "data") {
      *error = Member("book", name) +
               ": unknown section (expected registry, ini, cookies, programs, files, data)";
      return false;
    }
  }
  std::vector<PlannedFile> planned;
  if (book.contains("registry") && !PlanRegistry(book["registry"], &planned, error)) return false;
  if (book.contains("ini") && !PlanIni(book["ini"], root, &planned, error)) return false;
  if (book.contains("cookies") && !PlanCookies(book["cookies"], &planned, error)) return false;
  if (book.contains("programs") && !PlanPrograms(book["programs"], root, &planned, error)) {
    return false;
  }
  if (book.contains("files") && !PlanFiles(book["files"], root, &planned, error)) return false;
  if (book.contains("data") && !PlanData(book["data"], root, &planned, error)) return false;
  *files = std::move(planned);
  return true;
}

}  // namespace h5
