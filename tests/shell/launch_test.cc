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
  const std::tuple<int16_t, const char*, const char*> cases[] = {
      {4, "1", "4,1"}, {4, "0", "4,0"}, {4, "-1", "4"}, {-4, "1", "-4,1"}};
  for (auto [app_number, option_text, parameters] : cases) {
    int16_t app = app_number;
    std::string option = option_text;
    EXPECT_TRUE(LaunchMenuApp(app, option));
    const Launch& launch = shell_.launches().back();
    EXPECT_EQ(launch.parameters, parameters);
    EXPECT_EQ(std::tie(launch.verb, launch.program, launch.directory, launch.show),
              std::tuple("OPEN", "C:\\Hidamari5\\HdmMenu5.exe", "C:\\Windows\\System32", 9));
  }
  shell_.SetResult(false);
  int16_t app = 4;
  std::string option = "1";
  EXPECT_FALSE(LaunchMenuApp(app, option));
}

TEST_F(LaunchTest, ReadsTheTimerFlagFromTheCookieText) {
  const std::pair<const char*, bool> cases[] = {
      {"winflag=1", true},      {"winflag=0", false},      {"winflag=", false},
      {"winflag=2", false},     {"winflag=1.5", false},    {"winflag=1.4", true},
      {"winflag=1; x=y", true}, {"x=y; winflag=1", false}, {"winflag= 1", true},
      {"winflag=99999", false}, {"winflag=abc", false},    {"other=1", false},
      {"winflag", false},       {"winflag=-1", false}};
  // Text after a NUL does not count; text and NUL must fit the 255-byte buffer.
  std::vector<std::pair<std::string, bool>> all(std::begin(cases), std::end(cases));
  all.insert(all.end(), {{std::string("winflag=1\0junk", 14), true},
                         {"winflag=1" + std::string(245, ' '), true},
                         {"winflag=1" + std::string(246, ' '), false}});
  for (const auto& [cookie, running] : all) {
    cookies_.Set(kFirstForm, cookie);
    EXPECT_EQ(IsKitchenTimerRunning(), running) << cookie;
  }
}

TEST_F(LaunchTest, TriesTheLongFormsInUpperThenLowerCase) {
  Module().InstallDir = "C:\\PROGRA~1\\HIDAMA~1\\";
  env_.AddDirectory("C:\\PROGRA~1\\HIDAMA~1");  // stored names as the lookup answers them
  const std::string upper = "file:///C:\\PROGRA~1\\HIDAMA~1\\timer\\bottom0.html";
  const std::string lower = "file:///c:\\PROGRA~1\\HIDAMA~1\\timer\\bottom0.html";
  cookies_.Set(upper, "winflag=1");
  EXPECT_TRUE(IsKitchenTimerRunning());
  FakeCookieStore only_lower;
  only_lower.Set(lower, "winflag=1");
  Module().ports.cookies = &only_lower;
  EXPECT_TRUE(IsKitchenTimerRunning());
  EXPECT_EQ(only_lower.asked(), (std::vector<std::string>{upper, upper, lower}));
  FakeCookieStore first_without;  // the first form answers: the search ends there
  first_without.Set(upper, "other=1");
  first_without.Set(lower, "winflag=1");
  Module().ports.cookies = &first_without;
  EXPECT_FALSE(IsKitchenTimerRunning());
  EXPECT_EQ(first_without.asked().size(), 1u);
  // Long names are the stored ones; missing components are dropped.
  env_.AddDirectory("C:\\Program Files\\Hidamari5");
  std::string paths[] = {"C:\\program files\\HIDAMARI5\\", "C:\\Program Files\\Nowhere\\x\\",
                         "C:\\", ""};
  for (std::string& path : paths) EXPECT_EQ(GetLongDirPath(path), 0);
  EXPECT_EQ(std::vector<std::string>(std::begin(paths), std::end(paths)),
            (std::vector<std::string>{"Program Files\\Hidamari5", "Program Files", "", ""}));
}

TEST(TextTest, RemoveTextAndCutAtNull) {
  // Every occurrence goes, and the blanks before it; an empty key removes nothing.
  std::string texts[] = {"x=y; ab=1 ab=2", "abc", "abc"}, keys[] = {"ab=", "", "x"};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(RemoveText(texts[i], keys[i]), texts[i]);
  EXPECT_EQ(texts[0] + texts[1] + texts[2], "x=y;12abcabc");
  std::string nul[] = {std::string("家計\0rest", 10), "no nul", std::string("\0x", 2)};
  EXPECT_EQ(CutAtNull(nul[0]) + "|" + CutAtNull(nul[1]) + "|" + CutAtNull(nul[2]), "家計|no nul|");
}

}  // namespace
}  // namespace h5
