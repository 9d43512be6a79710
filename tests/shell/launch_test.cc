// The click-through launch and the kitchen-timer check on in-memory doubles.
#include "shell/launch.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_shell.h"
#include "store/module.h"

namespace h5 {
namespace {

constexpr char kFirstForm[] = "file:///C:\\Hidamari5\\timer\\bottom0.html";

class LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetModule(Ports{&env_, nullptr, nullptr, &shell_, &cookies_, nullptr});
    Module().InstallDir = "C:\\Hidamari5\\";
  }
  FakeEnvironment env_;
  FakeShell shell_;
  FakeCookieStore cookies_;
};

TEST_F(LaunchTest, LaunchesTheMenuProgramWithAppNumberAndOption) {
  env_.SetLibraryDirectory("C:\\Windows\\System32");
  struct Case {
    int16_t app;
    const char* option;
    const char* parameters;
  } cases[] = {{4, "1", "4,1"}, {4, "0", "4,0"}, {4, "-1", "4"}, {-4, "1", "-4,1"}};
  for (const Case& c : cases) {
    int16_t app = c.app;
    std::string option = c.option;
    EXPECT_TRUE(LaunchMenuApp(app, option));
    EXPECT_EQ(option, c.option);
    const Launch& launch = shell_.launches().back();
    EXPECT_EQ(launch.parameters, c.parameters);
    EXPECT_EQ(launch.verb, "OPEN");
    EXPECT_EQ(launch.program, "C:\\Hidamari5\\HdmMenu5.exe");
    EXPECT_EQ(launch.directory, "C:\\Windows\\System32");
    EXPECT_EQ(launch.show, 9);
  }
  shell_.SetResult(false);
  Module().InstallDir = "\\";
  int16_t app = 4;
  std::string option = "1";
  EXPECT_FALSE(LaunchMenuApp(app, option));
  EXPECT_EQ(shell_.launches().back().program, "\\HdmMenu5.exe");
}

TEST_F(LaunchTest, ReadsTheTimerFlagFromTheCookieText) {
  struct Case {
    const char* cookie;
    bool running;
  } cases[] = {
      {"winflag=1", true},           {"winflag=0", false},          {"winflag=", false},
      {"winflag=2", false},          {"winflag=1.5", false},        {"winflag=1.4", true},
      {"winflag=1; other=x", true},  {"other=x; winflag=1", false}, {"winflag= 1", true},
      {"winflag=99999", false},      {"winflag=abc", false},        {"other=1", false},
      {"winflag=1\0junk", true},     {"winflag", false},            {"winflag=-1", false},
  };
  for (const Case& c : cases) {
    cookies_.Set(kFirstForm, std::string(c.cookie, std::char_traits<char>::length(c.cookie)));
    EXPECT_EQ(IsKitchenTimerRunning(), c.running) << c.cookie;
  }
  cookies_.Set(kFirstForm, "winflag=1" + std::string(260, ' '));  // beyond the 255-byte buffer
  EXPECT_FALSE(IsKitchenTimerRunning());
}

TEST_F(LaunchTest, TriesTheLongFormsInUpperThenLowerCase) {
  Module().InstallDir = "C:\\PROGRA~1\\HIDAMA~1\\";
  env_.AddDirectory("C:\\PROGRA~1\\HIDAMA~1");  // stored names as the lookup answers them
  std::string upper = "file:///C:\\PROGRA~1\\HIDAMA~1\\timer\\bottom0.html";
  std::string lower = "file:///c:\\PROGRA~1\\HIDAMA~1\\timer\\bottom0.html";

  cookies_.Set(upper, "winflag=1");
  EXPECT_TRUE(IsKitchenTimerRunning());
  FakeCookieStore only_lower;
  only_lower.Set(lower, "winflag=1");
  Module().ports.cookies = &only_lower;
  EXPECT_TRUE(IsKitchenTimerRunning());
  ASSERT_EQ(only_lower.asked().size(), 3u);
  EXPECT_EQ(only_lower.asked()[0], "file:///C:\\PROGRA~1\\HIDAMA~1\\timer\\bottom0.html");

  // The first form answers without winflag: the search ends there.
  FakeCookieStore first_without;
  first_without.Set("file:///C:\\PROGRA~1\\HIDAMA~1\\timer\\bottom0.html", "other=1");
  first_without.Set(lower, "winflag=1");
  Module().ports.cookies = &first_without;
  EXPECT_FALSE(IsKitchenTimerRunning());
  EXPECT_EQ(first_without.asked().size(), 1u);
}

TEST_F(LaunchTest, LongDirPathUsesStoredNamesAndDropsMissingOnes) {
  env_.AddDirectory("C:\\Program Files\\Hidamari5");
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"C:\\program files\\HIDAMARI5\\", "Program Files\\Hidamari5"},
      {"C:\\Program Files\\Nowhere\\Hidamari5\\", "Program Files"},
      {"C:\\", ""},
      {"\\", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    std::string path = c.in;
    EXPECT_EQ(GetLongDirPath(path), 0);
    EXPECT_EQ(path, c.out) << c.in;
  }
}

TEST(RemoveText, DeletesEveryOccurrenceAndTrimsWhatPrecedes) {
  struct Case {
    const char* text;
    const char* key;
    const char* result;
  } cases[] = {
      {"winflag=1", "winflag=", "1"},
      {"other=x; winflag=1", "winflag=", "other=x;1"},
      {"  a winflag=1 winflag=2", "winflag=", "a12"},
      {"abc", "", "abc"},
      {"abc", "x", "abc"},
  };
  for (const Case& c : cases) {
    std::string text = c.text, key = c.key;
    EXPECT_EQ(RemoveText(text, key), c.result) << c.text;
    EXPECT_EQ(text, c.result);
  }
}

TEST(CutAtNull, CutsBeforeTheFirstNul) {
  std::string text("家計\0rest", 10);
  EXPECT_EQ(CutAtNull(text), "家計");
  std::string plain = "no nul";
  EXPECT_EQ(CutAtNull(plain), "no nul");
  std::string leading("\0x", 2);
  EXPECT_EQ(CutAtNull(leading), "");
}

}  // namespace
}  // namespace h5
