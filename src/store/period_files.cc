// The start file and the period file of the book year, which start-up reads.
#include <array>

#include "store/data_file.h"
#include "store/file_table.h"
#include "store/files.h"
#include "store/layouts.h"
#include "store/open_path.h"
#include "store/record_call.h"
#include "text/fields.h"
#include "text/vbstring.h"

namespace h5 {
namespace {}  // namespace

void OpenStart() {
  OpenDataFile(kStart, Module().KakeiDir,
               OpenRules{.mark_absent = true, .pass_over_inactive = true});
}

void CloseStart() { CloseDataFile(kStart); }

void ReadFirstStart() {
  ModuleData& m = Module();
  if (m.FileState[kSlotStart] == kFileAbsent) {
    m.BtrStatus = kBtrEndOfFile;
    return;
  }
  m.BtrStatus = CallRecordManager(kBtrGetFirst, m.start.position_block, m.start.record,
                                  m.start.data_length, m.start.key_buffer, m.start.key_number);
}

// Start-up reports nothing of the period file: a missing one reads as empty.
void OpenKikan() {
  ModuleData& m = Module();
  int16_t status = CallOpen(kKikan, m.KakeiDir);
  if (status == kBtrOk || status == kBtrFileNotFound) m.kikan.data_length = kKikan.record_length;
}

void ReadGtorEQKikan() {
  ModuleData& m = Module();
  FileBlock& block = m.kikan;
  std::array<uint8_t, period_layout::kRecordLength> buffer{};
  m.BtrStatus = CallRecordManager(kBtrGetGreaterOrEqual, block.position_block, buffer,
                                  block.data_length, block.key_buffer, block.key_number);
  if (m.BtrStatus == kBtrOk) KikanRecMove(buffer, 1);
}

void ReadNXTKikan() {
  ModuleData& m = Module();
  FileBlock& block = m.kikan;
  std::array<uint8_t, period_layout::kRecordLength> buffer{};
  int32_t length = static_cast<int32_t>(buffer.size());
  m.BtrStatus = CallRecordManager(kBtrGetNext, block.position_block, buffer, length,
                                  block.key_buffer, block.key_number);
  if (m.BtrStatus == kBtrOk) KikanRecMove(buffer, 1);
}

void CloseKikan() {
  ModuleData& m = Module();
  FileBlock& block = m.kikan;
  std::array<uint8_t, period_layout::kRecordLength> scratch{};
  m.BtrStatus = CallRecordManager(kBtrClose, block.position_block, scratch, block.data_length,
                                  m.PathKeyBuf, 0);
}

void KikanRecMove(std::span<uint8_t> buffer, int16_t mode) {
  PeriodEntry& record = Module().PeriodRecord;
  if (mode == 1) {
    PeriodRecordView view(buffer);
    record.Year = view.Year();
    record.Month = view.Month();
    record.StartDay = view.StartDay();
    record.EndDay = view.EndDay();
  } else if (mode == 2) {
    PutInt16At(buffer, period_layout::kYear, record.Year);
    PutInt16At(buffer, period_layout::kMonth, record.Month);
    PutInt32At(buffer, period_layout::kStartDay, record.StartDay);
    PutInt32At(buffer, period_layout::kEndDay, record.EndDay);
  }
}

}  // namespace h5
