#include "platform/kakeidb/key_codec.h"

#include <cstring>

namespace h5 {

void ExtractKeyValue(const uint8_t* record, const KeyDefinition& definition, uint8_t* key) {
  for (const KeySegment& segment : definition.segments) {
    std::memcpy(key, record + segment.offset, static_cast<size_t>(segment.length));
    key += segment.length;
  }
}

namespace {

void EncodeSegment(const uint8_t* value, const KeySegment& segment, uint8_t* sort) {
  const auto length = static_cast<size_t>(segment.length);
  if (segment.type == SegmentType::kString) {
    std::memcpy(sort, value, length);
    return;
  }
  for (size_t i = 0; i < length; ++i) sort[i] = value[length - 1 - i];
  // Two's complement orders like unsigned once the sign bit is flipped.
  if (segment.type == SegmentType::kSigned) sort[0] ^= 0x80;
}

}  // namespace

void EncodeSortKey(const uint8_t* key, const KeyDefinition& definition, uint8_t* sort) {
  for (const KeySegment& segment : definition.segments) {
    EncodeSegment(key, segment, sort);
    key += segment.length;
    sort += segment.length;
  }
}

void EncodeRecordSortKey(const uint8_t* record, const KeyDefinition& definition, uint8_t* sort) {
  for (const KeySegment& segment : definition.segments) {
    EncodeSegment(record + segment.offset, segment, sort);
    sort += segment.length;
  }
}

}  // namespace h5
