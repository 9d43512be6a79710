// diagnose --json shows the period table as start-up left it, patched
// entries included.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "book.h"
#include "run_process.h"
#include "scratch.h"

namespace h5 {
namespace {

using nlohmann::json;

TEST(PeriodsInJson, AnEndDayPatchedIntoAnEmptyEntryIsShown) {
  // One period from 25 April against a start on 10 April: the patch sets the
  // end of entry 12, which the file left empty, to day 9 of its month (day 0
  // is 30 December 1899).
  json book = WorkedBook();
  AddData(book, "start02.dat", "start", json::array({{{"Year", 2002}, {"Month", 4}, {"Day", 10}}}));
  AddData(
      book, "Kikan02.dat", "period",
      json::array(
          {{{"Year", 2002}, {"Month", 4}, {"StartDay", "2002-04-25"}, {"EndDay", "2002-05-24"}}}));
  ScratchDir scratch;
  scratch.Write("book.json", book.dump());
  const std::string root = (scratch.path() / "root").string();
  ProcessResult built = RunProcess(
      {H5KAKEI_CLI, "book", "build", (scratch.path() / "book.json").string(), "--root", root});
  ASSERT_EQ(built.exit_code, 0) << built.err;
  ProcessResult r =
      RunProcess({H5KAKEI_CLI, "diagnose", "--root", root, "--today", "2002-04-15", "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const json periods = json::parse(r.out)["startup"]["periods"];
  EXPECT_EQ(periods[0],
            json({{"year", 2002}, {"month", 4}, {"start", "2002-04-10"}, {"end", "2002-05-24"}}));
  EXPECT_EQ(periods[1], json({{"year", 0}, {"month", 0}, {"start", nullptr}, {"end", nullptr}}));
  EXPECT_EQ(periods[11],
            json({{"year", 0}, {"month", 0}, {"start", nullptr}, {"end", "1899-12-09"}}));
}

}  // namespace
}  // namespace h5
