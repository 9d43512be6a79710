// Whole diagnoses of account books on disk: start-up, totals, grading, and
// every file closed and unchanged afterwards.
#include <gtest/gtest.h>

#include <thread>

#include "book.h"
#include "startup/startup.h"
#include "store/module.h"
#include "tools/book_tool.h"

namespace h5 {
namespace {

using nlohmann::json;
using BookDiagnosisTest = BookTest;

// The worked book with the records of some files replaced; null removes a file.
json Changed(const std::string& changes) {
  json book = WorkedBook(), patch = json::parse(changes);
  for (const auto& [name, records] : patch.items()) {
    if (records.is_null()) {
      book["data"].erase(kBook + name);
    } else {
      book["data"][kBook + name]["records"] = records;
    }
  }
  return book;
}

json Budget(int32_t amount) {
  return Changed(R"({"Yosan02.dat": [{"month": 1, "budgetKind": 1, "amount": )" +
                 std::to_string(amount) + "}]}");
}

TEST_F(BookDiagnosisTest, WorkedMonthSpends1800AndIsOnBudget) {
  Build(WorkedBook());
  Snapshot before = TakeSnapshot(root_);
  StartUp(2002, 4, 15);
  FrmKakei& control = Diagnose();
  EXPECT_EQ(control.trace().spending, 1800);
  EXPECT_EQ(control.trace().budget, 3600);
  EXPECT_EQ(control.trace().ratio, 100);
  EXPECT_EQ(control.DiagnosisLevel(), 4);
  EXPECT_TRUE(dialogs_.shown().empty());
  for (int slot = 1; slot <= 34; ++slot) EXPECT_EQ(Module().FileState[slot], 0);
  EXPECT_EQ(static_cast<KakeiDb&>(*records_).open_files(), 0);
  EXPECT_EQ(TakeSnapshot(root_), before);
}

TEST_F(BookDiagnosisTest, CardPurchasesCountOnTheirDateWithOptionOne) {
  // The card purchase replaces the 500-yen debit.
  for (auto [amount, spending] : {std::pair{500, 1800}, {650, 1950}}) {
    json book = WorkedBook();
    book["data"][std::string(kBook) + "suitou02.dat"]["records"][3]["amount"] = amount;
    book["ini"]["C:\\HdmData5\\kakeibo\\Kakei.ini"] = {{"ｵﾌﾟｼｮﾝ", {{"集計", "1"}}}};
    Build(book);
    StartUp(2002, 4, 15);
    EXPECT_EQ(Diagnose().trace().spending, spending);
  }
}

TEST_F(BookDiagnosisTest, LevelsOfChangedBooks) {
  // A budget B gives the ratio B / 30 * 15 / 1800 * 100 = B / 36 on 15 April.
  const std::string kCash = R"({"bunkat02.dat": [], "suitou02.dat": [{"entryKind": 1, )";
  struct {
    json book;
    int16_t level;
    std::optional<int32_t> spending;
    std::optional<int16_t> ratio;
  } cases[] = {
      {Budget(1782), 2, 1800, 50},  // 49.5 rounds to even 50
      {Budget(2147483647), 5, 1800, 140},
      {Budget(0), 6, 1800, {}},
      {Changed(R"({"Yosan02.dat": null})"), 7, 1800, {}},
      {Changed(R"({"Yosan02.dat": [{"month": 2, "budgetKind": 1, "amount": 900}]})"), 6, 1800, {}},
      {Changed(R"({"suitou02.dat": [], "bunkat02.dat": []})"), 0, 0, {}},
      {Changed(kCash + R"("entryDate": "2002-04-02", "amount": -7200}]})"), 0, -7200, -25},
      {Changed(kCash + R"("entryDate": "2002-04-02", "amount": 3}]})"), 5, 3, 140},
      // Spending past 32 bits saturates.
      {Changed(R"({"suitou02.dat": [
           {"entryKind": 1, "entryDate": "2002-04-02", "amount": 2147483647},
           {"entryKind": 1, "entryDate": "2002-04-03", "amount": 5}]})"),
       1, 2147483647, 0},
      {Changed(R"({"bunkat02.dat": null, "Credit.dat": null, "Kyuyo.dat": null,
                   "Kyuyo02.dat": null})"),
       5, 800, 225},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.book["data"].dump());
    Build(c.book);
    StartUp(2002, 4, 15);
    FrmKakei& control = Diagnose();
    EXPECT_EQ(control.DiagnosisLevel(), c.level);
    EXPECT_EQ(control.trace().spending, c.spending);
    EXPECT_EQ(control.trace().ratio, c.ratio);
    EXPECT_TRUE(dialogs_.shown().empty());
    EXPECT_EQ(static_cast<KakeiDb&>(*records_).open_files(), 0);
  }
}

TEST_F(BookDiagnosisTest, PeriodsStartingOnTheTwentyFifth) {
  json book = WorkedBook();
  book["data"][std::string(kBook) + "start02.dat"]["records"][0]["Day"] = 25;
  Build(book);
  StartUp(2002, 5, 10);
  // 25 April (salary, 500), 1 May (700), and the debits due 30 April (500)
  // and 7 May (777, dated Saturday 4 May before the holidays).
  EXPECT_EQ(Diagnose().trace().spending, 2477);
}

TEST_F(BookDiagnosisTest, ThreadsKeepTheirOwnModuleData) {
  std::string error;
  Build(WorkedBook());
  ASSERT_TRUE(BuildBook(Budget(5040), scratch_.path() / "second", &error)) << error;
  auto run = [](std::filesystem::path root, int16_t* level) {
    RootEnvironment env(root);
    env.SetToday(std::chrono::year{2002} / 4 / 15);
    std::unique_ptr<RecordManager> records = OpenKakeiDb(WindowsPathResolver(root), env);
    for (int i = 0; i < 20; ++i) {
      ResetModule(Ports{&env, records.get(), nullptr, nullptr, nullptr, nullptr});
      Main();
      RecordingSurface surface;
      *level = FrmKakei(surface).DiagnosisLevel();
    }
  };
  int16_t level_a = -1, level_b = -1;
  std::thread a(run, root_, &level_a), b(run, scratch_.path() / "second", &level_b);
  a.join();
  b.join();
  EXPECT_EQ(level_a, 4);
  EXPECT_EQ(level_b, 5);
  EXPECT_EQ(Module().KakeiDir, "");  // this thread never ran start-up
}

}  // namespace
}  // namespace h5
