// The shared Open, Close and read routines behind every per-file operation.
// A file is described once (slot, name, record length, labels); the named
// operations of files.h hand that description to these routines.
#ifndef H5KAKEI_STORE_DATA_FILE_H_
#define H5KAKEI_STORE_DATA_FILE_H_

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "store/module.h"

namespace h5 {

struct DataFile {
  int16_t slot = 0;                        // position in FileState
  FileBlock ModuleData::*block = nullptr;  // the file's access block
  std::string_view name;                   // per-year files: the stem before yy + ".dat"
  bool per_year = false;
  int32_t record_length = 0;  // the data length after an Open
  // Labels handed to HandleFileStatus.
  std::string_view open_label = {};
  std::string_view close_label = {};
  std::string_view read_label = {};  // ReadEQ / ReadGtorEQ
  std::string_view next_label = {};  // ReadNXT
};

// How an Open treats the statuses it lets pass without a message.
struct OpenRules {
  // Status 12 marks the slot absent and sets the data length (else: no change).
  bool mark_absent = true;
  // Status 20 passes without a message, leaving the caller to repeat.
  bool pass_over_inactive = false;
};

// "Himoku.dat", or the stem + the last two characters of FiscalYear + ".dat".
std::string DataFileName(const DataFile& file);

// The Open call alone, in file's block, from directory: its status, also
// left in BtrStatus. The data length is the owner name's afterwards.
int16_t CallOpen(const DataFile& file, std::string& directory);

// Opens the file from directory (MakeOpenPath may append a '\' to it) unless
// its slot says open or absent, or the run has stopped. Status 0 marks it open; other statuses as
// the rules say; the rest are reported.
void OpenDataFile(const DataFile& file, std::string& directory, OpenRules rules = {});

// Calls open, and again while it answers 20 (the record manager is busy),
// counting the repeats in repeats, which callers may share between files.
// False when 500 repeats in all did not get past 20.
bool OpenPastInactive(const std::function<void()>& open, int& repeats);

// Closes the file when its slot says open; the slot is 0 afterwards whatever
// happens. A failed close is reported after the slot is reset.
void CloseDataFile(const DataFile& file);

// One read with operation (Get Equal, Get Greater or Equal, Get Next) into
// buffer, with data_length as capacity and the block's key buffer and number.
// A positioning read on an absent file answers 9 without a call; Get Next
// always calls; after a stop nothing calls. 0 and 9 pass (and 4 for Get Equal); the rest are
// reported.
void ReadRecord(const DataFile& file, int16_t operation, std::span<uint8_t> buffer,
                int32_t& data_length);

}  // namespace h5

#endif  // H5KAKEI_STORE_DATA_FILE_H_
