#include "painter/illustration.h"

#include <gtest/gtest.h>

#include <QColor>

namespace h5 {
namespace {

bool IsWhite(const QImage& image, int x, int y) { return image.pixel(x, y) == qRgb(255, 255, 255); }

TEST(IllustrationTest, OnlyPictures1To6Exist) {
  for (int number : {-1, 0, 7, 100}) EXPECT_TRUE(PaintIllustration(number).isNull()) << number;
}

TEST(IllustrationTest, EveryPictureIs24BitWithABlueTitleBar) {
  for (int number = 1; number <= kIllustrationCount; ++number) {
    SCOPED_TRACE(number);
    const QImage image = PaintIllustration(number);
    ASSERT_EQ(image.size(), QSize(kIllustrationWidth, kIllustrationHeight));
    EXPECT_EQ(image.format(), QImage::Format_RGB888);
    // Blue at both ends of the bar, white below it.
    for (int x : {2, kIllustrationWidth - 3}) {
      const QColor bar(image.pixel(x, kTitleBarHeight / 2));
      EXPECT_GT(bar.blue(), bar.red() + 80) << x;
      EXPECT_GT(bar.blue(), bar.green() + 40) << x;
    }
    EXPECT_TRUE(IsWhite(image, 3, kTitleBarHeight + 2));
  }
}

TEST(IllustrationTest, Picture1LeavesTheCaptionAreaWhite) {
  // The caption label sits at 4, 36 and spans the rest of the panel.
  const QImage image = PaintIllustration(1);
  for (int y = 36; y < kIllustrationHeight - 1; ++y) {
    for (int x = 4; x < kIllustrationWidth - 4; ++x) {
      ASSERT_TRUE(IsWhite(image, x, y)) << x << "," << y;
    }
  }
}

TEST(IllustrationTest, GradedPicturesAreDrawnAndDistinct) {
  QImage pictures[kIllustrationCount + 1];
  for (int number = 1; number <= kIllustrationCount; ++number) {
    pictures[number] = PaintIllustration(number);
  }
  for (int number = 2; number <= kIllustrationCount; ++number) {
    int inked = 0;
    for (int y = 36; y < kIllustrationHeight - 1; ++y) {
      for (int x = 4; x < kIllustrationWidth - 4; ++x) inked += !IsWhite(pictures[number], x, y);
    }
    // Face, purse and message cover a good part of the panel.
    EXPECT_GT(inked, 1500) << number;
    for (int other = 1; other < number; ++other) {
      EXPECT_NE(pictures[number], pictures[other]) << number << " vs " << other;
    }
  }
}

TEST(IllustrationTest, BannersWarmFromOrangeYellowToRed) {
  // A point of the band left of the banner word.
  int last_green = 256;
  for (int number = 2; number <= kIllustrationCount; ++number) {
    const QColor band(PaintIllustration(number).pixel(15, 24));
    EXPECT_GT(band.red(), 200) << number;
    EXPECT_LT(band.blue(), 60) << number;
    EXPECT_LT(band.green(), last_green) << number;
    last_green = band.green();
  }
  EXPECT_GT(QColor(PaintIllustration(2).pixel(15, 24)).green(), 150);
  EXPECT_LT(last_green, 60);
}

TEST(IllustrationTest, PaintingIsRepeatable) {
  for (int number = 1; number <= kIllustrationCount; ++number) {
    EXPECT_EQ(PaintIllustration(number), PaintIllustration(number)) << number;
  }
}

}  // namespace
}  // namespace h5
