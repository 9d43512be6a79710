// The command line as a person runs it: real processes on a demo root.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "book.h"
#include "run_process.h"
#include "scratch.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Cli({"sample"}).exit_code, 0); }

  // Runs h5kakei with H5KAKEI_ROOT set to env_root.
  ProcessResult Run(std::vector<std::string> args, const std::string& env_root = "") {
    args.insert(args.begin(), H5KAKEI_CLI);
    return RunProcess(args, {"H5KAKEI_ROOT=" + env_root});
  }
  // Runs h5kakei on the demo root for 15 April 2002.
  ProcessResult Cli(std::vector<std::string> args) {
    args.insert(args.end(), {"--root", root_.string(), "--today", "2002-04-15"});
    return Run(args);
  }

  // The first line of launch.log; the stand-in program runs detached.
  std::string WaitForLaunchLog() {
    std::string log;
    for (int i = 0; i < 250 && log.find('\n') == std::string::npos; ++i, usleep(20000)) {
      log = ReadBytes(root_ / "launch.log");
    }
    return log.substr(0, log.find('\n'));
  }

  ScratchDir scratch_;
  fs::path root_ = scratch_.path() / "root";
};

// Expects every member of expected in actual, with the same value.
void ExpectMembers(const json& actual, const char* text) {
  json expected = json::parse(text);
  for (const auto& [key, value] : expected.items()) EXPECT_EQ(actual[key], value) << key;
}

TEST_F(CliTest, DiagnoseDescribesTheTile) {
  ProcessResult r = Cli({"diagnose", "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  json report = json::parse(r.out), totals = report["totals"];
  ExpectMembers(report, R"({"level": 4, "picture": 3, "caption": "", "label_visible": false,
      "tooltip": "家計診断", "width_twips": 1785, "height_twips": 1695, "messages": []})");
  ExpectMembers(report["startup"], R"({"install_dir": "C:\\Hidamari5\\", "fiscal_year": "2002",
      "kakei_dir": "C:\\HdmData5\\kakeibo\\kakeibo1\\", "current_month": 1, "preset_level": ""})");
  ASSERT_EQ(report["startup"]["periods"].size(), 12u);
  ExpectMembers(report["startup"]["periods"][11],
                R"({"year": 2003, "month": 3, "start": "2003-03-01", "end": "2003-03-31"})");
  EXPECT_GE(totals["ratio"].get<int>(), 120);

  // The same through the environment variable, as text, at 120 dpi.
  r = Run({"diagnose", "--today", "2002-04-15", "--twips-per-pixel", "12"}, root_.string());
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "家計診断: level 4, picture 3\ntooltip: 家計診断\nsize: 1428 x 1356 twips\n"
            "account book: C:\\HdmData5\\kakeibo\\kakeibo1\\\n"
            "book year: 2002, current month: 1, preset level: -\n"
            "period: 2002-04-01 .. 2002-04-30\nspending: " +
                totals["spending"].dump() + " yen, budget: " + totals["budget"].dump() +
                " yen, ratio: " + totals["ratio"].dump() + " %\n");
  std::string budget = (root_ / "drive_c/HdmData5/kakeibo/kakeibo1/Yosan02.dat").string();
  r = Run({"dump", budget, "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(json::parse(r.out)["layout"], "budget");
  r = Run({"dump", budget});
  EXPECT_NE(r.out.find("layout   budget\n"), std::string::npos) << r.out;
}

TEST_F(CliTest, BadUsageExitsWithTwoAndOneClearLine) {
  const std::string root = root_.string(), fresh = (scratch_.path() / "fresh").string();
  const std::string bad = scratch_.Write("bad.json", R"({"data": {"C:\\x\\a.dat": {
      "layout": "cashbook", "records": [{"amount": "lots"}]}}})");
  const std::string garbled = scratch_.Write("garbled.json", "{ not json");
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{}, "no command"},
      {{"frobnicate"}, "unknown command"},
      {{"diagnose", "--root"}, "--root needs a value"},
      {{"diagnose", "--root", ""}, "--root needs a directory"},
      {{"diagnose"}, "no environment root"},
      {{"diagnose", "--root", "/nonexistent/h5kakei"}, "not a directory"},
      {{"diagnose", "--root", root, "extra"}, "diagnose takes no arguments"},
      {{"diagnose", "--root", root, "--today", "2002-02-30"}, "--today"},
      {{"diagnose", "--root", root, "--today", "2002-04-1x"}, "--today"},
      {{"diagnose", "--root", root, "--today", "2002/04/15"}, "--today"},
      {{"diagnose", "--root", root, "--answer", "maybe"}, "--answer"},
      {{"diagnose", "--root", root, "--twips-per-pixel", "0"}, "--twips-per-pixel"},
      {{"diagnose", "--root", root, "--twips-per-pixel", "15x"}, "--twips-per-pixel"},
      {{"diagnose", "--root", root, "--bogus"}, "unknown option"},
      {{"render", "--root", root}, "--out"},
      {{"book", "build", "/nonexistent/book.json", "--root", root},
       "cannot read the book /nonexistent/book.json"},
      {{"book", "build", "/nonexistent/book.json"}, "book build needs --root"},
      {{"book", "make", "x.json", "--root", root}, "usage: h5kakei book build"},
      {{"book", "build", bad, "--root", fresh}, "].records[0].amount: expected an integer"},
      {{"book", "build", garbled, "--root", fresh}, "garbled.json: not valid JSON: "},
      {{"sample"}, "--root"},
      {{"sample", "--root", root, "x"}, "sample takes no arguments"},
      {{"dump"}, "usage"},
      {{"dump", "/nonexistent.dat"}, "nonexistent"},
  };
  for (const auto& [args, says] : cases) {
    ProcessResult r = Run(args);
    EXPECT_EQ(r.exit_code, 2) << says;
    EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
    EXPECT_EQ(r.err.rfind("h5kakei: ", 0), 0u) << r.err;
  }
  EXPECT_FALSE(fs::exists(fresh));
  for (const char* help : {"--help", "-h"}) {
    ProcessResult r = Run({help});
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out.rfind("usage: h5kakei COMMAND", 0), 0u) << r.out;
  }
}

TEST_F(CliTest, BookBuildWritesTheRoot) {
  fs::path book = scratch_.Write("book.json", R"({"cookies": {"file:///x": "a=1"}})");
  ProcessResult r = Run({"book", "build", book, "--root", scratch_.path() / "new"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "wrote " + (scratch_.path() / "new").string() + "\n");
  EXPECT_EQ(scratch_.Read("new/cookies.txt"), "file:///x\ta=1\n");
}

TEST_F(CliTest, ClickLaunchesTheMenuProgramThroughTheRealShellAskingWhileTheTimerRuns) {
  ProcessResult r = Cli({"click", "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  ExpectMembers(json::parse(r.out)["launch"], R"({"program": "C:\\Hidamari5\\HdmMenu5.exe",
      "parameters": "4,1", "show": 9, "ok": true})");
  EXPECT_EQ(WaitForLaunchLog().substr(0, 4), "4,1\t");

  fs::remove(root_ / "launch.log");
  WriteBytes(root_ / "cookies.txt",
             "# menu shell\nfile:///C:\\Hidamari5\\timer\\bottom0.html\twinflag=1\n");
  json report = json::parse(Cli({"click", "--json"}).out);
  EXPECT_TRUE(report["launch"].is_null());
  ASSERT_EQ(report["messages"].size(), 1u);
  ExpectMembers(report["messages"][0], R"({"buttons": "okcancel", "icon": "none",
      "system_modal": false, "answer": "cancel", "title": "家計診断"})");
  std::string text = Cli({"click"}).out;
  EXPECT_NE(text.find("message box [家計診断] (okcancel, answered cancel):\n  | キッチン"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\nlaunch: none\n"), std::string::npos) << text;
  text = Cli({"click", "--answer", "ok"}).out;
  EXPECT_NE(text.find("launch: C:\\Hidamari5\\HdmMenu5.exe 4,1 in "), std::string::npos) << text;
  EXPECT_NE(text.find(" (started)\n"), std::string::npos) << text;
  EXPECT_EQ(WaitForLaunchLog().substr(0, 4), "4,1\t");
}

// The period table as start-up left it: one period from 25 April against a
// start on 10 April patches the end of entry 12, which the file left empty,
// to day 9 of its month (day 0 is 30 December 1899).
TEST(CliBook, PatchedEndOfAnEmptyPeriodIsShown) {
  json book = WorkedBook();
  AddData(book, "start02.dat", "start", json::array({{{"Year", 2002}, {"Month", 4}, {"Day", 10}}}));
  AddData(
      book, "Kikan02.dat", "period",
      json::array(
          {{{"Year", 2002}, {"Month", 4}, {"StartDay", "2002-04-25"}, {"EndDay", "2002-05-24"}}}));
  ScratchDir scratch;
  const std::string root = (scratch.path() / "root").string();
  ProcessResult r = RunProcess({H5KAKEI_CLI, "book", "build",
                                scratch.Write("book.json", book.dump()).string(), "--root", root});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  r = RunProcess({H5KAKEI_CLI, "diagnose", "--root", root, "--today", "2002-04-15", "--json"});
  const json periods = json::parse(r.out)["startup"]["periods"];
  EXPECT_EQ(periods[0],
            json({{"year", 2002}, {"month", 4}, {"start", "2002-04-10"}, {"end", "2002-05-24"}}));
  EXPECT_EQ(periods[1], json({{"year", 0}, {"month", 0}, {"start", nullptr}, {"end", nullptr}}));
  EXPECT_EQ(periods[11],
            json({{"year", 0}, {"month", 0}, {"start", nullptr}, {"end", "1899-12-09"}}));
  // Only render loads Qt, in a program of its own.
  r = RunProcess({"/usr/bin/ldd", H5KAKEI_CLI});
  EXPECT_NE(r.out.find("libsqlite3"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("libQt"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace h5
