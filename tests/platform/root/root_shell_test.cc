#include "platform/root/root_shell.h"

#include <sys/stat.h>

#include <chrono>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "scratch.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Reports argc, [each argument], working directory, H5KAKEI_ROOT and pid in <root>/launch.out,
// renamed into place so a reader sees it whole; "slow" as first argument makes it wait first.
const char kStandIn[] =
    "#!/bin/sh\n[ \"$1\" = slow ] && sleep 2\n"
    "{ echo \"$#\"; for a in \"$@\"; do echo \"[$a]\"; done; pwd -P; echo \"$H5KAKEI_ROOT\";\n"
    "  echo $$; } > \"$H5KAKEI_ROOT/launch.tmp\" && mv \"$H5KAKEI_ROOT/launch.tmp\" "
    "\"$H5KAKEI_ROOT/launch.out\"\n";

class RootShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::chmod(root_.Write("drive_c/Hidamari5/HdmMenu5.exe", kStandIn).c_str(), 0755);
    root_.MakeDir("drive_c/Windows/System32");
    root_.Write("drive_c/Hidamari5/readme.txt", "not a program");
    root_.MakeDir("drive_c/Hidamari5/folder.exe");
  }
  ScratchDir root_;
  RootShell shell_{root_.path()};
};

struct LaunchCase {
  std::string verb, program, parameters, directory;
  std::vector<std::string> arguments;  // argc, then each argument
  std::string cwd;                     // below the root
};

// Starts the program with one UTF-8 argument in its folder, returns at once and reaps it.
TEST_F(RootShellTest, StartsProgramWithoutWaiting) {
  const LaunchCase cases[] = {
      {"OPEN",
       "C:\\hidamari5\\HDMMENU5.EXE",
       "4,1",
       "C:\\Windows\\System32",
       {"1", "[4,1]"},
       "drive_c/Windows/System32"},
      {"open",
       "C:\\Hidamari5\\HdmMenu5.exe",
       "a  b \"c\" $HOME * \x89\xC6\x8C\x76",
       "C:\\Hidamari5",
       {"1", "[a  b \"c\" $HOME * 家計]"},
       "drive_c/Hidamari5"},
      {"", "\\Hidamari5\\HdmMenu5.exe", "", "", {"0"}, "drive_c/Hidamari5"},
      {"OPEN", "C:\\Hidamari5\\HdmMenu5.exe", "slow", "C:\\", {"1", "[slow]"}, "drive_c"},
  };
  fs::path out = root_.path() / "launch.out";
  for (const LaunchCase& c : cases) {
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(shell_.Execute(c.verb, c.program, c.parameters, c.directory, 9)) << c.parameters;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    for (int i = 0; i < 1000 && !fs::exists(out); ++i) std::this_thread::sleep_for(10ms);
    std::vector<std::string> report = c.arguments;
    report.push_back(fs::canonical(root_.path() / c.cwd).string());
    std::istringstream in(root_.Read("launch.out"));
    fs::remove(out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), report.size() + 2) << c.parameters;
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end() - 2), report);
    EXPECT_EQ(fs::canonical(lines[lines.size() - 2]), fs::canonical(root_.path()));
    fs::path proc = fs::path("/proc") / lines.back();  // gone, not left a zombie
    for (int i = 0; i < 1000 && fs::exists(proc); ++i) std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(fs::exists(proc)) << "process " << lines.back() << " left behind";
  }
}

TEST_F(RootShellTest, RefusesWhatCannotStart) {
  const std::string menu = "C:\\Hidamari5\\HdmMenu5.exe", dir = "C:\\Hidamari5";
  const std::vector<std::string> cases[] = {
      // verb, program, directory
      {"print", menu, dir},
      {"OPEN", "C:\\Hidamari5\\Nothing.exe", dir},
      {"OPEN", "\\HdmMenu5.exe", dir},  // a lone backslash is no install folder
      {"OPEN", "C:\\Hidamari5\\folder.exe", dir},
      {"OPEN", "C:\\Hidamari5\\readme.txt", dir},
      {"OPEN", "C:\\..\\..\\..\\bin\\sh", dir},
      {"OPEN", "C:\\Hidamari5\\a|b.exe", dir},
      {"OPEN", menu, "C:\\Nothing"},
      {"OPEN", menu, "C:\\Hidamari5\\readme.txt"},
  };
  for (const auto& c : cases)
    EXPECT_FALSE(shell_.Execute(c[0], c[1], "4,1", c[2], 9)) << c[1] << c[2];
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(fs::exists(root_.path() / "launch.out"));
}

}  // namespace
}  // namespace h5
