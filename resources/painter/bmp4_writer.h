// Writes 16-colour (4 bits per pixel) Windows bitmaps. Qt's BMP writer only
// produces 1, 8, 24 and 32-bit files, and the toolbox bitmap must be 4-bit.
#ifndef H5KAKEI_PAINTER_BMP4_WRITER_H_
#define H5KAKEI_PAINTER_BMP4_WRITER_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace h5 {

// Palette entries as 0xRRGGBB.
using Palette16 = std::array<uint32_t, 16>;

// The 16 colours of the Windows VGA palette, in the order Windows uses for
// 4-bit bitmaps: black, maroon, green, olive, navy, purple, teal, silver,
// gray, red, lime, yellow, blue, fuchsia, aqua, white.
extern const Palette16 kVgaPalette;

// Encodes a bitmap of `width` x `height` pixels (both 1..4096) whose pixels
// are palette indices 0..15, given row by row from the top. The file is the
// usual uncompressed form: file header, 40-byte info header, 16 palette
// entries, rows bottom-up, each padded to a multiple of 4 bytes.
// Returns false and leaves `out` empty when the sizes or any index are bad.
bool EncodeBmp4(int width, int height, const Palette16& palette,
                const std::vector<uint8_t>& indices, std::string* out);

}  // namespace h5

#endif  // H5KAKEI_PAINTER_BMP4_WRITER_H_
