// The planners of the single sections of a book description. Each checks its
// section whole and appends the files it describes; on failure it returns
// false with *error naming the place. Used by PlanBook only.
#ifndef H5KAKEI_TOOLS_BOOK_SECTIONS_H_
#define H5KAKEI_TOOLS_BOOK_SECTIONS_H_

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/book_plan.h"

namespace h5 {

// Checks that path is a Windows path of a file that maps into root: CP932
// text naming something below a drive folder. place names it in messages.
bool CheckWindowsFilePath(const std::string& path, const std::filesystem::path& root,
                          const std::string& place, std::string* error);

bool PlanRegistry(const nlohmann::json& section, std::vector<PlannedFile>* files,
                  std::string* error);
bool PlanIni(const nlohmann::json& section, const std::filesystem::path& root,
             std::vector<PlannedFile>* files, std::string* error);
bool PlanCookies(const nlohmann::json& section, std::vector<PlannedFile>* files,
                 std::string* error);
bool PlanPrograms(const nlohmann::json& section, const std::filesystem::path& root,
                  std::vector<PlannedFile>* files, std::string* error);
bool PlanFiles(const nlohmann::json& section, const std::filesystem::path& root,
               std::vector<PlannedFile>* files, std::string* error);
bool PlanData(const nlohmann::json& section, const std::filesystem::path& root,
              std::vector<PlannedFile>* files, std::string* error);

// The text of a stand-in program of kind "launch-log" for root.
std::string LaunchLogScript(const std::filesystem::path& root);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_BOOK_SECTIONS_H_
