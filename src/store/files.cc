#include "store/files.h"

#include <array>

#include "store/data_file.h"
#include "store/file_table.h"
#include "store/layouts.h"
#include "store/module.h"

namespace h5 {
namespace {

// The Credit.dat read brings its own buffer and length, larger than any record.
constexpr int32_t kCreditReadLength = 1024;

// Opens from KakeiDir, which MakeOpenPath may complete with a final '\'.
void OpenInKakeiDir(const DataFile& file) { OpenDataFile(file, Module().KakeiDir, OpenRules{}); }

// A read into the file block's own record buffer.
void ReadIntoBlock(const DataFile& file, int16_t operation) {
  FileBlock& block = Module().*file.block;
  ReadRecord(file, operation, block.record, block.data_length);
}

// A read into the caller's buffer with the block's data length.
void ReadIntoBuffer(const DataFile& file, int16_t operation, std::span<uint8_t> buffer) {
  ReadRecord(file, operation, buffer, (Module().*file.block).data_length);
}

}  // namespace

void OpenHimoku(std::string& directory) {
  OpenDataFile(kHimoku, directory, OpenRules{.mark_absent = false, .pass_over_inactive = true});
}
void CloseHimoku() { CloseDataFile(kHimoku); }

void ReadEQHimoku(HimokuRecord& record) {
  std::array<uint8_t, himoku_layout::kRecordLength> work{};
  ReadRecord(kHimoku, kBtrGetEqual, work, Module().himoku.data_length);
  if (Module().BtrStatus == kBtrOk) UnpackHimokuRecord(work, record);
}

void OpenCredit() { OpenInKakeiDir(kCredit); }
void CloseCredit() { CloseDataFile(kCredit); }

void ReadEQCredit() {
  std::array<uint8_t, kCreditReadLength> work{};
  int32_t length = kCreditReadLength;
  ReadRecord(kCredit, kBtrGetEqual, work, length);
  if (Module().BtrStatus == kBtrOk) UnpackCreditRecord(work, Module().credit_record);
}

void CloseBikou() { CloseDataFile(kBikou); }
void CloseTani() { CloseDataFile(kTani); }
void CloseZandaka() { CloseDataFile(kZandaka); }
void CloseKankyou() { CloseDataFile(kKankyou); }

void OpenKyuyo() { OpenInKakeiDir(kKyuyo); }
void CloseKyuyo() { CloseDataFile(kKyuyo); }
void ReadEQKyuyo(std::span<uint8_t> buffer) { ReadIntoBuffer(kKyuyo, kBtrGetEqual, buffer); }
void ReadNXTKyuyo(std::span<uint8_t> buffer) { ReadIntoBuffer(kKyuyo, kBtrGetNext, buffer); }

void OpenYosan() { OpenInKakeiDir(kYosan); }
void CloseYosan() { CloseDataFile(kYosan); }
void ReadGtorEQYosan() { ReadIntoBlock(kYosan, kBtrGetGreaterOrEqual); }
void ReadNXTYosan() { ReadIntoBlock(kYosan, kBtrGetNext); }

void OpenSuitou() { OpenInKakeiDir(kSuitou); }
void CloseSuitou() { CloseDataFile(kSuitou); }
void ReadGtorEQSuitou() { ReadIntoBlock(kSuitou, kBtrGetGreaterOrEqual); }
void ReadNXTSuitou() { ReadIntoBlock(kSuitou, kBtrGetNext); }

void OpenBunkatu() { OpenInKakeiDir(kBunkatu); }
void CloseBunkatu() { CloseDataFile(kBunkatu); }
void ReadGtorEQBunkatu() { ReadIntoBlock(kBunkatu, kBtrGetGreaterOrEqual); }
void ReadNXTBunkatu() { ReadIntoBlock(kBunkatu, kBtrGetNext); }

void OpenKyuyoKingaku() { OpenInKakeiDir(kKyuyoKingaku); }
void CloseKyuyoKingaku() { CloseDataFile(kKyuyoKingaku); }
void ReadEQKyuyoKingaku(std::span<uint8_t> buffer) {
  ReadIntoBuffer(kKyuyoKingaku, kBtrGetEqual, buffer);
}
void ReadNXTKyuyoKingaku(std::span<uint8_t> buffer) {
  ReadIntoBuffer(kKyuyoKingaku, kBtrGetNext, buffer);
}

}  // namespace h5
