// The keyed record manager through which every household data file is read.
// One call, BTRV, with the classic argument list; the status says what
// happened (0 success). See docs/kakeidb.md for the engine behind it.
#ifndef H5KAKEI_PLATFORM_RECORD_MANAGER_H_
#define H5KAKEI_PLATFORM_RECORD_MANAGER_H_

#include <cstdint>

namespace h5 {

// Operation codes in use.
enum BtrOperation : int16_t {
  kBtrOpen = 0,
  kBtrClose = 1,
  kBtrGetEqual = 5,
  kBtrGetNext = 6,
  kBtrGetGreaterOrEqual = 9,
  kBtrGetFirst = 12,
};

// Statuses the callers and the engine name.
enum BtrStatusCode : int16_t {
  kBtrOk = 0,
  kBtrInvalidOperation = 1,
  kBtrIoError = 2,
  kBtrFileNotOpen = 3,
  kBtrKeyNotFound = 4,
  kBtrDuplicateKey = 5,
  kBtrInvalidKeyNumber = 6,
  kBtrInvalidPositioning = 8,  // Get Next with no current record
  kBtrEndOfFile = 9,
  kBtrInvalidFileName = 11,
  kBtrFileNotFound = 12,
  kBtrDiskFull = 18,
  kBtrInactive = 20,
  kBtrDataBufferTooShort = 22,
  kBtrAccessDenied = 46,
  kBtrOwnerNameWrong = 51,
  kBtrFileLocked = 85,  // another program holds the file locked; may be retried
  kBtrTooManyFiles = 86,
};

constexpr int kPositionBlockSize = 128;
constexpr int kKeyBufferSize = 254;

class RecordManager {
 public:
  virtual ~RecordManager() = default;

  // operation:      one of BtrOperation.
  // position_block: the file's 128-byte block, untouched by the caller
  //                 between calls; Open fills it, Close clears it.
  // data_buffer:    Open: the owner name; reads: receives the record.
  // data_length:    in: the data buffer's capacity; out: bytes delivered.
  // key_buffer:     254 bytes. Open/Close: the file's path in ANSI bytes,
  //                 ended at the first blank. Reads: the key value; on
  //                 success the engine writes the record's key value back.
  // key_length:     unused (always 0).
  // key_number:     reads: the key to read by; Open: the open mode.
  virtual int16_t BTRV(int16_t operation, void* position_block, void* data_buffer,
                       int32_t* data_length, void* key_buffer, int16_t key_length,
                       int16_t key_number) = 0;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_RECORD_MANAGER_H_
