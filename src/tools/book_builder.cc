#include "tools/book_builder.h"

#include <exception>
#include <iterator>
#include <fstream>
#include <sstream>
#include <vector>

#include "tools/book_plan.h"
#include "tools/book_values.h"
#include "tools/root_writer.h"

namespace h5 {
namespace {

// No real book nests deeper than a handful of levels; deeper ones are refused
// before anything else touches them, since copying or printing such a value
// recurses once per level.
constexpr size_t kMaxNesting = 64;

// Walks book without recursion; on a value nested too deep names its place.
bool CheckNesting(const nlohmann::json& book, std::string* error) {
  struct Frame {
    const nlohmann::json* value;
    nlohmann::json::const_iterator next;
  };
  std::vector<Frame> stack;
  stack.push_back({&book, book.cbegin()});
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (!top.value->is_structured() || top.next == top.value->cend()) {
      stack.pop_back();
      continue;
    }
    const nlohmann::json& child = *top.next;
    ++top.next;
    if (!child.is_structured()) continue;
    if (stack.size() >= kMaxNesting) {
      std::string place;
      for (size_t depth = 0; depth < stack.size(); ++depth) {
        const Frame& frame = stack[depth];
        auto at = std::prev(frame.next);
        if (frame.value->is_array()) {
          place = Index(place, static_cast<size_t>(at - frame.value->cbegin()));
        } else if (depth == 1) {
          place = Member(place, at.key());
        } else {
          place = Field(place, at.key());
        }
      }
      *error = place + ": nested deeper than " + std::to_string(kMaxNesting) + " levels";
      return false;
    }
    stack.push_back({&child, child.cbegin()});
  }
  return true;
}

}  // namespace

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
    if (!CheckNesting(book, error)) return false;
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
  } catch (const nlohmann::json::exception& e) {
    *error = book_file.string() + ": not valid JSON: " + e.what();
    return false;
  }
  return BuildBook(book, root, error);
}

}  // namespace h5
