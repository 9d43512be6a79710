#include "tools/layouts.h"

#include <limits>

#include "tools/book_values.h"

namespace h5 {

namespace {

constexpr std::pair<SegmentType, const char*> kTypeNames[] = {
    {SegmentType::kSigned, "signed"},
    {SegmentType::kUnsigned, "unsigned"},
    {SegmentType::kString, "string"},
};

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

bool ParseSegment(const nlohmann::json& value, const std::string& place, KeySegment* segment,
                  std::string* error) {
  if (!CheckMembers(value, {"offset", "length", "type"}, place, error) ||
      !ParseMember(value, "offset", place, &segment->offset, error) ||
      !ParseMember(value, "length", place, &segment->length, error)) {
    return false;
  }
  for (const auto& [kind, name] : kTypeNames) {
    if (value.contains("type") && value["type"] == name) {
      segment->type = kind;
      return true;
    }
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
  const nlohmann::json segments = value.value("segments", nlohmann::json());
  if (!duplicates.is_boolean()) {
    *error = Field(place, "duplicates") + ": expected true or false";
    return false;
  }
  if (!segments.is_array()) {
    *error = Field(place, "segments") + ": expected an array of segments";
    return false;
  }
  key->duplicates = duplicates.get<bool>();
  key->segments.resize(segments.size());
  for (size_t i = 0; i < segments.size(); ++i) {
    if (!ParseSegment(segments[i], Index(Field(place, "segments"), i), &key->segments[i], error)) {
      return false;
    }
  }
  return true;
}

}  // namespace

const char* SegmentTypeName(SegmentType type) {
  for (const auto& [kind, name] : kTypeNames) {
    if (kind == type) return name;
  }
  return "string";
}

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
  if (!value.is_array()) {
    *error = place + ": expected an array of key definitions";
    return false;
  }
  keys->assign(value.size(), {});
  for (size_t i = 0; i < value.size(); ++i) {
    if (!ParseKey(value[i], Index(place, i), &(*keys)[i], error)) return false;
  }
  return true;
}

}  // namespace h5
