#include "painter/bmp4_writer.h"

#include <gtest/gtest.h>

#include <QImage>

#include "painter/toolbox_bitmap.h"

namespace h5 {
namespace {

uint32_t Read32(const std::string& bytes, size_t offset) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[offset + i]);
  return v;
}

uint16_t Read16(const std::string& bytes, size_t offset) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[offset]) |
                               (static_cast<uint8_t>(bytes[offset + 1]) << 8));
}

QImage Decode(const std::string& bytes) {
  return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                          static_cast<int>(bytes.size()), "BMP");
}

TEST(Bmp4WriterTest, HeadersDescribeA4BitBottomUpBitmap) {
  struct Case {
    int width, height;
    uint32_t stride;
  };
  const Case cases[] = {{1, 1, 4}, {8, 2, 4}, {9, 3, 8}, {16, 15, 8}, {17, 1, 12}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    std::string bytes;
    ASSERT_TRUE(EncodeBmp4(c.width, c.height, kVgaPalette,
                           std::vector<uint8_t>(c.width * c.height, 7), &bytes));
    const uint32_t image_size = c.stride * c.height;
    ASSERT_EQ(bytes.size(), 118u + image_size);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(Read32(bytes, 2), bytes.size());
    EXPECT_EQ(Read32(bytes, 10), 118u);
    EXPECT_EQ(Read32(bytes, 14), 40u);
    EXPECT_EQ(Read32(bytes, 18), static_cast<uint32_t>(c.width));
    EXPECT_EQ(Read32(bytes, 22), static_cast<uint32_t>(c.height));
    EXPECT_EQ(Read16(bytes, 26), 1);
    EXPECT_EQ(Read16(bytes, 28), 4);
    EXPECT_EQ(Read32(bytes, 30), 0u);
    EXPECT_EQ(Read32(bytes, 34), image_size);
    EXPECT_EQ(Read32(bytes, 46), 16u);
  }
}

TEST(Bmp4WriterTest, PaletteIsStoredBlueGreenRed) {
  std::string bytes;
  ASSERT_TRUE(EncodeBmp4(1, 1, kVgaPalette, {0}, &bytes));
  // Entry 1 is maroon 0x800000, entry 4 navy 0x000080.
  EXPECT_EQ(static_cast<uint8_t>(bytes[54 + 4 * 1 + 2]), 0x80);
  EXPECT_EQ(static_cast<uint8_t>(bytes[54 + 4 * 1 + 0]), 0x00);
  EXPECT_EQ(static_cast<uint8_t>(bytes[54 + 4 * 4 + 0]), 0x80);
  EXPECT_EQ(static_cast<uint8_t>(bytes[54 + 4 * 4 + 2]), 0x00);
}

TEST(Bmp4WriterTest, PacksLeftPixelHighAndStoresRowsBottomUp) {
  // Three pixels a row: two nibbles, then one with padding after it.
  std::string bytes;
  ASSERT_TRUE(EncodeBmp4(3, 2, kVgaPalette, {1, 2, 3, 4, 5, 6}, &bytes));
  ASSERT_EQ(bytes.size(), 118u + 8u);
  // Bottom row (4 5 6) comes first.
  EXPECT_EQ(static_cast<uint8_t>(bytes[118]), 0x45);
  EXPECT_EQ(static_cast<uint8_t>(bytes[119]), 0x60);
  EXPECT_EQ(static_cast<uint8_t>(bytes[120]), 0x00);
  EXPECT_EQ(static_cast<uint8_t>(bytes[121]), 0x00);
  EXPECT_EQ(static_cast<uint8_t>(bytes[122]), 0x12);
  EXPECT_EQ(static_cast<uint8_t>(bytes[123]), 0x30);
}

TEST(Bmp4WriterTest, QtReadsBackTheSamePixels) {
  const int width = 5, height = 4;
  std::vector<uint8_t> indices;
  for (int i = 0; i < width * height; ++i) indices.push_back(static_cast<uint8_t>(i % 16));
  std::string bytes;
  ASSERT_TRUE(EncodeBmp4(width, height, kVgaPalette, indices, &bytes));
  const QImage image = Decode(bytes);
  ASSERT_FALSE(image.isNull());
  ASSERT_EQ(image.size(), QSize(width, height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      EXPECT_EQ(image.pixel(x, y) & 0xFFFFFF, kVgaPalette[indices[y * width + x]]) << x << "," << y;
    }
  }
}

TEST(Bmp4WriterTest, RejectsBadInput) {
  struct Case {
    const char* what;
    int width, height;
    std::vector<uint8_t> indices;
  };
  const Case cases[] = {
      {"zero width", 0, 1, {}},
      {"negative height", 1, -1, {0}},
      {"too wide", 5000, 1, std::vector<uint8_t>(5000, 0)},
      {"too few pixels", 2, 2, {0, 0, 0}},
      {"too many pixels", 1, 1, {0, 0}},
      {"index past the palette", 2, 1, {0, 16}},
  };
  for (const Case& c : cases) {
    std::string bytes = "stale";
    EXPECT_FALSE(EncodeBmp4(c.width, c.height, kVgaPalette, c.indices, &bytes)) << c.what;
    EXPECT_TRUE(bytes.empty()) << c.what;
  }
}

TEST(ToolboxBitmapTest, IsA16By15SixteenColourBitmap) {
  const std::string bytes = EncodeToolboxBitmap();
  ASSERT_EQ(Read16(bytes, 28), 4);
  const QImage image = Decode(bytes);
  ASSERT_EQ(image.size(), QSize(kToolboxWidth, kToolboxHeight));
  // A navy frame with a title bar across the top, white in the panel's corner.
  EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0x000080u);
  EXPECT_EQ(image.pixel(1, 1) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(image.pixel(1, 4) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(image.pixel(15, 14) & 0xFFFFFF, 0x000080u);
}

}  // namespace
}  // namespace h5
