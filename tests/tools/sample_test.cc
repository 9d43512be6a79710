#include "tools/sample.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/kakeidb/data_file_writer.h"
#include "scratch.h"
#include "text/day_number.h"
#include "text/fields.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using std::chrono::year_month_day;

year_month_day Ymd(int y, unsigned m, unsigned d) {
  return year_month_day{std::chrono::year{y}, std::chrono::month{m}, std::chrono::day{d}};
}

std::vector<std::vector<uint8_t>> Records(const fs::path& file) {
  std::string error;
  std::optional<DataFileContents> contents = ReadDataFile(file, &error);
  EXPECT_TRUE(contents) << file << ": " << error;
  return contents ? contents->records : std::vector<std::vector<uint8_t>>{};
}

struct SampleCase {
  year_month_day today;
  const char* yy;
  int book_year;
};

const SampleCase kCases[] = {
    {Ymd(2024, 4, 1), "24", 2024},  {Ymd(2024, 6, 15), "24", 2024}, {Ymd(2024, 12, 31), "24", 2024},
    {Ymd(2025, 1, 3), "24", 2024},  {Ymd(2024, 2, 29), "23", 2023}, {Ymd(2025, 3, 31), "24", 2024},
    {Ymd(2025, 4, 27), "25", 2025}, {Ymd(2002, 4, 30), "02", 2002}, {Ymd(1990, 4, 1), "90", 1990},
    {Ymd(2090, 3, 31), "89", 2089}, {Ymd(2026, 5, 10), "26", 2026},
};

// Reads the built files back and grades them as the diagnosis does for a
// book whose card debits fall on the 10th (so no debit moves out of its
// month): the prorated budget as a percentage of the spending.
TEST(SampleTest, TheDemoBookGradesTodayAsThrifty) {
  for (const SampleCase& c : kCases) {
    SCOPED_TRACE(DayNumberOf(c.today));
    ScratchDir dir;
    std::string error;
    ASSERT_TRUE(BuildSampleRoot(dir.path(), c.today, &error)) << error;
    fs::path kakei = dir.path() / "drive_c" / "HdmData5" / "kakeibo" / "kakeibo1";
    std::string yy = c.yy;

    std::vector<std::vector<uint8_t>> start = Records(kakei / ("start" + yy + ".dat"));
    ASSERT_EQ(start.size(), 1u);
    EXPECT_EQ(GetInt16At(start[0], 2), c.book_year);
    EXPECT_EQ(GetInt16At(start[0], 4), 4);
    EXPECT_EQ(GetInt16At(start[0], 6), 1);

    const int32_t today = DayNumberOf(c.today);
    std::vector<std::vector<uint8_t>> periods = Records(kakei / ("Kikan" + yy + ".dat"));
    ASSERT_EQ(periods.size(), 12u);
    int current = 0;
    int32_t start_day = 0, end_day = 0;
    for (size_t i = 0; i < periods.size(); ++i) {
      if (i > 0) {
        EXPECT_EQ(GetInt32At(periods[i], 4), GetInt32At(periods[i - 1], 8) + 1);
      }
      if (GetInt32At(periods[i], 4) <= today && today <= GetInt32At(periods[i], 8)) {
        current = static_cast<int>(i) + 1;
        start_day = GetInt32At(periods[i], 4);
        end_day = GetInt32At(periods[i], 8);
      }
    }
    ASSERT_NE(current, 0);
    EXPECT_EQ(GetInt32At(periods[0], 4), DayNumber(c.book_year, 4, 1));

    int64_t budget = 0;
    for (const auto& r : Records(kakei / ("Yosan" + yy + ".dat"))) {
      if (GetByteAt(r, 0) == current && GetByteAt(r, 1) == 1) budget += GetInt32At(r, 8);
    }
    EXPECT_GT(budget, 0);

    std::set<int16_t> cards;
    for (const auto& r : Records(kakei / "Credit.dat")) cards.insert(GetInt16At(r, 0));
    std::map<int16_t, uint8_t> item_kinds;  // statement 1
    for (const auto& r : Records(kakei / "Kyuyo.dat")) {
      if (GetInt16At(r, 0) == 1 && GetInt16At(r, 2) == 1)
        item_kinds[GetInt16At(r, 13)] = GetByteAt(r, 4);
    }
    std::vector<std::vector<uint8_t>> amounts = Records(kakei / ("Kyuyo" + yy + ".dat"));
    std::string salary_name;
    for (const auto& r : Records(kakei / "Himoku.dat")) {
      if (GetByteAt(r, 1) == 0 && GetInt16At(r, 6) == 1)
        salary_name.assign(r.begin() + 8, r.begin() + 12);
    }
    EXPECT_EQ(salary_name, "\x8b\x8b\x97\x5e");  // 給与

    int64_t spending = 0;
    bool salary_seen = false;
    for (const auto& r : Records(kakei / ("suitou" + yy + ".dat"))) {
      int32_t date = GetInt32At(r, 7);
      EXPECT_LE(date, today);
      if (date < start_day || date > end_day) continue;
      if (GetByteAt(r, 44) == 1) {
        EXPECT_EQ(GetInt16At(r, 5), 1);
        EXPECT_EQ(GetInt16At(r, 17), 1);
        EXPECT_FALSE(salary_seen);
        salary_seen = true;
        int month = CalendarParts(date).month;
        for (const auto& a : amounts) {
          if (GetInt16At(a, 0) == 0 && GetInt16At(a, 2) == 1 && GetInt16At(a, 4) == month &&
              item_kinds[GetInt16At(a, 6)] == 1) {
            spending += GetInt32At(a, 12);
          }
        }
      } else if (GetInt16At(r, 11) == 0 && GetByteAt(r, 0) == 1) {
        spending += GetInt32At(r, 33);
      }
    }
    EXPECT_EQ(salary_seen, CalendarParts(today).day >= 25);
    for (const auto& r : Records(kakei / ("bunkat" + yy + ".dat"))) {
      int32_t debit = GetInt32At(r, 15);
      EXPECT_EQ(CalendarParts(debit).day, 10);
      if (debit >= start_day && debit <= end_day && cards.count(GetInt16At(r, 7)) &&
          GetByteAt(r, 0) == 1) {
        spending += GetInt32At(r, 19);
      }
    }
    ASSERT_GT(spending, 0);
    double ratio = static_cast<double>(budget) / (end_day - start_day + 1) *
                   (today + 1 - start_day) / static_cast<double>(spending) * 100;
    EXPECT_GE(ratio, 120.0);
    EXPECT_LT(ratio, 127.0);
  }
}

TEST(SampleTest, TheDemoRootHasTheSuiteAroundTheBook) {
  ScratchDir dir;
  std::string error;
  ASSERT_TRUE(BuildSampleRoot(dir.path(), Ymd(2024, 6, 15), &error)) << error;
  EXPECT_EQ(ReadBytes(dir.path() / "registry.reg"),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５]\n"
            "\"Path\"=\"C:\\\\Hidamari5\"\n");
  fs::path c = dir.path() / "drive_c";
  EXPECT_EQ(ReadBytes(c / "Hidamari5" / "DirName.ini"),
            "[DirName]\r\ndatapath=HdmData5\r\nkakeiPath=kakeibo\r\n");
  EXPECT_EQ(ReadBytes(c / "HdmData5" / "kakeibo" / "Kakei.ini"),
            "[\x8f\xdc\x96\xa1\x8a\xfa\x8c\xc0]\r\n\x89\xc6\x8c\x76\x95\xeb=1\r\n");
  EXPECT_NE(ReadBytes(c / "windows" / "win.ini").find("[Btrieve]\r\nOPTIONS="), std::string::npos);
  EXPECT_EQ(ReadBytes(dir.path() / "cookies.txt"),
            "file:///C:\\Hidamari5\\timer\\bottom0.html\twinflag=0\n");
  EXPECT_EQ(fs::status(c / "Hidamari5" / "HdmMenu5.exe").permissions() & fs::perms::owner_exec,
            fs::perms::owner_exec);
  // The folder the tile is loaded from, where it starts the menu program.
  EXPECT_TRUE(fs::is_regular_file(c / "windows" / "System32" / "H5Kakei.ocx"));
}

TEST(SampleTest, TheBookFollowsFromTheDayAlone) {
  EXPECT_EQ(SampleBook(Ymd(2024, 6, 15)), SampleBook(Ymd(2024, 6, 15)));
  EXPECT_NE(SampleBook(Ymd(2024, 6, 15)), SampleBook(Ymd(2024, 6, 16)));
  EXPECT_EQ(SampleBookYearStart(Ymd(2025, 3, 31)), Ymd(2024, 4, 1));
  EXPECT_EQ(SampleBookYearStart(Ymd(2025, 4, 1)), Ymd(2025, 4, 1));
}

TEST(SampleTest, DaysWhoseBookYearStartUpCannotNameAreRefused) {
  for (year_month_day day : {Ymd(1990, 3, 31), Ymd(2090, 4, 1), Ymd(2024, 2, 30)}) {
    ScratchDir dir;
    std::string error;
    EXPECT_FALSE(BuildSampleRoot(dir.path() / "root", day, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(dir.path() / "root"));
  }
}

}  // namespace
}  // namespace h5
