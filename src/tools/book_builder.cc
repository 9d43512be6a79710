#include "tools/book_tool.h"

#include <exception>
#include <fstream>
#include <vector>

#include "platform/root/path_map.h"
#include "tools/book_plan.h"

namespace h5 {
namespace {

// Copying or printing a value recurses once per level, so deeper books are
// refused first. No real book nests more than a handful of levels.
constexpr size_t kMaxNesting = 64;

// Whether value holds a container at depth kMaxNesting; *found is its place.
bool TooDeep(const nlohmann::json& value, const std::string& place, size_t depth,
             std::string* found) {
  if (!value.is_structured()) return false;
  if (depth >= kMaxNesting) {
    *found = place;
    return true;
  }
  size_t index = 0;
  for (auto it = value.begin(); it != value.end(); ++it, ++index) {
    std::string child = value.is_array() ? Index(place, index)
                        : depth == 1     ? Member(place, it.key())
                                         : Field(place, it.key());
    if (TooDeep(*it, child, depth + 1, found)) return true;
  }
  return false;
}

}  // namespace

bool BuildBook(const nlohmann::json& book, const std::filesystem::path& root, std::string* error) {
  if (root.empty()) return Fail("", "no root folder given", error);
  try {
    const std::filesystem::path absolute = NormalizeRoot(root);
    std::string place;
    if (TooDeep(book, "", 0, &place)) {
      return Fail(place, "nested deeper than " + std::to_string(kMaxNesting) + " levels", error);
    }
    std::vector<PlannedFile> files;
    return PlanBook(book, absolute, &files, error) && WriteIntoRoot(absolute, files, error);
  } catch (const std::exception& e) {
    // Only resource failures get here (allocation, the file system).
    return Fail("", std::string("cannot build the book: ") + e.what(), error);
  }
}

bool BuildBookFile(const std::filesystem::path& book_file, const std::filesystem::path& root,
                   std::string* error) {
  std::ifstream in(book_file, std::ios::binary);
  if (!in) return Fail("", "cannot read the book " + book_file.string(), error);
  nlohmann::json book;
  try {
    book = nlohmann::json::parse(in);
  } catch (const nlohmann::json::exception& e) {
    return Fail(book_file.string(), std::string("not valid JSON: ") + e.what(), error);
  }
  return BuildBook(book, root, error);
}

}  // namespace h5
