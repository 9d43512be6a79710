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

// Writes its arguments, working directory, H5KAKEI_ROOT and pid to
// <root>/launch.out, renaming it into place so a reader sees it whole.
const char kStandIn[] =
    "#!/bin/sh\n"
    "{ echo \"$#\"; for a in \"$@\"; do echo \"[$a]\"; done; pwd -P; echo \"$H5KAKEI_ROOT\";\n"
    "  echo $$; } > \"$H5KAKEI_ROOT/launch.tmp\" && mv \"$H5KAKEI_ROOT/launch.tmp\" "
    "\"$H5KAKEI_ROOT/launch.out\"\n";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class RootShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::path menu = root_.Write("drive_c/Hidamari5/HdmMenu5.exe", kStandIn);
    ::chmod(menu.c_str(), 0755);
    root_.MakeDir("drive_c/Windows/System32");
    root_.Write("drive_c/Hidamari5/readme.txt", "not a program");
    root_.MakeDir("drive_c/Hidamari5/folder.exe");
  }

  // The stand-in's report, once it has written it; empty after 10 seconds.
  std::vector<std::string> WaitForLaunch() {
    fs::path out = root_.path() / "launch.out";
    for (int i = 0; i < 1000 && !fs::exists(out); ++i) std::this_thread::sleep_for(10ms);
    std::vector<std::string> lines = Lines(root_.Read("launch.out"));
    fs::remove(out);
    return lines;
  }

  // True once the process is gone from /proc: reaped, not left a zombie.
  static bool Reaped(const std::string& pid) {
    fs::path proc = fs::path("/proc") / pid;
    for (int i = 0; i < 1000 && fs::exists(proc); ++i) std::this_thread::sleep_for(10ms);
    return !fs::exists(proc);
  }

  std::string Canonical(const std::string& relative) {
    return fs::canonical(root_.path() / relative).string();
  }

  ScratchDir root_;
  RootShell shell_{root_.path()};
};

TEST_F(RootShellTest, StartsProgramWithOneArgumentInDirectory) {
  ASSERT_TRUE(
      shell_.Execute("OPEN", "C:\\hidamari5\\HDMMENU5.EXE", "4,1", "C:\\Windows\\System32", 9));
  std::vector<std::string> report = WaitForLaunch();
  ASSERT_EQ(report.size(), 5u);
  EXPECT_EQ(report[0], "1");
  EXPECT_EQ(report[1], "[4,1]");
  EXPECT_EQ(report[2], Canonical("drive_c/Windows/System32"));
  EXPECT_EQ(fs::canonical(report[3]), fs::canonical(root_.path()));
  EXPECT_TRUE(Reaped(report[4])) << "process " << report[4] << " left behind";
}

TEST_F(RootShellTest, ParametersStayOneArgumentInUtf8) {
  ASSERT_TRUE(shell_.Execute("open", "C:\\Hidamari5\\HdmMenu5.exe",
                             "a  b \"c\" $HOME * \x89\xC6\x8C\x76", "C:\\Hidamari5", 1));
  std::vector<std::string> report = WaitForLaunch();
  ASSERT_EQ(report.size(), 5u);
  EXPECT_EQ(report[0], "1");
  EXPECT_EQ(report[1], "[a  b \"c\" $HOME * 家計]");
  EXPECT_EQ(report[2], Canonical("drive_c/Hidamari5"));
  EXPECT_TRUE(Reaped(report[4]));
}

TEST_F(RootShellTest, EmptyParametersAndDirectory) {
  ASSERT_TRUE(shell_.Execute("", "\\Hidamari5\\HdmMenu5.exe", "", "", 9));
  std::vector<std::string> report = WaitForLaunch();
  ASSERT_EQ(report.size(), 4u);
  EXPECT_EQ(report[0], "0");
  EXPECT_EQ(report[1], Canonical("drive_c/Hidamari5"));
  EXPECT_TRUE(Reaped(report[3]));
}

TEST_F(RootShellTest, RefusesWhatCannotStart) {
  struct Case {
    const char* what;
    std::string verb, program, directory;
  };
  const Case cases[] = {
      {"other verb", "print", "C:\\Hidamari5\\HdmMenu5.exe", "C:\\Hidamari5"},
      {"missing program", "OPEN", "C:\\Hidamari5\\Nothing.exe", "C:\\Hidamari5"},
      {"lone backslash install dir", "OPEN", "\\HdmMenu5.exe", "C:\\Hidamari5"},
      {"directory", "OPEN", "C:\\Hidamari5\\folder.exe", "C:\\Hidamari5"},
      {"not executable", "OPEN", "C:\\Hidamari5\\readme.txt", "C:\\Hidamari5"},
      {"outside the root", "OPEN", "C:\\..\\..\\..\\bin\\sh", "C:\\Hidamari5"},
      {"unmappable program", "OPEN", "C:\\Hidamari5\\a|b.exe", "C:\\Hidamari5"},
      {"missing directory", "OPEN", "C:\\Hidamari5\\HdmMenu5.exe", "C:\\Nothing"},
      {"directory is a file", "OPEN", "C:\\Hidamari5\\HdmMenu5.exe", "C:\\Hidamari5\\readme.txt"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(shell_.Execute(c.verb, c.program, "4,1", c.directory, 9)) << c.what;
  }
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(fs::exists(root_.path() / "launch.out"));
}

TEST_F(RootShellTest, DoesNotWaitForTheProgram) {
  fs::path slow = root_.Write("drive_c/slow.exe",
                              "#!/bin/sh\nsleep 2\necho $$ > \"$H5KAKEI_ROOT/launch.out\"\n");
  ::chmod(slow.c_str(), 0755);
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(shell_.Execute("OPEN", "C:\\slow.exe", "", "C:\\", 9));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  std::vector<std::string> report = WaitForLaunch();
  ASSERT_EQ(report.size(), 1u);
  EXPECT_TRUE(Reaped(report[0]));
}

}  // namespace
}  // namespace h5
