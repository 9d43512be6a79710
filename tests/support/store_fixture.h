// A thread's module data bound to in-memory doubles, with a record manager
// that answers chosen statuses by operation or by call number.
#ifndef H5KAKEI_TESTS_SUPPORT_STORE_FIXTURE_H_
#define H5KAKEI_TESTS_SUPPORT_STORE_FIXTURE_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <ostream>
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

// A box as the message catalogue reads it; status and label come from the
// heading of a status dialog.
struct ShownBox {
  BoxKind kind = BoxKind::kUnknown;
  int16_t status = 0;
  std::string label;
  friend bool operator==(const ShownBox&, const ShownBox&) = default;
  friend void PrintTo(const ShownBox& b, std::ostream* os) {
    *os << "{kind " << static_cast<int>(b.kind) << ", " << b.status << ", " << b.label << "}";
  }
};

class StoreTest : public ::testing::Test {
 protected:
  // May be called again inside a test to start afresh.
  void SetUp() override {
    env = FakeEnvironment();
    records = FakeRecordManager();
    dialogs = FakeDialogs();
    by_operation_ = {};
    by_call_ = {};
    record_ = {};
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

  // Every later call of these operations answers status.
  void AnswerOperation(int16_t operation, int16_t status) { by_operation_[operation] = status; }
  void AnswerOperation(std::initializer_list<int16_t> operations, int16_t status) {
    for (int16_t operation : operations) by_operation_[operation] = status;
  }
  // Call number index (from 0) answers status, before AnswerOperation.
  void AnswerCall(size_t index, int16_t status) { by_call_[index] = status; }
  // Fills the data buffer of successful reads.
  void DeliverRecord(std::vector<uint8_t> record) { record_ = std::move(record); }

  // The files the Close calls closed, in order, by the handles the fake gave
  // their Opens: 1, 2, ... in the order the Opens succeeded.
  std::vector<uint32_t> ClosedHandles() const {
    std::vector<uint32_t> handles;
    for (const BtrCall& call : records.calls()) {
      if (call.operation == kBtrClose) handles.push_back(call.handle);
    }
    return handles;
  }

  // Every box shown so far; each must be one of the catalogue's, byte for
  // byte, under the application title of now.
  std::vector<ShownBox> Shown() const {
    std::vector<ShownBox> boxes;
    for (const MessageBoxRequest& box : dialogs.shown()) {
      std::string why;
      ShownBox shown{ClassifyBox(box, Module().ApplicationTitle, &why), 0, ""};
      EXPECT_NE(shown.kind, BoxKind::kUnknown) << why;
      if (auto parts = ParseHeading(box.text)) shown = {shown.kind, parts->status, parts->label};
      boxes.push_back(shown);
    }
    return boxes;
  }

  FakeEnvironment env;
  FakeRecordManager records;
  FakeDialogs dialogs;

 private:
  std::optional<int16_t> Respond(const BtrCall& call, std::span<uint8_t> data, int32_t* length) {
    std::optional<int16_t> status;
    if (auto it = by_call_.find(records.calls().size() - 1); it != by_call_.end()) {
      status = it->second;
    } else if (auto op = by_operation_.find(call.operation); op != by_operation_.end()) {
      status = op->second;
    }
    bool read = call.operation != kBtrOpen && call.operation != kBtrClose;
    if (read && status == kBtrOk && !record_.empty()) {
      *length = static_cast<int32_t>(std::min(record_.size(), data.size()));
      std::copy_n(record_.begin(), *length, data.begin());
    }
    return status;
  }

  std::map<int16_t, int16_t> by_operation_;
  std::map<size_t, int16_t> by_call_;
  std::vector<uint8_t> record_;
};

}  // namespace h5

#endif  // H5KAKEI_TESTS_SUPPORT_STORE_FIXTURE_H_
