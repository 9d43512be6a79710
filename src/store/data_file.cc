#include "store/data_file.h"

#include "store/open_path.h"
#include "store/record_call.h"
#include "store/status.h"
#include "text/vbstring.h"

namespace h5 {
namespace {

// The owner name and its zero byte.
constexpr int32_t kOpenDataLength = 5;

}  // namespace

std::string DataFileName(const DataFile& file) {
  std::string name(file.name);
  if (file.per_year) name += RightChars(Module().FiscalYear, 2) + ".dat";
  return name;
}

int16_t CallOpen(const DataFile& file, std::string& directory) {
  ModuleData& m = Module();
  FileBlock& block = m.*file.block;
  block.data_length = kOpenDataLength;
  std::string name = DataFileName(file);
  MakeOpenPath(name, directory, m.PathKeyBuf);
  m.BtrStatus = CallRecordManager(kBtrOpen, block.position_block, m.OwnerName, block.data_length,
                                  m.PathKeyBuf, 0);
  return m.BtrStatus;
}

void OpenDataFile(const DataFile& file, std::string& directory, OpenRules rules) {
  ModuleData& m = Module();
  if (m.stopped_by != 0) {
    m.BtrStatus = m.stopped_by;
    return;
  }
  int16_t& state = m.FileState[file.slot];
  if (state == kFileOpen || state == kFileAbsent) return;
  FileBlock& block = m.*file.block;
  int16_t status = CallOpen(file, directory);
  if (status == kBtrOk) {
    state = kFileOpen;
    block.data_length = file.record_length;
    return;
  }
  // A failed Open leaves the data length at the owner name's.
  block.data_length = kOpenDataLength;
  if (status == kBtrFileNotFound) {
    if (rules.mark_absent) {
      state = kFileAbsent;
      block.data_length = file.record_length;
    }
    return;
  }
  if (status == kBtrInactive && rules.pass_over_inactive) return;
  HandleFileStatus(m.BtrStatus, file.open_label);
}

bool OpenPastInactive(const std::function<void()>& open, int& repeats) {
  constexpr int kMaxRepeats = 500;
  ModuleData& m = Module();
  m.BtrStatus = 0;
  open();
  while (m.BtrStatus == kBtrInactive) {
    if (repeats == kMaxRepeats) return false;
    ++repeats;
    m.BtrStatus = 0;
    open();
  }
  return true;
}

void CloseDataFile(const DataFile& file) {
  ModuleData& m = Module();
  int16_t& state = m.FileState[file.slot];
  if (state != kFileOpen) {
    state = kFileClosed;  // also clears the absent mark
    return;
  }
  FileBlock& block = m.*file.block;
  m.BtrStatus = CallRecordManager(kBtrClose, block.position_block, block.record, block.data_length,
                                  m.PathKeyBuf, 0);
  state = kFileClosed;
  if (m.BtrStatus != kBtrOk) HandleFileStatus(m.BtrStatus, file.close_label);
}

void ReadRecord(const DataFile& file, int16_t operation, std::span<uint8_t> buffer,
                int32_t& data_length) {
  ModuleData& m = Module();
  if (m.stopped_by != 0) {
    m.BtrStatus = m.stopped_by;
    return;
  }
  if (operation != kBtrGetNext && m.FileState[file.slot] == kFileAbsent) {
    m.BtrStatus = kBtrEndOfFile;
    return;
  }
  FileBlock& block = m.*file.block;
  m.BtrStatus = CallRecordManager(operation, block.position_block, buffer, data_length,
                                  block.key_buffer, block.key_number);
  int16_t status = m.BtrStatus;
  if (status == kBtrOk || status == kBtrEndOfFile) return;
  if (status == kBtrKeyNotFound && operation == kBtrGetEqual) return;
  HandleFileStatus(m.BtrStatus, operation == kBtrGetNext ? file.next_label : file.read_label);
}

}  // namespace h5
