#include <gtest/gtest.h>

#include "startup/startup.h"

namespace h5 {
namespace {

TEST(StartYearOfFileName, TakesTheTwoCharactersAfterStart) {
  struct Case {
    const char* name;
    const char* year;
  } cases[] = {
      {"start01.dat", "01"}, {"START02.DAT", "02"}, {"start99.dat", "99"},
      {"start89.dat", "89"}, {"start00.dat", "00"}, {"start2.dat", "2."},
      {"start02xdat", "02"}, {"start0a.dat", "0a"}, {"startab.dat", ""},
      {"starta1.dat", ""},   {"start.dat", ""},     {"start02.dat.bak", ""},
      {"xstart02.dat", ""},  {".", ""},             {"..", ""},
      {"startdat", ""},      {"start", ""},         {"Start02.Dat", "02"},
  };
  for (const Case& c : cases) EXPECT_EQ(StartYearOfFileName(c.name), c.year) << c.name;
}

TEST(OrderStartYears, CompletesAndMakesOneExchangePass) {
  struct Case {
    std::vector<std::string> in, out;
  } cases[] = {
      {{"00", "01", "02"}, {"2001", "2002", "2000"}},
      {{"01", "00", "02"}, {"2001", "2002", "2000"}},
      {{"99", "89", "90"}, {"2089", "1999", "1990"}},
      {{"2."}, {"202."}},
      {{}, {}},
  };
  for (Case& c : cases) {
    OrderStartYears(c.in);
    EXPECT_EQ(c.in, c.out);
  }
}

}  // namespace
}  // namespace h5
