// The record layouts of the account book's data files (offsets from store/)
// and their JSON form in a book: a record is an object of named fields or
// {"hex": "..."}; keys are [{"number", "duplicates", "segments": [{"offset",
// "length", "type": "signed" | "unsigned" | "string"}]}].
#ifndef H5KAKEI_TOOLS_LAYOUTS_H_
#define H5KAKEI_TOOLS_LAYOUTS_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/kakeidb/data_file_writer.h"

namespace h5 {

// A field of a record: its bytes compare as in a key, so a byte is
// unsigned, wider integers are signed and text is CP932 padded with blanks.
struct FieldDef {
  std::string name;
  KeySegment bytes;
  bool date = false;  // a day number, "YYYY-MM-DD" in a book
};

struct Layout {
  std::string name;  // "cashbook", ...
  int32_t record_length = 0;
  std::vector<FieldDef> fields;  // in offset order
  std::vector<KeyDefinition> keys;
};

// Every layout, in the order messages list them.
const std::vector<Layout>& Layouts();

// The layout with the record length and keys of definition, or nullptr.
const Layout* RecognizeLayout(const FileDefinition& definition);

const FieldDef* FindField(const Layout& layout, std::string_view name);

// The fields of layout that lie within record; text without trailing blanks.
nlohmann::json UnpackRecord(const Layout& layout, std::span<const uint8_t> record);

// Checks a data file's entry of a book and packs its records. *error
// starts with place.
bool ParseDataEntry(const nlohmann::json& entry, const std::string& place,
                    DataFileContents* contents, std::string* error);

// The entry that builds the same record length, owner, keys and bytes.
nlohmann::json DataEntryJson(const DataFileContents& contents);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_LAYOUTS_H_
