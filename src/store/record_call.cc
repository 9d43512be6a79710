#include "store/record_call.h"

#include "store/module.h"

namespace h5 {

int16_t CallRecordManager(int16_t operation, std::array<uint8_t, 128>& position_block,
                          std::span<uint8_t> data, int32_t& data_length,
                          std::array<uint8_t, 254>& key_buffer, int16_t key_number) {
  ModuleData& m = Module();
  if (m.ports.records == nullptr) return kBtrInactive;
  if (data_length < 0) data_length = 0;
  if (static_cast<uint64_t>(data_length) > data.size()) {
    data_length = static_cast<int32_t>(data.size());
  }
  return m.ports.records->BTRV(operation, position_block.data(), data.data(), &data_length,
                               key_buffer.data(), m.KeyBufLen, key_number);
}

}  // namespace h5
