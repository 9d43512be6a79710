#include "painter/app_icon.h"

#include <QPainter>

namespace h5 {

QImage PaintAppIcon(const QImage& picture) {
  if (picture.isNull()) return QImage();
  const QImage scaled =
      picture.scaled(kAppIconSize, kAppIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  QImage icon(kAppIconSize, kAppIconSize, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.drawImage((kAppIconSize - scaled.width()) / 2, (kAppIconSize - scaled.height()) / 2,
                    scaled);
  painter.end();
  return icon;
}

}  // namespace h5
