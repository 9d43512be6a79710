#include "tools/book_builder.h"

#include <exception>
#include <fstream>
#include <sstream>
#include <vector>

#include "tools/book_plan.h"
#include "tools/root_writer.h"

namespace h5 {

bool BuildBook(const nlohmann::json& book, const std::filesystem::path& root, std::string* error) {
  try {
    if (root.empty()) {
      *error = "no root folder given";
      return false;
    }
    std::filesystem::path absolute = std::filesystem::absolute(root).lexically_normal();
    if (absolute.has_parent_path() && absolute.filename().empty()) {
      absolute = absolute.parent_path();  // drop a trailing separator
    }
    std::vector<PlannedFile> files;
    if (!PlanBook(book, absolute, &files, error)) return false;
    return WriteIntoRoot(absolute, files, error);
  } catch (const std::exception& e) {
    // Only resource failures get here (allocation, the file system).
    *error = std::string("cannot build the book: ") + e.what();
    return false;
  }
}

bool BuildBookFile(const std::filesystem::path& book_file, const std::filesystem::path& root,
                   std::string* error) {
  std::ifstream in(book_file, std::ios::binary);
  if (!in) {
    *error = "cannot read the book " + book_file.string();
    return false;
  }
  std::stringstream text;
  text << in.rdbuf();
  if (in.bad()) {
    *error = "cannot read the book " + book_file.string();
    return false;
  }
  nlohmann::json book;
  try {
    book = nlohmann::json::parse(text.str());
  } catch (const nlohmann::json::parse_error& e) {
    *error = book_file.string() + ": not valid JSON: " + e.what();
    return false;
  }
  return BuildBook(book, root, error);
}

}  // namespace h5
