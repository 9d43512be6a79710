// What a kakeidb data file declares about itself: its record length, its
// owner name and its keys. See docs/kakeidb.md for the physical format.
#ifndef H5KAKEI_PLATFORM_KAKEIDB_FILE_DEFINITION_H_
#define H5KAKEI_PLATFORM_KAKEIDB_FILE_DEFINITION_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace h5 {

enum class SegmentType {
  kSigned,    // little-endian two's complement, 1, 2, 4 or 8 bytes
  kUnsigned,  // little-endian unsigned, 1, 2, 4 or 8 bytes
  kString,    // bytes compared as unsigned bytes
};

// "signed", "unsigned", "string": the names a data file and a book use.
const char* SegmentTypeName(SegmentType type);
// False, with *type unchanged, for any other name.
bool SegmentTypeFromName(std::string_view name, SegmentType* type);

struct KeySegment {
  int32_t offset = 0;  // in the record
  int32_t length = 0;
  SegmentType type = SegmentType::kString;
  friend bool operator==(const KeySegment&, const KeySegment&) = default;
};

struct KeyDefinition {
  int16_t number = 0;  // the key number reads name
  std::vector<KeySegment> segments;
  bool duplicates = true;  // equal keys allowed; they come back in write order
  friend bool operator==(const KeyDefinition&, const KeyDefinition&) = default;
};

struct FileDefinition {
  int32_t record_length = 0;
  std::string owner_name;  // up to 8 bytes; empty = none required
  std::vector<KeyDefinition> keys;
  friend bool operator==(const FileDefinition&, const FileDefinition&) = default;
};

// Bounds every data file keeps within.
constexpr int32_t kMaxRecordLength = 65535;
constexpr size_t kMaxOwnerNameLength = 8;
constexpr int16_t kMaxKeyNumber = 118;
constexpr int32_t kMaxKeyLength = 254;  // a key value must fit the key buffer

// Bytes of a key value: the sum of its segment lengths.
int32_t KeyLength(const KeyDefinition& key);

// The key with that number, or nullptr.
const KeyDefinition* FindKey(const FileDefinition& definition, int16_t number);

// True when definition is something a data file may declare: a record length in
// 1..kMaxRecordLength, an owner name without zero bytes of at most 8 bytes,
// unique key numbers in 0..kMaxKeyNumber, each key with at least one segment
// inside the record, numeric segments of 1, 2, 4 or 8 bytes, key values of at
// most kMaxKeyLength bytes. Otherwise false with *error saying why.
bool ValidateFileDefinition(const FileDefinition& definition, std::string* error);

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_KAKEIDB_FILE_DEFINITION_H_
