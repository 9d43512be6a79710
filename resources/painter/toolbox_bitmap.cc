#include "painter/toolbox_bitmap.h"

#include "painter/bmp4_writer.h"

namespace h5 {

namespace {

// One letter per pixel, mapped to the VGA palette below.
constexpr const char* kRows[kToolboxHeight] = {
    "nnnnnnnnnnnnnnnn",  //
    "nbwwbwwbbwwbwwbn",  //
    "nbwwbwwbbwwbwwbn",  //
    "nnnnnnnnnnnnnnnn",  //
    "nwwwwwwwwwwwwwwn",  //
    "nwwwwwkkkkwwwwwn",  //
    "nwwwwkyyyykwwwwn",  //
    "nwwwkyyyyyykwwwn",  //
    "nwwwkykyykykwwwn",  //
    "nwwwkyyyyyykwwwn",  //
    "nwwwkykyykykwwwn",  //
    "nwwwkyykkyykwwwn",  //
    "nwwwwkyyyykwwwwn",  //
    "nwwwwwkkkkwwwwwn",  //
    "nnnnnnnnnnnnnnnn",  //
};

uint8_t IndexOf(char letter) {
  switch (letter) {
    case 'k':
      return 0;  // black
    case 'n':
      return 4;  // navy
    case 'y':
      return 11;  // yellow
    case 'b':
      return 12;  // blue
    default:
      return 15;  // white
  }
}

}  // namespace

std::vector<uint8_t> ToolboxPixels() {
  std::vector<uint8_t> pixels;
  pixels.reserve(kToolboxWidth * kToolboxHeight);
  for (const char* row : kRows) {
    for (int x = 0; x < kToolboxWidth; ++x) pixels.push_back(IndexOf(row[x]));
  }
  return pixels;
}

std::string EncodeToolboxBitmap() {
  std::string bytes;
  EncodeBmp4(kToolboxWidth, kToolboxHeight, kVgaPalette, ToolboxPixels(), &bytes);
  return bytes;
}

}  // namespace h5
