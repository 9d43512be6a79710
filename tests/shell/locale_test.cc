// The kitchen-timer check reads numbers the same under every locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "platform/fake/fake_shell.h"
#include "shell/launch.h"
#include "store/module.h"

namespace h5 {
namespace {

#ifdef _WIN32
constexpr char kDecimalComma[] = "German_Germany.1252";
#else
constexpr char kDecimalComma[] = "de_DE.UTF-8";
#endif

TEST(DecimalCommaLocale, CookieNumbersReadAsInTheCLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, kDecimalComma), nullptr)
      << "the " << kDecimalComma << " locale is missing: scripts/deps.sh generates it";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  FakeCookieStore cookies;
  ResetModule(Ports{nullptr, nullptr, nullptr, nullptr, &cookies, nullptr});
  Module().InstallDir = "C:\\Hidamari5\\";
  struct Case {
    const char* value;
    double number;
    bool running;
  } cases[] = {{"1.5", 1.5, false},  {"0.6", 0.6, true},     {"1.4", 1.4, true},
               {"+0.5e1", 5, false}, {"-1e-9999", 0, false}, {"1e99999", HUGE_VAL, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(LeadingNumber(c.value), c.number) << c.value;
    cookies.Set("file:///C:\\Hidamari5\\timer\\bottom0.html", std::string("winflag=") + c.value);
    EXPECT_EQ(IsKitchenTimerRunning(), c.running) << c.value;
  }
  std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace h5
