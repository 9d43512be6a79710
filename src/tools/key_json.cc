#include "tools/layouts.h"

#include <limits>

#include "tools/book_values.h"

namespace h5 {

namespace {

// The integer member name of object, which must fit T.
template <typename T>
bool ParseMember(const nlohmann::json& object, const char* name, const std::string& place, T* value,
                 std::string* error) {
  std::optional<int64_t> number =
      ParseBookInteger(object.value(name, nlohmann::json()), std::numeric_limits<T>::min(),
                       std::numeric_limits<T>::max(), error);
  if (!number) *error = Field(place, name) + ": " + *error;
  if (number) *value = static_cast<T>(*number);
  return number.has_value();
}

// Reads each element of an array with parse, at place[i].
template <typename T, typename Parse>
bool ParseArray(const nlohmann::json& value, const std::string& place, const char* expected,
                Parse parse, std::vector<T>* items, std::string* error) {
  if (!value.is_array()) {
    *error = place + ": expected an array of " + expected;
    return false;
  }
  items->assign(value.size(), T{});
  for (size_t i = 0; i < value.size(); ++i) {
    if (!parse(value[i], Index(place, i), &(*items)[i], error)) return false;
  }
  return true;
}

bool ParseSegment(const nlohmann::json& value, const std::string& place, KeySegment* segment,
                  std::string* error) {
  if (!CheckMembers(value, {"offset", "length", "type"}, place, error) ||
      !ParseMember(value, "offset", place, &segment->offset, error) ||
      !ParseMember(value, "length", place, &segment->length, error)) {
    return false;
  }
  const nlohmann::json* type = value.contains("type") ? &value["type"] : nullptr;
  if (type != nullptr && type->is_string() &&
      SegmentTypeFromName(type->get_ref<const std::string&>(), &segment->type)) {
    return true;
  }
  *error = Field(place, "type") + ": expected \"signed\", \"unsigned\" or \"string\"";
  return false;
}

bool ParseKey(const nlohmann::json& value, const std::string& place, KeyDefinition* key,
              std::string* error) {
  if (!CheckMembers(value, {"number", "duplicates", "segments"}, place, error) ||
      !ParseMember(value, "number", place, &key->number, error)) {
    return false;
  }
  const nlohmann::json duplicates = value.value("duplicates", nlohmann::json(true));
  if (!duplicates.is_boolean()) {
    *error = Field(place, "duplicates") + ": expected true or false";
    return false;
  }
  key->duplicates = duplicates.get<bool>();
  return ParseArray(value.value("segments", nlohmann::json()), Field(place, "segments"), "segments",
                    ParseSegment, &key->segments, error);
}

}  // namespace

nlohmann::json KeysToJson(const std::vector<KeyDefinition>& keys) {
  nlohmann::json array = nlohmann::json::array();
  for (const KeyDefinition& key : keys) {
    nlohmann::json segments = nlohmann::json::array();
    for (const KeySegment& s : key.segments) {
      segments.push_back(
          {{"offset", s.offset}, {"length", s.length}, {"type", SegmentTypeName(s.type)}});
    }
    array.push_back(
        {{"number", key.number}, {"duplicates", key.duplicates}, {"segments", segments}});
  }
  return array;
}

bool ParseKeys(const nlohmann::json& value, const std::string& place,
               std::vector<KeyDefinition>* keys, std::string* error) {
  return ParseArray(value, place, "key definitions", ParseKey, keys, error);
}

}  // namespace h5
