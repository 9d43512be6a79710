#include "tools/sample.h"

#include <cstdio>

#include "text/day_number.h"
#include "tools/book_builder.h"
#include "tools/book_values.h"

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
enum Category : int16_t {
  kSalary = 1,
  kFood = 2,
  kHousing = 3,
  kUtilities = 4,
  kPhone = 5,
  kDailyGoods = 6,
  kSocial = 7,
  kTransport = 8,
  kMedical = 9,
  kExtraIncome = 10,
};

struct SalaryItem {
  int16_t number;
  uint8_t kind;  // 1 = counted as spending (deductions), 2 = pay
  int32_t amount;
};

constexpr SalaryItem kSalaryItems[] = {
    {1, 2, 280000},  // basic pay
    {2, 2, 12000},   // commuting allowance
    {3, 1, 7200},    // income tax
    {4, 1, 11500},   // resident tax
    {5, 1, 41000},   // social insurance
};

struct BudgetShare {
  int16_t category;
  int percent;
};

constexpr BudgetShare kBudgetShares[] = {
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

int32_t SalaryDeductions() {
  int32_t total = 0;
  for (const SalaryItem& item : kSalaryItems) {
    if (item.kind == 1) total += item.amount;
  }
  return total;
}

int32_t SalaryNet() {
  int32_t total = 0;
  for (const SalaryItem& item : kSalaryItems) total += item.kind == 1 ? -item.amount : item.amount;
  return total;
}

std::string TwoDigits(int year) {
  char text[8];
  std::snprintf(text, sizeof(text), "%02d", ((year % 100) + 100) % 100);
  return text;
}

json Category(int major, int middle, const char* name) {
  return {{"group", 0},         {"level", middle == 0 ? 0 : 1},
          {"majorCode", major}, {"middleCode", middle},
          {"minorCode", 0},     {"name", name}};
}

json Entry(int kind, int category, int32_t day, int32_t amount) {
  return {{"entryKind", kind},
          {"categoryCode", category},
          {"entryDate", DateText(day)},
          {"amount", amount}};
}

json CategoryRecords() {
  json records = json::array();
  records.push_back(Category(kSalary, 0, "給与"));
  records.push_back(Category(kFood, 0, "食費"));
  records.push_back(Category(kFood, 1, "食料品"));
  records.push_back(Category(kFood, 2, "外食"));
  records.push_back(Category(kHousing, 0, "住居費"));
  records.push_back(Category(kUtilities, 0, "光熱費"));
  records.push_back(Category(kUtilities, 1, "電気代"));
  records.push_back(Category(kUtilities, 2, "ガス代"));
  records.push_back(Category(kUtilities, 3, "水道代"));
  records.push_back(Category(kPhone, 0, "通信費"));
  records.push_back(Category(kDailyGoods, 0, "日用品"));
  records.push_back(Category(kSocial, 0, "交際費"));
  records.push_back(Category(kTransport, 0, "交通費"));
  records.push_back(Category(kMedical, 0, "医療費"));
  records.push_back(Category(kExtraIncome, 0, "臨時収入"));
  return records;
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
    CalendarDate date = CalendarParts(day);
    spend(kFood, day, 600 + static_cast<int32_t>(Mix(day, 1) % 25) * 100);
    if (Mix(day, 2) % 3 == 0) spend(kFood, day, 800 + static_cast<int32_t>(Mix(day, 3) % 12) * 100);
    if (Mix(day, 4) % 4 == 1)
      spend(kDailyGoods, day, 300 + static_cast<int32_t>(Mix(day, 5) % 13) * 100);
    switch (date.day) {
      case 5:
        spend(kPhone, day, 8800);
        break;
      case 8:
        if (date.month % 2 == 0) records.push_back(Entry(2, kExtraIncome, day, 5000));
        break;
      case kCardPurchaseDay: {
        // Paid by card: counted when it is debited, through the installments.
        json entry = Entry(1, kSocial, day, kCardPurchaseAmount);
        entry["cardCode"] = 1;
        records.push_back(entry);
        break;
      }
      case 15:
        spend(kMedical, day, 1800);
        break;
      case 18:
        spend(kTransport, day, 2000 + static_cast<int32_t>(Mix(day, 6) % 5) * 100);
        break;
      case 20:
        spend(kUtilities, day, 6500 + static_cast<int32_t>(Mix(day, 7) % 20) * 100);
        break;
      case kPayDay: {
        json entry = Entry(2, kSalary, day, SalaryNet());
        entry["fromPayStatement"] = 1;
        entry["statementCode"] = kStatementCode;
        records.push_back(entry);
        if (day >= count_from) *counted += SalaryDeductions();
        break;
      }
      case 27:
        spend(kHousing, day, 68000);
        break;
      default:
        break;
    }
  }
  return records;
}

}  // namespace

std::chrono::year_month_day SampleBookYearStart(std::chrono::year_month_day today) {
  int year = static_cast<int>(today.year());
  if (static_cast<unsigned>(today.month()) < 4) --year;
  return std::chrono::year_month_day{std::chrono::year{year}, std::chrono::April,
                                     std::chrono::day{1}};
}

json SampleBook(std::chrono::year_month_day today_date) {
  const int32_t today = DayNumberOf(today_date);
  const CalendarDate now = CalendarParts(today);
  const int book_year = static_cast<int>(SampleBookYearStart(today_date).year());
  const int32_t book_start = DayNumber(book_year, 4, 1);
  const std::string yy = TwoDigits(book_year);
  const std::string dir = kKakeiDir;

  // Calendar-month periods; today's is period_start..period_end.
  const int32_t period_start = DayNumber(now.year, now.month, 1);
  const int32_t period_end = DayNumber(now.year, now.month + 1, 0);
  json periods = json::array();
  for (int i = 0; i < 12; ++i) {
    const int32_t first = DayNumber(book_year, 4 + i, 1);
    const CalendarDate month = CalendarParts(first);
    periods.push_back({{"Year", month.year},
                       {"Month", month.month},
                       {"StartDay", DateText(first)},
                       {"EndDay", DateText(DayNumber(month.year, month.month + 1, 0))}});
  }

  int64_t counted = 0;
  const int32_t cash_first = std::max(book_start, DayNumber(now.year, now.month - 1, 1));
  json cash_book = CashBookRecords(cash_first, today, period_start, &counted);

  json installments = json::array();
  json salary_amounts = json::array();
  for (int i = 0; i < 12; ++i) {
    CalendarDate month = CalendarParts(DayNumber(book_year, 4 + i, 1));
    int32_t debit = DayNumber(month.year, month.month, kDebitDay);
    if (debit <= today) {
      installments.push_back({{"entryKind", 1},
                              {"cardCode", 1},
                              {"debitDate", DateText(debit)},
                              {"amount", kCardPurchaseAmount}});
      // Debits move at most to the 14th, so one of today's month is in its period.
      if (debit >= period_start) counted += kCardPurchaseAmount;
    }
    int32_t pay_day = DayNumber(month.year, month.month, kPayDay);
    if (pay_day <= today) {
      for (const SalaryItem& item : kSalaryItems) {
        salary_amounts.push_back({{"salaryKind", 0},
                                  {"statementCode", kStatementCode},
                                  {"month", month.month},
                                  {"itemNumber", item.number},
                                  {"statementDate", DateText(pay_day)},
                                  {"amount", item.amount}});
      }
    }
  }

  json salary_items = json::array();
  for (const SalaryItem& item : kSalaryItems) {
    salary_items.push_back({{"recordClass", 1},
                            {"statementCode", kStatementCode},
                            {"itemKind", item.kind},
                            {"itemNumber", item.number},
                            {"itemGroup", 0}});
  }

  // Budget: 120% of the spending so far, prorated to the whole period,
  // rounded up to 1000 yen; the same for every month.
  const int64_t days = period_end - period_start + 1;
  const int64_t elapsed = today - period_start + 1;
  const int64_t unit = elapsed * 10 * 1000;
  const int64_t budget = (counted * days * 12 + unit - 1) / unit * 1000;
  json budgets = json::array();
  for (int month = 1; month <= 12; ++month) {
    int64_t rest = budget;
    for (size_t i = 0; i < std::size(kBudgetShares); ++i) {
      const BudgetShare& share = kBudgetShares[i];
      int64_t amount =
          i + 1 == std::size(kBudgetShares) ? rest : budget * share.percent / 100 / 100 * 100;
      rest -= amount;
      budgets.push_back(
          {{"month", month}, {"budgetKind", 1}, {"itemCode1", share.category}, {"amount", amount}});
    }
    budgets.push_back(
        {{"month", month}, {"budgetKind", 2}, {"itemCode1", kSalary}, {"amount", SalaryNet()}});
  }

  json book;
  book["registry"] = {
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５", {{"Path", "C:\\Hidamari5"}}}};
  book["ini"] = {
      {"C:\\Hidamari5\\DirName.ini",
       {{"DirName", {{"datapath", "HdmData5"}, {"kakeiPath", "kakeibo"}}}}},
      {"C:\\HdmData5\\kakeibo\\Kakei.ini", {{"賞味期限", {{"家計簿", "1"}}}}},
      {"C:\\windows\\win.ini",
       {{"windows", {{"load", ""}, {"run", ""}}},
        {"Btrieve", {{"OPTIONS", "/m:32 /p:1024 /b:16 /f:50 /l:40 /n:12"}}}}},
  };
  book["cookies"] = {{"file:///C:\\Hidamari5\\timer\\bottom0.html", "winflag=0"}};
  book["programs"] = {{"C:\\Hidamari5\\HdmMenu5.exe", "launch-log"}};
  // The tile starts the menu program in the folder it was loaded from; the
  // book format makes folders only for files, hence an empty stand-in.
  book["files"] = {{"C:\\windows\\System32\\H5Kakei.ocx", {{"text", ""}}}};
  json& data = book["data"];
  data[dir + "start" + yy + ".dat"] = {
      {"layout", "start"},
      {"records", json::array({json{{"Year", book_year}, {"Month", 4}, {"Day", 1}}})}};
  data[dir + "Kikan" + yy + ".dat"] = {{"layout", "period"}, {"records", periods}};
  data[dir + "Himoku.dat"] = {{"layout", "category"}, {"records", CategoryRecords()}};
  data[dir + "Credit.dat"] = {
      {"layout", "card"}, {"records", json::array({json{{"cardCode", 1}}, json{{"cardCode", 2}}})}};
  data[dir + "suitou" + yy + ".dat"] = {{"layout", "cashbook"}, {"records", cash_book}};
  data[dir + "bunkat" + yy + ".dat"] = {{"layout", "installment"}, {"records", installments}};
  data[dir + "Yosan" + yy + ".dat"] = {{"layout", "budget"}, {"records", budgets}};
  data[dir + "Kyuyo.dat"] = {{"layout", "salary-item"}, {"records", salary_items}};
  data[dir + "Kyuyo" + yy + ".dat"] = {{"layout", "salary-amount"}, {"records", salary_amounts}};
  return book;
}

bool BuildSampleRoot(const std::filesystem::path& root, std::chrono::year_month_day today,
                     std::string* error) {
  if (!today.ok()) {
    *error = "not a valid date";
    return false;
  }
  int book_year = static_cast<int>(SampleBookYearStart(today).year());
  if (book_year < 1990 || book_year > 2089) {
    *error =
        "the demo book needs a day from 1990-04-01 to 2090-03-31 (its book year is named by "
        "two digits)";
    return false;
  }
  return BuildBook(SampleBook(today), root, error);
}

}  // namespace h5
