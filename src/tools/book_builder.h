// Writes an environment root from a book description (the JSON form that
// `h5kakei book build` reads):
//
//   registry  {key path: {value name: text or null}}  -> registry.reg
//   ini       {Windows path: {section: {key: text, integer or null}}}
//             written in CP932 with CRLF line ends; null leaves a key out
//   cookies   {page address: cookie text or null}     -> cookies.txt
//   programs  {Windows path: "launch-log"}            a stand-in program
//   files     {Windows path: {"hex": ..} | {"text": ..} | {"ansi": ..}}
//             raw bytes; "text" is written as its UTF-8 bytes, "ansi" in
//             CP932
//   data      {Windows path: {"layout": name, "records": [...],
//              optional "owner", "recordLength", "keys"}}  kakeidb files
//
// The whole book is checked before anything is written; a malformed book is
// rejected with one message that names the place, and the root stays as it
// was. Files the book names are replaced; everything else in the root stays.
// The write itself is all-or-nothing as root_writer.h describes.
#ifndef H5KAKEI_TOOLS_BOOK_BUILDER_H_
#define H5KAKEI_TOOLS_BOOK_BUILDER_H_

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

namespace h5 {

// Builds book into root (created when missing). false with *error set when
// the book is malformed or the root cannot be written.
bool BuildBook(const nlohmann::json& book, const std::filesystem::path& root, std::string* error);

// The same for a book read from a JSON file; a file that cannot be read or
// parsed gives an error naming the file (and line and column).
bool BuildBookFile(const std::filesystem::path& book_file, const std::filesystem::path& root,
                   std::string* error);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_BOOK_BUILDER_H_
