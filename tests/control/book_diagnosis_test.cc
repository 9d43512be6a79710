// Whole diagnoses of account books on disk: start-up, totals, grading, and
// every file closed and unchanged afterwards.
#include <gtest/gtest.h>

#include <thread>

#include "book.h"
#include "startup/startup.h"
#include "store/module.h"
#include "text/day_number.h"

namespace h5 {
namespace {

using nlohmann::json;

class BookDiagnosisTest : public BookTest {};

void SetBudget(json& book, int32_t amount) {
  AddData(book, "Yosan02.dat", "budget",
          json::array({{{"month", 1}, {"budgetKind", 1}, {"amount", amount}}}));
}

TEST_F(BookDiagnosisTest, WorkedMonthSpends1800AndIsOnBudget) {
  Build(WorkedBook());
  auto before = HashFiles();
  StartUp(2002, 4, 15);
  EXPECT_EQ(Module().FiscalYear, "2002");
  EXPECT_EQ(Module().CurrentMonth, 1);
  FrmKakei& control = Diagnose();
  EXPECT_EQ(control.trace().spending, 1800);
  EXPECT_EQ(control.trace().budget, 3600);
  EXPECT_EQ(control.trace().ratio, 100);
  EXPECT_EQ(control.DiagnosisLevel(), 4);
  EXPECT_EQ(surface_.picture, 3);
  EXPECT_FALSE(surface_.label_visible);
  EXPECT_EQ(surface_.picture_tooltip, kGradedToolTip);
  EXPECT_TRUE(dialogs_.shown().empty());
  for (int slot = 1; slot <= 34; ++slot) EXPECT_EQ(Module().FileState[slot], 0);
  EXPECT_EQ(static_cast<KakeiDb&>(*records_).open_files(), 0);
  EXPECT_EQ(HashFiles(), before);
}

TEST_F(BookDiagnosisTest, CardPurchasesCountOnTheirDateWithOptionOne) {
  json book = WorkedBook();
  book["ini"]["C:\\HdmData5\\kakeibo\\Kakei.ini"] = {{"ｵﾌﾟｼｮﾝ", {{"集計", "1"}}}};
  Build(book);
  StartUp(2002, 4, 15);
  // The 500-yen card purchase replaces the 500-yen debit.
  EXPECT_EQ(Diagnose().trace().spending, 1800);
  json other = WorkedBook();
  other["data"][std::string(kBook) + "suitou02.dat"]["records"][3]["amount"] = 650;
  other["ini"]["C:\\HdmData5\\kakeibo\\Kakei.ini"] = {{"ｵﾌﾟｼｮﾝ", {{"集計", "1"}}}};
  Build(other);
  StartUp(2002, 4, 15);
  EXPECT_EQ(Diagnose().trace().spending, 1950);
}

TEST_F(BookDiagnosisTest, GradeBoundariesOnRealBooks) {
  // Budget B gives the ratio B / 30 * 15 / 1800 * 100 = B / 36 on 15 April.
  struct Case {
    int32_t budget;
    int16_t ratio, level;
  } cases[] = {{1782, 50, 2},  // 49.5 rounds to even 50
               {1746, 48, 1},  // 48.5 rounds to even 48
               {1800, 50, 2},  {2880, 80, 3}, {3600, 100, 4},      {5040, 140, 5},
               {5004, 139, 4}, {36, 1, 1},    {2147483647, 140, 5}};
  for (const Case& c : cases) {
    json book = WorkedBook();
    SetBudget(book, c.budget);
    Build(book);
    StartUp(2002, 4, 15);
    FrmKakei& control = Diagnose();
    EXPECT_EQ(control.trace().ratio, c.ratio) << c.budget;
    EXPECT_EQ(control.DiagnosisLevel(), c.level) << c.budget;
  }
}

TEST_F(BookDiagnosisTest, NoBudgetNoSpendingAndOverflow) {
  struct Case {
    const char* what;
    std::function<void(json&)> change;
    int16_t level;
    std::optional<int32_t> spending;
  } cases[] = {
      {"budget file missing", [](json& b) { b["data"].erase(std::string(kBook) + "Yosan02.dat"); },
       7, 1800},
      {"no budget for the month",
       [](json& b) {
         AddData(b, "Yosan02.dat", "budget",
                 json::array({{{"month", 2}, {"budgetKind", 1}, {"amount", 900}}}));
       },
       6, 1800},
      {"budget of 0", [](json& b) { SetBudget(b, 0); }, 6, 1800},
      {"no spending yet",
       [](json& b) {
         AddData(b, "suitou02.dat", "cashbook", json::array());
         AddData(b, "bunkat02.dat", "installment", json::array());
       },
       0, 0},
      {"negative spending",
       [](json& b) {
         AddData(b, "suitou02.dat", "cashbook",
                 json::array({{{"entryKind", 1}, {"entryDate", "2002-04-02"}, {"amount", -7200}}}));
         AddData(b, "bunkat02.dat", "installment", json::array());
       },
       0, -7200},
      {"a few yen against a large budget",
       [](json& b) {
         AddData(b, "suitou02.dat", "cashbook",
                 json::array({{{"entryKind", 1}, {"entryDate", "2002-04-02"}, {"amount", 3}}}));
         AddData(b, "bunkat02.dat", "installment", json::array());
       },
       5, 3},
      {"spending past 32 bits saturates",
       [](json& b) {
         AddData(
             b, "suitou02.dat", "cashbook",
             json::array({{{"entryKind", 1}, {"entryDate", "2002-04-02"}, {"amount", 2147483647}},
                          {{"entryKind", 1}, {"entryDate", "2002-04-03"}, {"amount", 5}}}));
       },
       1, 2147483647},
      {"optional files missing",
       [](json& b) {
         for (const char* name : {"bunkat02.dat", "Credit.dat", "Kyuyo.dat", "Kyuyo02.dat"}) {
           b["data"].erase(std::string(kBook) + name);
         }
       },
       5, 800},
  };
  for (const Case& c : cases) {
    json book = WorkedBook();
    c.change(book);
    Build(book);
    StartUp(2002, 4, 15);
    FrmKakei& control = Diagnose();
    EXPECT_EQ(control.DiagnosisLevel(), c.level) << c.what;
    EXPECT_EQ(control.trace().spending, c.spending) << c.what;
    EXPECT_TRUE(dialogs_.shown().empty()) << c.what;
    EXPECT_EQ(static_cast<KakeiDb&>(*records_).open_files(), 0) << c.what;
  }
}

TEST_F(BookDiagnosisTest, RequiredFilesMissingKeepThePreset) {
  for (const char* name : {"Himoku.dat", "suitou02.dat"}) {
    json book = WorkedBook();
    book["data"].erase(std::string(kBook) + name);
    Build(book);
    StartUp(2002, 4, 15);
    EXPECT_EQ(Diagnose().DiagnosisLevel(), 0) << name;
    StartUp(2003, 6, 1);  // no book year: preset 6
    EXPECT_EQ(Module().PresetLevel, "6");
    EXPECT_EQ(Diagnose().DiagnosisLevel(), 6) << name;
    EXPECT_EQ(surface_.caption, kNoBudgetCaption);
  }
}

TEST_F(BookDiagnosisTest, PeriodsStartingOnTheTwentyFifth) {
  json book = WorkedBook();
  book["data"][std::string(kBook) + "start02.dat"]["records"][0]["Day"] = 25;
  Build(book);
  StartUp(2002, 5, 10);
  EXPECT_EQ(Module().CurrentMonth, 1);
  const PeriodEntry& period = Module().PeriodTable[1];
  EXPECT_EQ(period.StartDay, DayNumber(2002, 4, 25));
  EXPECT_EQ(period.EndDay, DayNumber(2002, 5, 24));
  FrmKakei& control = Diagnose();
  // 25 April (salary, 500), 1 May (700), the debits due 30 April (500) and
  // 7 May (777, dated Saturday 4 May before the holidays).
  EXPECT_EQ(control.trace().spending, 2477);
}

TEST_F(BookDiagnosisTest, PeriodFileIsReadAndPatched) {
  json book = WorkedBook();
  json periods = json::array();
  for (int i = 0; i < 13; ++i) {  // a thirteenth record is never used
    int32_t start = DayNumber(2002, 4 + i, 25), end = DayNumber(2002, 5 + i, 24);
    periods.push_back({{"Year", 2002 + (3 + i) / 12},
                       {"Month", (3 + i) % 12 + 1},
                       {"StartDay", start},
                       {"EndDay", end}});
  }
  AddData(book, "Kikan02.dat", "period", periods);
  book["data"][std::string(kBook) + "start02.dat"]["records"][0]["Day"] = 10;
  Build(book);
  StartUp(2002, 4, 15);
  const PeriodTableType& table = Module().PeriodTable;
  EXPECT_EQ(table[1].StartDay, DayNumber(2002, 4, 10));
  EXPECT_EQ(table[1].EndDay, DayNumber(2002, 5, 24));
  EXPECT_EQ(table[12].EndDay, DayNumber(2003, 4, 9));
  EXPECT_EQ(Module().CurrentMonth, 1);
}

TEST_F(BookDiagnosisTest, ThreadsKeepTheirOwnModuleData) {
  json late = WorkedBook();
  SetBudget(late, 5040);
  Build(WorkedBook());
  std::filesystem::path first = root_;
  std::filesystem::path second = root_.string() + "-second";
  std::string error;
  std::filesystem::remove_all(second);
  root_ = second;
  Build(late);
  root_ = first;

  auto run = [](std::filesystem::path root, int16_t* level, std::string* dir) {
    RootEnvironment env(root);
    env.SetToday(std::chrono::year_month_day{std::chrono::year{2002}, std::chrono::month{4},
                                             std::chrono::day{15}});
    std::unique_ptr<RecordManager> records = OpenKakeiDb(root, env);
    FakeDialogs dialogs;
    FakeScreen screen;
    for (int i = 0; i < 20; ++i) {
      ResetModule(Ports{&env, records.get(), &dialogs, nullptr, nullptr, &screen});
      Main();
      RecordingSurface surface;
      FrmKakei control(surface);
      *level = control.DiagnosisLevel();
      *dir = Module().KakeiDir + Module().FiscalYear;
    }
  };
  int16_t level_a = -1, level_b = -1;
  std::string dir_a, dir_b;
  std::thread a(run, first, &level_a, &dir_a);
  std::thread b(run, second, &level_b, &dir_b);
  a.join();
  b.join();
  EXPECT_EQ(level_a, 4);
  EXPECT_EQ(level_b, 5);
  EXPECT_EQ(dir_a, std::string(kBook) + "2002");
  EXPECT_EQ(Module().KakeiDir, "");  // this thread never ran start-up
  std::filesystem::remove_all(second);
}

}  // namespace
}  // namespace h5
