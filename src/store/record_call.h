// The one place where the store layer calls the record manager.
#ifndef H5KAKEI_STORE_RECORD_CALL_H_
#define H5KAKEI_STORE_RECORD_CALL_H_

#include <array>
#include <cstdint>
#include <span>

namespace h5 {

// One BTRV call with KeyBufLen as the key length. data_length is the data
// buffer's capacity on entry; a value outside 0..data.size() is first brought
// into that range, so the record manager can never write past data. Answers
// status 20 (record manager inactive) when the thread has no record manager.
int16_t CallRecordManager(int16_t operation, std::array<uint8_t, 128>& position_block,
                          std::span<uint8_t> data, int32_t& data_length,
                          std::array<uint8_t, 254>& key_buffer, int16_t key_number);

}  // namespace h5

#endif  // H5KAKEI_STORE_RECORD_CALL_H_
