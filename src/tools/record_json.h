// Records of a data file as the JSON objects of a book description: named
// fields of a layout, or {"hex": "..."} for bytes given as they are.
#ifndef H5KAKEI_TOOLS_RECORD_JSON_H_
#define H5KAKEI_TOOLS_RECORD_JSON_H_

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

}  // namespace h5

#endif  // H5KAKEI_TOOLS_RECORD_JSON_H_
