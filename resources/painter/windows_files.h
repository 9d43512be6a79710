// The artwork in the forms the Windows resource compiler takes: 24-bit BMP
// files for the illustrations and a monochrome .cur file for the hand. Qt
// writes neither form (its BMP writer picks the depth itself).
#ifndef H5KAKEI_PAINTER_WINDOWS_FILES_H_
#define H5KAKEI_PAINTER_WINDOWS_FILES_H_

#include <QImage>
#include <string>

namespace h5 {

// The image as an uncompressed 24-bit BMP file (rows bottom-up, padded to 4
// bytes); alpha is dropped. Empty for a null image.
std::string EncodeBmp24(const QImage& image);

// A 32 x 32 image of transparent, opaque black and opaque white pixels as a
// one-cursor .cur file with the hot spot (hot_x, hot_y): 1-bit colour (black,
// white) in the XOR mask, transparency in the AND mask. Empty for any other
// size.
std::string EncodeMonoCursor(const QImage& image, int hot_x, int hot_y);

}  // namespace h5

#endif  // H5KAKEI_PAINTER_WINDOWS_FILES_H_
