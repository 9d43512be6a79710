// The library's module data, once per host thread. Start-up fills the
// directories, the book year and the period table; the file operations keep
// their blocks and states here. Every thread that hosts a control has its own
// copy, reached through Module().
#ifndef H5KAKEI_STORE_MODULE_H_
#define H5KAKEI_STORE_MODULE_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ports.h"
#include "store/himoku.h"

namespace h5 {

// One monthly period of the book year; an entry whose Year is 0 is empty.
struct PeriodEntry {
  int16_t Year = 0;
  int16_t Month = 0;
  int32_t StartDay = 0;  // day number, inclusive
  int32_t EndDay = 0;    // day number, inclusive
  friend bool operator==(const PeriodEntry&, const PeriodEntry&) = default;
};

// Positions 1..12 are used; position 0 stays empty.
using PeriodTableType = std::array<PeriodEntry, 13>;

// The access block of one data file.
struct FileBlock {
  std::array<uint8_t, 254> key_buffer{};
  int16_t key_number = 0;
  std::vector<uint8_t> record;  // as long as the file's record
  std::array<uint8_t, 128> position_block{};
  int32_t data_length = 0;
};

// Open-state slots of FileState.
enum FileSlot : int {
  kSlotHimoku = 1,
  kSlotCredit = 3,
  kSlotBikou = 4,
  kSlotTani = 5,
  kSlotKyuyo = 7,
  kSlotYosan = 8,
  kSlotSuitou = 9,
  kSlotBunkatu = 11,
  kSlotZandaka = 13,
  kSlotStart = 14,
  kSlotKankyou = 15,
  kSlotKyuyoKingaku = 16,
};

// FileState values.
constexpr int16_t kFileClosed = 0;
constexpr int16_t kFileOpen = 1;
constexpr int16_t kFileAbsent = 12;

struct ModuleData {
  Ports ports;

  // Start-up's results.
  std::string InstallDir;  // ends in '\'
  std::string DataDir;
  std::string KakeiSubDir;
  std::string KakeiDir;    // every data file is opened from here
  std::string FiscalYear;  // four digits, or empty
  PeriodTableType PeriodTable{};
  int16_t CurrentMonth = 0;  // 1..12, 0 when no period contains today
  std::string PresetLevel;   // "", "6" or "7"
  std::string ApplicationTitle;

  // Record-manager plumbing.
  int16_t BtrStatus = 0;
  std::array<int16_t, 35> FileState{};  // positions 1..34
  std::array<uint8_t, 254> PathKeyBuf{};
  std::array<uint8_t, 6> OwnerName{};
  int16_t KeyBufLen = 0;  // never assigned: always 0
  // A diagnosis in progress, and the status of the reported failure that
  // stopped it (0 while it goes on). A stopped run has closed its files:
  // every later open and read of it answers this status without a call, so
  // one failure makes one report.
  bool diagnosing = false;
  int16_t stopped_by = 0;

  // The unpacked Credit.dat record of the last successful ReadEQCredit.
  CreditRecord credit_record;
  // The unpacked period record of the last successful period-file read.
  PeriodEntry PeriodRecord;

  // One block per data file (the period file has a block but no slot).
  FileBlock himoku, credit, bikou, tani, kyuyo, yosan, suitou, bunkatu, zandaka, start, kankyou,
      kyuyo_kingaku, kikan;
};

// This thread's module data.
ModuleData& Module();

// Replaces this thread's module data with a fresh copy bound to ports, as a
// newly loaded library would have it.
void ResetModule(const Ports& ports);

// Makes Module() answer data (owned by the caller, alive while bound) on
// this thread instead of the thread's own copy; nullptr goes back to it. A
// DLL in another program's threads keeps its copies this way: a MinGW DLL
// hangs at thread exit destroying a thread-local object.
void BindModule(ModuleData* data);

}  // namespace h5

#endif  // H5KAKEI_STORE_MODULE_H_
