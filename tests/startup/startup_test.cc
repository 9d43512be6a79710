// Start-up on in-memory doubles: start-file names, the scan and its end
// states, settings, and the period table of the book year.
#include "startup/startup.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_record_manager.h"
#include "startup/period_table.h"
#include "store/module.h"
#include "text/ansi.h"
#include "text/day_number.h"
#include "text/fields.h"
#include "text/vbstring.h"

namespace h5 {
namespace {

PeriodEntry Period(int y, int m, int from_month, int from_day, int to_month, int to_day) {
  return {static_cast<int16_t>(y), static_cast<int16_t>(m), DayNumber(y, from_month, from_day),
          DayNumber(y, to_month, to_day)};
}

TEST(PeriodTableTest, BuildsPatchesAndFindsPeriods) {
  // From the 25th, the 1st and the 31st: position, year, month, first and last day.
  const std::array<int, 8> cases[] = {
      {25, 1, 2002, 4, 4, 25, 5, 24}, {25, 12, 2003, 3, 3, 25, 4, 24},
      {1, 1, 2002, 4, 4, 1, 4, 30},   {1, 11, 2003, 2, 2, 1, 2, 28},
      {31, 2, 2002, 2, 3, 1, 3, 30},  {31, 3, 2002, 3, 3, 31, 4, 30},
      {31, 4, 2002, 4, 5, 1, 5, 30}};
  for (auto [from, position, y, m, from_month, from_day, to_month, to_day] : cases) {
    PeriodTableType table{};
    FixPeriodTable(DayNumber(2002, from == 31 ? 1 : 4, from), table);
    EXPECT_EQ(table[position], Period(y, m, from_month, from_day, to_month, to_day)) << from;
    for (int i = 2; i <= 12; ++i) EXPECT_EQ(table[i].StartDay, table[i - 1].EndDay + 1) << i;
  }
  // A table of the same month stays as read, odd contents too, but for its
  // first start and last end; one of another month is built afresh.
  PeriodTableType file{};
  FixPeriodTable(DayNumber(2002, 4, 25), file);
  file[3].EndDay += 2;
  PeriodTableType table = file;
  FixPeriodTable(DayNumber(2002, 4, 25), table);
  EXPECT_EQ(table, file);
  FixPeriodTable(DayNumber(2002, 4, 10), table);
  EXPECT_EQ(std::tie(table[1].StartDay, table[1].EndDay, table[3], table[12].EndDay),
            std::tuple(DayNumber(2002, 4, 10), file[1].EndDay, file[3], DayNumber(2003, 4, 9)));
  FixPeriodTable(DayNumber(2002, 4, 1), table = file);  // day 0: the month before's last
  EXPECT_EQ(table[12].EndDay, DayNumber(2003, 3, 31));
  FixPeriodTable(DayNumber(2002, 5, 25), table = file);
  EXPECT_EQ(table[3], Period(2002, 7, 7, 25, 8, 24));
  EXPECT_EQ(std::tuple(ClampDay(2004, 2, 30), ClampDay(2002, 13, 31)), std::tuple(29, 31));
  // The last period that holds the day, 0 for none.
  file[5] = file[1];
  const std::array<int, 4> days[] = {
      {2002, 4, 24, 0}, {2002, 4, 25, 5}, {2002, 5, 24, 5}, {2003, 4, 24, 12}, {2003, 4, 25, 0}};
  for (auto [y, m, d, position] : days) {
    EXPECT_EQ(FindCurrentMonth(file, DayNumber(y, m, d)), position) << y << m << d;
  }
}

TEST(StartFilesTest, YearsFromNamesAndTheirOrder) {
  const std::pair<const char*, const char*> names[] = {
      {"start01.dat", "01"}, {"START02.DAT", "02"}, {"Start99.Dat", "99"},   {"start00.dat", "00"},
      {"start2.dat", "2."},  {"start02xdat", "02"}, {"start0a.dat", "0a"},   {"startab.dat", ""},
      {"starta1.dat", ""},   {"start.dat", ""},     {"start02.dat.bak", ""}, {"xstart02.dat", ""}};
  for (const char* odd : {".", "..", "startdat"}) EXPECT_EQ(StartYearOfFileName(odd), "");
  for (auto [name, year] : names) EXPECT_EQ(StartYearOfFileName(name), year) << name;
  // Completed with the century, then one exchange pass.
  using Years = std::vector<std::string>;
  for (auto [years, ordered] :
       {std::pair<Years, Years>{{"00", "01", "02"}, {"2001", "2002", "2000"}},
        {{"01", "00", "02"}, {"2001", "2002", "2000"}},
        {{"99", "89", "90"}, {"2089", "1999", "1990"}},
        {{"2."}, {"202."}}}) {
    OrderStartYears(years);
    EXPECT_EQ(years, ordered);
  }
}

constexpr char kBookDir[] = "C:\\HdmData5\\kakeibo\\kakeibo1\\";

// Start files by name, each with its first day; no other data file.
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_ = FakeEnvironment();
    env_.SetRegistry(ToAnsi("SOFTWARE\\SORAHATO\\ひだまり家庭帳５"), "Path", "C:\\Hidamari5");
    env_.AddDirectory("C:\\Hidamari5");
    env_.AddDirectory(kBookDir);
    env_.SetToday(std::chrono::year_month_day{std::chrono::year{2002}, std::chrono::month{4},
                                              std::chrono::day{15}});
    records_ = FakeRecordManager();
    records_.SetHandler([this](const BtrCall& call, std::span<uint8_t> data, int32_t* length) {
      if (call.operation == kBtrOpen)
        current_ = LowerAscii(call.path.substr(call.path.rfind('\\') + 1));
      if (!starts_.count(current_)) return std::optional<int16_t>(kBtrFileNotFound);
      if (call.operation != kBtrGetFirst) return std::optional<int16_t>();
      for (int i = 0; i < 3; ++i) PutInt16At(data, 2 + 2 * i, starts_[current_][i]);
      *length = 8;
      return std::optional<int16_t>(kBtrOk);
    });
    starts_.clear();
    dialogs_ = FakeDialogs();
    Reset(&env_);
  }
  void Reset(FakeEnvironment* env) { ResetModule(Ports{env, &records_, &dialogs_}); }
  void AddStartFile(const std::string& name, std::array<int16_t, 3> date) {
    env_.AddFile(kBookDir + name);
    starts_[LowerAscii(name)] = date;
  }

  FakeEnvironment env_;
  FakeRecordManager records_;
  FakeDialogs dialogs_;
  std::map<std::string, std::array<int16_t, 3>> starts_;
  std::string current_;
};

TEST_F(StartupTest, ChoosesTheBookYearThatContainsToday) {
  AddStartFile("START02.DAT", {2002, 4, 1});
  AddStartFile("start2.dat", {2002, 4, 1});  // tried first as start2..dat, not found
  Main();
  ModuleData& m = Module();
  EXPECT_EQ(std::tie(m.InstallDir, m.DataDir, m.KakeiSubDir, m.KakeiDir, m.FiscalYear),
            std::tuple("C:\\Hidamari5\\", "C:\\HdmData5\\", "kakeibo\\", kBookDir, "2002"));
  EXPECT_EQ(std::tie(m.PresetLevel, m.CurrentMonth, m.PeriodTable[12]),
            std::tuple("", 1, Period(2003, 3, 3, 1, 3, 31)));
  EXPECT_EQ(records_.calls()[0].path, std::string(kBookDir) + "start2..dat");
  EXPECT_EQ(std::tuple(m.FileState[kSlotStart], records_.open_files(), dialogs_.shown().size()),
            std::tuple(0, 0, 0u));
  // A book year that ends or begins today is chosen.
  for (std::array<int16_t, 3> start : {std::array<int16_t, 3>{2001, 4, 16}, {2002, 4, 15}}) {
    SetUp();
    AddStartFile("start01.dat", start);
    Main();
    EXPECT_EQ(std::tie(Module().FiscalYear, Module().PresetLevel), std::tuple("2001", ""));
  }
}

TEST_F(StartupTest, EndStatesAndSettings) {
  env_.AddFile(std::string(kBookDir) + "startab.dat");  // no start file: 7
  Main();
  EXPECT_EQ(std::tuple(Module().PresetLevel, records_.calls().size()), std::tuple("7", 0u));
  SetUp();
  AddStartFile("start02.dat", {2002, 4, 1});
  env_.BreakListing("C:\\HdmData5\\kakeibo\\kakeibo1");  // cannot be listed: no start file
  Main();
  EXPECT_EQ(Module().PresetLevel, "7");
  SetUp();
  AddStartFile("start00.dat", {2000, 4, 1});  // no year covering today: 6
  Main();
  EXPECT_EQ(std::tie(Module().PresetLevel, Module().FiscalYear, Module().CurrentMonth),
            std::tuple("6", "", 0));
  EXPECT_EQ(Module().PeriodTable, PeriodTableType{});
  // Settings fall back to their defaults; empty values stay empty.
  FakeEnvironment bare;
  Reset(&bare);
  Main();
  EXPECT_EQ(Module().KakeiDir, "\\HdmData5\\kakeibo\\kakeibo1\\");
  const char* ini = "C:\\Hidamari5\\DirName.ini";
  env_.SetProfile(ini, "DirName", "datapath", "");
  Reset(&env_);
  Main();
  EXPECT_EQ(Module().DataDir, "C:\\\\");
  env_.SetProfile(ini, "DirName", "datapath", "Data");
  env_.SetProfile(ini, "dirname", "KAKEIPATH", "book");
  for (const char* book : {"-2", "70000"}) {
    env_.SetProfile("C:\\Data\\book\\Kakei.ini", ToAnsi("賞味期限"), ToAnsi("家計簿"), book);
    Reset(&env_);
    Main();
    EXPECT_EQ(std::tie(Module().KakeiDir, Module().PresetLevel),
              std::tuple(std::string("C:\\Data\\book\\kakeibo") + book + "\\", "7"));
  }
}

}  // namespace
}  // namespace h5
