#include "tools/data_json.h"

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
  auto found = object.find(name);
  std::optional<int64_t> number =
      ParseBookInteger(found == object.end() ? nlohmann::json() : *found,
                       std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), error);
  if (!number) *error = Field(place, name) + ": " + *error;
  if (number) *value = static_cast<T>(*number);
  return number.has_value();
}

bool ParseSegment(const nlohmann::json& value, const std::string& place, KeySegment* segment,
                  std::string* error) {
  if (!value.is_object()) {
    *error = place + ": expected an object with offset, length and type";
    return false;
  }
  if (!CheckMembers(value, {"offset", "length", "type"}, place, error) ||
      !ParseMember(value, "offset", place, &segment->offset, error) ||
      !ParseMember(value, "length", place, &segment->length, error)) {
    return false;
  }
  auto type = value.find("type");
  for (const auto& [kind, name] : kTypeNames) {
    if (type != value.end() && *type == name) {
      segment->type = kind;
      return true;
    }
  }
  *error = Field(place, "type") + ": expected \"signed\", \"unsigned\" or \"string\"";
  return false;
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
  std::vector<KeyDefinition> parsed(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    const std::string key_place = Index(place, i);
    const nlohmann::json& item = value[i];
    KeyDefinition& key = parsed[i];
    if (!item.is_object()) {
      *error = key_place + ": expected an object with number, duplicates and segments";
      return false;
    }
    if (!CheckMembers(item, {"number", "duplicates", "segments"}, key_place, error) ||
        !ParseMember(item, "number", key_place, &key.number, error)) {
      return false;
    }
    auto duplicates = item.find("duplicates");
    if (duplicates != item.end() && !duplicates->is_boolean()) {
      *error = Field(key_place, "duplicates") + ": expected true or false";
      return false;
    }
    key.duplicates = duplicates == item.end() || duplicates->get<bool>();
    auto segments = item.find("segments");
    const std::string segments_place = Field(key_place, "segments");
    if (segments == item.end() || !segments->is_array()) {
      *error = segments_place + ": expected an array of segments";
      return false;
    }
    key.segments.resize(segments->size());
    for (size_t j = 0; j < segments->size(); ++j) {
      if (!ParseSegment((*segments)[j], Index(segments_place, j), &key.segments[j], error)) {
        return false;
      }
    }
  }
  *keys = std::move(parsed);
  return true;
}

}  // namespace h5
