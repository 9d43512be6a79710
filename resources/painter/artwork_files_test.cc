// Checks the artwork committed under resources/: the files the tile loads.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QString>

#include "painter/app_icon.h"
#include "painter/hand_cursor.h"
#include "painter/illustration.h"
#include "painter/toolbox_bitmap.h"

namespace h5 {
namespace {

QByteArray ReadArtwork(const QString& name) {
  QFile file(QString(H5_ARTWORK_DIR) + "/" + name);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

uint32_t BigEndian32(const QByteArray& bytes, int offset) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<uint8_t>(bytes[offset + i]);
  return v;
}

TEST(ArtworkFilesTest, IllustrationsAre24BitPngs) {
  for (int number = 1; number <= kIllustrationCount; ++number) {
    const QString name = QString("kekka%1.png").arg(number);
    SCOPED_TRACE(name.toStdString());
    const QByteArray bytes = ReadArtwork(name);
    ASSERT_GT(bytes.size(), 33);
    ASSERT_EQ(bytes.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    ASSERT_EQ(bytes.mid(12, 4), QByteArray("IHDR"));
    EXPECT_EQ(BigEndian32(bytes, 16), static_cast<uint32_t>(kIllustrationWidth));
    EXPECT_EQ(BigEndian32(bytes, 20), static_cast<uint32_t>(kIllustrationHeight));
    EXPECT_EQ(static_cast<uint8_t>(bytes[24]), 8);  // bits per channel
    EXPECT_EQ(static_cast<uint8_t>(bytes[25]), 2);  // truecolour, no alpha
    EXPECT_FALSE(QImage::fromData(bytes, "PNG").isNull());
  }
}

TEST(ArtworkFilesTest, HandCursorIsTwoColourWithTheHotSpotOnTheFinger) {
  QImage image = QImage::fromData(ReadArtwork("hand_cursor.png"), "PNG");
  ASSERT_EQ(image.size(), QSize(kHandCursorSize, kHandCursorSize));
  ASSERT_TRUE(image.hasAlphaChannel());
  image = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      ASSERT_TRUE(qAlpha(pixel) == 0 || pixel == 0xFF000000 || pixel == 0xFFFFFFFF)
          << x << "," << y;
    }
  }
  EXPECT_EQ(image.pixel(kHandHotSpotX, kHandHotSpotY), 0xFF000000);
}

TEST(ArtworkFilesTest, DesktopIconIs48PixelsWithTransparentMargins) {
  const QImage icon = QImage::fromData(ReadArtwork("h5kakei.png"), "PNG");
  ASSERT_EQ(icon.size(), QSize(kAppIconSize, kAppIconSize));
  ASSERT_TRUE(icon.hasAlphaChannel());
  EXPECT_EQ(qAlpha(icon.pixel(kAppIconSize / 2, 0)), 0);  // the picture is wider than tall
  EXPECT_EQ(qAlpha(icon.pixel(kAppIconSize / 2, kAppIconSize / 2)), 255);
}

TEST(ArtworkFilesTest, ToolboxBitmapIs16By15With16Colours) {
  const QByteArray bytes = ReadArtwork("toolbox.bmp");
  ASSERT_GE(bytes.size(), 118);
  EXPECT_EQ(bytes.left(2), QByteArray("BM"));
  EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 4);
  const QImage image = QImage::fromData(bytes, "BMP");
  EXPECT_EQ(image.size(), QSize(kToolboxWidth, kToolboxHeight));
}

TEST(ArtworkFilesTest, ResourceFileListsTheImages) {
  const QString qrc = QString::fromUtf8(ReadArtwork("artwork.qrc"));
  EXPECT_TRUE(qrc.contains("<qresource prefix=\"/h5kakei\">"));
  for (int number = 1; number <= kIllustrationCount; ++number) {
    EXPECT_TRUE(qrc.contains(QString("<file>kekka%1.png</file>").arg(number))) << number;
  }
  EXPECT_TRUE(qrc.contains("<file>hand_cursor.png</file>"));
}

}  // namespace
}  // namespace h5
