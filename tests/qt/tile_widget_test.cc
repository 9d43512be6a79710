// The tile's Qt face: what each level shows, the layout at three screen
// densities, the hand cursor, and clicks reaching the launch.
#include "qt/tile_widget.h"

#include <gtest/gtest.h>

#include <QBitmap>
#include <QTest>

#include "control/frm_kakei.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_record_manager.h"
#include "platform/fake/fake_shell.h"
#include "qt/qt_dialogs.h"
#include "store/module.h"

namespace h5 {
namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

class TileWidgetTest : public ::testing::Test {
 protected:
  // Binds the library to doubles on which the category file is missing, so
  // the diagnosis stops at once and the preset is the level shown.
  void Bind(const std::string& preset, float twips = 15.0f) {
    screen_ = FakeScreen(twips);
    records_.SetHandler(
        [](const BtrCall& call, std::span<uint8_t>, int32_t*) -> std::optional<int16_t> {
          if (call.operation == kBtrOpen) return kBtrFileNotFound;
          return std::nullopt;
        });
    ResetModule(Ports{&env_, &records_, &dialogs_, &shell_, &cookies_, &screen_});
    Module().InstallDir = "C:\\Hidamari5\\";
    Module().PresetLevel = preset;
  }

  std::unique_ptr<TileWidget> Show(float twips = 15.0f) {
    auto tile = std::make_unique<TileWidget>(twips);
    control_ = std::make_unique<FrmKakei>(*tile);
    tile->SetClickHandler([this] { control_->Click(); });
    tile->show();
    return tile;
  }

  FakeEnvironment env_;
  FakeRecordManager records_;
  FakeDialogs dialogs_;
  FakeShell shell_;
  FakeCookieStore cookies_;
  FakeScreen screen_;
  std::unique_ptr<FrmKakei> control_;
};

TEST_F(TileWidgetTest, EveryLevelShowsItsPictureCaptionAndTooltips) {
  const char* invite = kInviteToolTip;
  struct Case {
    const char* preset;
    int picture;
    const char* caption;  // nullptr: label hidden
    const char* tooltip;
  } cases[] = {
      {"", 1, kInviteCaption, invite},   {"0", 1, kInviteCaption, invite},
      {"1", 6, nullptr, kGradedToolTip}, {"2", 5, nullptr, kGradedToolTip},
      {"3", 4, nullptr, kGradedToolTip}, {"4", 3, nullptr, kGradedToolTip},
      {"5", 2, nullptr, kGradedToolTip}, {"6", 1, kNoBudgetCaption, invite},
      {"7", 1, kInviteCaption, invite},  {"9", 1, kInviteCaption, invite},
      {"-1", 1, kInviteCaption, invite},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.preset);
    Bind(c.preset);
    auto tile = Show();
    EXPECT_EQ(tile->picture_number(), c.picture);
    QImage shown = tile->imgKekka()->pixmap().toImage();
    QImage expected = tile->ImageListPicture(c.picture).toImage();
    ASSERT_FALSE(expected.isNull());
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(shown.size(), QSize(119, 113));
    EXPECT_EQ(tile->lblKekka()->isVisible(), c.caption != nullptr);
    if (c.caption) {
      EXPECT_EQ(tile->lblKekka()->text(), Q(c.caption));
    }
    EXPECT_EQ(tile->imgKekka()->toolTip(), Q(c.tooltip));
    EXPECT_EQ(tile->lblKekka()->toolTip(), Q(c.tooltip));
  }
}

TEST_F(TileWidgetTest, LayoutAtThreeScreenDensities) {
  struct Case {
    float twips;
    QSize control;
    QRect picture, label;
    double font;
  } cases[] = {
      {15, {119, 113}, {0, 0, 119, 113}, {4, 36, 111, 79}, 8.25},
      {12, {119, 113}, {0, 0, 119, 113}, {4, 36, 111, 79}, 6.6},
      {20, {89, 85}, {0, 0, 89, 85}, {3, 27, 83, 59}, 8.25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.twips);
    Bind("7", c.twips);
    auto tile = Show(c.twips);
    EXPECT_EQ(tile->size(), c.control);
    EXPECT_EQ(tile->imgKekka()->geometry(), c.picture);
    EXPECT_EQ(tile->lblKekka()->geometry(), c.label);
    EXPECT_NEAR(tile->lblKekka()->font().pointSizeF(), c.font, 0.01);
    EXPECT_EQ(tile->imgKekka()->hasScaledContents(), c.twips < 15);
  }
}

TEST_F(TileWidgetTest, HandCursorEverywhere) {
  Bind("7");
  auto tile = Show();
  for (QWidget* w : {static_cast<QWidget*>(tile.get()), static_cast<QWidget*>(tile->imgKekka()),
                     static_cast<QWidget*>(tile->lblKekka())}) {
    SCOPED_TRACE(w->objectName().toStdString());
    QCursor cursor = w->cursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(5, 0));
    QBitmap shape = cursor.bitmap();
    QBitmap mask = cursor.mask();
    EXPECT_EQ(shape.size(), QSize(32, 32));
    // The fingertip is drawn at the hot spot.
    EXPECT_EQ(mask.toImage().pixelColor(5, 0), QColor(Qt::black));
    EXPECT_EQ(mask.toImage().pixelColor(31, 31), QColor(Qt::white));
  }
}

TEST_F(TileWidgetTest, ClicksOnPictureLabelAndControlAllLaunch) {
  Bind("7");
  auto tile = Show();
  QTest::mouseClick(tile->imgKekka(), Qt::LeftButton, {}, QPoint(50, 20));
  QTest::mouseClick(tile->lblKekka(), Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseClick(tile.get(), Qt::LeftButton, {}, QPoint(60, 60));
  QTest::mouseClick(tile.get(), Qt::RightButton, {}, QPoint(60, 60));  // not a click
  ASSERT_EQ(shell_.launches().size(), 3u);
  for (const Launch& launch : shell_.launches()) {
    EXPECT_EQ(launch.program, "C:\\Hidamari5\\HdmMenu5.exe");
    EXPECT_EQ(launch.parameters, "4,1");
    EXPECT_EQ(launch.show, 9);
  }
}

TEST(QtDialogs, BuildsTheBoxAsAsked) {
  struct Case {
    MessageBoxRequest request;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon;
    bool on_top;
  } cases[] = {
      {{"a\r\nb", "家計診断", Buttons::kOk, Icon::kNone, false},
       QMessageBox::Ok,
       QMessageBox::NoIcon,
       false},
      {{"q", "家計診断", Buttons::kOkCancel, Icon::kNone, false},
       QMessageBox::Ok | QMessageBox::Cancel,
       QMessageBox::NoIcon,
       false},
      {{"q", "H5Kakei", Buttons::kYesNo, Icon::kQuestion, true},
       QMessageBox::Yes | QMessageBox::No,
       QMessageBox::Question,
       true},
      {{"d", "H5Kakei", Buttons::kOk, Icon::kExclamation, true},
       QMessageBox::Ok,
       QMessageBox::Warning,
       true},
  };
  for (const Case& c : cases) {
    std::unique_ptr<QMessageBox> box = QtDialogs::Build(c.request, nullptr);
    EXPECT_EQ(box->windowTitle(), QString::fromStdString(c.request.title));
    EXPECT_EQ(box->standardButtons(), c.buttons);
    EXPECT_EQ(box->icon(), c.icon);
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.on_top);
  }
  std::unique_ptr<QMessageBox> lines = QtDialogs::Build(cases[0].request, nullptr);
  EXPECT_EQ(lines->text(), QStringLiteral("a\nb"));
}

}  // namespace
}  // namespace h5
