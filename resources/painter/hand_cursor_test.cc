#include "painter/hand_cursor.h"

#include <gtest/gtest.h>

namespace h5 {
namespace {

constexpr QRgb kClear = 0x00000000;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

TEST(HandCursorTest, IsTwoColourWithMask) {
  const QImage image = PaintHandCursor();
  ASSERT_EQ(image.size(), QSize(kHandCursorSize, kHandCursorSize));
  ASSERT_EQ(image.format(), QImage::Format_ARGB32);
  int black = 0, white = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      ASSERT_TRUE(pixel == kClear || pixel == kBlack || pixel == kWhite) << x << "," << y;
      black += pixel == kBlack;
      white += pixel == kWhite;
    }
  }
  EXPECT_GT(black, 50);
  EXPECT_GT(white, 150);
}

TEST(HandCursorTest, HotSpotIsTheTopOfTheFingertip) {
  const QImage image = PaintHandCursor();
  EXPECT_EQ(image.pixel(kHandHotSpotX, kHandHotSpotY), kBlack);
  // Nothing else reaches the top row beyond the fingertip, and the finger is
  // filled right below the hot spot.
  for (int x = 0; x < kHandCursorSize; ++x) {
    if (x < kHandHotSpotX - 2 || x > kHandHotSpotX + 2) {
      EXPECT_EQ(image.pixel(x, 0), kClear) << x;
    }
  }
  EXPECT_EQ(image.pixel(kHandHotSpotX, kHandHotSpotY + 1), kWhite);
}

TEST(HandCursorTest, OutlineIsClosed) {
  // No white pixel touches a transparent one or the border, so the hand reads
  // on any background.
  const QImage image = PaintHandCursor();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != kWhite) continue;
      ASSERT_TRUE(x > 0 && y > 0 && x < kHandCursorSize - 1 && y < kHandCursorSize - 1);
      EXPECT_NE(image.pixel(x - 1, y), kClear) << x << "," << y;
      EXPECT_NE(image.pixel(x + 1, y), kClear) << x << "," << y;
      EXPECT_NE(image.pixel(x, y - 1), kClear) << x << "," << y;
      EXPECT_NE(image.pixel(x, y + 1), kClear) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace h5
