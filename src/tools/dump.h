// Shows what a kakeidb data file holds, decoded with the layout its record
// length and keys identify.
#ifndef H5KAKEI_TOOLS_DUMP_H_
#define H5KAKEI_TOOLS_DUMP_H_

#include <filesystem>
#include <ostream>
#include <string>

namespace h5 {

// Readable text: a header, then each record in hex and by field; or with
// as_json the file as an entry of a book's data section, indented JSON.
// Nothing is printed when the file cannot be read.
bool DumpDataFile(const std::filesystem::path& file, bool as_json, std::ostream& out,
                  std::string* error);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_DUMP_H_
