// The tile's Qt face answers a cookie the same under a decimal-comma locale
// as the command line does in the C locale.
#include <gtest/gtest.h>

#include <QTest>
#include <clocale>

#include "control/frm_kakei.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_record_manager.h"
#include "platform/fake/fake_shell.h"
#include "qt/tile_widget.h"
#include "store/module.h"

namespace h5 {
namespace {

TEST(TileUnderDecimalCommaLocale, ClickReadsTheTimerCookieAsTheCommandLineDoes) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
      << "the de_DE.UTF-8 locale is missing: scripts/deps.sh generates it";
  struct Case {
    const char* cookie;
    bool asks;
  } cases[] = {{"winflag=1.5", false}, {"winflag=0.6", true}};
  for (const Case& c : cases) {
    FakeEnvironment env;
    FakeRecordManager records;  // every call fails: the preset level shows
    FakeDialogs dialogs;        // the question is closed: Cancel
    FakeShell shell;
    FakeCookieStore cookies;
    FakeScreen screen(15.0f);
    cookies.Set("file:///C:\\Hidamari5\\timer\\bottom0.html", c.cookie);
    ResetModule(Ports{&env, &records, &dialogs, &shell, &cookies, &screen});
    Module().InstallDir = "C:\\Hidamari5\\";
    Module().PresetLevel = "7";
    TileWidget tile(15.0f);
    FrmKakei control(tile);
    tile.SetClickHandler([&control] { control.Click(); });
    tile.show();
    QTest::mouseClick(tile.imgKekka(), Qt::LeftButton, {}, QPoint(50, 20));
    EXPECT_EQ(dialogs.shown().size(), c.asks ? 1u : 0u) << c.cookie;
    EXPECT_EQ(shell.launches().size(), c.asks ? 0u : 1u) << c.cookie;
    ResetModule(Ports{});
  }
  std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace h5
