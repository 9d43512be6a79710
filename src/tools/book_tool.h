// The book tool. It writes an environment root from a book description, the
// JSON that `h5kakei book build` reads, with the sections registry, ini,
// cookies, programs, files and data. The whole book is checked before
// anything is written; files it names are replaced, everything else in the
// root stays. The demo book is such a book: the suite in C:\Hidamari5 with
// account book 1, whose book year contains a given day, and everything
// around it the tile reads. The dump shows what a data file holds, decoded
// with the layout its record length and keys identify.
#ifndef H5KAKEI_TOOLS_BOOK_TOOL_H_
#define H5KAKEI_TOOLS_BOOK_TOOL_H_

#include <chrono>
#include <filesystem>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

namespace h5 {

// Builds book into root (created when missing); false with *error set.
bool BuildBook(const nlohmann::json& book, const std::filesystem::path& root, std::string* error);

// The same for a book read from a JSON file.
bool BuildBookFile(const std::filesystem::path& book_file, const std::filesystem::path& root,
                   std::string* error);

// The book of the demo root for today, set up so that the diagnosis on
// today grades the budget 4.
nlohmann::json SampleBook(std::chrono::year_month_day today);

// Builds SampleBook(today) into root. Start-up reads the book year from two
// digits as 1990..2089, so other days are refused.
bool BuildSampleRoot(const std::filesystem::path& root, std::chrono::year_month_day today,
                     std::string* error);

// Readable text: a header, then each record in hex and by field; or with
// as_json the file as an entry of a book's data section, indented JSON.
// Nothing is printed when the file cannot be read.
bool DumpDataFile(const std::filesystem::path& file, bool as_json, std::ostream& out,
                  std::string* error);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_BOOK_TOOL_H_
