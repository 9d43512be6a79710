// Writes an environment root from a book description, the JSON that
// `h5kakei book build` reads, with the sections registry, ini, cookies,
// programs, files and data. The whole book is checked before anything is
// written; files it names are replaced, everything else in the root stays.
#ifndef H5KAKEI_TOOLS_BOOK_BUILDER_H_
#define H5KAKEI_TOOLS_BOOK_BUILDER_H_

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

namespace h5 {

// Builds book into root (created when missing); false with *error set.
bool BuildBook(const nlohmann::json& book, const std::filesystem::path& root, std::string* error);

// The same for a book read from a JSON file.
bool BuildBookFile(const std::filesystem::path& book_file, const std::filesystem::path& root,
                   std::string* error);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_BOOK_BUILDER_H_
