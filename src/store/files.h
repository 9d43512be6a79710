// The operations on the household data files in KakeiDir. Each wraps one
// record-manager call, leaves its status in BtrStatus, lets the statuses that
// are a normal outcome for it pass, and hands every other status to
// HandleFileStatus with its label. Callers read records from the file's
// block (or their own buffer) and test BtrStatus.
//
// Opens are skipped while the file is open or marked absent (status 12 on
// its last Open); positioning reads on an absent file answer 9 at once; a
// Close of a file that is not open only resets its slot.
#ifndef H5KAKEI_STORE_FILES_H_
#define H5KAKEI_STORE_FILES_H_

#include <cstdint>
#include <span>
#include <string>

#include "store/himoku.h"

namespace h5 {

// Himoku.dat, slot 1. The Open takes its directory (the caller's variable may
// gain a final '\'); it passes over 12 and 20 without marking the slot, so
// the caller can react to them.
void OpenHimoku(std::string& directory);
void CloseHimoku();
// Get Equal by the block's key; on status 0 the record is unpacked into
// record, otherwise record is left as it was. 4 and 9 pass silently.
void ReadEQHimoku(HimokuRecord& record);

// Credit.dat, slot 3. ReadEQCredit reads with a 1024-byte buffer and a data
// length of its own; on status 0 it unpacks into Module().credit_record.
void OpenCredit();
void CloseCredit();
void ReadEQCredit();

// Never opened by this system; their Close keeps the slot at 0.
void CloseBikou();    // slot 4
void CloseTani();     // slot 5
void CloseZandaka();  // slot 13
void CloseKankyou();  // slot 15

// Kyuyo.dat (pay-statement item definitions), slot 7, into the caller's
// 26-byte buffer.
void OpenKyuyo();
void CloseKyuyo();
void ReadEQKyuyo(std::span<uint8_t> buffer);
void ReadNXTKyuyo(std::span<uint8_t> buffer);

// The budget file "Yosan" + yy + ".dat", slot 8, into the block's record.
void OpenYosan();
void CloseYosan();
void ReadGtorEQYosan();
void ReadNXTYosan();

// The cash book "suitou" + yy + ".dat", slot 9, into the block's record.
void OpenSuitou();
void CloseSuitou();
void ReadGtorEQSuitou();
void ReadNXTSuitou();

// The installment file "bunkat" + yy + ".dat", slot 11, into the block's
// record.
void OpenBunkatu();
void CloseBunkatu();
void ReadGtorEQBunkatu();
void ReadNXTBunkatu();

// The salary-amount file "Kyuyo" + yy + ".dat", slot 16, into the caller's
// 26-byte buffer.
void OpenKyuyoKingaku();
void CloseKyuyoKingaku();
void ReadEQKyuyoKingaku(std::span<uint8_t> buffer);
void ReadNXTKyuyoKingaku(std::span<uint8_t> buffer);

// The start file "start" + yy + ".dat", slot 14. The Open passes over 20
// (the caller repeats); ReadFirstStart reads the first record by key 0 into
// the block's record, answers 9 for an absent file and never reports.
void OpenStart();
void CloseStart();
void ReadFirstStart();

// The period file "Kikan" + yy + ".dat": no slot, nothing reported. A
// successful read is unpacked into Module().PeriodRecord.
void OpenKikan();
void ReadGtorEQKikan();
void ReadNXTKikan();
void CloseKikan();
// Mode 1 copies the fields of a 12-byte period record buffer into
// Module().PeriodRecord; mode 2 copies them back into buffer; other modes do
// nothing.
void KikanRecMove(std::span<uint8_t> buffer, int16_t mode);

}  // namespace h5

#endif  // H5KAKEI_STORE_FILES_H_
