// A data file's entry in a book and back: a layout, or record length and
// keys, the owner, and records as named fields or hex.
#include <algorithm>
#include <cctype>
#include <limits>
#include <optional>

#include "store/open_path.h"
#include "text/ansi.h"
#include "text/day_number.h"
#include "text/fields.h"
#include "tools/book_plan.h"
#include "tools/layouts.h"

namespace h5 {

namespace {

// The integer member name of object, in low..high (by default what fits T).
template <typename T>
bool ParseMember(const nlohmann::json& object, const char* name, const std::string& place, T* value,
                 std::string* error, int64_t low = std::numeric_limits<T>::min(),
                 int64_t high = std::numeric_limits<T>::max()) {
  std::optional<int64_t> number =
      ParseBookInteger(object.value(name, nlohmann::json()), low, high, error);
  if (!number) return Fail(Field(place, name), *error, error);
  *value = static_cast<T>(*number);
  return true;
}

bool ParseSegment(const nlohmann::json& value, const std::string& place, KeySegment* segment,
                  std::string* error) {
  if (!CheckMembers(value, {"offset", "length", "type"}, place, error) ||
      !ParseMember(value, "offset", place, &segment->offset, error) ||
      !ParseMember(value, "length", place, &segment->length, error)) {
    return false;
  }
  const nlohmann::json type = value.value("type", nlohmann::json());
  return (type.is_string() && SegmentTypeFromName(type.get<std::string>(), &segment->type)) ||
         Fail(Field(place, "type"), "expected \"signed\", \"unsigned\" or \"string\"", error);
}

bool ParseKey(const nlohmann::json& value, const std::string& place, KeyDefinition* key,
              std::string* error) {
  if (!CheckMembers(value, {"number", "duplicates", "segments"}, place, error) ||
      !ParseMember(value, "number", place, &key->number, error)) {
    return false;
  }
  const nlohmann::json duplicates = value.value("duplicates", nlohmann::json(true));
  if (!duplicates.is_boolean()) {
    return Fail(Field(place, "duplicates"), "expected true or false", error);
  }
  key->duplicates = duplicates.get<bool>();
  return ParseArray(value.value("segments", nlohmann::json()), Field(place, "segments"), "segments",
                    ParseSegment, &key->segments, error);
}

// The record length, keys and owner of entry, checked as the file format
// demands; *layout when it names one.
bool ParseDefinition(const nlohmann::json& entry, const std::string& place,
                     FileDefinition* definition, const Layout** layout, std::string* error) {
  definition->owner_name = kBookOwnerName;
  if (entry.contains("layout")) {
    std::string names;
    for (const Layout& known : Layouts()) {
      if (entry["layout"] == known.name) *layout = &known;
      names += (names.empty() ? "" : ", ") + known.name;
    }
    if (*layout == nullptr) {
      return Fail(Field(place, "layout"),
                  "unknown layout " + Quoted(entry["layout"]) + " (expected one of " + names + ")",
                  error);
    }
    definition->record_length = (*layout)->record_length;
    definition->keys = (*layout)->keys;
  } else if (!entry.contains("recordLength") || !entry.contains("keys")) {
    return Fail(place, "expected a layout (or both recordLength and keys)", error);
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
    if (!ansi) return Fail(Field(place, "owner"), "expected an owner name in CP932 text", error);
    definition->owner_name = *ansi;
  }
  // The rules of the format itself, so that no book fails only while written.
  std::string message;
  return ValidateFileDefinition(*definition, &message) || Fail(place, message, error);
}

bool FitsIn(const FieldDef& field, size_t length) {
  return int64_t{field.bytes.offset} + field.bytes.length <= static_cast<int64_t>(length);
}

// "YYYY-MM-DD" or a day number within 32 bits (day 0 = 1899-12-30).
std::optional<int64_t> ParseDate(const nlohmann::json& value, std::string* error) {
  if (value.is_number_integer()) {
    std::optional<int64_t> number = ParseBookInteger(value, INT32_MIN, INT32_MAX, error);
    if (!number) *error = "expected a date YYYY-MM-DD or a day number within 32 bits";
    return number;
  }
  const std::string text = value.is_string() ? value.get<std::string>() : "";
  if (std::optional<std::chrono::year_month_day> date = ParseIsoDate(text)) {
    return DayNumberOf(*date);
  }
  // Text of the right shape that names no day gets its own message.
  std::string shape = text;
  for (char& c : shape) c = std::isdigit(static_cast<unsigned char>(c)) ? '9' : c;
  *error = shape == "9999-99-99" ? "no such date: " + text
                                 : "expected a date YYYY-MM-DD or a day number, got " +
                                       (value.is_string() ? "\"" + text + "\"" : TypeName(value));
  return std::nullopt;
}

bool PutField(const FieldDef& field, const nlohmann::json& value, const std::string& place,
              std::span<uint8_t> record, std::string* error) {
  const KeySegment& at = field.bytes;
  std::string message;
  if (at.type != SegmentType::kString) {
    // A byte holds 0..255, a wider field a signed integer of its width.
    const int64_t half = int64_t{1} << (8 * at.length - 1);
    const bool is_unsigned = at.type == SegmentType::kUnsigned;
    std::optional<int64_t> number =
        field.date ? ParseDate(value, &message)
                   : ParseBookInteger(value, is_unsigned ? 0 : -half,
                                      is_unsigned ? 2 * half - 1 : half - 1, &message);
    for (int32_t i = 0; number && i < at.length; ++i) {
      record[at.offset + i] = static_cast<uint8_t>(*number >> 8 * i);
    }
    if (number) return true;
  } else if (!value.is_string()) {
    message = "expected text, got " + TypeName(value);
  } else if (std::optional<std::string> ansi = AnsiOf(value.get_ref<const std::string&>()); !ansi) {
    message = "text has a character that CP932 cannot hold";
  } else if (ansi->size() > static_cast<size_t>(at.length)) {
    message = "text takes " + std::to_string(ansi->size()) + " bytes in CP932; the field holds " +
              std::to_string(at.length);
  } else {
    std::copy(ansi->begin(), ansi->end(), record.begin() + at.offset);
    return true;
  }
  return Fail(place, message, error);
}

// Fields not given are 0, or blanks for text; without a layout only hex.
bool PackRecord(const Layout* layout, int32_t record_length, const nlohmann::json& value,
                const std::string& place, std::vector<uint8_t>* record, std::string* error) {
  if (!value.is_object()) {
    return Fail(place, "expected an object of fields or {\"hex\": ...}, got " + TypeName(value),
                error);
  }
  size_t length = static_cast<size_t>(record_length);
  if (value.contains("hex")) {
    std::optional<std::string> bytes = ParseHex(value["hex"]);
    if (value.size() != 1) return Fail(place, "a record given as hex has no other members", error);
    if (!bytes) return Fail(Field(place, "hex"), "expected a string of hex digit pairs", error);
    if (bytes->size() != length) {
      return Fail(Field(place, "hex"),
                  std::to_string(bytes->size()) + " bytes; the records of this file are " +
                      std::to_string(length) + " bytes",
                  error);
    }
    record->assign(bytes->begin(), bytes->end());
    return true;
  }
  if (layout == nullptr) {
    return Fail(place, "without a layout every record is given as {\"hex\": ...}", error);
  }
  std::vector<uint8_t> bytes(length, 0);
  for (const FieldDef& field : layout->fields) {
    if (field.bytes.type == SegmentType::kString && FitsIn(field, length)) {
      std::fill_n(bytes.begin() + field.bytes.offset, field.bytes.length, ' ');
    }
  }
  for (const auto& [name, field_value] : value.items()) {
    std::string field_place = Field(place, name);
    const FieldDef* field = FindField(*layout, name);
    if (field == nullptr) {
      return Fail(field_place, "no such field in layout \"" + layout->name + "\"", error);
    }
    if (!FitsIn(*field, length)) {
      return Fail(field_place, "the field lies beyond the record length " + std::to_string(length),
                  error);
    }
    if (!PutField(*field, field_value, field_place, bytes, error)) return false;
  }
  *record = std::move(bytes);
  return true;
}

// Its fields when packing them gives back the same bytes, else {"hex": ...}.
nlohmann::json RecordToJson(const Layout* layout, std::span<const uint8_t> record) {
  if (layout != nullptr) {
    nlohmann::json fields = UnpackRecord(*layout, record);
    std::vector<uint8_t> repacked;
    std::string ignored;
    if (PackRecord(layout, static_cast<int32_t>(record.size()), fields, "", &repacked, &ignored) &&
        std::equal(repacked.begin(), repacked.end(), record.begin(), record.end())) {
      return fields;
    }
  }
  std::string hex;
  for (uint8_t byte : record) hex += {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 15]};
  return nlohmann::json{{"hex", hex}};
}

}  // namespace

nlohmann::json UnpackRecord(const Layout& layout, std::span<const uint8_t> record) {
  nlohmann::json object = nlohmann::json::object();
  for (const FieldDef& field : layout.fields) {
    if (!FitsIn(field, record.size())) continue;
    const KeySegment& at = field.bytes;
    if (at.type == SegmentType::kString) {
      std::string_view ansi(reinterpret_cast<const char*>(record.data()) + at.offset,
                            static_cast<size_t>(at.length));
      object[field.name] = FromAnsi(ansi.substr(0, ansi.find_last_not_of(' ') + 1));
    } else {
      // Days of years 1..9999 as dates; others, and 0 (unset), as numbers.
      const int64_t number = at.length == 1   ? GetByteAt(record, at.offset)
                             : at.length == 2 ? GetInt16At(record, at.offset)
                                              : GetInt32At(record, at.offset);
      const std::string date = DateText(static_cast<int32_t>(number));
      const bool dated = field.date && number != 0 && !date.starts_with("day");
      object[field.name] = dated ? nlohmann::json(date) : nlohmann::json(number);
    }
  }
  return object;
}

bool ParseDataEntry(const nlohmann::json& entry, const std::string& place,
                    DataFileContents* contents, std::string* error) {
  const Layout* layout = nullptr;
  auto pack = [&](const nlohmann::json& record, const std::string& at, std::vector<uint8_t>* bytes,
                  std::string* message) {
    return PackRecord(layout, contents->definition.record_length, record, at, bytes, message);
  };
  return CheckMembers(entry, {"layout", "records", "owner", "recordLength", "keys"}, place,
                      error) &&
         ParseDefinition(entry, place, &contents->definition, &layout, error) &&
         ParseArray(entry.value("records", nlohmann::json::array()), Field(place, "records"),
                    "records", pack, &contents->records, error);
}

nlohmann::json DataEntryJson(const DataFileContents& contents) {
  const FileDefinition& definition = contents.definition;
  const Layout* layout = RecognizeLayout(definition);
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
  entry["records"] = nlohmann::json::array();
  for (const std::vector<uint8_t>& record : contents.records) {
    entry["records"].push_back(RecordToJson(layout, record));
  }
  return entry;
}

}  // namespace h5
