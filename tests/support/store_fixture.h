// A thread's module data bound to in-memory doubles, with a record manager
// that answers chosen statuses by operation or by call number.
#ifndef H5KAKEI_TESTS_SUPPORT_STORE_FIXTURE_H_
#define H5KAKEI_TESTS_SUPPORT_STORE_FIXTURE_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "messages.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_record_manager.h"
#include "store/module.h"
#include "store/open_path.h"

namespace h5 {

inline constexpr char kTestKakeiDir[] = "C:\\HdmData5\\kakeibo\\kakeibo1\\";

class StoreTest : public ::testing::Test {
 protected:
  // May be called again inside a test to start afresh.
  void SetUp() override {
    env = FakeEnvironment();
    records = FakeRecordManager();
    dialogs = FakeDialogs();
    by_operation_.clear();
    by_call_.clear();
    record_.clear();
    opened_paths_.clear();
    ResetModule(Ports{.environment = &env, .records = &records, .dialogs = &dialogs});
    ModuleData& m = Module();
    m.KakeiDir = kTestKakeiDir;
    m.FiscalYear = "2002";
    m.ApplicationTitle = "家計診断";
    SetOwnerName(m.OwnerName, "tefu");
    env.AddDirectory(kTestKakeiDir);
    records.SetHandler([this](const BtrCall& call, std::span<uint8_t> data, int32_t* length) {
      return Respond(call, data, length);
    });
  }

  // Every later call of operation answers status.
  void AnswerOperation(int16_t operation, int16_t status) { by_operation_[operation] = status; }
  // Call number index (from 0, counting every call) answers status; it wins
  // over AnswerOperation.
  void AnswerCall(size_t index, int16_t status) { by_call_[index] = status; }
  // Fills the data buffer of successful reads.
  void DeliverRecord(std::vector<uint8_t> record) { record_ = std::move(record); }

  // The files the Close calls closed, in order, named by the path their
  // Open was given. (Close passes whatever PathKeyBuf holds; the record
  // manager goes by the position block.)
  std::vector<std::string> ClosedPaths() const {
    std::vector<std::string> paths;
    for (const BtrCall& call : records.calls()) {
      if (call.operation != kBtrClose) continue;
      bool known = call.handle >= 1 && call.handle <= opened_paths_.size();
      paths.push_back(known ? opened_paths_[call.handle - 1] : "(not open)");
    }
    return paths;
  }

  FakeEnvironment env;
  FakeRecordManager records;
  FakeDialogs dialogs;

 private:
  std::optional<int16_t> Respond(const BtrCall& call, std::span<uint8_t> data, int32_t* length) {
    std::optional<int16_t> status;
    size_t index = records.calls().size() - 1;
    if (auto it = by_call_.find(index); it != by_call_.end()) {
      status = it->second;
    } else if (auto op = by_operation_.find(call.operation); op != by_operation_.end()) {
      status = op->second;
    }
    // The fake hands out handles 1, 2, ... to the Opens that succeed.
    if (call.operation == kBtrOpen && status.value_or(kBtrOk) == kBtrOk) {
      opened_paths_.push_back(call.path);
    }
    bool read = call.operation != kBtrOpen && call.operation != kBtrClose;
    if (read && status == kBtrOk && !record_.empty()) {
      size_t n = std::min(record_.size(), data.size());
      std::copy_n(record_.begin(), n, data.begin());
      *length = static_cast<int32_t>(n);
    }
    return status;
  }

  std::map<int16_t, int16_t> by_operation_;
  std::map<size_t, int16_t> by_call_;
  std::vector<uint8_t> record_;
  std::vector<std::string> opened_paths_;
};

}  // namespace h5

#endif  // H5KAKEI_TESTS_SUPPORT_STORE_FIXTURE_H_
