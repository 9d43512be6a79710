// Every data file the library opens, described once: its slot, block, name,
// record length and the labels of its reports.
#ifndef H5KAKEI_STORE_FILE_TABLE_H_
#define H5KAKEI_STORE_FILE_TABLE_H_

#include <array>

#include "store/data_file.h"
#include "store/himoku.h"
#include "store/layouts.h"

namespace h5 {

inline constexpr DataFile kHimoku{.slot = kSlotHimoku,
                                  .block = &ModuleData::himoku,
                                  .name = "Himoku.dat",
                                  .per_year = false,
                                  .record_length = himoku_layout::kRecordLength,
                                  .open_label = "費目ファイル オープン",
                                  .close_label = "費目ファイル クローズ",
                                  .read_label = "費目ファイル ReadEQ"};
inline constexpr DataFile kCredit{.slot = kSlotCredit,
                                  .block = &ModuleData::credit,
                                  .name = "Credit.dat",
                                  .per_year = false,
                                  .record_length = credit_layout::kRecordLength,
                                  .open_label = "Open　クレジット",
                                  .close_label = "Close　クレジット",
                                  .read_label = "ReadEQ  クレジット"};
inline constexpr DataFile kBikou{.slot = kSlotBikou,
                                 .block = &ModuleData::bikou,
                                 .name = "Bikou.dat",
                                 .per_year = false,
                                 .record_length = 32,
                                 .close_label = "Close　備考"};
inline constexpr DataFile kTani{.slot = kSlotTani,
                                .block = &ModuleData::tani,
                                .name = "Tani.dat",
                                .per_year = false,
                                .record_length = 12,
                                .close_label = "Close　単位"};
inline constexpr DataFile kKyuyo{.slot = kSlotKyuyo,
                                 .block = &ModuleData::kyuyo,
                                 .name = "Kyuyo.dat",
                                 .per_year = false,
                                 .record_length = salary_item_def_layout::kRecordLength,
                                 .open_label = "Open　Kyuyo",
                                 .close_label = "Close　Kyuyo",
                                 .read_label = "ReadEQ  Kyuyo",
                                 .next_label = "ReadNXT　Kyuyo"};
inline constexpr DataFile kYosan{.slot = kSlotYosan,
                                 .block = &ModuleData::yosan,
                                 .name = "Yosan",
                                 .per_year = true,
                                 .record_length = budget_layout::kRecordLength,
                                 .open_label = "Open　yosan",
                                 .close_label = "Close　予算",
                                 .read_label = "ReadGtorEQ  Yosan",
                                 .next_label = "ReadNXT　yosan"};
inline constexpr DataFile kSuitou{.slot = kSlotSuitou,
                                  .block = &ModuleData::suitou,
                                  .name = "suitou",
                                  .per_year = true,
                                  .record_length = cash_book_layout::kRecordLength,
                                  .open_label = "Open　出納帳",
                                  .close_label = "Close　現金",
                                  .read_label = "ReadGtorEQ  出納帳",
                                  .next_label = "ReadNXT　出納帳"};
inline constexpr DataFile kBunkatu{.slot = kSlotBunkatu,
                                   .block = &ModuleData::bunkatu,
                                   .name = "bunkat",
                                   .per_year = true,
                                   .record_length = installment_layout::kRecordLength,
                                   .open_label = "Open　bunkatu",
                                   .close_label = "Close　bunkatu",
                                   .read_label = "ReadGtorEQ  bunkatu",
                                   .next_label = "ReadNXT　bunkatu"};
// The balances file is never opened, so its name is never needed.
inline constexpr DataFile kZandaka{.slot = kSlotZandaka,
                                   .block = &ModuleData::zandaka,
                                   .name = "",
                                   .per_year = false,
                                   .record_length = 14,
                                   .close_label = "Close　zandaka"};
inline constexpr DataFile kKankyou{.slot = kSlotKankyou,
                                   .block = &ModuleData::kankyou,
                                   .name = "kankyou.dat",
                                   .per_year = false,
                                   .record_length = 308,
                                   .close_label = "Close　環境"};
inline constexpr DataFile kKyuyoKingaku{.slot = kSlotKyuyoKingaku,
                                        .block = &ModuleData::kyuyo_kingaku,
                                        .name = "Kyuyo",
                                        .per_year = true,
                                        .record_length = salary_amount_layout::kRecordLength,
                                        .open_label = "Open　給与金額ファイル",
                                        .close_label = "Close　給与金額ファイル",
                                        .read_label = "ReadEQ  給与金額ファイル",
                                        .next_label = "ReadNXT　給与金額ファイル"};
inline constexpr DataFile kStart{.slot = kSlotStart,
                                 .block = &ModuleData::start,
                                 .name = "start",
                                 .per_year = true,
                                 .record_length = start_layout::kRecordLength,
                                 .open_label = "Open　Start",
                                 .close_label = "Close　Start"};
// The period file has a block but no slot: it is never closed by the close-all.
inline constexpr DataFile kKikan{.slot = 0,
                                 .block = &ModuleData::kikan,
                                 .name = "Kikan",
                                 .per_year = true,
                                 .record_length = period_layout::kRecordLength};

// In slot order, which is the order of the close-all.
inline constexpr std::array<const DataFile*, 13> kEveryFile = {
    &kHimoku,  &kCredit,  &kBikou, &kTani,    &kKyuyo,        &kYosan, &kSuitou,
    &kBunkatu, &kZandaka, &kStart, &kKankyou, &kKyuyoKingaku, &kKikan};

}  // namespace h5

#endif  // H5KAKEI_STORE_FILE_TABLE_H_
