#include "tools/key_json.h"

#include <set>

#include "tools/book_values.h"

namespace h5 {

namespace {

bool OnlyMembers(const nlohmann::json& object, std::initializer_list<const char*> allowed,
                 const std::string& place, std::string* error) {
  for (const auto& [name, value] : object.items()) {
    bool known = false;
    for (const char* a : allowed) known = known || name == a;
    if (!known) {
      *error = Field(place, name) + ": unknown member";
      return false;
    }
  }
  return true;
}

bool ParseSegment(const nlohmann::json& value, int32_t record_length, const std::string& place,
                  KeySegment* segment, std::string* error) {
  if (!value.is_object()) {
    *error = place + ": expected an object with offset, length and type";
    return false;
  }
  if (!OnlyMembers(value, {"offset", "length", "type"}, place, error)) return false;
  std::string message;
  std::optional<int64_t> offset =
      ParseBookInteger(value.value("offset", nlohmann::json()), 0, record_length - 1, &message);
  if (!offset) {
    *error = Field(place, "offset") + ": " + message;
    return false;
  }
  std::optional<int64_t> length = ParseBookInteger(value.value("length", nlohmann::json()), 1,
                                                   record_length - *offset, &message);
  if (!length) {
    *error = Field(place, "length") + ": " + message + " (the segment must lie in the record)";
    return false;
  }
  const nlohmann::json type = value.value("type", nlohmann::json());
  if (type == "signed") {
    segment->type = SegmentType::kSigned;
  } else if (type == "unsigned") {
    segment->type = SegmentType::kUnsigned;
  } else if (type == "string") {
    segment->type = SegmentType::kString;
  } else {
    *error = Field(place, "type") + ": expected \"signed\", \"unsigned\" or \"string\"";
    return false;
  }
  if (segment->type != SegmentType::kString && *length != 1 && *length != 2 && *length != 4 &&
      *length != 8) {
    *error = Field(place, "length") + ": an integer segment has 1, 2, 4 or 8 bytes";
    return false;
  }
  segment->offset = static_cast<int32_t>(*offset);
  segment->length = static_cast<int32_t>(*length);
  return true;
}

}  // namespace

const char* SegmentTypeName(SegmentType type) {
  switch (type) {
    case SegmentType::kSigned:
      return "signed";
    case SegmentType::kUnsigned:
      return "unsigned";
    case SegmentType::kString:
      return "string";
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

bool ParseKeys(const nlohmann::json& value, int32_t record_length, const std::string& place,
               std::vector<KeyDefinition>* keys, std::string* error) {
  if (!value.is_array()) {
    *error = place + ": expected an array of key definitions";
    return false;
  }
  std::set<int64_t> numbers;
  std::vector<KeyDefinition> parsed;
  for (size_t i = 0; i < value.size(); ++i) {
    std::string key_place = Index(place, i);
    const nlohmann::json& item = value[i];
    if (!item.is_object()) {
      *error = key_place + ": expected an object with number, duplicates and segments";
      return false;
    }
    if (!OnlyMembers(item, {"number", "duplicates", "segments"}, key_place, error)) return false;
    std::string message;
    std::optional<int64_t> number =
        ParseBookInteger(item.value("number", nlohmann::json()), 0, 127, &message);
    if (!number) {
      *error = Field(key_place, "number") + ": " + message;
      return false;
    }
    if (!numbers.insert(*number).second) {
      *error =
          Field(key_place, "number") + ": key " + std::to_string(*number) + " is defined twice";
      return false;
    }
    KeyDefinition key;
    key.number = static_cast<int16_t>(*number);
    if (item.contains("duplicates")) {
      if (!item["duplicates"].is_boolean()) {
        *error = Field(key_place, "duplicates") + ": expected true or false";
        return false;
      }
      key.duplicates = item["duplicates"].get<bool>();
    }
    const nlohmann::json segments = item.value("segments", nlohmann::json());
    std::string segments_place = Field(key_place, "segments");
    if (!segments.is_array() || segments.empty()) {
      *error = segments_place + ": expected a non-empty array of segments";
      return false;
    }
    for (size_t j = 0; j < segments.size(); ++j) {
      KeySegment segment;
      if (!ParseSegment(segments[j], record_length, Index(segments_place, j), &segment, error)) {
        return false;
      }
      key.segments.push_back(segment);
    }
    parsed.push_back(std::move(key));
  }
  *keys = std::move(parsed);
  return true;
}

bool KeysFit(const std::vector<KeyDefinition>& keys, int32_t record_length) {
  for (const KeyDefinition& key : keys) {
    for (const KeySegment& s : key.segments) {
      if (s.offset < 0 || s.length < 1 || s.offset + s.length > record_length) return false;
    }
  }
  return true;
}

}  // namespace h5
