// A book description checked and turned into the list of files to write.
// Nothing here touches the disk except to look up the stored names of
// existing folders while mapping Windows paths.
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
  std::string root_file;     // a name directly in the root ("registry.reg")
  bool executable = false;
  std::vector<uint8_t> bytes;            // the content, unless data is set
  std::optional<DataFileContents> data;  // a kakeidb data file
};

// Checks the whole book; on success fills *files in book order (registry,
// ini, cookies, programs, files, data). root is the absolute root path; the
// stand-in programs name it. On failure returns false with *error naming the
// place in the book, e.g. data["C:\\x.dat"].records[3].amount: ...
bool PlanBook(const nlohmann::json& book, const std::filesystem::path& root,
              std::vector<PlannedFile>* files, std::string* error);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_BOOK_PLAN_H_
