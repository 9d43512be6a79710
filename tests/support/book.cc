#include "book.h"

#include <fstream>
#include <sstream>

#include "startup/startup.h"
#include "store/module.h"
#include "tools/book_builder.h"

namespace h5 {
namespace fs = std::filesystem;
using nlohmann::json;

void AddData(json& book, const std::string& name, const std::string& layout, json records) {
  book["data"][std::string(kBook) + name] = {{"layout", layout}, {"records", records}};
}

json WorkedBook() {
  json book;
  book["registry"] = {
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５", {{"Path", "C:\\Hidamari5"}}}};
  AddData(book, "start02.dat", "start", json::array({{{"Year", 2002}, {"Month", 4}, {"Day", 1}}}));
  AddData(book, "Himoku.dat", "category",
          json::array({{{"majorCode", 10}, {"name", "給与"}},
                       {{"majorCode", 11}, {"name", "賞与"}},
                       {{"majorCode", 20}, {"name", "食費"}}}));
  AddData(book, "Credit.dat", "card", json::array({{{"cardCode", 3}}}));
  AddData(book, "suitou02.dat", "cashbook",
          json::array({
              {{"entryKind", 1}, {"entryDate", "2002-03-31"}, {"amount", 4000}},
              {{"entryKind", 1}, {"entryDate", "2002-04-03"}, {"amount", 800}},
              {{"entryKind", 2}, {"entryDate", "2002-04-05"}, {"amount", 900}},
              {{"entryKind", 1}, {"entryDate", "2002-04-08"}, {"cardCode", 3}, {"amount", 500}},
              {{"entryKind", 2},
               {"entryDate", "2002-04-25"},
               {"fromPayStatement", 1},
               {"categoryCode", 10},
               {"statementCode", 1},
               {"amount", 250000}},
              {{"entryKind", 1}, {"entryDate", "2002-05-01"}, {"amount", 700}},
          }));
  AddData(book, "Kyuyo.dat", "salary-item",
          json::array({
              {{"recordClass", 1}, {"statementCode", 1}, {"itemKind", 1}, {"itemNumber", 1}},
              {{"recordClass", 1}, {"statementCode", 1}, {"itemKind", 1}, {"itemNumber", 2}},
              {{"recordClass", 1}, {"statementCode", 1}, {"itemKind", 2}, {"itemNumber", 3}},
          }));
  AddData(book, "Kyuyo02.dat", "salary-amount",
          json::array({
              {{"salaryKind", 0},
               {"statementCode", 1},
               {"month", 4},
               {"itemNumber", 1},
               {"amount", 300}},
              {{"salaryKind", 0},
               {"statementCode", 1},
               {"month", 4},
               {"itemNumber", 2},
               {"amount", 200}},
              {{"salaryKind", 0},
               {"statementCode", 1},
               {"month", 4},
               {"itemNumber", 3},
               {"amount", 999}},
              {{"salaryKind", 1},
               {"statementCode", 1},
               {"month", 4},
               {"itemNumber", 1},
               {"amount", 7000}},
          }));
  AddData(book, "bunkat02.dat", "installment",
          json::array({
              {{"entryKind", 1}, {"cardCode", 3}, {"debitDate", "2002-03-27"}, {"amount", 111}},
              {{"entryKind", 1}, {"cardCode", 3}, {"debitDate", "2002-04-27"}, {"amount", 500}},
              {{"entryKind", 1}, {"cardCode", 9}, {"debitDate", "2002-04-28"}, {"amount", 333}},
              {{"entryKind", 1}, {"cardCode", 3}, {"debitDate", "2002-05-04"}, {"amount", 777}},
          }));
  // 3600 yen for April: on 15 April half of it is due against 1800 spent.
  AddData(book, "Yosan02.dat", "budget",
          json::array({
              {{"month", 1}, {"budgetKind", 1}, {"itemCode1", 1}, {"amount", 3000}},
              {{"month", 1}, {"budgetKind", 1}, {"itemCode1", 2}, {"amount", 600}},
              {{"month", 1}, {"budgetKind", 2}, {"itemCode1", 1}, {"amount", 100000}},
              {{"month", 2}, {"budgetKind", 1}, {"itemCode1", 1}, {"amount", 5000}},
          }));
  return book;
}

BookTest::BookTest() {
  static int counter = 0;
  root_ = fs::temp_directory_path() /
          ("h5kakei-book-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(root_);
}

BookTest::~BookTest() {
  control_.reset();
  ResetModule(Ports{});
  std::error_code ec;
  fs::remove_all(root_, ec);
}

void BookTest::Build(const json& book) {
  fs::remove_all(root_);
  std::string error;
  ASSERT_TRUE(BuildBook(book, root_, &error)) << error;
}

void BookTest::StartUp(int year, int month, int day) {
  control_.reset();
  env_ = std::make_unique<RootEnvironment>(root_);
  env_->SetToday(std::chrono::year_month_day{std::chrono::year{year},
                                             std::chrono::month{unsigned(month)},
                                             std::chrono::day{unsigned(day)}});
  records_ = OpenKakeiDb(root_, *env_);
  ResetModule(Ports{env_.get(), records_.get(), &dialogs_, &shell_, nullptr, &screen_});
  Main();
}

FrmKakei& BookTest::Diagnose() {
  surface_ = RecordingSurface{};
  control_ = std::make_unique<FrmKakei>(surface_);
  return *control_;
}

std::map<std::string, std::string> BookTest::HashFiles() const {
  std::map<std::string, std::string> contents;
  for (const auto& entry : fs::recursive_directory_iterator(root_)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    contents[entry.path().string()] = std::to_string(std::hash<std::string>{}(bytes.str()));
  }
  return contents;
}

}  // namespace h5
