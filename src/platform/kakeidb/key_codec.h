// Key values and their sortable form. A key value is the key's segments
// copied out of the record one after the other, as callers build it in the
// key buffer. Its sortable form orders under plain byte comparison exactly as
// the typed segments order, which lets SQLite keep the order in a BLOB index.
#ifndef H5KAKEI_PLATFORM_KAKEIDB_KEY_CODEC_H_
#define H5KAKEI_PLATFORM_KAKEIDB_KEY_CODEC_H_

#include <cstdint>

#include "platform/kakeidb/file_definition.h"

namespace h5 {

// Copies the key's segments out of record (which must hold every segment)
// into key, KeyLength(definition) bytes.
void ExtractKeyValue(const uint8_t* record, const KeyDefinition& definition, uint8_t* key);

// Writes the sortable form of a key value, KeyLength(definition) bytes:
// integers big-endian, signed ones with the sign bit flipped; strings as they
// are.
void EncodeSortKey(const uint8_t* key, const KeyDefinition& definition, uint8_t* sort);

// EncodeSortKey of the record's key value, straight from the record.
void EncodeRecordSortKey(const uint8_t* record, const KeyDefinition& definition, uint8_t* sort);

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_KAKEIDB_KEY_CODEC_H_
