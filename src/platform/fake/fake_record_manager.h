// A scripted record manager for tests: logs every call and answers through a
// handler; without one, Open and Close succeed and every read ends the file.
#ifndef H5KAKEI_PLATFORM_FAKE_FAKE_RECORD_MANAGER_H_
#define H5KAKEI_PLATFORM_FAKE_FAKE_RECORD_MANAGER_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/record_manager.h"

namespace h5 {

struct BtrCall {
  int16_t operation = 0;
  int16_t key_number = 0;
  int32_t data_length = 0;     // as passed in
  std::string path;            // Open/Close: the key buffer up to its first blank
  std::vector<uint8_t> key;    // the whole key buffer as passed in
  std::vector<uint8_t> owner;  // Open: the data buffer's first data_length bytes
  uint32_t handle = 0;         // the handle found in the position block
};

class FakeRecordManager : public RecordManager {
 public:
  // Returns the status to answer, or nullopt for the default behaviour. It may
  // fill data (the caller's buffer, data_length bytes long) and set *length.
  using Handler = std::function<std::optional<int16_t>(const BtrCall& call, std::span<uint8_t> data,
                                                       int32_t* length)>;

  void SetHandler(Handler handler) { handler_ = std::move(handler); }
  const std::vector<BtrCall>& calls() const { return calls_; }
  // Files opened and not closed again.
  int open_files() const { return open_files_; }

  int16_t BTRV(int16_t operation, void* position_block, void* data_buffer, int32_t* data_length,
               void* key_buffer, int16_t key_length, int16_t key_number) override;

 private:
  Handler handler_;
  std::vector<BtrCall> calls_;
  int open_files_ = 0;
  uint32_t next_handle_ = 1;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_FAKE_FAKE_RECORD_MANAGER_H_
