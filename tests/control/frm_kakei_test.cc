// The control on in-memory doubles: grading, layout, where the run stops,
// the retries, the close-all on every way out, clicks.
#include "control/frm_kakei.h"

#include <gtest/gtest.h>

#include "book.h"
#include "store/module.h"

namespace h5 {
namespace {

TEST(Grading, RatiosAndTheirLevels) {
  struct {
    int16_t ratio, level;
  } levels[] = {{-32768, 0}, {-1, 0}, {0, 1},   {49, 1},  {50, 2},  {79, 2},
                {80, 3},     {99, 3}, {100, 4}, {139, 4}, {140, 5}, {32767, 5}};
  for (auto [ratio, level] : levels) EXPECT_EQ(GradeRatio(ratio, {0, 50, 80, 100, 140}), level);
  // Left to right in doubles, rounded half to even, 140 past 16 bits.
  struct {
    int32_t budget, days, elapsed, spending;
    int16_t ratio;
  } cases[] = {{99, 1, 1, 200, 50},         {97, 1, 1, 200, 48},       {279, 1, 1, 200, 140},
               {30000, 30, 15, 15000, 100}, {30000, 30, 1, 1000, 100}, {1000, 30, 30, -1, 140},
               {1000, 30, 30, -2000, -50},  {2147483647, 1, 1, 1, 140}};
  for (const auto& c : cases) {
    EXPECT_EQ(ComputeRatio(c.budget, c.days, c.elapsed, c.spending, 140), c.ratio) << c.budget;
  }
}

using FrmKakeiTest = FakeTest;

void ExpectBox(const MessageBoxRequest& box, Buttons buttons, const std::string& text) {
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(std::tie(box.title, box.buttons, box.icon, box.system_modal),
            std::make_tuple(std::string("家計診断"), buttons, Icon::kNone, false));
}

TEST_F(FrmKakeiTest, LayoutScalesOnlyOnDenserScreens) {
  for (auto [twips, scale] : {std::pair{15.0f, 1.0f}, {20.0f, 1.0f}, {12.0f, 0.8f}}) {
    Bind(twips);
    RecordingSurface surface;
    EXPECT_EQ(FrmKakei(surface).LayoutScale(), scale);
    // Exact in floats: the test multiplies as the control does.
    EXPECT_EQ(surface.picture_rect, (TwipsRect{0, 0, 1785 * scale, 1695 * scale}));
    EXPECT_EQ(surface.label_rect, (TwipsRect{60 * scale, 540 * scale, 1665 * scale, 1185 * scale}));
    EXPECT_EQ(surface.label_font_size, 8.25f * scale);
    EXPECT_EQ(std::tie(surface.control_width, surface.control_height, surface.picture_stretch),
              std::make_tuple(1785 * scale, 1695 * scale, scale != 1.0f));
  }
}

TEST_F(FrmKakeiTest, WhereTheRunStops) {
  // The budget file is opened once the required files are open and the
  // optional ones open or missing; a preset that is no number counts as none.
  const int16_t kGone = kBtrFileNotFound, kIo = kBtrIoError, kOwner = kBtrOwnerNameWrong;
  struct {
    const char* file;
    int16_t status, month;
    const char* preset;
    bool budget_opened;
    int16_t level;
  } cases[] = {{"himoku", kGone, 1, "", false, 0},
               {"himoku", kGone, 1, "6", false, 6},
               {"himoku", kGone, 1, "7a", false, 0},
               {"himoku", kGone, 1, "99999", false, 0},
               {"suitou02", kGone, 1, "", false, 0},
               {"bunkat02", kGone, 1, "", true, 6},
               {"credit", kGone, 1, "", true, 6},
               {"kyuyo", kGone, 1, "", true, 6},
               {"kyuyo02", kGone, 1, "", true, 6},
               {"bunkat02", kIo, 1, "", false, 0},
               {"yosan02", kGone, 1, "", true, 7},
               {"kyuyo02", kOwner, 1, "", false, 0},
               {"", 0, 0, "", false, 0},
               {"", 0, 13, "", false, 0},
               {"", 0, 12, "", true, 6}};
  // Months 0 and 13: no period holds today.
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.status) + " " + c.preset);
    Bind(15.0f, {{c.file + std::string(".dat"), c.status}});
    Module().CurrentMonth = c.month;
    Module().PresetLevel = c.preset;
    RecordingSurface surface;
    FrmKakei control(surface);
    EXPECT_EQ(opens_.count("yosan02.dat"), c.budget_opened ? 1u : 0u);
    EXPECT_EQ(control.DiagnosisLevel(), c.level);
    EXPECT_EQ(OpenFiles(), 0);
  }
}

TEST_F(FrmKakeiTest, InactiveRecordManagerGivesUpAfter501OpensWithOneMessage) {
  Bind(15.0f, {{"himoku.dat", kBtrInactive}});
  Module().PresetLevel = "6";
  RecordingSurface surface;
  FrmKakei control(surface);
  EXPECT_EQ(opens_["himoku.dat"], 501);
  ASSERT_EQ(dialogs_.shown().size(), 1u);
  ExpectBox(dialogs_.shown()[0], Buttons::kOk,
            "費目ファイルのオープンに失敗しました(ｴﾗｰｺｰﾄﾞ20)\r\n\r\n"
            "パソコンを再起動して、やりなおしてください。");
  EXPECT_EQ(control.DiagnosisLevel(), 6);  // the preset stays
  EXPECT_EQ(surface.caption, kNoBudgetCaption);
  EXPECT_EQ(OpenFiles(), 0);
}

TEST_F(FrmKakeiTest, TotalsCutShortByAReportedFailureAreNotGraded) {
  // The cash-book read fails: one system-error box, every file closed, no
  // further reads of the closed files, no budget, no grade.
  Bind();
  records_.SetHandler([](const BtrCall& call, std::span<uint8_t>, int32_t*) {
    return call.operation == kBtrGetGreaterOrEqual ? std::optional<int16_t>(kBtrIoError)
                                                   : std::nullopt;
  });
  RecordingSurface surface;
  FrmKakei control(surface);
  EXPECT_EQ(control.DiagnosisLevel(), 0);
  ASSERT_EQ(dialogs_.shown().size(), 1u);
  EXPECT_NE(dialogs_.shown()[0].text.find("《I/O  エラー》  ** ReadGtorEQ  出納帳 **"),
            std::string::npos);
  for (const BtrCall& call : records_.calls())
    EXPECT_EQ(call.path.find("Yosan"), std::string::npos);
  EXPECT_FALSE(control.trace().spending.has_value());
  EXPECT_EQ(OpenFiles(), 0);
}

TEST_F(FrmKakeiTest, ClickAsksWhileTheTimerRunsAndLaunchesOnOk) {
  Bind();
  RecordingSurface surface;
  FrmKakei control(surface);
  control.Click();
  ASSERT_EQ(shell_.launches().size(), 1u);
  EXPECT_EQ(shell_.launches()[0].parameters, "4,1");
  EXPECT_TRUE(dialogs_.shown().empty());

  cookies_.Set("file:///C:\\Hidamari5\\timer\\bottom0.html", "winflag=1");
  dialogs_.Script({Answer::kCancel, Answer::kOk});
  for (size_t launches : {1u, 2u, 2u}) {  // the box closed counts as Cancel
    control.Click();
    EXPECT_EQ(shell_.launches().size(), launches);
  }
  ASSERT_EQ(dialogs_.shown().size(), 3u);
  ExpectBox(dialogs_.shown()[0], Buttons::kOkCancel,
            "キッチンタイマーが動作中です｡続けるとキッチンタイマーがSTOPします｡ \r\n"
            "続けてよろしいですか？");
}

}  // namespace
}  // namespace h5
