// Start-up on in-memory doubles: settings, the start-file scan and its four
// end states.
#include <gtest/gtest.h>

#include <map>

#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_record_manager.h"
#include "startup/startup.h"
#include "store/module.h"
#include "text/ansi.h"
#include "text/day_number.h"
#include "text/fields.h"

namespace h5 {
namespace {

constexpr char kSuiteKey[] = "SOFTWARE\\SORAHATO\\ひだまり家庭帳５";
constexpr char kBookDir[] = "C:\\HdmData5\\kakeibo\\kakeibo1\\";

struct StartDate {
  int16_t year, month, day;
};

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.SetRegistry(ToAnsi(kSuiteKey), "Path", "C:\\Hidamari5");
    env_.AddDirectory("C:\\Hidamari5");
    env_.AddDirectory(kBookDir);
    env_.SetToday(std::chrono::year_month_day{std::chrono::year{2002}, std::chrono::month{4},
                                              std::chrono::day{15}});
    records_.SetHandler([this](const BtrCall& call, std::span<uint8_t> data,
                               int32_t* length) -> std::optional<int16_t> {
      return Answer(call, data, length);
    });
    ResetModule(Ports{&env_, &records_, &dialogs_, nullptr, nullptr, nullptr});
  }

  void AddStartFile(const std::string& name, StartDate date) {
    env_.AddFile(kBookDir + name);
    starts_[LowerName(name)] = date;
  }

  static std::string LowerName(std::string path) {
    size_t slash = path.rfind('\\');
    if (slash != std::string::npos) path = path.substr(slash + 1);
    for (char& c : path) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return path;
  }

  std::optional<int16_t> Answer(const BtrCall& call, std::span<uint8_t> data, int32_t* length) {
    if (call.operation == kBtrOpen) {
      std::string name = LowerName(call.path);
      ++opens_[name];
      if (open_status_.count(name)) return open_status_[name];
      if (name.rfind("start", 0) == 0 && !starts_.count(name)) return kBtrFileNotFound;
      if (name.rfind("kikan", 0) == 0) return kBtrFileNotFound;
      current_ = name;
      return std::nullopt;
    }
    if (call.operation == kBtrGetFirst && starts_.count(current_)) {
      StartDate d = starts_[current_];
      PutInt16At(data, 2, d.year);
      PutInt16At(data, 4, d.month);
      PutInt16At(data, 6, d.day);
      *length = 8;
      return kBtrOk;
    }
    return std::nullopt;
  }

  FakeEnvironment env_;
  FakeRecordManager records_;
  FakeDialogs dialogs_;
  std::map<std::string, StartDate> starts_;
  std::map<std::string, int16_t> open_status_;
  std::map<std::string, int> opens_;
  std::string current_;
};

TEST_F(StartupTest, ChoosesTheBookYearThatContainsToday) {
  AddStartFile("start01.dat", {2001, 4, 1});
  AddStartFile("START02.DAT", {2002, 4, 1});
  Main();
  ModuleData& m = Module();
  EXPECT_EQ(m.InstallDir, "C:\\Hidamari5\\");
  EXPECT_EQ(m.DataDir, "C:\\HdmData5\\");
  EXPECT_EQ(m.KakeiSubDir, "kakeibo\\");
  EXPECT_EQ(m.KakeiDir, kBookDir);
  EXPECT_EQ(m.FiscalYear, "2002");
  EXPECT_EQ(m.PresetLevel, "");
  EXPECT_EQ(m.CurrentMonth, 1);
  EXPECT_EQ(m.PeriodTable[1].StartDay, DayNumber(2002, 4, 1));
  EXPECT_EQ(m.PeriodTable[12].EndDay, DayNumber(2003, 3, 31));
  const uint8_t owner[6] = {'t', 'e', 'f', 'u', 0, 0};
  EXPECT_TRUE(std::equal(owner, owner + 6, m.OwnerName.begin()));
  EXPECT_EQ(records_.open_files(), 0);
  EXPECT_TRUE(dialogs_.shown().empty());
}

TEST_F(StartupTest, BookYearEndingOrBeginningTodayIsChosen) {
  for (StartDate start : {StartDate{2001, 4, 16}, StartDate{2002, 4, 15}}) {
    SetUp();
    starts_.clear();
    AddStartFile("start01.dat", start);
    Main();
    EXPECT_EQ(Module().FiscalYear, "2001") << start.year;
    EXPECT_EQ(Module().PresetLevel, "");
  }
}

TEST_F(StartupTest, NoStartFileGivesSeven) {
  env_.AddFile(std::string(kBookDir) + "suitou02.dat");
  env_.AddFile(std::string(kBookDir) + "startab.dat");
  Main();
  EXPECT_EQ(Module().PresetLevel, "7");
  EXPECT_EQ(Module().FiscalYear, "");
  EXPECT_EQ(Module().CurrentMonth, 0);
  EXPECT_TRUE(records_.calls().empty());
}

TEST_F(StartupTest, MissingOrUnlistableBookDirectoryGivesSeven) {
  env_.SetProfile("C:\\HdmData5\\kakeibo\\Kakei.ini", ToAnsi("賞味期限"), ToAnsi("家計簿"), "3");
  Main();
  EXPECT_EQ(Module().KakeiDir, "C:\\HdmData5\\kakeibo\\kakeibo3\\");
  EXPECT_EQ(Module().PresetLevel, "7");

  SetUp();
  AddStartFile("start02.dat", {2002, 4, 1});
  env_.BreakListing(kBookDir);
  Main();
  EXPECT_EQ(Module().PresetLevel, "7");
}

TEST_F(StartupTest, NoBookYearCoveringTodayGivesSix) {
  AddStartFile("start00.dat", {2000, 4, 1});
  Main();
  EXPECT_EQ(Module().PresetLevel, "6");
  EXPECT_EQ(Module().FiscalYear, "");
  EXPECT_EQ(Module().PeriodTable, PeriodTableType{});
  EXPECT_EQ(Module().CurrentMonth, 0);
}

TEST_F(StartupTest, OddCandidateIsPassedOverSilently) {
  AddStartFile("start2.dat", {2002, 4, 1});  // leads to start2..dat, not found
  AddStartFile("start02.dat", {2002, 4, 1});
  Main();
  EXPECT_EQ(Module().FiscalYear, "2002");
  EXPECT_EQ(opens_["start2..dat"], 1);
  EXPECT_TRUE(dialogs_.shown().empty());
  EXPECT_EQ(Module().FileState[kSlotStart], kFileClosed);
}

TEST_F(StartupTest, InactiveRecordManagerRetries500TimesAcrossCandidates) {
  AddStartFile("start02.dat", {2002, 4, 1});
  AddStartFile("start01.dat", {2001, 4, 1});
  open_status_["start02.dat"] = kBtrInactive;
  open_status_["start01.dat"] = kBtrInactive;
  Main();
  EXPECT_EQ(opens_["start02.dat"] + opens_["start01.dat"], 501);
  ASSERT_EQ(dialogs_.shown().size(), 1u);
  EXPECT_EQ(dialogs_.shown()[0].text,
            "開始ファイルのオープンに失敗しました(ｴﾗｰｺｰﾄﾞ20)\r\n\r\n"
            "パソコンを再起動して、やりなおしてください。");
  EXPECT_EQ(dialogs_.shown()[0].title, "家計診断");
  EXPECT_FALSE(dialogs_.shown()[0].system_modal);
  EXPECT_EQ(Module().PresetLevel, "7");
  EXPECT_EQ(Module().FiscalYear, "");
}

TEST_F(StartupTest, SettingsFallBackAndEmptyValuesStayEmpty) {
  ResetModule(Ports{&env_, &records_, &dialogs_, nullptr, nullptr, nullptr});
  FakeEnvironment bare;
  ResetModule(Ports{&bare, &records_, &dialogs_, nullptr, nullptr, nullptr});
  Main();
  EXPECT_EQ(Module().InstallDir, "\\");
  EXPECT_EQ(Module().DataDir, "\\HdmData5\\");
  EXPECT_EQ(Module().KakeiDir, "\\HdmData5\\kakeibo\\kakeibo1\\");

  env_.SetProfile("C:\\Hidamari5\\DirName.ini", "DirName", "datapath", "");
  ResetModule(Ports{&env_, &records_, &dialogs_, nullptr, nullptr, nullptr});
  Main();
  EXPECT_EQ(Module().DataDir, "C:\\\\");

  env_.SetProfile("C:\\Hidamari5\\DirName.ini", "DirName", "datapath", "Data");
  env_.SetProfile("C:\\Hidamari5\\DirName.ini", "dirname", "KAKEIPATH", "book");
  env_.SetProfile("C:\\Data\\book\\Kakei.ini", ToAnsi("賞味期限"), ToAnsi("家計簿"), "-2");
  ResetModule(Ports{&env_, &records_, &dialogs_, nullptr, nullptr, nullptr});
  Main();
  EXPECT_EQ(Module().KakeiDir, "C:\\Data\\book\\kakeibo-2\\");

  env_.SetProfile("C:\\Data\\book\\Kakei.ini", ToAnsi("賞味期限"), ToAnsi("家計簿"), "70000");
  ResetModule(Ports{&env_, &records_, &dialogs_, nullptr, nullptr, nullptr});
  Main();
  EXPECT_EQ(Module().KakeiDir, "C:\\Data\\book\\kakeibo70000\\");
  EXPECT_EQ(Module().PresetLevel, "7");
}

}  // namespace
}  // namespace h5
