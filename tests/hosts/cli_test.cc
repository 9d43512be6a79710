// The command line as a person runs it: real processes on real roots.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "run_process.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("h5kakei-cli-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
  }
  void TearDown() override {
    // A launched stand-in may still be finishing its line: try again briefly.
    std::error_code ec;
    for (int i = 0; i < 50; ++i) {
      fs::remove_all(root_, ec);
      if (!ec) break;
      usleep(20000);
    }
  }

  ProcessResult Cli(std::vector<std::string> args, std::vector<std::string> env = {}) {
    args.insert(args.begin(), H5KAKEI_CLI);
    return RunProcess(args, env);
  }

  void Sample(const std::string& today = "2002-04-15") {
    ProcessResult r = Cli({"sample", "--root", root_.string(), "--today", today});
    ASSERT_EQ(r.exit_code, 0) << r.err;
  }

  // The first line of launch.log; the stand-in program runs detached, so
  // it is given a moment to write it.
  std::string WaitForLaunchLog() {
    std::string line;
    for (int i = 0; i < 250 && line.empty(); ++i) {
      std::ifstream in(root_ / "launch.log");
      std::getline(in, line);
      if (line.empty()) usleep(20000);
    }
    return line;
  }

  void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }

  fs::path root_;
};

TEST_F(CliTest, DiagnoseJsonDescribesTheTile) {
  Sample();
  ProcessResult r = Cli({"diagnose", "--root", root_.string(), "--today", "2002-04-15", "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  json report = json::parse(r.out);
  for (const char* key : {"level", "picture", "caption", "label_visible", "tooltip", "width_twips",
                          "height_twips", "messages", "startup", "totals"}) {
    EXPECT_TRUE(report.contains(key)) << key;
  }
  EXPECT_EQ(report["level"], 4);
  EXPECT_EQ(report["picture"], 3);
  EXPECT_EQ(report["tooltip"], "家計診断");
  EXPECT_EQ(report["width_twips"], 1785);
  EXPECT_EQ(report["height_twips"], 1695);
  EXPECT_EQ(report["startup"]["kakei_dir"], "C:\\HdmData5\\kakeibo\\kakeibo1\\");
  EXPECT_EQ(report["startup"]["periods"].size(), 12u);
  EXPECT_EQ(report["startup"]["periods"][0]["start"], "2002-04-01");
  EXPECT_GT(report["totals"]["spending"].get<int>(), 0);

  // The same through the environment variable, as readable text, at 120 dpi.
  ProcessResult text = Cli({"diagnose", "--today", "2002-04-15", "--twips-per-pixel", "12"},
                           {"H5KAKEI_ROOT=" + root_.string()});
  ASSERT_EQ(text.exit_code, 0) << text.err;
  EXPECT_NE(text.out.find("level 4"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("1428 x 1356 twips"), std::string::npos) << text.out;
}

TEST_F(CliTest, BadUsageExitsWithTwoAndOneClearLine) {
  Sample();
  struct Case {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{}, "no command"},
      {{"frobnicate"}, "unknown command"},
      {{"diagnose", "--root"}, "--root needs a value"},
      {{"diagnose", "--root", "/nonexistent/h5kakei"}, "not a directory"},
      {{"diagnose", "--root", root_.string(), "--today", "2002-02-30"}, "--today"},
      {{"diagnose", "--root", root_.string(), "--answer", "maybe"}, "--answer"},
      {{"diagnose", "--root", root_.string(), "--twips-per-pixel", "0"}, "--twips-per-pixel"},
      {{"diagnose", "--root", root_.string(), "--bogus"}, "unknown option"},
      {{"render", "--root", root_.string()}, "--out"},
      {{"book", "build", "/nonexistent/book.json", "--root", root_.string()}, "book.json"},
      {{"sample"}, "--root"},
      {{"dump"}, "usage"},
      {{"dump", "/nonexistent.dat"}, "nonexistent"},
  };
  for (const Case& c : cases) {
    ProcessResult r = Cli(c.args, {"H5KAKEI_ROOT="});
    EXPECT_EQ(r.exit_code, 2) << c.says;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(r.err.rfind("h5kakei: ", 0), 0u) << r.err;
  }
  EXPECT_EQ(Cli({"--help"}).exit_code, 0);
}

TEST_F(CliTest, MalformedBookIsRejectedWholeNamingThePlace) {
  fs::path book = root_.string() + ".json";
  WriteFile(book, R"({"data": {"C:\\x\\a.dat": {"layout": "cashbook",
                      "records": [{"amount": "lots"}]}}, "registry": {}})");
  ProcessResult r = Cli({"book", "build", book.string(), "--root", root_.string()});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_NE(r.err.find("records[0].amount"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(root_));
  WriteFile(book, "{ not json");
  r = Cli({"book", "build", book.string(), "--root", root_.string()});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_FALSE(fs::exists(root_));
  fs::remove(book);
}

TEST_F(CliTest, ClickLaunchesTheMenuProgramThroughTheRealShell) {
  Sample();
  ProcessResult r = Cli({"click", "--root", root_.string(), "--today", "2002-04-15", "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  json report = json::parse(r.out);
  ASSERT_FALSE(report["launch"].is_null());
  EXPECT_EQ(report["launch"]["program"], "C:\\Hidamari5\\HdmMenu5.exe");
  EXPECT_EQ(report["launch"]["parameters"], "4,1");
  EXPECT_EQ(report["launch"]["show"], 9);
  EXPECT_EQ(report["launch"]["ok"], true);
  EXPECT_EQ(WaitForLaunchLog().substr(0, 4), "4,1\t");
}

TEST_F(CliTest, RunningKitchenTimerAsksFirst) {
  Sample();
  WriteFile(root_ / "cookies.txt",
            "# menu shell\nfile:///C:\\Hidamari5\\timer\\bottom0.html\twinflag=1\n");
  ProcessResult cancel =
      Cli({"click", "--root", root_.string(), "--today", "2002-04-15", "--json"});
  json report = json::parse(cancel.out);
  EXPECT_TRUE(report["launch"].is_null());
  ASSERT_EQ(report["messages"].size(), 1u);
  EXPECT_EQ(report["messages"][0]["buttons"], "okcancel");
  EXPECT_EQ(report["messages"][0]["answer"], "cancel");
  EXPECT_EQ(report["messages"][0]["title"], "家計診断");

  ProcessResult ok =
      Cli({"click", "--root", root_.string(), "--today", "2002-04-15", "--answer", "ok", "--json"});
  report = json::parse(ok.out);
  EXPECT_FALSE(report["launch"].is_null());
  EXPECT_EQ(report["messages"][0]["answer"], "ok");
  EXPECT_EQ(WaitForLaunchLog().substr(0, 4), "4,1\t");
}

TEST_F(CliTest, DumpPrintsTheRecordsOfADataFile) {
  Sample();
  fs::path budget;
  for (const auto& e : fs::recursive_directory_iterator(root_)) {
    if (e.path().filename().string().rfind("Yosan", 0) == 0) budget = e.path();
  }
  ASSERT_FALSE(budget.empty());
  ProcessResult r = Cli({"dump", budget.string(), "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  json entry = json::parse(r.out);
  EXPECT_EQ(entry["layout"], "budget");
  EXPECT_FALSE(entry["records"].empty());
}

}  // namespace
}  // namespace h5
