// The record-manager calls of every data file: open, close and reads, the
// statuses each lets pass, and what they deliver.
#include "store/files.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>

#include "store_fixture.h"
#include "text/fields.h"

namespace h5 {
namespace {

const std::vector<uint8_t> kOwner = {'t', 'e', 'f', 'u', 0};
std::array<uint8_t, 26> g_buffer;  // the caller's buffer of the pay-statement reads
HimokuRecord g_himoku;

void OpenHimokuInKakeiDir() { OpenHimoku(Module().KakeiDir); }

struct FileCase {
  const char* name;
  void (*open)();
  void (*close)();
  int slot;
  FileBlock ModuleData::*block;
  int32_t length;
  const char* open_label;
  const char* close_label;
  bool marks_absent;     // status 12 marks the slot so the file is not tried again
  bool passes_inactive;  // status 20 is left to the caller
};

const FileCase kFiles[] = {
    {"Himoku.dat", OpenHimokuInKakeiDir, CloseHimoku, 1, &ModuleData::himoku, 68,
     "費目ファイル オープン", "費目ファイル クローズ", false, true},
    {"Credit.dat", OpenCredit, CloseCredit, 3, &ModuleData::credit, 60, "Open　クレジット",
     "Close　クレジット", true, false},
    {"Kyuyo.dat", OpenKyuyo, CloseKyuyo, 7, &ModuleData::kyuyo, 26, "Open　Kyuyo", "Close　Kyuyo",
     true, false},
    {"Yosan02.dat", OpenYosan, CloseYosan, 8, &ModuleData::yosan, 12, "Open　yosan", "Close　予算",
     true, false},
    {"suitou02.dat", OpenSuitou, CloseSuitou, 9, &ModuleData::suitou, 79, "Open　出納帳",
     "Close　現金", true, false},
    {"bunkat02.dat", OpenBunkatu, CloseBunkatu, 11, &ModuleData::bunkatu, 27, "Open　bunkatu",
     "Close　bunkatu", true, false},
    {"Kyuyo02.dat", OpenKyuyoKingaku, CloseKyuyoKingaku, 16, &ModuleData::kyuyo_kingaku, 26,
     "Open　給与金額ファイル", "Close　給与金額ファイル", true, false},
    {"start02.dat", OpenStart, CloseStart, 14, &ModuleData::start, 8, "Open　Start", "Close　Start",
     true, true}};

TEST_F(StoreTest, OpenAndCloseOfEveryFile) {
  for (const FileCase& c : kFiles) {
    SCOPED_TRACE(c.name);
    SetUp();
    c.open();
    ModuleData& m = Module();
    ASSERT_EQ(records.calls().size(), 1u);
    const BtrCall open = records.calls()[0];
    EXPECT_EQ(std::tie(open.operation, open.path, open.owner, open.key_number),
              std::tuple(kBtrOpen, kTestKakeiDir + std::string(c.name), kOwner, 0));
    EXPECT_EQ(std::tuple(m.FileState[c.slot], (m.*c.block).data_length), std::tuple(1, c.length));
    c.open();  // already open: no call
    c.close();
    ASSERT_EQ(records.calls().size(), 2u);
    const BtrCall& close = records.calls()[1];
    EXPECT_EQ(std::tie(close.operation, close.key_number, close.data_length, close.handle),
              std::tuple(kBtrClose, 0, c.length, 1u));
    EXPECT_EQ(std::tuple(m.FileState[c.slot], m.BtrStatus), std::tuple(0, 0));
    AnswerOperation(kBtrClose, 17);  // resets the slot, then reports
    c.open();
    c.close();
    EXPECT_EQ(std::tuple(m.FileState[c.slot], m.BtrStatus), std::tuple(0, 17));
    EXPECT_EQ(Shown(), (std::vector<ShownBox>{{BoxKind::kSystemError, 17, c.close_label}}));
    // Not found: marked absent (not tried again until a Close clears the mark)
    // with the record's length, or, for Himoku.dat, left to the caller.
    SetUp();
    AnswerOperation(kBtrOpen, kBtrFileNotFound);
    c.open();
    EXPECT_EQ(std::tuple(m.FileState[c.slot], (m.*c.block).data_length),
              c.marks_absent ? std::tuple(12, c.length) : std::tuple(0, 5));
    c.open();
    c.close();
    c.open();
    EXPECT_EQ(records.calls().size(), c.marks_absent ? 2u : 3u);
    EXPECT_EQ(std::tuple(m.FileState[c.slot], m.BtrStatus),
              std::tuple(c.marks_absent ? 12 : 0, 12));
    EXPECT_TRUE(dialogs.shown().empty());
    for (int16_t status : {2, 20}) {  // reported, except 20 where the caller repeats
      SetUp();
      AnswerOperation(kBtrOpen, status);
      c.open();
      EXPECT_EQ(std::tuple(m.FileState[c.slot], (m.*c.block).data_length, m.BtrStatus),
                std::tuple(0, 5, status));
      BoxKind kind = status == 20 ? BoxKind::kInactive : BoxKind::kSystemError;
      std::vector<ShownBox> boxes{{kind, status, c.open_label}};
      if (status == 20 && c.passes_inactive) boxes.clear();
      EXPECT_EQ(Shown(), boxes);
    }
  }
}

struct ReadCase {
  int file;  // in kFiles
  void (*read)();
  int16_t operation;
  const char* label;
};

const ReadCase kReads[] = {
    {4, ReadGtorEQSuitou, kBtrGetGreaterOrEqual, "ReadGtorEQ  出納帳"},
    {4, ReadNXTSuitou, kBtrGetNext, "ReadNXT　出納帳"},
    {3, ReadGtorEQYosan, kBtrGetGreaterOrEqual, "ReadGtorEQ  Yosan"},
    {3, ReadNXTYosan, kBtrGetNext, "ReadNXT　yosan"},
    {5, ReadGtorEQBunkatu, kBtrGetGreaterOrEqual, "ReadGtorEQ  bunkatu"},
    {5, ReadNXTBunkatu, kBtrGetNext, "ReadNXT　bunkatu"},
    {2, [] { ReadEQKyuyo(g_buffer); }, kBtrGetEqual, "ReadEQ  Kyuyo"},
    {2, [] { ReadNXTKyuyo(g_buffer); }, kBtrGetNext, "ReadNXT　Kyuyo"},
    {6, [] { ReadEQKyuyoKingaku(g_buffer); }, kBtrGetEqual, "ReadEQ  給与金額ファイル"},
    {6, [] { ReadNXTKyuyoKingaku(g_buffer); }, kBtrGetNext, "ReadNXT　給与金額ファイル"},
    {1, ReadEQCredit, kBtrGetEqual, "ReadEQ  クレジット"},
    {0, [] { ReadEQHimoku(g_himoku); }, kBtrGetEqual, "費目ファイル ReadEQ"}};

TEST_F(StoreTest, ReadsOfEveryFile) {
  for (const ReadCase& c : kReads) {
    SCOPED_TRACE(c.label);
    const FileCase& f = kFiles[c.file];
    SetUp();
    f.open();
    FileBlock& block = Module().*f.block;
    block.key_number = 5;
    block.key_buffer[0] = 0xAB;
    block.key_buffer[253] = 0xCD;
    block.data_length = 100000;  // never passed beyond the buffer
    c.read();
    ASSERT_EQ(records.calls().size(), 2u);
    const BtrCall& call = records.calls()[1];
    EXPECT_EQ(std::tie(call.operation, call.key_number, call.key[0], call.key[253],
                       call.data_length, call.handle),
              std::tuple(c.operation, 5, 0xAB, 0xCD, c.file == 1 ? 1024 : f.length, 1u));
    // Only 9, and 4 to a Get Equal, pass; any other status is reported and
    // everything closed.
    for (int16_t status : {0, 4, 9, 3, 20, 22}) {
      SetUp();
      f.open();
      AnswerOperation(c.operation, status);
      c.read();
      EXPECT_EQ(Module().BtrStatus, status);
      bool passes = status == 0 || status == 9 || (status == 4 && c.operation == kBtrGetEqual);
      EXPECT_EQ(Module().FileState[f.slot], passes ? kFileOpen : kFileClosed) << status;
      BoxKind kind = status == 20 ? BoxKind::kInactive : BoxKind::kSystemError;
      std::vector<ShownBox> boxes{{kind, status, c.label}};
      if (passes) boxes.clear();
      EXPECT_EQ(Shown(), boxes);
    }
    // An absent file answers 9 at once, except to Get Next and for Himoku.dat
    // (never marked absent): the unopened block answers 3, which is reported.
    SetUp();
    AnswerOperation(kBtrOpen, kBtrFileNotFound);
    f.open();
    c.read();
    bool called = c.operation == kBtrGetNext || !f.marks_absent;
    EXPECT_EQ(records.calls().size(), called ? 2u : 1u);
    EXPECT_EQ(Module().BtrStatus, called ? kBtrFileNotOpen : kBtrEndOfFile);
    std::vector<ShownBox> boxes{{BoxKind::kSystemError, 3, c.label}};
    if (!called) boxes.clear();
    EXPECT_EQ(Shown(), boxes);
  }
}

// Reads fill the block, the caller's buffer (never beyond it) or the master
// records, which stay as they were unless the read succeeds.
TEST_F(StoreTest, ReadsDeliverIntoTheirBuffers) {
  std::vector<uint8_t> r(200);
  for (size_t i = 0; i < r.size(); ++i) r[i] = static_cast<uint8_t>(0x80 + i);
  DeliverRecord(r);
  AnswerOperation({kBtrGetGreaterOrEqual, kBtrGetNext, kBtrGetEqual}, 0);
  OpenSuitou();
  ReadGtorEQSuitou();
  EXPECT_EQ(Module().suitou.record, std::vector<uint8_t>(r.begin(), r.begin() + 79));
  Module().suitou.data_length = -3;
  ReadNXTSuitou();
  EXPECT_EQ(records.calls().back().data_length, 0);
  OpenKyuyo();
  std::array<uint8_t, 10> small{};
  ReadNXTKyuyo(small);
  EXPECT_EQ(records.calls().back().data_length, 10);
  EXPECT_TRUE(std::equal(small.begin(), small.end(), r.begin()));
  OpenHimoku(Module().KakeiDir);
  OpenCredit();
  HimokuRecord h;
  h.extra_text = "kept";
  ReadEQHimoku(h);
  EXPECT_EQ(std::tie(h.group, h.level, h.minorCode, h.middleCode, h.majorCode, h.extra_text),
            std::tuple(0x80, 0x81, GetInt16At(r, 2), GetInt16At(r, 4), GetInt16At(r, 6), "kept"));
  EXPECT_TRUE(std::equal(h.name.begin(), h.name.end(), r.begin() + 8));
  // The fields the diagnosis does not read still come from their own bytes.
  EXPECT_TRUE(std::equal(h.field6.begin(), h.field6.end(), r.begin() + 28) &&
              std::equal(h.field11.begin(), h.field11.end(), r.begin() + 45));
  EXPECT_EQ(std::tuple(h.field7, h.field8, h.field9, h.field10),
            std::tuple(int16_t{r[38]}, GetInt16At(r, 39), GetInt16At(r, 41), GetInt16At(r, 43)));
  ReadEQCredit();  // with a length of its own, not the block's
  EXPECT_EQ(std::tuple(records.calls().back().data_length, Module().credit.data_length,
                       Module().credit_record.cardCode),
            std::tuple(1024, 60, GetInt16At(r, 0)));
  AnswerOperation(kBtrGetEqual, kBtrKeyNotFound);
  ReadEQHimoku(h = HimokuRecord{});
  Module().credit_record.cardCode = 77;
  ReadEQCredit();
  EXPECT_EQ(std::tuple(h.majorCode, Module().credit_record.cardCode, dialogs.shown().size()),
            std::tuple(0, 77, 0u));
}

// The start and period files, which start-up reads: nothing is reported.
TEST_F(StoreTest, StartAndPeriodFileReads) {
  std::vector<uint8_t> period(12);
  for (size_t i = 0; i < 12; ++i) period[i] = static_cast<uint8_t>(i + 1);
  const PeriodEntry read{0x0201, 0x0403, 0x08070605, 0x0C0B0A09};
  DeliverRecord(period);
  AnswerOperation({kBtrGetFirst, kBtrGetGreaterOrEqual, kBtrGetNext}, 0);
  ModuleData& m = Module();
  OpenStart();
  m.start.key_number = 3;
  ReadFirstStart();
  OpenKikan();
  m.kikan.key_number = 2;
  ReadGtorEQKikan();
  const std::vector<BtrCall>& calls = records.calls();
  EXPECT_EQ(
      std::tie(calls[1].operation, calls[1].data_length, calls[1].key_number, m.start.record),
      std::tuple(kBtrGetFirst, 8, 3, std::vector<uint8_t>(period.begin(), period.begin() + 8)));
  EXPECT_EQ(std::tie(calls[2].path, calls[2].data_length, calls[2].owner),
            std::tuple(kTestKakeiDir + std::string("Kikan02.dat"), 5, kOwner));
  EXPECT_EQ(std::tie(calls[3].operation, calls[3].data_length, calls[3].key_number, m.PeriodRecord),
            std::tuple(kBtrGetGreaterOrEqual, 12, 2, read));
  m.PeriodRecord = {};
  m.kikan.data_length = 3;  // Get Next passes the buffer's size regardless
  ReadNXTKikan();
  EXPECT_EQ(std::tie(calls.back().operation, calls.back().data_length, m.PeriodRecord),
            std::tuple(kBtrGetNext, 12, read));
  for (int16_t status : {2, 3, 9}) {  // failures leave the record
    AnswerOperation({kBtrGetFirst, kBtrGetGreaterOrEqual, kBtrGetNext}, status);
    for (void (*read_file)() : {ReadFirstStart, ReadGtorEQKikan, ReadNXTKikan}) {
      read_file();
      EXPECT_EQ(m.BtrStatus, status);
    }
  }
  EXPECT_EQ(std::tuple(m.PeriodRecord, m.FileState[kSlotStart]), std::tuple(read, 1));
  CloseKikan();
  EXPECT_EQ(std::tuple(ClosedHandles().back(), m.BtrStatus, records.open_files()),
            std::tuple(2u, 0, 1));
  CloseKikan();  // not open: the record manager's status
  EXPECT_EQ(m.BtrStatus, kBtrFileNotOpen);
  std::vector<uint8_t> out(5, 0xFF), other(12, 0);
  KikanRecMove(out, 2);  // writes back the fields that fit; other modes do nothing
  for (int16_t mode : {0, 3}) KikanRecMove(other, mode);
  EXPECT_EQ(std::tie(out, other),
            std::tuple(std::vector<uint8_t>{1, 2, 3, 4, 0xFF}, std::vector<uint8_t>(12)));
  EXPECT_TRUE(dialogs.shown().empty());
  SetUp();
  AnswerOperation(kBtrOpen, kBtrFileNotFound);
  OpenStart();
  ReadFirstStart();  // absent: 9 without a call
  EXPECT_EQ(std::tuple(records.calls().size(), m.BtrStatus), std::tuple(1u, 9));
  for (auto [status, length] : {std::pair{12, 12}, {2, 5}, {20, 5}}) {
    AnswerOperation(kBtrOpen, status);
    OpenKikan();
    EXPECT_EQ(std::tuple(m.kikan.data_length, m.BtrStatus), std::tuple(length, status));
  }
  ResetModule(Ports{.environment = &env, .dialogs = &dialogs});  // no record manager: 20
  OpenStart();
  EXPECT_EQ(m.BtrStatus, kBtrInactive);
}

}  // namespace
}  // namespace h5
