#include "store/files.h"

#include <array>

#include "store/data_file.h"
#include "store/layouts.h"
#include "store/module.h"

namespace h5 {
namespace {

// The Credit.dat read brings its own buffer and length, larger than any record.
constexpr int32_t kCreditReadLength = 1024;

constexpr DataFile kHimoku{.slot = kSlotHimoku,
                           .block = &ModuleData::himoku,
                           .name = "Himoku.dat",
                           .per_year = false,
                           .record_length = himoku_layout::kRecordLength,
                           .open_label = "費目ファイル オープン",
                           .close_label = "費目ファイル クローズ",
                           .read_label = "費目ファイル ReadEQ"};
constexpr DataFile kCredit{.slot = kSlotCredit,
                           .block = &ModuleData::credit,
                           .name = "Credit.dat",
                           .per_year = false,
                           .record_length = credit_layout::kRecordLength,
                           .open_label = "Open　クレジット",
                           .close_label = "Close　クレジット",
                           .read_label = "ReadEQ  クレジット"};
constexpr DataFile kBikou{.slot = kSlotBikou,
                          .block = &ModuleData::bikou,
                          .name = "Bikou.dat",
                          .per_year = false,
                          .record_length = 32,
                          .close_label = "Close　備考"};
constexpr DataFile kTani{.slot = kSlotTani,
                         .block = &ModuleData::tani,
                         .name = "Tani.dat",
                         .per_year = false,
                         .record_length = 12,
                         .close_label = "Close　単位"};
constexpr DataFile kKyuyo{.slot = kSlotKyuyo,
                          .block = &ModuleData::kyuyo,
                          .name = "Kyuyo.dat",
                          .per_year = false,
                          .record_length = salary_item_def_layout::kRecordLength,
                          .open_label = "Open　Kyuyo",
                          .close_label = "Close　Kyuyo",
                          .read_label = "ReadEQ  Kyuyo",
                          .next_label = "ReadNXT　Kyuyo"};
constexpr DataFile kYosan{.slot = kSlotYosan,
                          .block = &ModuleData::yosan,
                          .name = "Yosan",
                          .per_year = true,
                          .record_length = budget_layout::kRecordLength,
                          .open_label = "Open　yosan",
                          .close_label = "Close　予算",
                          .read_label = "ReadGtorEQ  Yosan",
                          .next_label = "ReadNXT　yosan"};
constexpr DataFile kSuitou{.slot = kSlotSuitou,
                           .block = &ModuleData::suitou,
                           .name = "suitou",
                           .per_year = true,
                           .record_length = cash_book_layout::kRecordLength,
                           .open_label = "Open　出納帳",
                           .close_label = "Close　現金",
                           .read_label = "ReadGtorEQ  出納帳",
                           .next_label = "ReadNXT　出納帳"};
constexpr DataFile kBunkatu{.slot = kSlotBunkatu,
                            .block = &ModuleData::bunkatu,
                            .name = "bunkat",
                            .per_year = true,
                            .record_length = installment_layout::kRecordLength,
                            .open_label = "Open　bunkatu",
                            .close_label = "Close　bunkatu",
                            .read_label = "ReadGtorEQ  bunkatu",
                            .next_label = "ReadNXT　bunkatu"};
// The balances file is never opened, so its name is never needed.
constexpr DataFile kZandaka{.slot = kSlotZandaka,
                            .block = &ModuleData::zandaka,
                            .name = "",
                            .per_year = false,
                            .record_length = 14,
                            .close_label = "Close　zandaka"};
constexpr DataFile kKankyou{.slot = kSlotKankyou,
                            .block = &ModuleData::kankyou,
                            .name = "kankyou.dat",
                            .per_year = false,
                            .record_length = 308,
                            .close_label = "Close　環境"};
constexpr DataFile kKyuyoKingaku{.slot = kSlotKyuyoKingaku,
                                 .block = &ModuleData::kyuyo_kingaku,
                                 .name = "Kyuyo",
                                 .per_year = true,
                                 .record_length = salary_amount_layout::kRecordLength,
                                 .open_label = "Open　給与金額ファイル",
                                 .close_label = "Close　給与金額ファイル",
                                 .read_label = "ReadEQ  給与金額ファイル",
                                 .next_label = "ReadNXT　給与金額ファイル"};

// Opens from KakeiDir, which MakeOpenPath may complete with a final '\'.
void OpenInKakeiDir(const DataFile& file) { OpenDataFile(file, Module().KakeiDir, OpenRules{}); }

// A read into the file block's own record buffer.
void ReadIntoBlock(const DataFile& file, int16_t operation) {
  FileBlock& block = Module().*file.block;
  ReadDataFile(file, operation, block.record, block.data_length);
}

// A read into the caller's buffer with the block's data length.
void ReadIntoBuffer(const DataFile& file, int16_t operation, std::span<uint8_t> buffer) {
  ReadDataFile(file, operation, buffer, (Module().*file.block).data_length);
}

}  // namespace

void OpenHimoku(std::string& directory) {
  OpenDataFile(kHimoku, directory, OpenRules{.mark_absent = false, .pass_over_inactive = true});
}
void CloseHimoku() { CloseDataFile(kHimoku); }

void ReadEQHimoku(HimokuRecord& record) {
  std::array<uint8_t, himoku_layout::kRecordLength> work{};
  ReadDataFile(kHimoku, kBtrGetEqual, work, Module().himoku.data_length);
  if (Module().BtrStatus == kBtrOk) UnpackHimokuRecord(work, record);
}

void OpenCredit() { OpenInKakeiDir(kCredit); }
void CloseCredit() { CloseDataFile(kCredit); }

void ReadEQCredit() {
  std::array<uint8_t, kCreditReadLength> work{};
  int32_t length = kCreditReadLength;
  ReadDataFile(kCredit, kBtrGetEqual, work, length);
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
