// Sessions one after another on one thread, as a host that reopens the tile.
#include <gtest/gtest.h>

#include "control/frm_kakei.h"
#include "hosts/session.h"
#include "rig.h"
#include "scratch.h"
#include "store/module.h"

namespace h5 {
namespace {

TEST(SessionTest, EndingLeavesNoPortsBehindAndTheNextSessionWorks) {
  ScratchDir root;
  ASSERT_TRUE(BuildDemoBook(root.path(), false));
  int16_t first_level = 0;
  for (int i = 0; i < 2; ++i) {
    {
      SessionOptions options;
      options.root = root.path();
      options.today = std::chrono::year_month_day{std::chrono::year{2002}, std::chrono::April,
                                                  std::chrono::day{15}};
      Session session(options);
      session.Start();
      RecordingSurface surface;
      FrmKakei control(surface);
      if (i == 0) first_level = control.DiagnosisLevel();
      EXPECT_EQ(control.DiagnosisLevel(), first_level);
      EXPECT_NE(first_level, 0);
    }
    const Ports& ports = Module().ports;
    EXPECT_TRUE(ports.environment == nullptr && ports.records == nullptr &&
                ports.dialogs == nullptr && ports.shell == nullptr && ports.cookies == nullptr &&
                ports.screen == nullptr);
  }
}

}  // namespace
}  // namespace h5
