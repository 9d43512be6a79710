// A record manager that passes every call on and notes which operation on
// which data file it was, so that a sweep can say what the library should
// have reported when that call failed.
#ifndef H5KAKEI_TESTS_HARDENING_CALL_LOG_H_
#define H5KAKEI_TESTS_HARDENING_CALL_LOG_H_

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/record_manager.h"

namespace h5 {

struct LoggedCall {
  int16_t operation = 0;
  // The data file's name in lower case with the year digits dropped
  // ("suitou.dat" for suitou02.dat, but "kyuyo-amounts.dat" for Kyuyo02.dat);
  // empty for a block that was never opened.
  std::string file;
};

class LoggingRecordManager : public RecordManager {
 public:
  explicit LoggingRecordManager(RecordManager& inner) : inner_(inner) {}

  const std::vector<LoggedCall>& calls() const { return calls_; }

  int16_t BTRV(int16_t operation, void* position_block, void* data_buffer, int32_t* data_length,
               void* key_buffer, int16_t key_length, int16_t key_number) override;

 private:
  RecordManager& inner_;
  std::vector<LoggedCall> calls_;
  std::map<const void*, std::string> files_;  // position block -> file
};

// The file an Open's key buffer names, folded as LoggedCall::file.
std::string DataFileOfPath(const void* key_buffer);

// The label under which the library reports status when call fails, or
// nullopt when it lets that status pass without a box.
std::optional<std::string> ExpectedReport(const LoggedCall& call, int16_t status);

}  // namespace h5

#endif  // H5KAKEI_TESTS_HARDENING_CALL_LOG_H_
