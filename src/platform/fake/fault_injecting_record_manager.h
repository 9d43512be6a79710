// Wraps a record manager and makes chosen calls fail: call number k (from 0)
// of the run answers a given status. The real engine answers all others. A
// failed Close still closes the file underneath, so an injected fault never
// leaves a real handle behind.
#ifndef H5KAKEI_PLATFORM_FAKE_FAULT_INJECTING_RECORD_MANAGER_H_
#define H5KAKEI_PLATFORM_FAKE_FAULT_INJECTING_RECORD_MANAGER_H_

#include <cstdint>

#include "platform/record_manager.h"

namespace h5 {

class FaultInjectingRecordManager : public RecordManager {
 public:
  explicit FaultInjectingRecordManager(RecordManager& inner) : inner_(inner) {}

  // Call number call_index answers status; -1 injects nothing.
  void FailCall(int64_t call_index, int16_t status) {
    fail_index_ = call_index;
    fail_status_ = status;
  }
  int64_t calls() const { return calls_; }

  int16_t BTRV(int16_t operation, void* position_block, void* data_buffer, int32_t* data_length,
               void* key_buffer, int16_t key_length, int16_t key_number) override {
    int64_t index = calls_++;
    if (index != fail_index_) {
      return inner_.BTRV(operation, position_block, data_buffer, data_length, key_buffer,
                         key_length, key_number);
    }
    if (operation == kBtrClose) {
      inner_.BTRV(operation, position_block, data_buffer, data_length, key_buffer, key_length,
                  key_number);
    }
    return fail_status_;
  }

 private:
  RecordManager& inner_;
  int64_t calls_ = 0;
  int64_t fail_index_ = -1;
  int16_t fail_status_ = 0;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_FAKE_FAULT_INJECTING_RECORD_MANAGER_H_
