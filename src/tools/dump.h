// Shows what a kakeidb data file holds: record length, owner name, keys and
// every record, decoded with the layout that the record length and keys
// identify.
#ifndef H5KAKEI_TOOLS_DUMP_H_
#define H5KAKEI_TOOLS_DUMP_H_

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

namespace h5 {

// Readable text: a header, then per record its bytes in hex and, when the
// layout is known, its fields. false with *error set when file is not a
// readable data file (nothing is printed then).
bool DumpDataFile(const std::filesystem::path& file, std::ostream& out, std::string* error);

// The file as an entry of a book's data section, so that building that
// entry writes the same record length, owner, keys and record bytes:
// {"layout": ..., "records": [...]} with "owner" when it is not "tefu"; a
// file of no known layout gets "recordLength" and "keys" and hex records.
std::optional<nlohmann::json> DataFileToBookEntry(const std::filesystem::path& file,
                                                  std::string* error);

// DataFileToBookEntry printed as indented JSON and a line break.
bool DumpDataFileJson(const std::filesystem::path& file, std::ostream& out, std::string* error);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_DUMP_H_
