// The demo book: a whole diagnosis on it grades today as thrifty, whatever
// the day; days whose book year cannot be named are refused.
#include "tools/book_tool.h"

#include <gtest/gtest.h>

#include "book.h"
#include "store/module.h"

namespace h5 {
namespace {

using std::chrono::year_month_day;
using SampleTest = BookTest;

year_month_day Ymd(int y, unsigned m, unsigned d) {
  return year_month_day{std::chrono::year{y}, std::chrono::month{m}, std::chrono::day{d}};
}

TEST_F(SampleTest, TheDemoBookGradesTodayAsThrifty) {
  const std::pair<year_month_day, int> cases[] = {
      {Ymd(2024, 4, 1), 2024},  {Ymd(2024, 6, 15), 2024}, {Ymd(2024, 12, 31), 2024},
      {Ymd(2025, 1, 3), 2024},  {Ymd(2024, 2, 29), 2023}, {Ymd(2025, 3, 31), 2024},
      {Ymd(2025, 4, 27), 2025}, {Ymd(2002, 4, 30), 2002}, {Ymd(1990, 4, 1), 1990},
      {Ymd(2090, 3, 31), 2089}, {Ymd(2026, 5, 10), 2026},
  };
  std::string error;
  for (const auto& [today, book_year] : cases) {
    SCOPED_TRACE(book_year);
    std::filesystem::remove_all(root_);
    ASSERT_TRUE(BuildSampleRoot(root_, today, &error)) << error;
    StartUp(int(today.year()), unsigned(today.month()), unsigned(today.day()));
    EXPECT_EQ(Module().FiscalYear, std::to_string(book_year));
    FrmKakei& control = Diagnose();
    EXPECT_TRUE(dialogs_.shown().empty());
    EXPECT_EQ(control.DiagnosisLevel(), 4);
    const int ratio = control.trace().ratio.value_or(0);
    EXPECT_TRUE(ratio >= 120 && ratio < 127) << ratio;
  }
  // Card debits fall on the 10th: moved past holidays they stay in their month.
  nlohmann::json debits = SampleBook(Ymd(2024, 6, 15))["data"][kBook + std::string("bunkat24.dat")];
  EXPECT_EQ(debits["records"][0]["debitDate"], "2024-04-10");
  for (year_month_day day : {Ymd(1990, 3, 31), Ymd(2090, 4, 1), Ymd(2024, 2, 30)}) {
    EXPECT_FALSE(BuildSampleRoot(scratch_.path() / "other", day, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(scratch_.path() / "other"));
  }
}

}  // namespace
}  // namespace h5
