#include "platform/fake/fake_record_manager.h"

#include <cstring>

namespace h5 {

int16_t FakeRecordManager::BTRV(int16_t operation, void* position_block, void* data_buffer,
                                int32_t* data_length, void* key_buffer, int16_t /*key_length*/,
                                int16_t key_number) {
  BtrCall call;
  call.operation = operation;
  call.key_number = key_number;
  call.data_length = data_length ? *data_length : 0;
  auto* key = static_cast<uint8_t*>(key_buffer);
  if (key) call.key.assign(key, key + kKeyBufferSize);
  if (key && (operation == kBtrOpen || operation == kBtrClose)) {
    for (int i = 0; i < kKeyBufferSize && key[i] != ' ' && key[i] != 0; ++i) {
      call.path.push_back(static_cast<char>(key[i]));
    }
  }
  auto* data = static_cast<uint8_t*>(data_buffer);
  if (operation == kBtrOpen && data && call.data_length > 0) {
    call.owner.assign(data, data + call.data_length);
  }
  uint32_t handle = 0;
  if (position_block) std::memcpy(&handle, position_block, sizeof handle);
  call.handle = handle;
  calls_.push_back(call);

  std::span<uint8_t> span;
  if (data && call.data_length > 0) span = {data, static_cast<size_t>(call.data_length)};
  std::optional<int16_t> status;
  if (handler_) status = handler_(calls_.back(), span, data_length);
  if (!status) {
    switch (operation) {
      case kBtrOpen:
        status = kBtrOk;
        break;
      case kBtrClose:
        status = handle ? kBtrOk : kBtrFileNotOpen;
        break;
      default:
        status = handle ? kBtrEndOfFile : kBtrFileNotOpen;
        break;
    }
  }
  if (*status == kBtrOk && operation == kBtrOpen && position_block) {
    uint32_t fresh = next_handle_++;
    std::memcpy(position_block, &fresh, sizeof fresh);
    ++open_files_;
  }
  if (operation == kBtrClose && handle && position_block) {
    std::memset(position_block, 0, sizeof handle);
    --open_files_;
  }
  return *status;
}

}  // namespace h5
