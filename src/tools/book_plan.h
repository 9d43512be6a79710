// A book description checked and turned into the list of files to write.
// Errors name the place, e.g. data["C:\\x.dat"].records[3].amount: ...
#ifndef H5KAKEI_TOOLS_BOOK_PLAN_H_
#define H5KAKEI_TOOLS_BOOK_PLAN_H_

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/kakeidb/data_file_writer.h"

namespace h5 {

// One file of the root, ready to be written.
struct PlannedFile {
  std::string place;         // where the book describes it, for messages
  std::string windows_path;  // UTF-8, as in the book; empty for a root file
  std::string bytes;         // the content, unless data is set
  std::string root_file;     // a name directly in the root ("registry.reg")
  bool executable = false;
  std::optional<DataFileContents> data;  // a kakeidb data file, checked as the format demands
};

// Checks book section by section and lists the files it describes. root is
// the absolute root path, which stand-in programs name.
bool PlanBook(const nlohmann::json& book, const std::filesystem::path& root,
              std::vector<PlannedFile>* files, std::string* error);

// Writes files into root as one change: a copy of the root is made beside
// it, the files are written into the copy, and it is exchanged with the root
// (renameat2 RENAME_EXCHANGE). On failure the root stays as it was and the
// copy is removed. Two files on the same place are an error.
bool WriteIntoRoot(const std::filesystem::path& root, const std::vector<PlannedFile>& files,
                   std::string* error);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_BOOK_PLAN_H_
