// A data file's records and keys in the JSON form of a book description.
// A record is an object of named fields of a layout, or {"hex": "..."} for
// bytes given as they are. Keys are
// [{"number": 0, "duplicates": true,
//   "segments": [{"offset": 7, "length": 4, "type": "signed"}]}]
// with type one of "signed", "unsigned", "string".
#ifndef H5KAKEI_TOOLS_DATA_JSON_H_
#define H5KAKEI_TOOLS_DATA_JSON_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/layouts.h"

namespace h5 {

// Packs one record of record_length bytes. value is {"hex": "..."} (exactly
// record_length bytes) or an object of fields of layout (nullptr: no layout,
// so only hex records). A field that is not given is 0, or blanks for text.
// Fields must lie within record_length. On failure returns false and sets
// *error to a message that starts with place (or place.field).
bool PackRecord(const Layout* layout, int32_t record_length, const nlohmann::json& value,
                std::string_view place, std::vector<uint8_t>* record, std::string* error);

// Every field of layout that lies within record, decoded: integers, dates as
// FormatBookDate gives them, text without its trailing blanks.
nlohmann::json UnpackRecord(const Layout& layout, std::span<const uint8_t> record);

// The book form of a record: its fields when packing them gives back the
// very same bytes, else {"hex": "..."}. layout may be nullptr.
nlohmann::json RecordToJson(const Layout* layout, std::span<const uint8_t> record);

nlohmann::json KeysToJson(const std::vector<KeyDefinition>& keys);

// Reads keys in that form. Only the form is checked here (members, their
// types, integers that fit their fields); whether the keys suit the file is
// for ValidateFileDefinition to say. On failure returns false with *error
// starting with place.
bool ParseKeys(const nlohmann::json& value, const std::string& place,
               std::vector<KeyDefinition>* keys, std::string* error);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_DATA_JSON_H_
