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

uint32_t LittleEndian(const QByteArray& bytes, int offset, int size = 4) {
  uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[offset + i]);
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

TEST(ArtworkFilesTest, WindowsBitmapsHoldThePngsPixels) {
  for (int number = 1; number <= kIllustrationCount; ++number) {
    SCOPED_TRACE(number);
    const QByteArray bmp = ReadArtwork(QString("kekka%1.bmp").arg(number));
    ASSERT_GT(bmp.size(), 54);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(LittleEndian(bmp, 28, 2), 24u);  // bits per pixel
    EXPECT_EQ(LittleEndian(bmp, 30), 0u);      // uncompressed
    const QImage png = QImage::fromData(ReadArtwork(QString("kekka%1.png").arg(number)), "PNG");
    EXPECT_EQ(QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB888),
              png.convertToFormat(QImage::Format_RGB888));
  }
}

TEST(ArtworkFilesTest, WindowsCursorHoldsThePngsMasksAndHotSpot) {
  const QByteArray cur = ReadArtwork("hand_cursor.cur");
  ASSERT_EQ(cur.size(), 6 + 16 + 40 + 8 + 2 * 128);
  // ICONDIR of one cursor, then its entry: 32 x 32, hot spot, image offset.
  EXPECT_EQ(LittleEndian(cur, 0), 0x20000u);
  EXPECT_EQ(LittleEndian(cur, 4, 2), 1u);
  EXPECT_EQ(LittleEndian(cur, 6, 2), 0x2020u);
  EXPECT_EQ(LittleEndian(cur, 10, 2), static_cast<uint32_t>(kHandHotSpotX));
  EXPECT_EQ(LittleEndian(cur, 12, 2), static_cast<uint32_t>(kHandHotSpotY));
  ASSERT_EQ(LittleEndian(cur, 18), 22u);
  // BITMAPINFOHEADER: the height counts both masks; 1 bit, black and white.
  EXPECT_EQ(LittleEndian(cur, 22 + 8), 64u);
  EXPECT_EQ(LittleEndian(cur, 22 + 14, 2), 1u);
  EXPECT_EQ(LittleEndian(cur, 62) & 0xFFFFFF, 0u);
  EXPECT_EQ(LittleEndian(cur, 66) & 0xFFFFFF, 0xFFFFFFu);
  const QImage png = QImage::fromData(ReadArtwork("hand_cursor.png"), "PNG")
                         .convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(png.size(), QSize(32, 32));
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      // Rows are stored bottom-up, the XOR mask first.
      const int byte = 70 + (31 - y) * 4 + x / 8, bit = 0x80 >> (x % 8);
      const bool colour = cur[byte] & bit, transparent = cur[byte + 128] & bit;
      const QRgb pixel = png.pixel(x, y);
      EXPECT_EQ(transparent, qAlpha(pixel) == 0) << x << "," << y;
      EXPECT_EQ(colour, pixel == 0xFFFFFFFF) << x << "," << y;
    }
  }
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
