// Key definitions of a data file in the JSON form of a book description:
// [{"number": 0, "duplicates": true,
//   "segments": [{"offset": 7, "length": 4, "type": "signed"}]}]
// with type one of "signed", "unsigned", "string".
#ifndef H5KAKEI_TOOLS_KEY_JSON_H_
#define H5KAKEI_TOOLS_KEY_JSON_H_

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/kakeidb/file_definition.h"

namespace h5 {

nlohmann::json KeysToJson(const std::vector<KeyDefinition>& keys);

// Checks value against records of record_length bytes: key numbers 0..127,
// each once; segments within the record; integer segments of 1, 2, 4 or 8
// bytes. On failure returns false with *error starting with place.
bool ParseKeys(const nlohmann::json& value, int32_t record_length, const std::string& place,
               std::vector<KeyDefinition>* keys, std::string* error);

// Whether every segment of keys lies within records of record_length bytes.
bool KeysFit(const std::vector<KeyDefinition>& keys, int32_t record_length);

// "signed", "unsigned" or "string".
const char* SegmentTypeName(SegmentType type);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_KEY_JSON_H_
