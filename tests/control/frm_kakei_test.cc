// The control on in-memory doubles: initialisation, layout, the opens and
// their retries, the close-all on every way out, clicks.
#include "control/frm_kakei.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_record_manager.h"
#include "platform/fake/fake_shell.h"
#include "store/module.h"

namespace h5 {
namespace {

std::string FileName(const std::string& path) {
  size_t slash = path.rfind('\\');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

class FrmKakeiTest : public ::testing::Test {
 protected:
  void SetUp() override { Bind(15.0f); }

  void Bind(float twips) {
    screen_ = FakeScreen(twips);
    records_.SetHandler(
        [this](const BtrCall& call, std::span<uint8_t>, int32_t*) -> std::optional<int16_t> {
          if (call.operation != kBtrOpen) return std::nullopt;
          std::string name = FileName(call.path);
          ++opens_[name];
          auto it = open_status_.find(name);
          if (it != open_status_.end()) return it->second;
          return std::nullopt;
        });
    ResetModule(Ports{&env_, &records_, &dialogs_, &shell_, &cookies_, &screen_});
    Module().InstallDir = "C:\\Hidamari5\\";
    Module().KakeiDir = "C:\\HdmData5\\kakeibo\\kakeibo1\\";
    Module().FiscalYear = "2002";
  }

  void ExpectEverythingClosed() {
    EXPECT_EQ(records_.open_files(), 0);
    for (int slot = 1; slot <= 34; ++slot) EXPECT_EQ(Module().FileState[slot], 0) << slot;
  }

  FakeEnvironment env_;
  FakeRecordManager records_;
  FakeDialogs dialogs_;
  FakeShell shell_;
  FakeCookieStore cookies_;
  FakeScreen screen_;
  std::map<std::string, int16_t> open_status_;
  std::map<std::string, int> opens_;
};

TEST_F(FrmKakeiTest, InitialisesTitleTooltipsAndSizeAt96Dpi) {
  RecordingSurface surface;
  FrmKakei control(surface);
  EXPECT_EQ(Module().ApplicationTitle, "家計診断");
  EXPECT_EQ(control.LayoutScale(), 1.0f);
  EXPECT_EQ(surface.control_width, 1785.0f);
  EXPECT_EQ(surface.control_height, 1695.0f);
  EXPECT_EQ(surface.picture_rect, kPictureLayout);
  EXPECT_FALSE(surface.picture_stretch);
  EXPECT_EQ(surface.picture_tooltip, kInviteToolTip);
  EXPECT_EQ(surface.label_tooltip, kInviteToolTip);
}

TEST_F(FrmKakeiTest, ScalesOnlyOnDenserScreens) {
  struct Case {
    float twips;
    float scale;
    TwipsRect picture, label;
    float font;
  } cases[] = {
      {15, 1.0f, {0, 0, 1785, 1695}, {60, 540, 1665, 1185}, 8.25f},
      {20, 1.0f, {0, 0, 1785, 1695}, {60, 540, 1665, 1185}, 8.25f},
      {12, 0.8f, {0, 0, 1428, 1356}, {48, 432, 1332, 948}, 6.6f},
  };
  for (const Case& c : cases) {
    Bind(c.twips);
    RecordingSurface surface;
    FrmKakei control(surface);
    EXPECT_FLOAT_EQ(control.LayoutScale(), c.scale) << c.twips;
    EXPECT_FLOAT_EQ(surface.control_width, c.picture.width) << c.twips;
    EXPECT_FLOAT_EQ(surface.control_height, c.picture.height) << c.twips;
    EXPECT_FLOAT_EQ(surface.picture_rect.width, c.picture.width);
    EXPECT_FLOAT_EQ(surface.picture_rect.height, c.picture.height);
    EXPECT_FLOAT_EQ(surface.label_rect.left, c.label.left);
    EXPECT_FLOAT_EQ(surface.label_rect.top, c.label.top);
    EXPECT_FLOAT_EQ(surface.label_rect.width, c.label.width);
    EXPECT_FLOAT_EQ(surface.label_rect.height, c.label.height);
    EXPECT_NEAR(surface.label_font_size, c.font, 1e-5);
    EXPECT_EQ(surface.picture_stretch, c.scale != 1.0f);
  }
}

TEST_F(FrmKakeiTest, InactiveRecordManagerGivesUpAfter501OpensWithOneMessage) {
  open_status_["himoku.dat"] = kBtrInactive;
  Module().PresetLevel = "6";
  RecordingSurface surface;
  FrmKakei control(surface);
  EXPECT_EQ(opens_["himoku.dat"], 501);
  ASSERT_EQ(dialogs_.shown().size(), 1u);
  const MessageBoxRequest& box = dialogs_.shown()[0];
  EXPECT_EQ(box.text,
            "費目ファイルのオープンに失敗しました(ｴﾗｰｺｰﾄﾞ20)\r\n\r\n"
            "パソコンを再起動して、やりなおしてください。");
  EXPECT_EQ(box.title, "家計診断");
  EXPECT_EQ(box.buttons, Buttons::kOk);
  EXPECT_EQ(box.icon, Icon::kNone);
  EXPECT_FALSE(box.system_modal);
  EXPECT_EQ(control.DiagnosisLevel(), 6);  // the preset stays
  EXPECT_EQ(surface.caption, kNoBudgetCaption);
  ExpectEverythingClosed();
}

TEST_F(FrmKakeiTest, RequiredAndOptionalFilesDecideWhereTheRunStops) {
  struct Case {
    const char* file;
    int16_t status;
    bool reaches_budget;  // whether the budget file is opened
  } cases[] = {
      {"himoku.dat", kBtrFileNotFound, false},  {"suitou02.dat", kBtrFileNotFound, false},
      {"bunkat02.dat", kBtrFileNotFound, true}, {"credit.dat", kBtrFileNotFound, true},
      {"kyuyo.dat", kBtrFileNotFound, true},    {"kyuyo02.dat", kBtrFileNotFound, true},
      {"bunkat02.dat", kBtrIoError, false},     {"kyuyo02.dat", kBtrOwnerNameWrong, false},
  };
  for (const Case& c : cases) {
    Bind(15.0f);
    opens_.clear();
    open_status_ = {{c.file, c.status}};
    Module().CurrentMonth = 1;
    Module().PeriodTable[1] = {2002, 4, 37347, 37376};
    RecordingSurface surface;
    FrmKakei control(surface);
    EXPECT_EQ(opens_.count("yosan02.dat") == 1, c.reaches_budget) << c.file << " " << c.status;
    ExpectEverythingClosed();
  }
}

TEST_F(FrmKakeiTest, MissingBudgetFileGivesSevenAndNoCurrentMonthStopsEarly) {
  open_status_["yosan02.dat"] = kBtrFileNotFound;
  Module().CurrentMonth = 1;
  Module().PeriodTable[1] = {2002, 4, 37347, 37376};
  RecordingSurface surface;
  FrmKakei control(surface);
  EXPECT_EQ(control.DiagnosisLevel(), 7);

  Bind(15.0f);
  opens_.clear();
  Module().CurrentMonth = 0;
  RecordingSurface quiet;
  FrmKakei stopped(quiet);
  EXPECT_EQ(stopped.DiagnosisLevel(), 0);
  EXPECT_EQ(opens_.count("yosan02.dat"), 0u);
  ExpectEverythingClosed();
}

TEST_F(FrmKakeiTest, TotalsCutShortByAReportedFailureAreNotGraded) {
  // The cash-book read fails: one system-error box, every file closed, no
  // further reads of the closed files, no budget, no grade.
  records_.SetHandler(
      [this](const BtrCall& call, std::span<uint8_t>, int32_t*) -> std::optional<int16_t> {
        if (call.operation == kBtrOpen) ++opens_[FileName(call.path)];
        if (call.operation == kBtrGetGreaterOrEqual) return kBtrIoError;
        return std::nullopt;
      });
  Module().CurrentMonth = 1;
  Module().PeriodTable[1] = {2002, 4, 37347, 37376};
  RecordingSurface surface;
  FrmKakei control(surface);
  EXPECT_EQ(control.DiagnosisLevel(), 0);
  ASSERT_EQ(dialogs_.shown().size(), 1u);
  EXPECT_NE(dialogs_.shown()[0].text.find("《I/O  エラー》  ** ReadGtorEQ  出納帳 **"),
            std::string::npos);
  EXPECT_EQ(opens_.count("yosan02.dat"), 0u);
  EXPECT_FALSE(control.trace().spending.has_value());
  ExpectEverythingClosed();
}

TEST_F(FrmKakeiTest, PresetLevelTextThatIsNoNumberCountsAsNone) {
  for (const char* preset : {"x", "7a", "99999", ""}) {
    Bind(15.0f);
    open_status_ = {{"himoku.dat", kBtrFileNotFound}};
    Module().PresetLevel = preset;
    RecordingSurface surface;
    FrmKakei control(surface);
    EXPECT_EQ(control.DiagnosisLevel(), 0) << preset;
  }
}

TEST_F(FrmKakeiTest, ClickAsksWhileTheTimerRunsAndLaunchesOnOk) {
  RecordingSurface surface;
  FrmKakei control(surface);
  control.Click();
  ASSERT_EQ(shell_.launches().size(), 1u);
  EXPECT_EQ(shell_.launches()[0].parameters, "4,1");
  EXPECT_TRUE(dialogs_.shown().empty());

  cookies_.Set("file:///C:\\Hidamari5\\timer\\bottom0.html", "winflag=1");
  dialogs_.Script({Answer::kCancel, Answer::kOk});
  control.Click();
  EXPECT_EQ(shell_.launches().size(), 1u);
  control.Click();
  EXPECT_EQ(shell_.launches().size(), 2u);
  ASSERT_EQ(dialogs_.shown().size(), 2u);
  const MessageBoxRequest& box = dialogs_.shown()[0];
  EXPECT_EQ(box.text,
            "キッチンタイマーが動作中です｡続けるとキッチンタイマーがSTOPします｡ \r\n"
            "続けてよろしいですか？");
  EXPECT_EQ(box.title, "家計診断");
  EXPECT_EQ(box.buttons, Buttons::kOkCancel);
  EXPECT_EQ(box.icon, Icon::kNone);
  control.Click();  // closed box counts as Cancel
  EXPECT_EQ(shell_.launches().size(), 2u);
}

}  // namespace
}  // namespace h5
