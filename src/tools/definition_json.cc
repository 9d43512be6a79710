#include "tools/layouts.h"

#include <limits>

#include "text/ansi.h"
#include "tools/book_values.h"

namespace h5 {

namespace {

// The integer member name of object, in low..high (by default what fits T).
template <typename T>
bool ParseMember(const nlohmann::json& object, const char* name, const std::string& place, T* value,
                 std::string* error, int64_t low = std::numeric_limits<T>::min(),
                 int64_t high = std::numeric_limits<T>::max()) {
  std::optional<int64_t> number =
      ParseBookInteger(object.value(name, nlohmann::json()), low, high, error);
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
  const nlohmann::json type = value.value("type", nlohmann::json());
  if (type.is_string() && SegmentTypeFromName(type.get<std::string>(), &segment->type)) return true;
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

bool ParseDefinition(const nlohmann::json& entry, const std::string& place,
                     FileDefinition* definition, const Layout** layout, std::string* error) {
  definition->owner_name = kBookOwnerName;
  if (entry.contains("layout")) {
    *layout =
        entry["layout"].is_string() ? FindLayout(entry["layout"].get<std::string>()) : nullptr;
    if (*layout == nullptr) {
      *error = Field(place, "layout") + ": unknown layout " + Quoted(entry["layout"]) +
               " (expected one of " + LayoutNames() + ")";
      return false;
    }
    definition->record_length = (*layout)->record_length;
    definition->keys = (*layout)->keys;
  } else if (!entry.contains("recordLength") || !entry.contains("keys")) {
    *error = place + ": expected a layout (or both recordLength and keys)";
    return false;
  }
  if ((entry.contains("recordLength") &&
       !ParseMember(entry, "recordLength", place, &definition->record_length, error, 1,
                    kMaxRecordLength)) ||
      (entry.contains("keys") && !ParseArray(entry["keys"], Field(place, "keys"), "key definitions",
                                             ParseKey, &definition->keys, error))) {
    return false;
  }
  if (entry.contains("owner")) {
    std::optional<std::string> ansi;
    if (entry["owner"].is_string()) ansi = AnsiOf(entry["owner"].get<std::string>());
    if (!ansi) {
      *error = Field(place, "owner") + ": expected an owner name in CP932 text";
      return false;
    }
    definition->owner_name = *ansi;
  }
  // The rules of the format itself, so that no book fails only while written.
  std::string message;
  if (ValidateFileDefinition(*definition, &message)) return true;
  *error = place + ": " + message;
  return false;
}

nlohmann::json DefinitionToJson(const FileDefinition& definition, const Layout* layout) {
  nlohmann::json entry = nlohmann::json::object();
  if (layout != nullptr) {
    entry["layout"] = layout->name;
  } else {
    entry["recordLength"] = definition.record_length;
    entry["keys"] = nlohmann::json::array();
    for (const KeyDefinition& key : definition.keys) {
      nlohmann::json segments = nlohmann::json::array();
      for (const KeySegment& s : key.segments) {
        segments.push_back(
            {{"offset", s.offset}, {"length", s.length}, {"type", SegmentTypeName(s.type)}});
      }
      entry["keys"].push_back(
          {{"number", key.number}, {"duplicates", key.duplicates}, {"segments", segments}});
    }
  }
  if (definition.owner_name != kBookOwnerName) entry["owner"] = FromAnsi(definition.owner_name);
  return entry;
}

}  // namespace h5
