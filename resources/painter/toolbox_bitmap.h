// The 16 x 15, 16-colour icon that represents the tile in a host's toolbox.
#ifndef H5KAKEI_PAINTER_TOOLBOX_BITMAP_H_
#define H5KAKEI_PAINTER_TOOLBOX_BITMAP_H_

#include <cstdint>
#include <string>
#include <vector>

namespace h5 {

constexpr int kToolboxWidth = 16;
constexpr int kToolboxHeight = 15;

// The icon's pixels as indices into kVgaPalette, row by row from the top:
// a navy-framed tile with a blue title bar over a white panel holding a
// small yellow face.
std::vector<uint8_t> ToolboxPixels();

// The icon as the bytes of a 4-bit BMP file.
std::string EncodeToolboxBitmap();

}  // namespace h5

#endif  // H5KAKEI_PAINTER_TOOLBOX_BITMAP_H_
