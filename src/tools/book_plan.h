// A book description checked and turned into the list of files to write.
// Each planner checks one section of the book whole and appends the files it
// describes; on failure it returns false with *error naming the place, e.g.
// data["C:\\x.dat"].records[3].amount: ... Nothing here touches the disk
// except to look up the stored names of existing folders of root.
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
  PlannedFile(std::string place, std::string windows_path, std::string bytes = {})
      : place(std::move(place)), windows_path(std::move(windows_path)), bytes(std::move(bytes)) {}

  std::string place;         // where the book describes it, for messages
  std::string windows_path;  // UTF-8, as in the book; empty for a root file
  std::string bytes;         // the content, unless data is set
  std::string root_file;     // a name directly in the root ("registry.reg")
  bool executable = false;
  std::optional<DataFileContents> data;  // a kakeidb data file, checked as the format demands
};

// root is the absolute root path; the stand-in programs name it.
using SectionPlanner = bool (*)(const nlohmann::json& section, const std::filesystem::path& root,
                                std::vector<PlannedFile>* files, std::string* error);
bool PlanRegistry(const nlohmann::json& section, const std::filesystem::path& root,
                  std::vector<PlannedFile>* files, std::string* error);
bool PlanIni(const nlohmann::json& section, const std::filesystem::path& root,
             std::vector<PlannedFile>* files, std::string* error);
bool PlanCookies(const nlohmann::json& section, const std::filesystem::path& root,
                 std::vector<PlannedFile>* files, std::string* error);
bool PlanPrograms(const nlohmann::json& section, const std::filesystem::path& root,
                  std::vector<PlannedFile>* files, std::string* error);
bool PlanFiles(const nlohmann::json& section, const std::filesystem::path& root,
               std::vector<PlannedFile>* files, std::string* error);
bool PlanData(const nlohmann::json& section, const std::filesystem::path& root,
              std::vector<PlannedFile>* files, std::string* error);

// Writes files into root as one change. The new root is put together in a
// fresh folder beside it, a copy of the root as it was (if there was one) with
// the files written over it, and only then renamed into place. Any failure
// removes that folder again: the root stays as it was, or missing, and
// nothing is left beside it. Windows paths are mapped as each file is
// written, so a folder made for one file is found, whatever its case, by the
// next; two files on the same place are an error.
bool WriteIntoRoot(const std::filesystem::path& root, const std::vector<PlannedFile>& files,
                   std::string* error);

// Checks that path is a Windows path of a file that maps into root: CP932
// text naming something below a drive folder. place names it in messages.
bool CheckWindowsFilePath(const std::string& path, const std::filesystem::path& root,
                          const std::string& place, std::string* error);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_BOOK_PLAN_H_
