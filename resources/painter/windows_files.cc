#include "painter/windows_files.h"

#include <cstdint>

namespace h5 {
namespace {

constexpr uint32_t kInfoHeaderSize = 40;

void Put16(std::string* out, uint32_t v) {
  out->push_back(static_cast<char>(v & 0xFF));
  out->push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string* out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// BITMAPINFOHEADER, uncompressed; a positive height means bottom-up rows.
void PutInfoHeader(std::string* out, int width, int height, int bits, uint32_t image_size,
                   uint32_t colours) {
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);  // planes
  Put16(out, static_cast<uint32_t>(bits));
  Put32(out, 0);  // BI_RGB
  Put32(out, image_size);
  Put32(out, 0);  // pixels per metre: unspecified
  Put32(out, 0);
  Put32(out, colours);
  Put32(out, 0);
}

}  // namespace

std::string EncodeBmp24(const QImage& image) {
  if (image.isNull()) return {};
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  const int width = rgb.width(), height = rgb.height();
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) / 4 * 4;
  const uint32_t image_size = stride * static_cast<uint32_t>(height);
  const uint32_t offset = 14 + kInfoHeaderSize;
  std::string out("BM");
  Put32(&out, offset + image_size);
  Put32(&out, 0);  // reserved
  Put32(&out, offset);
  PutInfoHeader(&out, width, height, 24, image_size, 0);
  for (int y = height - 1; y >= 0; --y) {
    const uchar* line = rgb.constScanLine(y);
    std::string row(stride, '\0');
    for (int x = 0; x < width; ++x) {  // stored blue, green, red
      for (int c = 0; c < 3; ++c) row[x * 3 + c] = static_cast<char>(line[x * 3 + 2 - c]);
    }
    out += row;
  }
  return out;
}

std::string EncodeMonoCursor(const QImage& image, int hot_x, int hot_y) {
  constexpr int kSide = 32, kStride = kSide / 8;
  if (image.width() != kSide || image.height() != kSide) return {};
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  std::string xor_mask, and_mask;
  for (int y = kSide - 1; y >= 0; --y) {
    std::string xor_row(kStride, '\0'), and_row(kStride, '\0');
    for (int x = 0; x < kSide; ++x) {
      const QRgb pixel = argb.pixel(x, y);
      const char bit = static_cast<char>(0x80 >> (x % 8));
      // Clear in both masks is black; XOR set is white; AND set shows the screen.
      if (qAlpha(pixel) < 128) {
        and_row[x / 8] = static_cast<char>(and_row[x / 8] | bit);
      } else if (qGray(pixel) >= 128) {
        xor_row[x / 8] = static_cast<char>(xor_row[x / 8] | bit);
      }
    }
    xor_mask += xor_row;
    and_mask += and_row;
  }
  const uint32_t palette = 2 * 4;
  const uint32_t size = kInfoHeaderSize + palette + 2 * kSide * kStride;
  std::string out;
  Put16(&out, 0);  // ICONDIR: reserved, type 2 (cursor), one image
  Put16(&out, 2);
  Put16(&out, 1);
  out.push_back(static_cast<char>(kSide));  // ICONDIRENTRY
  out.push_back(static_cast<char>(kSide));
  out.push_back(2);  // colours
  out.push_back(0);
  Put16(&out, static_cast<uint32_t>(hot_x));
  Put16(&out, static_cast<uint32_t>(hot_y));
  Put32(&out, size);
  Put32(&out, 6 + 16);  // the image follows the directory
  // The height covers both masks.
  PutInfoHeader(&out, kSide, 2 * kSide, 1, 2 * kSide * kStride, 2);
  Put32(&out, 0x000000);  // black
  Put32(&out, 0xFFFFFF);  // white
  return out + xor_mask + and_mask;
}

}  // namespace h5
