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

// Checks one member of a section, key: value at place, and fills in file,
// its bytes or data; the sections of one root file add to the same file.
// root is the absolute root path, which stand-in programs name.
using EntryPlanner = bool(const std::string& key, const nlohmann::json& value,
                          const std::string& place, const std::filesystem::path& root,
                          PlannedFile* file, std::string* error);
EntryPlanner PlanRegistryKey, PlanIniFile, PlanCookie, PlanProgram, PlanFile, PlanDataFile;

// Writes files into root as one change: a copy of the root is made beside
// it, the files are written into the copy, and it is exchanged with the root
// (renameat2 RENAME_EXCHANGE). On failure the root stays as it was and the
// copy is removed. Two files on the same place are an error.
bool WriteIntoRoot(const std::filesystem::path& root, const std::vector<PlannedFile>& files,
                   std::string* error);

// Checks that path is a Windows path of a file that maps into root: CP932
// text naming something below a drive folder. place names it in messages.
bool CheckWindowsFilePath(const std::string& path, const std::filesystem::path& root,
                          const std::string& place, std::string* error);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_BOOK_PLAN_H_
