// The desktop icon of h5kakei-menu, made from one of the tile's pictures.
#ifndef H5KAKEI_PAINTER_APP_ICON_H_
#define H5KAKEI_PAINTER_APP_ICON_H_

#include <QImage>

namespace h5 {

constexpr int kAppIconSize = 48;

// A 48 x 48 ARGB32 image: the picture scaled down smoothly to fit, centred,
// with transparent margins. A null picture gives a null icon.
QImage PaintAppIcon(const QImage& picture);

}  // namespace h5

#endif  // H5KAKEI_PAINTER_APP_ICON_H_
