// The tile's mouse pointer: a two-colour hand with the index finger raised.
#ifndef H5KAKEI_PAINTER_HAND_CURSOR_H_
#define H5KAKEI_PAINTER_HAND_CURSOR_H_

#include <QImage>

namespace h5 {

constexpr int kHandCursorSize = 32;
// The hot spot, on the tip of the raised finger.
constexpr int kHandHotSpotX = 5;
constexpr int kHandHotSpotY = 0;

// A 32 x 32 ARGB32 image holding only transparent, opaque black (outline)
// and opaque white (fill) pixels, so that it converts losslessly to a
// monochrome cursor with a mask.
QImage PaintHandCursor();

}  // namespace h5

#endif  // H5KAKEI_PAINTER_HAND_CURSOR_H_
