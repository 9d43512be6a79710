// The demo book: a year of an account book that grades today thrifty.
#include <tuple>

#include "text/day_number.h"
#include "tools/book_plan.h"
#include "tools/book_tool.h"

namespace h5 {

namespace {

using nlohmann::json;

constexpr char kKakeiDir[] = "C:\\HdmData5\\kakeibo\\kakeibo1\\";
constexpr int kPayDay = 25;
constexpr int kDebitDay = 10;
constexpr int kCardPurchaseDay = 12;
constexpr int kCardPurchaseAmount = 8600;
constexpr int16_t kStatementCode = 1;

// Category codes of the demo's Himoku.dat.
constexpr int16_t kSalary = 1, kFood = 2, kHousing = 3, kUtilities = 4, kPhone = 5, kDailyGoods = 6,
                  kSocial = 7, kTransport = 8, kMedical = 9, kExtraIncome = 10;

// Major code, middle code (0 for the major category itself), name.
constexpr std::tuple<int16_t, int16_t, const char*> kCategories[] = {
    {kSalary, 0, "給与"},      {kFood, 0, "食費"},         {kFood, 1, "食料品"},
    {kFood, 2, "外食"},        {kHousing, 0, "住居費"},    {kUtilities, 0, "光熱費"},
    {kUtilities, 1, "電気代"}, {kUtilities, 2, "ガス代"},  {kUtilities, 3, "水道代"},
    {kPhone, 0, "通信費"},     {kDailyGoods, 0, "日用品"}, {kSocial, 0, "交際費"},
    {kTransport, 0, "交通費"}, {kMedical, 0, "医療費"},    {kExtraIncome, 0, "臨時収入"},
};

constexpr uint8_t kDeduction = 1;  // counted as spending
constexpr uint8_t kPay = 2;

// Item number, kind, amount.
constexpr std::tuple<int16_t, uint8_t, int32_t> kSalaryItems[] = {
    {1, kPay, 280000},       // basic pay
    {2, kPay, 12000},        // commuting allowance
    {3, kDeduction, 7200},   // income tax
    {4, kDeduction, 11500},  // resident tax
    {5, kDeduction, 41000},  // social insurance
};

// Spending on one day of every month: day, category, and the amount, a base
// plus a varied number (below steps, scrambled by salt) of hundreds.
constexpr std::tuple<int, int16_t, int32_t, uint32_t, uint32_t> kMonthlySpends[] = {
    {5, kPhone, 8800, 0, 1},       {15, kMedical, 1800, 0, 1},  {18, kTransport, 2000, 6, 5},
    {20, kUtilities, 6500, 7, 20}, {27, kHousing, 68000, 0, 1},
};

// Category and percent of the budget; the last takes what is left.
constexpr std::pair<int16_t, int> kBudgetShares[] = {
    {kFood, 32},      {kHousing, 30}, {kUtilities, 8}, {kPhone, 5},
    {kDailyGoods, 7}, {kSocial, 8},   {kTransport, 6}, {kMedical, 4},
};

// A fixed scramble of the day number: varied amounts, same for the same day.
uint32_t Mix(int32_t day, uint32_t salt) {
  uint32_t x = static_cast<uint32_t>(day) * 2654435761u ^ (salt * 40503u + 0x9e3779b9u);
  x ^= x >> 15;
  x *= 2246822519u;
  x ^= x >> 13;
  return x;
}

int32_t Amount(int32_t base, int32_t day, uint32_t salt, uint32_t steps) {
  return base + static_cast<int32_t>(Mix(day, salt) % steps) * 100;
}

constexpr int32_t SalaryTotal(uint8_t kind) {
  int32_t total = 0;
  for (const auto& [number, item_kind, amount] : kSalaryItems) {
    total += item_kind == kind ? amount : 0;
  }
  return total;
}

constexpr int32_t kNetPay = SalaryTotal(kPay) - SalaryTotal(kDeduction);

int BookYear(std::chrono::year_month_day today) {
  return static_cast<int>(today.year()) - (today.month() < std::chrono::April ? 1 : 0);
}

json Entry(int kind, int category, int32_t day, int32_t amount, json more = json::object()) {
  more.update(json{{"entryKind", kind},
                   {"categoryCode", category},
                   {"entryDate", DateText(day)},
                   {"amount", amount}});
  return more;
}

// The cash book of the days first..last, in date order; adds to *counted
// what the diagnosis counts as spending among the entries from count_from on.
json CashBookRecords(int32_t first, int32_t last, int32_t count_from, int64_t* counted) {
  json records = json::array();
  auto spend = [&](int category, int32_t day, int32_t amount) {
    records.push_back(Entry(1, category, day, amount));
    if (day >= count_from) *counted += amount;
  };
  for (int32_t day = first; day <= last; ++day) {
    const CalendarDate date = CalendarParts(day);
    spend(kFood, day, Amount(600, day, 1, 25));
    if (Mix(day, 2) % 3 == 0) spend(kFood, day, Amount(800, day, 3, 12));
    if (Mix(day, 4) % 4 == 1) spend(kDailyGoods, day, Amount(300, day, 5, 13));
    for (const auto& [on, category, base, salt, steps] : kMonthlySpends) {
      if (date.day == on) spend(category, day, Amount(base, day, salt, steps));
    }
    if (date.day == 8 && date.month % 2 == 0) records.push_back(Entry(2, kExtraIncome, day, 5000));
    // Paid by card: counted when it is debited, through the installments.
    if (date.day == kCardPurchaseDay) {
      records.push_back(Entry(1, kSocial, day, kCardPurchaseAmount, {{"cardCode", 1}}));
    }
    if (date.day == kPayDay) {
      records.push_back(Entry(2, kSalary, day, kNetPay,
                              {{"fromPayStatement", 1}, {"statementCode", kStatementCode}}));
      if (day >= count_from) *counted += SalaryTotal(kDeduction);
    }
  }
  return records;
}

}  // namespace

json SampleBook(std::chrono::year_month_day today_date) {
  const int32_t today = DayNumberOf(today_date);
  const CalendarDate now = CalendarParts(today);
  const int book_year = BookYear(today_date);
  // The book year's files are named by its last two digits.
  const std::string yy = std::to_string((book_year % 100 + 100) % 100 + 100).substr(1);

  // Today's period is period_start..period_end.
  const int32_t period_start = DayNumber(now.year, now.month, 1);
  const int32_t period_end = DayNumber(now.year, now.month + 1, 0);
  // The tile starts the menu program in the folder it was loaded from; the
  // book format makes folders only for files, hence an empty stand-in .ocx.
  json book = json::parse(R"({
    "registry": {
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５": {"Path": "C:\\Hidamari5"}},
    "ini": {
      "C:\\Hidamari5\\DirName.ini": {"DirName": {"datapath": "HdmData5", "kakeiPath": "kakeibo"}},
      "C:\\HdmData5\\kakeibo\\Kakei.ini": {"賞味期限": {"家計簿": "1"}},
      "C:\\windows\\win.ini": {"windows": {"load": "", "run": ""},
                               "Btrieve": {"OPTIONS": "/m:32 /p:1024 /b:16 /f:50 /l:40 /n:12"}}},
    "cookies": {"file:///C:\\Hidamari5\\timer\\bottom0.html": "winflag=0"},
    "programs": {"C:\\Hidamari5\\HdmMenu5.exe": "launch-log"},
    "files": {"C:\\windows\\System32\\H5Kakei.ocx": {"text": ""}}})");
  // The records of the data file name, which has layout.
  auto records = [&](const std::string& name, const char* layout) -> json& {
    json& entry = book["data"][kKakeiDir + name];
    entry["layout"] = layout;
    return entry["records"] = json::array();
  };
  int64_t counted = 0;
  const int32_t cash_first =
      std::max(DayNumber(book_year, 4, 1), DayNumber(now.year, now.month - 1, 1));
  records("suitou" + yy + ".dat", "cashbook") =
      CashBookRecords(cash_first, today, period_start, &counted);

  json& periods = records("Kikan" + yy + ".dat", "period");
  json& installments = records("bunkat" + yy + ".dat", "installment");
  json& salary_amounts = records("Kyuyo" + yy + ".dat", "salary-amount");
  for (int i = 0; i < 12; ++i) {
    const int32_t first = DayNumber(book_year, 4 + i, 1);
    const CalendarDate month = CalendarParts(first);
    periods.push_back({{"Year", month.year},
                       {"Month", month.month},
                       {"StartDay", DateText(first)},
                       {"EndDay", DateText(DayNumber(month.year, month.month + 1, 0))}});
    const int32_t debit = DayNumber(month.year, month.month, kDebitDay);
    if (debit <= today) {
      installments.push_back({{"entryKind", 1},
                              {"cardCode", 1},
                              {"debitDate", DateText(debit)},
                              {"amount", kCardPurchaseAmount}});
      // Debits move at most to the 14th, so one of today's month is in its period.
      if (debit >= period_start) counted += kCardPurchaseAmount;
    }
    const int32_t pay_day = DayNumber(month.year, month.month, kPayDay);
    for (const auto& [number, kind, amount] : kSalaryItems) {
      if (pay_day > today) break;
      salary_amounts.push_back({{"salaryKind", 0},
                                {"statementCode", kStatementCode},
                                {"month", month.month},
                                {"itemNumber", number},
                                {"statementDate", DateText(pay_day)},
                                {"amount", amount}});
    }
  }

  json& salary_items = records("Kyuyo.dat", "salary-item");
  for (const auto& [number, kind, amount] : kSalaryItems) {
    salary_items.push_back({{"recordClass", 1},
                            {"statementCode", kStatementCode},
                            {"itemKind", kind},
                            {"itemNumber", number},
                            {"itemGroup", 0}});
  }
  json& categories = records("Himoku.dat", "category");
  for (const auto& [major, middle, name] : kCategories) {
    categories.push_back({{"group", 0},
                          {"level", middle == 0 ? 0 : 1},
                          {"majorCode", major},
                          {"middleCode", middle},
                          {"minorCode", 0},
                          {"name", name}});
  }

  // Budget: 120% of the spending so far, prorated to the whole period,
  // rounded up to 1000 yen; the same for every month.
  const int64_t days = period_end - period_start + 1;
  const int64_t unit = (today - period_start + 1) * int64_t{10'000};
  const int64_t budget = (counted * days * 12 + unit - 1) / unit * 1000;
  json& budgets = records("Yosan" + yy + ".dat", "budget");
  for (int month = 1; month <= 12; ++month) {
    int64_t rest = budget;
    for (const auto& share : kBudgetShares) {
      const int64_t amount =
          &share == std::end(kBudgetShares) - 1 ? rest : budget * share.second / 100 / 100 * 100;
      rest -= amount;
      budgets.push_back(
          {{"month", month}, {"budgetKind", 1}, {"itemCode1", share.first}, {"amount", amount}});
    }
    budgets.push_back(
        {{"month", month}, {"budgetKind", 2}, {"itemCode1", kSalary}, {"amount", kNetPay}});
  }
  records("start" + yy + ".dat", "start")
      .push_back({{"Year", book_year}, {"Month", 4}, {"Day", 1}});
  records("Credit.dat", "card") = json::array({json{{"cardCode", 1}}, json{{"cardCode", 2}}});

  return book;
}

bool BuildSampleRoot(const std::filesystem::path& root, std::chrono::year_month_day today,
                     std::string* error) {
  if (!today.ok()) return Fail("", "not a valid date", error);
  if (BookYear(today) < 1990 || BookYear(today) > 2089) {
    return Fail("",
                "the demo book needs a day from 1990-04-01 to 2090-03-31 (its book year is named "
                "by two digits)",
                error);
  }
  return BuildBook(SampleBook(today), root, error);
}

}  // namespace h5
