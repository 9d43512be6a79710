#include "painter/hand_cursor.h"

#include <cstring>

namespace h5 {

namespace {

// 'X' outline, 'o' fill, anything else transparent. Drawn pixel by pixel:
// a two-colour cursor gains nothing from vector shapes and antialiasing.
constexpr const char* kRows[] = {
    "....XXX",              //  0
    "...XoooX",             //  1
    "...XoooX",             //  2
    "...XoooX",             //  3
    "...XoooX",             //  4
    "...XoooX",             //  5
    "...XoooXXXX",          //  6
    "...XoooXoooXXXX",      //  7
    "...XoooXoooXoooXXX",   //  8
    "...XoooXoooXoooXooX",  //  9
    "XXXXoooXoooXoooXooX",  // 10
    "XooXooooooooooooooX",  // 11
    "XoooXoooooooooooooX",  // 12
    ".XoooXooooooooooooX",  // 13
    ".XooooooooooooooooX",  // 14
    "..XoooooooooooooooX",  // 15
    "..XoooooooooooooooX",  // 16
    "...XooooooooooooooX",  // 17
    "...XoooooooooooooX",   // 18
    "....XooooooooooooX",   // 19
    "....XooooooooooooX",   // 20
    "....XXXXXXXXXXXXXX",   // 21
    "....XooooooooooooX",   // 22
    "....XooooooooooooX",   // 23
    "....XXXXXXXXXXXXXX",   // 24
};

}  // namespace

QImage PaintHandCursor() {
  QImage image(kHandCursorSize, kHandCursorSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  int y = 0;
  for (const char* row : kRows) {
    const int length = static_cast<int>(std::strlen(row));
    for (int x = 0; x < length && x < kHandCursorSize; ++x) {
      if (row[x] == 'X') image.setPixel(x, y, qRgba(0, 0, 0, 255));
      if (row[x] == 'o') image.setPixel(x, y, qRgba(255, 255, 255, 255));
    }
    ++y;
  }
  return image;
}

}  // namespace h5
