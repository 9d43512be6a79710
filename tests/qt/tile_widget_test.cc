// The tile's Qt face: what each level shows, the layout at three screen
// densities, the hand cursor, clicks reaching the launch, message boxes.
#include "qt/tile_widget.h"

#include <gtest/gtest.h>

#include <QBitmap>
#include <QTest>

#include "book.h"
#include "qt/qt_dialogs.h"
#include "store/module.h"

namespace h5 {
namespace {

class TileWidgetTest : public FakeTest {
 protected:
  // Shows a tile on doubles where the category file is missing, so the
  // diagnosis stops at once and the preset is the level shown.
  std::unique_ptr<TileWidget> Show(const std::string& preset, float twips = 15.0f) {
    Bind(twips, {{"himoku.dat", kBtrFileNotFound}});
    Module().PresetLevel = preset;
    auto tile = std::make_unique<TileWidget>(twips);
    control_ = std::make_unique<FrmKakei>(*tile);
    tile->SetClickHandler([this] { control_->Click(); });
    tile->show();
    return tile;
  }

  std::unique_ptr<FrmKakei> control_;
};

TEST_F(TileWidgetTest, EveryLevelShowsItsPictureCaptionAndTooltips) {
  const std::pair<const char*, const char*> cases[] = {
      {"", kInviteCaption},  {"0", kInviteCaption}, {"1", nullptr},         {"2", nullptr},
      {"3", nullptr},        {"4", nullptr},        {"5", nullptr},         {"6", kNoBudgetCaption},
      {"7", kInviteCaption}, {"9", kInviteCaption}, {"-1", kInviteCaption},
  };
  for (const auto& [preset, caption] : cases) {
    SCOPED_TRACE(preset);
    auto tile = Show(preset);
    // Levels 1 to 5 show pictures 6 to 2; the others picture 1 and a caption.
    int picture = caption ? 1 : 7 - std::atoi(preset);
    EXPECT_EQ(tile->picture_number(), picture);
    EXPECT_EQ(tile->imgKekka()->pixmap().toImage(), tile->ImageListPicture(picture).toImage());
    EXPECT_EQ(tile->lblKekka()->isVisible(), caption != nullptr);
    EXPECT_EQ(tile->lblKekka()->text(), caption ? QString::fromUtf8(caption) : QString());
    QString tooltip = QString::fromUtf8(caption ? kInviteToolTip : kGradedToolTip);
    EXPECT_EQ(tile->imgKekka()->toolTip(), tooltip);
    EXPECT_EQ(tile->lblKekka()->toolTip(), tooltip);
  }
}

TEST_F(TileWidgetTest, LayoutAtThreeScreenDensities) {
  struct {
    float twips;
    QSize control;
    QRect label;
    double font;
  } cases[] = {{15, {119, 113}, {4, 36, 111, 79}, 8.25},
               {12, {119, 113}, {4, 36, 111, 79}, 6.6},
               {20, {89, 85}, {3, 27, 83, 59}, 8.25}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.twips);
    auto tile = Show("7", c.twips);
    EXPECT_EQ(tile->size(), c.control);
    EXPECT_EQ(tile->imgKekka()->geometry(), QRect(QPoint(0, 0), c.control));
    EXPECT_EQ(tile->lblKekka()->geometry(), c.label);
    EXPECT_NEAR(tile->lblKekka()->font().pointSizeF(), c.font, 0.01);
    EXPECT_EQ(tile->imgKekka()->hasScaledContents(), c.twips < 15);
  }
}

TEST_F(TileWidgetTest, HandCursorAndClicksEverywhere) {
  auto tile = Show("7");
  for (QWidget* w :
       {(QWidget*)tile.get(), (QWidget*)tile->imgKekka(), (QWidget*)tile->lblKekka()}) {
    QCursor cursor = w->cursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(5, 0));
    EXPECT_EQ(cursor.bitmap().size(), QSize(32, 32));
    // The fingertip is drawn at the hot spot.
    EXPECT_EQ(cursor.mask().toImage().pixelColor(5, 0), QColor(Qt::black));
    EXPECT_EQ(cursor.mask().toImage().pixelColor(31, 31), QColor(Qt::white));
  }
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
  using B = QMessageBox;
  struct {
    MessageBoxRequest request;
    B::StandardButtons buttons;
    B::Icon icon;
  } cases[] = {
      {{"a\r\nb", "家計診断", Buttons::kOk, Icon::kNone, false}, B::Ok, B::NoIcon},
      {{"q", "家計診断", Buttons::kOkCancel, Icon::kNone, false}, B::Ok | B::Cancel, B::NoIcon},
      {{"q", "H5Kakei", Buttons::kYesNo, Icon::kQuestion, true}, B::Yes | B::No, B::Question},
      {{"d", "H5Kakei", Buttons::kOk, Icon::kExclamation, true}, B::Ok, B::Warning},
  };
  for (const auto& c : cases) {
    std::unique_ptr<QMessageBox> box = QtDialogs::Build(c.request, nullptr);
    EXPECT_EQ(box->windowTitle(), QString::fromStdString(c.request.title));
    EXPECT_EQ(box->standardButtons(), c.buttons);
    EXPECT_EQ(box->icon(), c.icon);
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.request.system_modal);
  }
  EXPECT_EQ(QtDialogs::Build(cases[0].request, nullptr)->text(), QStringLiteral("a\nb"));
}

}  // namespace
}  // namespace h5
