// The six pictures of the tile's image list.
#ifndef H5KAKEI_PAINTER_ILLUSTRATION_H_
#define H5KAKEI_PAINTER_ILLUSTRATION_H_

#include <QImage>

namespace h5 {

constexpr int kIllustrationWidth = 119;
constexpr int kIllustrationHeight = 113;
constexpr int kIllustrationCount = 6;
// Height of the blue title bar that tops every picture.
constexpr int kTitleBarHeight = 15;

// Paints picture `number` (1..6) as a 119 x 113 RGB888 image: a white panel
// under a blue title bar reading 家計診断. Picture 1 leaves the panel empty
// for the control's caption; 2..6 carry the graded results from best to
// worst. Any other number gives a null image. Painting uses fixed fonts and
// no randomness, so the result is the same on every run on one machine.
// Needs a QGuiApplication for the fonts.
QImage PaintIllustration(int number);

}  // namespace h5

#endif  // H5KAKEI_PAINTER_ILLUSTRATION_H_
