#include "store/files.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "store/module.h"
#include "store_fixture.h"

namespace h5 {
namespace {

// The caller-owned buffer of the pay-statement reads.
std::array<uint8_t, 26> g_buffer;

struct OpenCase {
  const char* test_name;
  void (*open)();
  void (*close)();
  int slot;
  FileBlock ModuleData::*block;
  const char* file_name;
  int32_t record_length;
  const char* open_label;
  const char* close_label;
  bool passes_inactive;  // status 20 on Open is left to the caller
};

const OpenCase kOpenCases[] = {
    {"Credit", OpenCredit, CloseCredit, 3, &ModuleData::credit, "Credit.dat", 60,
     "Open　クレジット", "Close　クレジット", false},
    {"Kyuyo", OpenKyuyo, CloseKyuyo, 7, &ModuleData::kyuyo, "Kyuyo.dat", 26, "Open　Kyuyo",
     "Close　Kyuyo", false},
    {"Yosan", OpenYosan, CloseYosan, 8, &ModuleData::yosan, "Yosan02.dat", 12, "Open　yosan",
     "Close　予算", false},
    {"Suitou", OpenSuitou, CloseSuitou, 9, &ModuleData::suitou, "suitou02.dat", 79, "Open　出納帳",
     "Close　現金", false},
    {"Bunkatu", OpenBunkatu, CloseBunkatu, 11, &ModuleData::bunkatu, "bunkat02.dat", 27,
     "Open　bunkatu", "Close　bunkatu", false},
    {"KyuyoKingaku", OpenKyuyoKingaku, CloseKyuyoKingaku, 16, &ModuleData::kyuyo_kingaku,
     "Kyuyo02.dat", 26, "Open　給与金額ファイル", "Close　給与金額ファイル", false},
    {"Start", OpenStart, CloseStart, 14, &ModuleData::start, "start02.dat", 8, "Open　Start",
     "Close　Start", true},
};

std::string Heading(const std::string& text, const std::string& label) {
  return "《" + text + "》  ** " + label + " **";
}

class OpenCloseTest : public StoreTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenCloseTest, OpensFromKakeiDirWithOwnerName) {
  const OpenCase& c = GetParam();
  c.open();
  ASSERT_EQ(records.calls().size(), 1u);
  const BtrCall& call = records.calls()[0];
  EXPECT_EQ(call.operation, kBtrOpen);
  EXPECT_EQ(call.path, std::string(kTestKakeiDir) + c.file_name);
  EXPECT_EQ(call.owner, (std::vector<uint8_t>{'t', 'e', 'f', 'u', 0}));
  EXPECT_EQ(call.data_length, 5);
  EXPECT_EQ(call.key_number, 0);
  EXPECT_EQ(Module().FileState[c.slot], kFileOpen);
  EXPECT_EQ((Module().*c.block).data_length, c.record_length);
  EXPECT_EQ(Module().BtrStatus, 0);
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_P(OpenCloseTest, SecondOpenMakesNoCall) {
  GetParam().open();
  Module().BtrStatus = 77;
  GetParam().open();
  EXPECT_EQ(records.calls().size(), 1u);
  EXPECT_EQ(Module().BtrStatus, 77);
}

TEST_P(OpenCloseTest, NotFoundMarksAbsentWithoutMessage) {
  const OpenCase& c = GetParam();
  AnswerOperation(kBtrOpen, kBtrFileNotFound);
  c.open();
  EXPECT_EQ(Module().FileState[c.slot], kFileAbsent);
  EXPECT_EQ((Module().*c.block).data_length, c.record_length);
  EXPECT_EQ(Module().BtrStatus, kBtrFileNotFound);
  EXPECT_TRUE(dialogs.shown().empty());
  c.open();  // an absent file is not tried again
  EXPECT_EQ(records.calls().size(), 1u);
}

TEST_P(OpenCloseTest, FailingOpenReportsAndKeepsSlot) {
  const OpenCase& c = GetParam();
  for (int16_t status : {2, 3, 11, 20, 46, 51, 99, -1}) {
    SCOPED_TRACE(status);
    SetUp();
    AnswerOperation(kBtrOpen, status);
    c.open();
    EXPECT_EQ(Module().FileState[c.slot], kFileClosed);
    EXPECT_EQ((Module().*c.block).data_length, 5);
    EXPECT_EQ(Module().BtrStatus, status);
    if (status == kBtrInactive && c.passes_inactive) {
      EXPECT_TRUE(dialogs.shown().empty());
      continue;
    }
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_NE(dialogs.shown()[0].text.find(std::string("  ** ") + c.open_label + " **"),
              std::string::npos);
  }
}

TEST_P(OpenCloseTest, CloseOfOpenFile) {
  const OpenCase& c = GetParam();
  c.open();
  c.close();
  ASSERT_EQ(records.calls().size(), 2u);
  const BtrCall& call = records.calls()[1];
  EXPECT_EQ(call.operation, kBtrClose);
  EXPECT_EQ(ClosedPaths(), std::vector<std::string>{std::string(kTestKakeiDir) + c.file_name});
  EXPECT_EQ(call.key_number, 0);
  EXPECT_EQ(call.data_length, c.record_length);
  EXPECT_EQ(Module().FileState[c.slot], kFileClosed);
  EXPECT_EQ(records.open_files(), 0);
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST_P(OpenCloseTest, FailingCloseResetsSlotThenReports) {
  const OpenCase& c = GetParam();
  AnswerOperation(kBtrClose, 17);
  c.open();
  c.close();
  EXPECT_EQ(Module().FileState[c.slot], kFileClosed);
  EXPECT_EQ(Module().BtrStatus, 17);
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text, SystemErrorText(Heading("クローズエラー", c.close_label)));
}

TEST_P(OpenCloseTest, CloseOfAbsentFileOnlyClearsMark) {
  const OpenCase& c = GetParam();
  AnswerOperation(kBtrOpen, kBtrFileNotFound);
  c.open();
  c.close();
  EXPECT_EQ(records.calls().size(), 1u);
  EXPECT_EQ(Module().FileState[c.slot], kFileClosed);
  EXPECT_TRUE(dialogs.shown().empty());
  c.open();  // the cleared mark lets the file be tried again
  EXPECT_EQ(records.calls().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Files, OpenCloseTest, ::testing::ValuesIn(kOpenCases),
                         [](const auto& info) { return std::string(info.param.test_name); });

struct ReadCase {
  const char* test_name;
  void (*open)();
  void (*read)();
  int slot;
  FileBlock ModuleData::*block;
  int16_t operation;
  const char* label;
  int32_t passed_length;  // data length the call is given after a successful Open
};

const ReadCase kReadCases[] = {
    {"GtorEQSuitou", OpenSuitou, ReadGtorEQSuitou, 9, &ModuleData::suitou, kBtrGetGreaterOrEqual,
     "ReadGtorEQ  出納帳", 79},
    {"NXTSuitou", OpenSuitou, ReadNXTSuitou, 9, &ModuleData::suitou, kBtrGetNext, "ReadNXT　出納帳",
     79},
    {"GtorEQYosan", OpenYosan, ReadGtorEQYosan, 8, &ModuleData::yosan, kBtrGetGreaterOrEqual,
     "ReadGtorEQ  Yosan", 12},
    {"NXTYosan", OpenYosan, ReadNXTYosan, 8, &ModuleData::yosan, kBtrGetNext, "ReadNXT　yosan", 12},
    {"GtorEQBunkatu", OpenBunkatu, ReadGtorEQBunkatu, 11, &ModuleData::bunkatu,
     kBtrGetGreaterOrEqual, "ReadGtorEQ  bunkatu", 27},
    {"NXTBunkatu", OpenBunkatu, ReadNXTBunkatu, 11, &ModuleData::bunkatu, kBtrGetNext,
     "ReadNXT　bunkatu", 27},
    {"EQKyuyo", OpenKyuyo, [] { ReadEQKyuyo(g_buffer); }, 7, &ModuleData::kyuyo, kBtrGetEqual,
     "ReadEQ  Kyuyo", 26},
    {"NXTKyuyo", OpenKyuyo, [] { ReadNXTKyuyo(g_buffer); }, 7, &ModuleData::kyuyo, kBtrGetNext,
     "ReadNXT　Kyuyo", 26},
    {"EQKyuyoKingaku", OpenKyuyoKingaku, [] { ReadEQKyuyoKingaku(g_buffer); }, 16,
     &ModuleData::kyuyo_kingaku, kBtrGetEqual, "ReadEQ  給与金額ファイル", 26},
    {"NXTKyuyoKingaku", OpenKyuyoKingaku, [] { ReadNXTKyuyoKingaku(g_buffer); }, 16,
     &ModuleData::kyuyo_kingaku, kBtrGetNext, "ReadNXT　給与金額ファイル", 26},
    {"EQCredit", OpenCredit, ReadEQCredit, 3, &ModuleData::credit, kBtrGetEqual,
     "ReadEQ  クレジット", 1024},
    {"EQHimoku", [] { OpenHimoku(Module().KakeiDir); },
     [] {
       HimokuRecord record;
       ReadEQHimoku(record);
     },
     1, &ModuleData::himoku, kBtrGetEqual, "費目ファイル ReadEQ", 68},
};

class ReadTest : public StoreTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadTest, PassesBlockKeyAndKeyNumber) {
  const ReadCase& c = GetParam();
  c.open();
  FileBlock& block = Module().*c.block;
  block.key_number = 5;
  block.key_buffer[0] = 0xAB;
  block.key_buffer[253] = 0xCD;
  c.read();
  ASSERT_EQ(records.calls().size(), 2u);
  const BtrCall& call = records.calls()[1];
  EXPECT_EQ(call.operation, c.operation);
  EXPECT_EQ(call.key_number, 5);
  EXPECT_EQ(call.key[0], 0xAB);
  EXPECT_EQ(call.key[253], 0xCD);
  EXPECT_EQ(call.data_length, c.passed_length);
  EXPECT_EQ(call.handle, 1u);  // the handle the Open gave
}

TEST_P(ReadTest, ToleratesOnlyItsStatuses) {
  const ReadCase& c = GetParam();
  for (int16_t status : {0, 4, 9, 2, 3, 20, 22, 99}) {
    SCOPED_TRACE(status);
    SetUp();
    c.open();
    AnswerOperation(c.operation, status);
    c.read();
    bool tolerated = status == 0 || status == 9 || (status == 4 && c.operation == kBtrGetEqual);
    EXPECT_EQ(Module().BtrStatus, status);
    if (tolerated) {
      EXPECT_TRUE(dialogs.shown().empty());
      EXPECT_EQ(Module().FileState[c.slot], kFileOpen);
    } else {
      ASSERT_EQ(dialogs.shown().size(), 1u);
      EXPECT_NE(dialogs.shown()[0].text.find(std::string("》  ** ") + c.label + " **"),
                std::string::npos);
      EXPECT_EQ(Module().FileState[c.slot], kFileClosed);  // everything closed after a report
      EXPECT_EQ(records.open_files(), 0);
    }
  }
}

TEST_P(ReadTest, AbsentFile) {
  const ReadCase& c = GetParam();
  AnswerOperation(kBtrOpen, kBtrFileNotFound);
  c.open();
  c.read();
  if (c.operation == kBtrGetNext || c.slot == kSlotHimoku) {
    // Not short-circuited (Get Next, or Himoku.dat, which is never marked
    // absent): the unopened block answers 3, which is reported.
    ASSERT_EQ(records.calls().size(), 2u);
    EXPECT_EQ(Module().BtrStatus, kBtrFileNotOpen);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, SystemErrorText(Heading("未オープンエラー", c.label)));
  } else {
    EXPECT_EQ(records.calls().size(), 1u);
    EXPECT_EQ(Module().BtrStatus, kBtrEndOfFile);
    EXPECT_TRUE(dialogs.shown().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Files, ReadTest, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.test_name); });

TEST_F(StoreTest, ReadsDeliverIntoBlockOrCallerBuffer) {
  std::vector<uint8_t> record(79);
  for (size_t i = 0; i < record.size(); ++i) record[i] = static_cast<uint8_t>(i + 1);
  DeliverRecord(record);
  AnswerOperation(kBtrGetGreaterOrEqual, 0);
  AnswerOperation(kBtrGetEqual, 0);
  OpenSuitou();
  ReadGtorEQSuitou();
  EXPECT_EQ(Module().suitou.record, record);
  OpenKyuyo();
  g_buffer.fill(0);
  ReadEQKyuyo(g_buffer);
  EXPECT_TRUE(std::equal(g_buffer.begin(), g_buffer.end(), record.begin()));
  EXPECT_EQ(Module().kyuyo.data_length, 26);
}

TEST_F(StoreTest, DataLengthNeverExceedsTheBuffer) {
  DeliverRecord(std::vector<uint8_t>(200, 0xEE));
  AnswerOperation(kBtrGetNext, 0);
  OpenKyuyo();
  std::array<uint8_t, 10> small{};
  ReadNXTKyuyo(small);
  EXPECT_EQ(records.calls().back().data_length, 10);
  OpenSuitou();
  Module().suitou.data_length = 100000;
  ReadNXTSuitou();
  EXPECT_EQ(records.calls().back().data_length, 79);
  Module().suitou.data_length = -3;
  ReadNXTSuitou();
  EXPECT_EQ(records.calls().back().data_length, 0);
}

TEST_F(StoreTest, PerYearNamesUseLastTwoCharactersOfFiscalYear) {
  struct Case {
    const char* year;
    const char* expected;
  };
  for (const Case& c : {Case{"2002", "suitou02.dat"}, Case{"1999", "suitou99.dat"},
                        Case{"", "suitou.dat"}, Case{"7", "suitou7.dat"}}) {
    SetUp();
    Module().FiscalYear = c.year;
    OpenSuitou();
    EXPECT_EQ(records.calls().back().path, std::string(kTestKakeiDir) + c.expected);
  }
}

TEST_F(StoreTest, OpenCompletesKakeiDirWithBackslash) {
  Module().KakeiDir = "C:\\HdmData5\\kakeibo\\kakeibo1";
  OpenYosan();
  EXPECT_EQ(Module().KakeiDir, kTestKakeiDir);
  EXPECT_EQ(records.calls().back().path, std::string(kTestKakeiDir) + "Yosan02.dat");
}

TEST_F(StoreTest, OpenFromMissingDirectoryPassesBareName) {
  Module().KakeiDir = "D:\\nowhere\\";
  OpenCredit();
  EXPECT_EQ(records.calls().back().path, "Credit.dat");
}

TEST_F(StoreTest, OpenHimokuStatuses) {
  struct Case {
    int16_t status;
    int16_t slot;
    int32_t length;
    bool reported;
  };
  for (const Case& c : {Case{0, kFileOpen, 68, false}, Case{12, kFileClosed, 5, false},
                        Case{20, kFileClosed, 5, false}, Case{2, kFileClosed, 5, true},
                        Case{86, kFileClosed, 5, true}}) {
    SCOPED_TRACE(c.status);
    SetUp();
    env.SetWinIni("Btrieve", "OPTIONS", "/f:20");
    AnswerOperation(kBtrOpen, c.status);
    std::string dir = "C:\\HdmData5\\kakeibo\\kakeibo1";
    OpenHimoku(dir);
    EXPECT_EQ(dir, kTestKakeiDir);
    EXPECT_EQ(records.calls()[0].path, std::string(kTestKakeiDir) + "Himoku.dat");
    EXPECT_EQ(Module().FileState[kSlotHimoku], c.slot);
    EXPECT_EQ(Module().himoku.data_length, c.length);
    EXPECT_EQ(Module().BtrStatus, c.status);
    EXPECT_EQ(dialogs.shown().size(), c.reported ? 1u : 0u);
    if (c.reported) {
      EXPECT_NE(dialogs.shown()[0].text.find("》  ** 費目ファイル オープン **"), std::string::npos);
    }
  }
}

TEST_F(StoreTest, HimokuNotFoundThenReadCallsOnUnopenedBlock) {
  AnswerOperation(kBtrOpen, kBtrFileNotFound);
  OpenHimoku(Module().KakeiDir);
  HimokuRecord record;
  ReadEQHimoku(record);
  ASSERT_EQ(records.calls().size(), 2u);
  EXPECT_EQ(records.calls()[1].data_length, 5);
  EXPECT_EQ(Module().BtrStatus, kBtrFileNotOpen);
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text,
            SystemErrorText("《未オープンエラー》  ** 費目ファイル ReadEQ **"));
}

TEST_F(StoreTest, CloseHimokuLabel) {
  AnswerOperation(kBtrClose, 2);
  OpenHimoku(Module().KakeiDir);
  CloseHimoku();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].text,
            SystemErrorText("《I/O  エラー》  ** 費目ファイル クローズ **"));
}

TEST_F(StoreTest, CloseOnlyFiles) {
  struct Case {
    void (*close)();
    int slot;
    const char* label;
  };
  for (const Case& c :
       {Case{CloseBikou, 4, "Close　備考"}, Case{CloseTani, 5, "Close　単位"},
        Case{CloseZandaka, 13, "Close　zandaka"}, Case{CloseKankyou, 15, "Close　環境"}}) {
    SCOPED_TRACE(c.label);
    SetUp();
    Module().FileState[c.slot] = kFileAbsent;
    c.close();
    EXPECT_EQ(Module().FileState[c.slot], kFileClosed);
    EXPECT_TRUE(records.calls().empty());
    // Marked open without an Open: the record manager answers 3 for the block.
    Module().FileState[c.slot] = kFileOpen;
    c.close();
    EXPECT_EQ(Module().FileState[c.slot], kFileClosed);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text,
              SystemErrorText(std::string("《未オープンエラー》  ** ") + c.label + " **"));
  }
}

TEST_F(StoreTest, NoRecordManagerAnswersInactive) {
  ResetModule(Ports{.environment = &env, .dialogs = &dialogs});
  Module().KakeiDir = kTestKakeiDir;
  OpenStart();
  EXPECT_EQ(Module().BtrStatus, kBtrInactive);
  EXPECT_TRUE(dialogs.shown().empty());
}

}  // namespace
}  // namespace h5
