// Status dialogs, the close-all after a failure, the offer to set the record
// manager's options, WIN.INI strings and open paths.
#include "store/status.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "store/files.h"
#include "store/options.h"
#include "store/settings.h"
#include "store_fixture.h"
#include "text/ansi.h"

namespace h5 {
namespace {

// Each status has its short text and its box; without dialogs a box
// answers as closed: No, or OK.
TEST_F(StoreTest, EachStatusHasItsBoxUnderAnyTitle) {
  for (int status = -40; status <= 1100; ++status) {
    EXPECT_EQ(StatusText(status), ShortStatusText(status)) << status;
  }
  ResetModule(Ports{.environment = &env});
  EXPECT_EQ(std::tuple(ShowModalMessage("q", 36, ""), ShowModalMessage("q", 48, "")),
            std::tuple(7, 1));
  const std::pair<int16_t, BoxKind> cases[] = {
      {9, BoxKind::kSystemError},    {99, BoxKind::kSystemError},   {-1, BoxKind::kSystemError},
      {1000, BoxKind::kSystemError}, {1001, BoxKind::kEnvironment}, {1016, BoxKind::kEnvironment},
      {1017, BoxKind::kSystemError}, {20, BoxKind::kInactive},      {86, BoxKind::kEnvironment}};
  for (const char* title : {"家計診断", ""}) {  // empty before initialisation
    for (auto [status, kind] : cases) {
      SetUp();
      Module().ApplicationTitle = title;
      env.SetWinIni("Btrieve", "OPTIONS", "/f:20");  // 86 with options set: no offer
      EXPECT_EQ(ReportFileError(status, "Open　出納帳"), 0);
      EXPECT_EQ(Shown(), (std::vector<ShownBox>{{kind, status, "Open　出納帳"}})) << title;
    }
  }
}

// Every file with a slot open but Bikou.dat, which is marked absent; the
// handles go from 1 (start02.dat) to 8 (Himoku.dat).
void OpenAll() {
  for (void (*open)() :
       {OpenStart, OpenKyuyoKingaku, OpenBunkatu, OpenSuitou, OpenYosan, OpenKyuyo, OpenCredit}) {
    open();
  }
  OpenHimoku(Module().KakeiDir);
  Module().FileState[kSlotBikou] = kFileAbsent;
}

bool AllClosed(const FakeRecordManager& records) {
  return Module().FileState == std::array<int16_t, 35>{} && records.open_files() == 0;
}

TEST_F(StoreTest, DuplicateKeyAndDiskFullMayKeepTheFilesOpen) {
  for (auto [answer, result] : {std::pair{Answer::kYes, 0}, {Answer::kNo, 1}, {Answer::kOk, 1}}) {
    SetUp();
    if (answer != Answer::kOk) dialogs.Script({answer});  // else closed unanswered
    EXPECT_EQ(ReportFileError(18, "x"), result);
    EXPECT_EQ(Shown(), (std::vector<ShownBox>{{BoxKind::kDiskFull, 0, ""}}));
  }
  SetUp();
  OpenAll();
  size_t calls = records.calls().size();
  dialogs.Script({Answer::kNo, Answer::kYes});
  for (int16_t status : {5, 18}) HandleFileStatus(Module().BtrStatus = status, "x");
  EXPECT_EQ(std::tuple(records.calls().size(), Module().FileState[kSlotSuitou]),
            std::tuple(calls, 1));  // 5 silently and 18 with No: nothing closed
  HandleFileStatus(Module().BtrStatus, "x");
  EXPECT_TRUE(AllClosed(records));
  EXPECT_EQ(Module().BtrStatus, 18);
}

// A failure is reported, then every file closed in slot order; a Close that
// fails on the way reports itself and the pass goes on. BtrStatus ends as the
// report's, or as the last Close left it.
TEST_F(StoreTest, CloseAllAfterAReport) {
  using K = BoxKind;
  const auto close_all = [] { HandleFileStatus(Module().BtrStatus = 0, ""); };
  const char* close_labels[] = {
      "費目ファイル クローズ", "Close　クレジット", "Close　Kyuyo", "Close　予算",
      "Close　現金",           "Close　bunkatu",    "Close　Start", "Close　給与金額ファイル"};
  std::vector<ShownBox> every_close;
  for (const char* label : close_labels) every_close.push_back({K::kSystemError, 17, label});
  // What starts the pass, the status of the read, which Close of the pass
  // fails (from 1; 0: every one) and how, the boxes, the status after.
  const std::tuple<void (*)(), int16_t, size_t, int16_t, std::vector<ShownBox>, int16_t> cases[] = {
      {close_all, 0, 0, 0, {}, 0},
      {close_all, 0, 0, 17, every_close, 17},
      {ReadGtorEQSuitou, 2, 0, 0, {{K::kSystemError, 2, "ReadGtorEQ  出納帳"}}, 2},
      {ReadNXTSuitou,
       22,
       2,
       17,
       {{K::kSystemError, 22, "ReadNXT　出納帳"}, {K::kSystemError, 17, "Close　クレジット"}},
       22},
      {close_all, 0, 5, 2, {{K::kSystemError, 2, "Close　現金"}}, 2},
      {close_all, 0, 8, 5, {}, 5}};
  for (const auto& [start, read_status, failing_close, close_status, boxes, after] : cases) {
    SetUp();
    OpenAll();
    AnswerOperation({kBtrGetGreaterOrEqual, kBtrGetNext}, read_status);
    size_t first_close = records.calls().size() + (read_status ? 1 : 0);
    if (failing_close) AnswerCall(first_close + failing_close - 1, close_status);
    if (!failing_close) AnswerOperation(kBtrClose, close_status);
    start();
    EXPECT_EQ(Shown(), boxes);
    EXPECT_EQ(ClosedHandles(), (std::vector<uint32_t>{8, 7, 6, 5, 4, 3, 1, 2}));
    EXPECT_TRUE(AllClosed(records));
    EXPECT_EQ(Module().BtrStatus, after);
  }
}

TEST_F(StoreTest, TooManyFilesOffersToSetTheOptions) {
  using K = BoxKind;
  using Value = std::optional<std::string>;  // [Btrieve] OPTIONS; nullopt: missing
  // The value before, the answer (none: the box is closed), whether the
  // write fails, the boxes, the value after.
  const std::tuple<Value, std::optional<Answer>, bool, std::vector<BoxKind>, Value> cases[] = {
      {" NO ", Answer::kYes, false, {K::kOptionsOffer, K::kOptionsWritten}, kOfferedOptions},
      {{}, Answer::kNo, false, {K::kOptionsOffer, K::kEnvironment}, {}},
      {{}, Answer::kYes, true, {K::kOptionsOffer, K::kEnvironment}, {}},
      {"no", Answer::kYes, false, {K::kEnvironment}, "no"},
      {"", Answer::kYes, false, {K::kEnvironment}, ""},
      {"NO\t", {}, false, {K::kEnvironment}, "NO\t"},
      {{}, Answer::kYes, false, {K::kOptionsOffer, K::kOptionsWritten}, kOfferedOptions}};
  for (const auto& [value, answer, write_fails, boxes, value_after] : cases) {
    SetUp();
    if (value) env.SetWinIni("Btrieve", "OPTIONS", *value);
    env.FailWinIniWrites(write_fails);
    if (answer) dialogs.Script({*answer});
    OpenCredit();
    AnswerOperation(kBtrOpen, kBtrTooManyFiles);
    OpenSuitou();
    EXPECT_EQ(Module().BtrStatus, kBtrTooManyFiles);
    std::vector<BoxKind> kinds;
    for (const ShownBox& box : Shown()) kinds.push_back(box.kind);
    EXPECT_EQ(kinds, boxes) << value.value_or("(missing)");
    EXPECT_EQ(env.WinIniValue("Btrieve", "OPTIONS"), value_after);
    EXPECT_TRUE(AllClosed(records));
  }
  // Once written, only the environment message.
  OpenSuitou();
  EXPECT_EQ(dialogs.shown().size(), 3u);
  EXPECT_EQ(Shown().back().kind, K::kEnvironment);
}

TEST_F(StoreTest, WinIniStringsPassAsAnsi) {
  env.SetWinIni(ToAnsi("設定"), ToAnsi("名前"), ToAnsi("家計簿です"));
  EXPECT_EQ(ReadWinIniString("設定", "名前", "", 6), "家計");  // never half a character
  EXPECT_EQ(ReadWinIniString("設定", "無い", "既定", 100), "既定");
  EXPECT_EQ(ReadWinIniString("設定", "名前", "", 0) + ReadWinIniString("設定", "名前", "", -5), "");
  EXPECT_TRUE(WriteWinIniString("設定", "新", "値"));
  EXPECT_EQ(env.WinIniValue(ToAnsi("設定"), ToAnsi("新")), ToAnsi("値"));
  ResetModule(Ports{.records = &records, .dialogs = &dialogs});  // no environment
  EXPECT_EQ(ReadWinIniString("Btrieve", "OPTIONS", "NO", 100), "");
  EXPECT_FALSE(WriteRecordManagerOptions());
}

TEST_F(StoreTest, OpenPathsAndOwnerName) {
  env.AddDirectory("C:\\Data");
  env.AddDirectory(ToAnsi("C:\\データ"));
  // Name and directory before and after: a name already in the directory is
  // used as it stands (compared by character code); a directory without a
  // short form gives the bare name.
  const std::array<const char*, 4> cases[] = {
      {"  Kikan02.dat  ", "C:\\Data", "C:\\Data\\Kikan02.dat", "C:\\Data\\"},
      {"Kikan02.dat", "C:\\Missing", "Kikan02.dat", "C:\\Missing\\"},
      {"C:\\Data\\x.dat", "C:\\Data", "C:\\Data\\x.dat", "C:\\Data"},
      {"c:\\data\\x.dat", "C:\\Data\\", "C:\\Data\\c:\\data\\x.dat", "C:\\Data\\"},
      {"給与.dat", "C:\\データ", "C:\\データ\\給与.dat", "C:\\データ\\"},
      {" a.dat", "", " a.dat", ""}};
  for (auto [name_before, dir_before, name_after, dir_after] : cases) {
    std::string name = name_before, dir = dir_before, ansi = ToAnsi(name_after);
    std::array<uint8_t, 254> buffer;
    buffer.fill(0xCC);
    MakeOpenPath(name, dir, buffer);
    EXPECT_EQ(std::tie(name, dir), std::tuple(name_after, dir_after));
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()),
              ansi + std::string(254 - ansi.size(), ' '));
  }
  std::string name(300, 'x'), dir;
  std::array<uint8_t, 254> buffer{};
  MakeOpenPath(name, dir, buffer);  // cut at the buffer's size
  EXPECT_EQ(std::string(buffer.begin(), buffer.end()), std::string(254, 'x'));
  env.AddDirectory(dir = "C:\\" + std::string(300, 'a'));
  EXPECT_EQ(ShortPathOf(dir), "");  // a short form that does not fit is no short form
  // The book year's last two characters name the per-year files.
  for (auto [year, file] :
       {std::pair{"1999", "suitou99.dat"}, {"", "suitou.dat"}, {"7", "suitou7.dat"}}) {
    Module().FiscalYear = year;
    OpenSuitou();
    CloseSuitou();
    EXPECT_EQ(records.calls().back().path, kTestKakeiDir + std::string(file));
  }
  ResetModule(Ports{});
  EXPECT_EQ(ShortPathOf("C:\\Data\\"), "");
}

}  // namespace
}  // namespace h5
