#include "call_log.h"

#include <cctype>

namespace h5 {
namespace {

// The operations' labels and the statuses each lets pass, per file.
struct FileLabels {
  const char* file;
  const char* open;
  const char* close;
  const char* read;  // Get Equal or Get Greater or Equal
  const char* next;  // Get Next
};

constexpr FileLabels kFiles[] = {
    {"himoku.dat", "費目ファイル オープン", "費目ファイル クローズ", "費目ファイル ReadEQ", ""},
    {"credit.dat", "Open　クレジット", "Close　クレジット", "ReadEQ  クレジット", ""},
    {"kyuyo.dat", "Open　Kyuyo", "Close　Kyuyo", "ReadEQ  Kyuyo", "ReadNXT　Kyuyo"},
    {"yosan.dat", "Open　yosan", "Close　予算", "ReadGtorEQ  Yosan", "ReadNXT　yosan"},
    {"suitou.dat", "Open　出納帳", "Close　現金", "ReadGtorEQ  出納帳", "ReadNXT　出納帳"},
    {"bunkat.dat", "Open　bunkatu", "Close　bunkatu", "ReadGtorEQ  bunkatu", "ReadNXT　bunkatu"},
    {"start.dat", "Open　Start", "Close　Start", "", ""},
};

// The per-year salary-amount file and the item file differ only in digits.
constexpr FileLabels kSalaryAmounts = {"kyuyo-amounts.dat", "Open　給与金額ファイル",
                                       "Close　給与金額ファイル", "ReadEQ  給与金額ファイル",
                                       "ReadNXT　給与金額ファイル"};

}  // namespace

std::string DataFileOfPath(const void* key_buffer) {
  const char* bytes = static_cast<const char*>(key_buffer);
  size_t length = 0;
  while (length < static_cast<size_t>(kKeyBufferSize) && bytes[length] != ' ' &&
         bytes[length] != '\0') {
    ++length;
  }
  std::string path(bytes, length);
  size_t slash = path.find_last_of('\\');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string folded;
  bool had_digits = false;
  for (char c : name) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      had_digits = true;
      continue;
    }
    folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  // Kyuyo02.dat, the salary amounts, against Kyuyo.dat, the items.
  if (folded == "kyuyo.dat" && had_digits) return "kyuyo-amounts.dat";
  return folded;
}

int16_t LoggingRecordManager::BTRV(int16_t operation, void* position_block, void* data_buffer,
                                   int32_t* data_length, void* key_buffer, int16_t key_length,
                                   int16_t key_number) {
  LoggedCall call;
  call.operation = operation;
  if (operation == kBtrOpen) {
    call.file = DataFileOfPath(key_buffer);
    files_[position_block] = call.file;
  } else {
    auto it = files_.find(position_block);
    if (it != files_.end()) call.file = it->second;
  }
  calls_.push_back(call);
  return inner_.BTRV(operation, position_block, data_buffer, data_length, key_buffer, key_length,
                     key_number);
}

std::optional<std::string> ExpectedReport(const LoggedCall& call, int16_t status) {
  if (status == 0) return std::nullopt;
  // The period file reports nothing at all.
  if (call.file == "kikan.dat") return std::nullopt;
  const FileLabels* labels = nullptr;
  if (call.file == "kyuyo-amounts.dat") labels = &kSalaryAmounts;
  for (const FileLabels& entry : kFiles) {
    if (call.file == entry.file) labels = &entry;
  }
  if (labels == nullptr) return std::nullopt;
  const bool start = call.file == "start.dat";
  const bool himoku = call.file == "himoku.dat";
  switch (call.operation) {
    case kBtrOpen:
      if (status == kBtrFileNotFound) return std::nullopt;
      // Both are repeated while the record manager is inactive.
      if (status == kBtrInactive && (start || himoku)) return std::nullopt;
      return std::string(labels->open);
    case kBtrClose:
      return std::string(labels->close);
    case kBtrGetFirst:  // the start file's read reports nothing
      return std::nullopt;
    case kBtrGetEqual:
      if (status == kBtrKeyNotFound || status == kBtrEndOfFile) return std::nullopt;
      return std::string(labels->read);
    case kBtrGetGreaterOrEqual:
      if (status == kBtrEndOfFile) return std::nullopt;
      return std::string(labels->read);
    case kBtrGetNext:
      if (status == kBtrEndOfFile) return std::nullopt;
      return std::string(labels->next);
    default:
      return std::nullopt;
  }
}

}  // namespace h5
