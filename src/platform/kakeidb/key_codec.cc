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

// An integer of T's width, little-endian at value, big-endian at sort, read
// and written whole (compilers turn these loops into a load, a byte swap and
// a store).
template <typename T>
void Reverse(const uint8_t* value, bool flip_sign, uint8_t* sort) {
  constexpr size_t kBytes = sizeof(T);
  T bits = 0;
  for (size_t i = 0; i < kBytes; ++i) bits |= static_cast<T>(T{value[i]} << (8 * i));
  // Two's complement orders like unsigned once the sign bit is flipped.
  if (flip_sign) bits ^= static_cast<T>(T{1} << (8 * kBytes - 1));
  for (size_t i = 0; i < kBytes; ++i)
    sort[i] = static_cast<uint8_t>(bits >> (8 * (kBytes - 1 - i)));
}

// Every row a scan reads has its key encoded: whole integers at once.
void EncodeSegment(const uint8_t* value, const KeySegment& segment, uint8_t* sort) {
  const auto length = static_cast<size_t>(segment.length);
  const bool flip_sign = segment.type == SegmentType::kSigned;
  if (segment.type == SegmentType::kString) {
    std::memcpy(sort, value, length);
  } else if (length == 4) {
    Reverse<uint32_t>(value, flip_sign, sort);
  } else if (length == 2) {
    Reverse<uint16_t>(value, flip_sign, sort);
  } else if (length == 8) {
    Reverse<uint64_t>(value, flip_sign, sort);
  } else {
    for (size_t i = 0; i < length; ++i) sort[i] = value[length - 1 - i];
    if (flip_sign) sort[0] ^= 0x80;
  }
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
