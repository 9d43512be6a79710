// kakeidb: the record manager behind the RecordManager port. Each data file
// is a SQLite database (docs/kakeidb.md), opened read-only, found through the
// resolver it is given.
#ifndef H5KAKEI_PLATFORM_KAKEIDB_KAKEIDB_H_
#define H5KAKEI_PLATFORM_KAKEIDB_KAKEIDB_H_

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/environment.h"
#include "platform/kakeidb/declaration_cache.h"
#include "platform/record_manager.h"

namespace h5 {

class DataFileHandle;

// Where the Windows path (ANSI bytes) given at Open lives on the disk; nullopt
// when it cannot name a file.
using PathResolver =
    std::function<std::optional<std::filesystem::path>(std::string_view windows_path)>;

// Answers Open (0), Close (1), Get Equal (5), Get Next (6), Get Greater or
// Equal (9) and Get First (12); any other operation gives 1.
//
// Open: key buffer = the Windows path in ANSI bytes, ended at the first
// blank, zero byte or the buffer's end (11 when empty or unmappable, 12 when
// missing, 46 when not a readable file, 2 when not a data file or damaged);
// data buffer = the owner name, data length bytes, ended at a zero byte (51
// when wrong); key number = open mode, 0 (normal), -1, -2 or -3 (all read
// only here), others give 1; 86 when open_file_limit() files are open. An
// Open on a position block that still holds an open file closes that file
// first. Close: 0, or 3 for a block that holds no open file; the block is
// zeroed.
//
// Reads: 3 for a block that holds no open file, 6 for a key number the file
// does not have, 4 when Get Equal finds no record, 9 at the end of the file
// (Get Next after the last record, Get Greater or Equal beyond it, Get First
// on an empty file), 8 for Get Next with no current record, 2 for a damaged
// record, 85 while another program keeps the file locked. On 0 the record is
// in the data buffer, the data length is the record length and the record's
// key value starts the key buffer; on 22 (data length shorter than the
// record) the same, cut to the data length, and the position moves as on 0.
// Get Next follows the last read on that read's key; its key number is not
// used. Never reads or writes beyond data length bytes of the data buffer or
// 254 bytes of the key buffer.
//
// Calls are serialised: one engine may serve several threads.
class KakeiDb : public RecordManager {
 public:
  // Without a resolver, paths are used as they are.
  KakeiDb(PathResolver resolve, int open_file_limit);
  ~KakeiDb() override;

  KakeiDb(const KakeiDb&) = delete;
  KakeiDb& operator=(const KakeiDb&) = delete;

  int16_t BTRV(int16_t operation, void* position_block, void* data_buffer, int32_t* data_length,
               void* key_buffer, int16_t key_length, int16_t key_number) override;

  // Files open now (each successful Open counts until its Close).
  int open_files() const;
  int open_file_limit() const { return open_file_limit_; }

 private:
  struct Slot {
    uint64_t generation = 0;
    std::unique_ptr<DataFileHandle> file;
  };

  int16_t Open(void* position_block, const void* data_buffer, const int32_t* data_length,
               const void* key_buffer, int16_t mode);
  int16_t Close(void* position_block);
  // The open file a position block names, or nullptr.
  DataFileHandle* Find(const void* position_block);

  const PathResolver resolve_;
  const int open_file_limit_;
  mutable std::mutex mutex_;
  DeclarationCache declarations_;
  std::vector<Slot> slots_;
  int open_files_ = 0;
};

// The engine with the open-file limit read from environment's WIN.INI
// [Btrieve] OPTIONS "/f:N" (20 when absent or unparsable).
std::unique_ptr<KakeiDb> OpenKakeiDb(PathResolver resolve, Environment& environment);

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_KAKEIDB_KAKEIDB_H_
