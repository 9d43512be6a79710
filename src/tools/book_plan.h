// A book description checked and turned into the list of files to write:
// the small value forms of a book, the places that messages name, e.g.
// data["C:\\x.dat"].records[3].amount: ..., and the files planned.
#ifndef H5KAKEI_TOOLS_BOOK_PLAN_H_
#define H5KAKEI_TOOLS_BOOK_PLAN_H_

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/kakeidb/data_file_writer.h"

namespace h5 {

// Bytes from pairs of hex digits, blanks allowed between pairs; nullopt for
// anything else, a value that is no string too.
std::optional<std::string> ParseHex(const nlohmann::json& value);

// "YYYY-MM-DD" for years 1..9999, else "day N".
std::string DateText(int32_t day_number);

std::optional<int64_t> ParseBookInteger(const nlohmann::json& value, int64_t low, int64_t high,
                                        std::string* error);

// nullopt when some character has no CP932 form.
std::optional<std::string> AnsiOf(std::string_view text);

// value as JSON text, invalid UTF-8 replaced: "a\\b" for the string a\b.
std::string Quoted(const nlohmann::json& value);

// Place names for messages: Member("data", "C:\\a") is data["C:\\a"],
// Field("x", "amount") is x.amount, Index("x", 3) is x[3].
std::string Member(std::string_view place, std::string_view key);
std::string Field(std::string_view place, std::string_view name);
std::string Index(std::string_view place, size_t index);

// Sets *error to "place: message", or message alone when place is empty,
// and gives false to return.
bool Fail(const std::string& place, const std::string& message, std::string* error);

// For "expected X, got Y".
std::string TypeName(const nlohmann::json& value);

bool ExpectObject(const nlohmann::json& value, const std::string& place, std::string* error);

// Whether object is an object with no members but allowed ones.
bool CheckMembers(const nlohmann::json& object, std::initializer_list<const char*> allowed,
                  const std::string& place, std::string* error);

// Reads each element of an array with parse, at place[i].
template <typename T, typename Parse>
bool ParseArray(const nlohmann::json& value, const std::string& place, const char* expected,
                Parse parse, std::vector<T>* items, std::string* error) {
  if (!value.is_array()) {
    return Fail(place, std::string("expected an array of ") + expected + ", got " + TypeName(value),
                error);
  }
  items->assign(value.size(), T{});
  for (size_t i = 0; i < value.size(); ++i) {
    if (!parse(value[i], Index(place, i), &(*items)[i], error)) return false;
  }
  return true;
}

// One file of the root, ready to be written; members after place may be left out.
struct PlannedFile {
  std::string place;           // where the book describes it, for messages
  std::string windows_path{};  // UTF-8, as in the book; empty for a root file
  std::string bytes{};         // the content, unless data is set
  std::string root_file{};     // a name directly in the root ("registry.reg")
  bool executable = false;
  std::optional<DataFileContents> data{};  // a kakeidb data file, checked as the format demands
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
