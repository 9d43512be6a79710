#include "platform/kakeidb/file_definition.h"

#include <set>
#include <utility>

namespace h5 {

int32_t KeyLength(const KeyDefinition& key) {
  int64_t length = 0;
  for (const KeySegment& segment : key.segments) length += segment.length;
  return length > INT32_MAX ? INT32_MAX : static_cast<int32_t>(length);
}

const KeyDefinition* FindKey(const FileDefinition& definition, int16_t number) {
  for (const KeyDefinition& key : definition.keys) {
    if (key.number == number) return &key;
  }
  return nullptr;
}

namespace {

bool Fail(std::string* error, std::string message) {
  if (error != nullptr) *error = std::move(message);
  return false;
}

bool ValidateKey(const KeyDefinition& key, int32_t record_length, std::string* error) {
  const std::string name = "key " + std::to_string(key.number);
  if (key.number < 0 || key.number > kMaxKeyNumber) {
    return Fail(error, name + ": key number outside 0.." + std::to_string(kMaxKeyNumber));
  }
  if (key.segments.empty()) return Fail(error, name + ": no segments");
  int64_t total = 0;
  for (const KeySegment& segment : key.segments) {
    if (segment.offset < 0 || segment.length < 1 ||
        int64_t{segment.offset} + segment.length > record_length) {
      return Fail(error, name + ": segment at " + std::to_string(segment.offset) + " of " +
                             std::to_string(segment.length) + " bytes outside the record");
    }
    if (segment.type != SegmentType::kString && segment.length != 1 && segment.length != 2 &&
        segment.length != 4 && segment.length != 8) {
      return Fail(error, name + ": integer segment of " + std::to_string(segment.length) +
                             " bytes (1, 2, 4 or 8 allowed)");
    }
    if (segment.type != SegmentType::kString && segment.type != SegmentType::kSigned &&
        segment.type != SegmentType::kUnsigned) {
      return Fail(error, name + ": unknown segment type");
    }
    total += segment.length;
  }
  if (total > kMaxKeyLength) {
    return Fail(error, name + ": key of " + std::to_string(total) + " bytes (at most " +
                           std::to_string(kMaxKeyLength) + ")");
  }
  return true;
}

}  // namespace

bool ValidateFileDefinition(const FileDefinition& definition, std::string* error) {
  if (definition.record_length < 1 || definition.record_length > kMaxRecordLength) {
    return Fail(error, "record length " + std::to_string(definition.record_length) +
                           " outside 1.." + std::to_string(kMaxRecordLength));
  }
  if (definition.owner_name.size() > kMaxOwnerNameLength) {
    return Fail(error, "owner name longer than " + std::to_string(kMaxOwnerNameLength) + " bytes");
  }
  if (definition.owner_name.find('\0') != std::string::npos) {
    return Fail(error, "owner name holds a zero byte");
  }
  std::set<int16_t> numbers;
  for (const KeyDefinition& key : definition.keys) {
    if (!ValidateKey(key, definition.record_length, error)) return false;
    if (!numbers.insert(key.number).second) {
      return Fail(error, "key " + std::to_string(key.number) + " defined twice");
    }
  }
  return true;
}

namespace {

constexpr std::pair<SegmentType, const char*> kTypeNames[] = {
    {SegmentType::kSigned, "signed"},
    {SegmentType::kUnsigned, "unsigned"},
    {SegmentType::kString, "string"},
};

}  // namespace

const char* SegmentTypeName(SegmentType type) {
  for (const auto& [kind, name] : kTypeNames) {
    if (kind == type) return name;
  }
  return "string";
}

bool SegmentTypeFromName(std::string_view name, SegmentType* type) {
  for (const auto& [kind, kind_name] : kTypeNames) {
    if (name == kind_name) {
      *type = kind;
      return true;
    }
  }
  return false;
}

}  // namespace h5
