#include "painter/bmp4_writer.h"

namespace h5 {

const Palette16 kVgaPalette = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                               0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                               0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

namespace {

constexpr int kMaxSide = 4096;
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPaletteSize = 16 * 4;

void Put16(std::string* out, uint16_t v) {
  out->push_back(static_cast<char>(v & 0xFF));
  out->push_back(static_cast<char>(v >> 8));
}

void Put32(std::string* out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8)
    out->push_back(static_cast<char>((v >> shift) & 0xFF));
}

}  // namespace

bool EncodeBmp4(int width, int height, const Palette16& palette,
                const std::vector<uint8_t>& indices, std::string* out) {
  out->clear();
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return false;
  const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (indices.size() != pixels) return false;
  for (uint8_t index : indices) {
    if (index > 15) return false;
  }

  const uint32_t stride = ((static_cast<uint32_t>(width) * 4 + 31) / 32) * 4;
  const uint32_t image_size = stride * static_cast<uint32_t>(height);
  const uint32_t offset = kFileHeaderSize + kInfoHeaderSize + kPaletteSize;

  out->reserve(offset + image_size);
  // BITMAPFILEHEADER
  out->append("BM");
  Put32(out, offset + image_size);
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, offset);
  // BITMAPINFOHEADER; a positive height means the rows run bottom-up.
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);  // planes
  Put16(out, 4);  // bits per pixel
  Put32(out, 0);  // BI_RGB
  Put32(out, image_size);
  Put32(out, 0);  // horizontal pixels per metre: unspecified
  Put32(out, 0);  // vertical pixels per metre: unspecified
  Put32(out, 16);
  Put32(out, 0);
  // RGBQUAD entries are stored blue, green, red, reserved.
  for (uint32_t rgb : palette) {
    out->push_back(static_cast<char>(rgb & 0xFF));
    out->push_back(static_cast<char>((rgb >> 8) & 0xFF));
    out->push_back(static_cast<char>((rgb >> 16) & 0xFF));
    out->push_back(0);
  }
  for (int y = height - 1; y >= 0; --y) {
    std::string row(stride, '\0');
    for (int x = 0; x < width; ++x) {
      const uint8_t index = indices[static_cast<size_t>(y) * width + x];
      // The left pixel of each pair sits in the high nibble.
      const int shift = (x % 2 == 0) ? 4 : 0;
      row[x / 2] = static_cast<char>(static_cast<uint8_t>(row[x / 2]) | (index << shift));
    }
    out->append(row);
  }
  return true;
}

}  // namespace h5
